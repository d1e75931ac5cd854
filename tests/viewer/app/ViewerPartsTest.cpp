// The frame's pieces that work without the program: the mixer behind the PulseAudio null sink,
// the remote control's raw-input entries, the tray icon's description and the recordings folder.
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "viewer/CMasterAudio.h"
#include "viewer/CSystrayWindow.h"
#include "viewer/MainFrm.h"

TEST(MasterAudio, FindsTheSpeakersMuteAndVolume)
{
    // The process-wide object opened the mixer when the program started.
    ASSERT_TRUE(g_masterAudio.IsOpened());
    EXPECT_EQ(g_masterAudio.GetDeviceCount(), mixerGetNumDevs());
    ASSERT_GT(g_masterAudio.GetDeviceCount(), 0u) << "the null sink gives the prefix mixer devices";
    EXPECT_NE(g_masterAudio.GetHandle(), nullptr);
    EXPECT_NE(g_masterAudio.GetCaps().szPname[0], L'\0');

    // A second object finds the same controls on its own handle, and closes it again.
    CMasterAudio audio;
    ASSERT_TRUE(audio.IsOpened());
    MIXERLINEW line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    ASSERT_EQ(mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(audio.GetHandle()), &line,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
              MMSYSERR_NOERROR);
    // Read the controls back by id: each is of the type it was looked up by.
    for (DWORD id : {audio.GetMuteControlId(), audio.GetVolumeControlId()}) {
        MIXERCONTROLW control{};
        control.cbStruct = sizeof(control);
        MIXERLINECONTROLSW controls{};
        controls.cbStruct = sizeof(controls);
        controls.dwControlID = id;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof(control);
        controls.pamxctrl = &control;
        ASSERT_EQ(mixerGetLineControlsW(reinterpret_cast<HMIXEROBJ>(audio.GetHandle()), &controls,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(control.dwControlType, id == audio.GetMuteControlId() ? static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_MUTE)
                                                                         : static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_VOLUME));
    }
    EXPECT_NE(audio.GetMuteControlId(), audio.GetVolumeControlId());
    EXPECT_EQ(audio.GetVolumeMinimum(), 0);
    EXPECT_EQ(audio.GetVolumeMaximum(), 65535);
    audio.Close();
    EXPECT_EQ(audio.GetHandle(), nullptr);
}

TEST(RemoteControl, ThreeEntriesRegisterForTheWindow)
{
    HWND window = CreateWindowW(L"STATIC", L"raw input", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RAWINPUTDEVICE devices[3];
    CMainFrame::RemoteControlDevices(window, devices);
    const USHORT expected[3][2] = {{0xFFBC, 0x88}, {0x0C, 0x01}, {0x0C, 0x80}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(devices[i].usUsagePage, expected[i][0]);
        EXPECT_EQ(devices[i].usUsage, expected[i][1]);
        EXPECT_EQ(devices[i].dwFlags, 0u);
        EXPECT_EQ(devices[i].hwndTarget, window);
    }
    ASSERT_TRUE(RegisterRawInputDevices(devices, 3, sizeof(RAWINPUTDEVICE))) << GetLastError();
    UINT count = 0;
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    EXPECT_EQ(count, 3u);
    // The device list the frame walks: the two-call pattern with the structure's own size.
    UINT listed = 0;
    ASSERT_EQ(GetRawInputDeviceList(nullptr, &listed, sizeof(RAWINPUTDEVICELIST)), 0u);
    EXPECT_GT(listed, 0u);
    for (RAWINPUTDEVICE& d : devices) {
        d.dwFlags = RIDEV_REMOVE;
        d.hwndTarget = nullptr;
    }
    RegisterRawInputDevices(devices, 3, sizeof(RAWINPUTDEVICE));
    DestroyWindow(window);
}

TEST(TrayIcon, Windows2000LayoutWithTheTipCutToFit)
{
    static_assert(NOTIFYICONDATAW_V2_SIZE == 952, "the 64-bit size of the Windows 2000 layout");
    std::wstring longTip(300, L'x');
    NOTIFYICONDATAW data = CSystrayWindow::IconData(nullptr, nullptr, longTip.c_str());
    EXPECT_EQ(data.cbSize, 952u);
    EXPECT_EQ(data.uID, 128u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, g_msgTrayNotify);
    EXPECT_EQ(wcslen(data.szTip), 127u);
    data = CSystrayWindow::IconData(nullptr, nullptr, L"Mervane Viewer");
    EXPECT_STREQ(data.szTip, L"Mervane Viewer");
    EXPECT_EQ(g_msgTaskbarCreated, RegisterWindowMessageW(L"TaskbarCreated"));
}

TEST(RecordingsFolder, FromTheShellFoldersAndCreatedLevelByLevel)
{
    // This prefix has no "My Video": "Personal" gives Documents\My Videos.
    const CString folder = CMainFrame::DefaultRecordingsFolder();
    ASSERT_FALSE(folder.IsEmpty());
    const std::wstring text(folder.GetString());
    const std::wstring tail = L"\\Tolvik recordings";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"tolvik-rec-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring deep = base + L"\\a\\b\\";
    CMainFrame::CreateFolderLevels(CString(deep.c_str()));
    EXPECT_NE(GetFileAttributesW(deep.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryW((base + L"\\a\\b").c_str());
    RemoveDirectoryW((base + L"\\a").c_str());
    RemoveDirectoryW(base.c_str());
}
