#include "ScanWizardDriver.h"

#include <commctrl.h>

namespace test {

namespace {

const DWORD kAnswer = 30000;

HWND ChildWith(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, id))
            return child;
    }
    return nullptr;
}

} // namespace

bool CScanWizardDriver::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    DWORD_PTR answer = 0;
    const bool answered =
        hwnd && SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswer, &answer) != 0;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return answered;
}

CScanWizardDriver::CScanWizardDriver(HWND frame)
{
    m_form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    HWND pages = m_form ? GetDlgItem(m_form, kPageList) : nullptr;
    if (!pages)
        return;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!SendItem(pages, LVM_SETITEMSTATE, 2, item, nullptr))
        return;
    m_page = ChildWith(m_form, kNext);
}

HWND CScanWizardDriver::Step(int id) const { return ChildWith(m_page, id); }

HWND CScanWizardDriver::Control(int id) const
{
    if (HWND own = GetDlgItem(m_page, id))
        return own;
    HWND step = Step(id);
    return step ? GetDlgItem(step, id) : nullptr;
}

bool CScanWizardDriver::IsVisible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }

bool CScanWizardDriver::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

std::wstring CScanWizardDriver::Text(int id) const
{
    wchar_t text[512] = {};
    GetWindowTextW(Control(id), text, 512);
    return text;
}

bool CScanWizardDriver::SendItem(HWND list, UINT message, int row, LVITEMW item, std::wstring* text) const
{
    // List-view messages carry pointers the system does not copy between processes: the item and
    // its text buffer are placed in the configurator's own memory.
    DWORD process = 0;
    GetWindowThreadProcessId(list, &process);
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return false;
    const SIZE_T size = sizeof(LVITEMW) + 512 * sizeof(wchar_t);
    auto* remote = static_cast<uint8_t*>(VirtualAllocEx(handle, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    bool done = false;
    if (remote) {
        item.cchTextMax = 511;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        wchar_t buffer[512] = {};
        SIZE_T copied = 0;
        done = WriteProcessMemory(handle, remote, &item, sizeof(item), &copied) &&
               WriteProcessMemory(handle, remote + sizeof(LVITEMW), buffer, sizeof(buffer), &copied) &&
               Send(list, message, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
        if (done && text && ReadProcessMemory(handle, remote + sizeof(LVITEMW), buffer, sizeof(buffer), &copied))
            *text = buffer;
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    }
    CloseHandle(handle);
    return done;
}

bool CScanWizardDriver::Click(int id) const { return Send(Control(id), BM_CLICK, 0, 0); }

bool CScanWizardDriver::SetText(int id, const wchar_t* text) const
{
    return Send(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool CScanWizardDriver::SelectRow(int listId, int row) const
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return SendItem(Control(listId), LVM_SETITEMSTATE, row, item, nullptr);
}

bool CScanWizardDriver::SelectCombo(int comboId, int row) const
{
    HWND combo = Control(comboId);
    return Send(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0) &&
           Send(GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool CScanWizardDriver::Tick(int row, bool ticked) const
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    return SendItem(Control(kChannels), LVM_SETITEMSTATE, row, item, nullptr);
}

int CScanWizardDriver::RowCount(int listId) const
{
    LRESULT count = 0;
    return Send(Control(listId), LVM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
}

bool CScanWizardDriver::ClickChannel(int row, int x) const
{
    // The row's rectangle: LVM_GETITEMRECT reads and writes a RECT the list's process must own.
    HWND list = Control(kChannels);
    DWORD process = 0;
    GetWindowThreadProcessId(list, &process);
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return false;
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    void* remote = VirtualAllocEx(handle, nullptr, sizeof(rect), MEM_COMMIT, PAGE_READWRITE);
    SIZE_T copied = 0;
    const bool measured = remote && WriteProcessMemory(handle, remote, &rect, sizeof(rect), &copied) &&
                          Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) &&
                          ReadProcessMemory(handle, remote, &rect, sizeof(rect), &copied);
    if (remote)
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
    if (!measured)
        return false;
    // Posted, both: the list follows the button until it is released.
    const LPARAM at = MAKELPARAM(rect.left + x, (rect.top + rect.bottom) / 2);
    return PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at);
}

int CScanWizardDriver::ComboCount(int comboId) const
{
    LRESULT count = 0;
    return Send(Control(comboId), CB_GETCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
}

std::wstring CScanWizardDriver::ComboText(int comboId, int row) const
{
    // The system copies this one between processes.
    wchar_t text[512] = {};
    LRESULT length = 0;
    if (!Send(Control(comboId), CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0, &length) || length < 0 || length >= 512)
        return L"";
    Send(Control(comboId), CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring CScanWizardDriver::RowText(int listId, int row) const
{
    std::wstring text;
    LVITEMW item = {};
    SendItem(Control(listId), LVM_GETITEMTEXTW, row, item, &text);
    return text;
}

bool CScanWizardDriver::IsTicked(int row) const
{
    LRESULT state = 0;
    Send(Control(kChannels), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK, &state);
    return (static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12 == 2;
}

bool CScanWizardDriver::WaitForScanEnd(DWORD milliseconds) const
{
    for (ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(20)) {
        if (IsEnabled(kNext) && IsEnabled(kPrevious))
            return true;
    }
    return IsEnabled(kNext) && IsEnabled(kPrevious);
}

bool CScanWizardDriver::Apply() const { return Send(GetDlgItem(m_form, kApply), BM_CLICK, 0, 0); }

} // namespace test
