// Drives the configurator's scan wizard from another process with window messages only, as a user
// would with the mouse: the page list's row, the steps' list rows, fields and radios, the Next,
// Previous, Restart and Scan/Stop buttons, and waits (bounded) for the scan to end.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace test {

class CScanWizardDriver {
public:
    // Ids of the page and its steps' controls.
    enum : int {
        kPageList = 1018, kApply = 1031, kNext = 1023, kPrevious = 1022, kRestart = 1021, kSummary = 1032,
        kSourceTypes = 1078, kDevices = 1079, kByNetwork = 1011, kManual = 1012, kNetworks = 1026, kField1 = 1013,
        kField2 = 1014, kField3 = 1037, kDiSEqC = 1001, kProviders = 1076, kChannels = 1077, kScanStop = 1045,
    };
    // Rows of the source-type step.
    enum : int { kRowSatellite = 0, kRowTerrestrial = 1, kRowCable = 2, kRowNetwork = 3 };

    // `frame` is the configurator's main window; shows the "Scan Channels" page (row 2).
    explicit CScanWizardDriver(HWND frame);
    bool IsReady() const { return m_page != nullptr; }

    // The step dialog (a child of the page) that holds control `id`, visible or not.
    HWND Step(int id) const;
    HWND Control(int id) const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    std::wstring Text(int id) const;

    bool Click(int id) const;
    bool SetText(int id, const wchar_t* text) const;
    // Selects and focuses a list row (the list tells its step as a click would).
    bool SelectRow(int listId, int row) const;
    // A combo row, with the selection-change notification a user's choice sends.
    bool SelectCombo(int comboId, int row) const;
    // Ticks or unticks a row of the channels list.
    bool Tick(int row, bool ticked) const;
    // Clicks a row of the channels list at `x` pixels from its left (its box spans 9 .. 20).
    bool ClickChannel(int row, int x) const;
    int RowCount(int listId) const;
    int ComboCount(int comboId) const;
    std::wstring ComboText(int comboId, int row) const;
    std::wstring RowText(int listId, int row) const;
    bool IsTicked(int row) const;

    // Waits until the scan step's Next (Finish) is enabled again: the run ended.
    bool WaitForScanEnd(DWORD milliseconds) const;
    // Presses Apply on the form: the channel list is saved.
    bool Apply() const;

private:
    bool SendItem(HWND list, UINT message, int row, LVITEMW item, std::wstring* text) const;
    bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) const;

    HWND m_form = nullptr;
    HWND m_page = nullptr;
};

} // namespace test
