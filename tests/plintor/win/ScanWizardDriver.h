// Drives the configurator's scan wizard from another process with window messages only, as a user
// would with the mouse: the page list's row, the steps' list rows, fields and radios, the Next,
// Previous, Restart and Scan/Stop buttons, and waits (bounded) for the scan to end.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/win/CView.h"
#include "resource.h"

namespace test {

class CScanWizardDriver {
public:
    // Ids of the page and its steps' controls.
    enum : int {
        kPageList = IDC_PAGE_LIST, kApply = IDC_APPLY, kNext = IDC_SCAN_NEXT, kPrevious = IDC_SCAN_PREVIOUS,
        kRestart = IDC_SCAN_RESTART, kSummary = IDC_SCAN_SUMMARY, kSourceTypes = IDC_SOURCE_TYPE_LIST,
        kDevices = IDC_DEVICE_LIST, kByNetwork = IDC_TUNE_BY_NETWORK, kManual = IDC_TUNE_MANUAL,
        kNetworks = IDC_TUNE_NETWORKS, kField1 = IDC_TUNE_FIELD1, kField2 = IDC_TUNE_FIELD2, kField3 = IDC_TUNE_FIELD3,
        kDiSEqC = IDC_TUNE_DISEQC, kProviders = IDC_SCAN_PROVIDERS, kChannels = IDC_SCAN_CHANNELS,
        kScanStop = IDC_SCAN_STOP,
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
