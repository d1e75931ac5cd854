// <winsock2.h> (brought by the main frame's header) must come before the <windows.h> of the
// program's own header.
#include <winsock2.h>

#include "viewer/qor.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/TraceFile.h"
#include "viewer/CommandLineBlock.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"

CqorApp theApp;

namespace {
constexpr DWORD kFindViewerTimeoutMs = 10000;
// Why input was refused, when the environment asks for it (the run command does).
base::CTraceFile g_refusalTrace;
} // namespace

void PackCommandLine(BYTE*& block, DWORD& byteCount)
{
    block = nullptr;
    byteCount = 0;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv)
        return;
    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i)
        words.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    ::LocalFree(argv);
    const std::u16string packed = viewer::PackArguments(words);
    if (packed.empty())
        return;
    byteCount = static_cast<DWORD>(packed.size() * sizeof(char16_t));
    block = new BYTE[byteCount];
    memcpy(block, packed.data(), byteCount);
}

CString ModuleFolder(HMODULE module)
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return CString();
        if (length < path.size())
            break;
        path.resize(path.size() * 2); // cut short: the path did not fit
    }
    CString folder(path.data());
    const int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash) : CString();
}

namespace {
bool NameIs(HANDLE object, const wchar_t* wanted)
{
    wchar_t name[64] = {};
    DWORD needed = 0;
    return object && ::GetUserObjectInformationW(object, UOI_NAME, name, sizeof(name), &needed) &&
           _wcsicmp(name, wanted) == 0;
}
} // namespace

bool RestartOnInteractiveDesktop()
{
    if (NameIs(::GetProcessWindowStation(), L"WinSta0") &&
        NameIs(::GetThreadDesktop(::GetCurrentThreadId()), L"Default"))
        return false;
    // Once only: a copy that still does not land on the user's desktop goes on where it is
    // rather than starting copies of itself without end.
    const wchar_t kRestarted[] = L"TOLVIK_DESKTOP_RESTART";
    if (::GetEnvironmentVariableW(kRestarted, nullptr, 0) != 0)
        return false;
    ::SetEnvironmentVariableW(kRestarted, L"1");
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return false;
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    // The same command line, whatever its first word: a scheduler may leave out the program name.
    std::wstring commandLine = ::GetCommandLineW();
    wchar_t desktop[] = L"WinSta0\\Default";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.lpDesktop = desktop;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.data(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ::SetEnvironmentVariableW(kRestarted, nullptr);
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

HWND FindRunningViewer(const CString& title, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND window = ::FindWindowW(kFrameClassName, title);
        if (window || ::GetTickCount() - start >= timeoutMs)
            return window;
        HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName);
        if (!mutex)
            return nullptr; // the other viewer has gone
        ::CloseHandle(mutex);
        ::Sleep(50);
    }
}

BOOL CqorApp::InitInstance()
{
    // A scheduled recording is started by the scheduler's service on a desktop of its choosing
    // (one named after the window station, or the services' own station): there the running
    // viewer's window cannot be found and our own would be seen by no one. The thread's desktop
    // cannot change once the system has made it, so a new process starts on the user's desktop
    // with the same command line and takes over.
    if (RestartOnInteractiveDesktop())
        return FALSE;
    base::StartTraceFromEnvironment(g_refusalTrace);
    ::InitCommonControls();
    CWinApp::InitInstance();
    SetRegistryKey(L"Harvo\\Tolvik");
    g_uiLanguage = static_cast<WORD>(GetProfileInt(L"", L"Language", 1033));
    SetUiLanguage(g_uiLanguage);

    // The handle stays open for the life of the process: the mutex marks the running viewer.
    ::CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    const bool anotherRuns = ::GetLastError() == ERROR_ALREADY_EXISTS;
    g_appFolder = ModuleFolder(m_hInstance);
    const CString title(LoadLocalizedString(IDS_WINDOW_TITLE).c_str());

    BYTE* block = nullptr;
    DWORD byteCount = 0;
    PackCommandLine(block, byteCount);

    HWND target = nullptr;
    if (anotherRuns) {
        // Only a command line is worth waiting for: without one the second viewer does nothing.
        if (block)
            target = FindRunningViewer(title, kFindViewerTimeoutMs);
    } else {
        // COM before the frame: its members (graphs, devices) release COM objects when it goes,
        // and COM must outlive them.
        m_comInitialised = SUCCEEDED(::CoInitialize(nullptr));
        CMainFrame* frame = new CMainFrame;
        m_pMainWnd = frame;
        if (!frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE, nullptr, nullptr)) {
            m_pMainWnd = nullptr; // LoadFrame deleted the frame
            delete[] block;
            return FALSE;
        }
        frame->SetWindowText(title);
        frame->LoadWindowSettings();
        target = frame->m_hWnd;
    }

    if (!block) {
        if (m_pMainWnd)
            m_pMainWnd->PostMessage(WM_QOR_START_LAST_CHANNEL);
    } else {
        if (target) {
            COPYDATASTRUCT data{};
            data.dwData = static_cast<ULONG_PTR>(-1);
            data.cbData = byteCount;
            data.lpData = block;
            ::SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        }
        delete[] block;
    }
    return m_pMainWnd != nullptr;
}

int CqorApp::ExitInstance()
{
    const int code = CWinApp::ExitInstance();
    if (m_comInitialised)
        ::CoUninitialize();
    g_refusalTrace.Stop();
    return code;
}
