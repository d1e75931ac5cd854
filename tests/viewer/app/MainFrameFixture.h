// Base of the main frame tests: a frame of the test's own class, shown, with a temporary folder
// of its own as the program folder, the recordings folder "rec" in it, and a profile key of its
// own; the frame, the key and the folder go again after each test.
#pragma once

#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RecordingFolderProfile.h"
#include "base/Utf16.h"
#include "support/TestMedia.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"

namespace test {

// A frame's live relay of class Relay, which stands in for the graphs.
template <class Relay> std::unique_ptr<CLiveRelay> MakeRelay(const CLiveRelay::Wiring& wiring)
{
    return std::make_unique<Relay>(wiring);
}

template <class Frame>
class MainFrameFixture : public ::testing::Test {
protected:
    static constexpr uint16_t kFileTsid = 0xFFFF; // a file's channels get this transport_stream_id

    // The folder is named `stem` and the process id; the profile is Software\`appKey`, made anew.
    // With `makeRecordings` the recordings folder exists before the frame starts; `channelFile`
    // becomes the folder's channel list.
    void OpenFrame(CWinApp& app, const wchar_t* stem, const wchar_t* appKey, const wchar_t* title,
                   bool makeRecordings, const CString& channelFile = CString())
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        m_folder = CString(temp) + stem + CString(std::to_wstring(GetCurrentProcessId()).c_str());
        CreateDirectoryW(m_folder, nullptr);
        if (!channelFile.IsEmpty()) {
            ASSERT_TRUE(CopyFileW(channelFile, m_folder + L"\\channels.dat", FALSE)) << GetLastError();
        }
        m_recordings = m_folder + L"\\rec";
        if (makeRecordings)
            CreateDirectoryW(m_recordings, nullptr);
        m_profileKey = CString(L"Software\\") + appKey;
        RegDeleteTreeW(HKEY_CURRENT_USER, m_profileKey);
        app.SetRegistryKey(appKey);
        ASSERT_TRUE(WriteRecordingFolder(m_profileKey, m_recordings.GetString()));
        g_appFolder = m_folder;
        m_frame = new Frame;
        ASSERT_TRUE(m_frame->LoadFrame(128, FWS_ADDTOTITLE, nullptr, nullptr));
        m_frame->SetWindowText(title);
        m_frame->ShowWindow(SW_SHOW);
        ASSERT_NE(m_frame->GetEngine(), nullptr);
    }
    void TearDown() override
    {
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow(); // deletes the frame
        if (!m_profileKey.IsEmpty())
            RegDeleteTreeW(HKEY_CURRENT_USER, m_profileKey);
        if (!m_folder.IsEmpty())
            RemoveTree(m_folder);
    }
    static void RemoveTree(const CString& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(folder + L"\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const CString name(found.cFileName);
                if (name == L"." || name == L"..")
                    continue;
                SetFileAttributesW(folder + L"\\" + name, FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(folder + L"\\" + name);
                else
                    DeleteFileW(folder + L"\\" + name);
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(folder);
    }
    // Opens a popup by its command and, once its menu window is up, types the keys into it.
    void ChooseFromPopup(int command, std::vector<WPARAM> keys)
    {
        std::atomic<bool> seen{false}, closed{false};
        std::thread chooser([&] {
            HWND menu = nullptr;
            for (int i = 0; i < 1000 && !menu; ++i) {
                menu = FindWindowW(L"#32768", nullptr);
                if (menu && !IsWindowVisible(menu))
                    menu = nullptr;
                if (!menu)
                    Sleep(10);
            }
            if (!menu)
                return;
            seen = true;
            for (WPARAM key : keys)
                PressKey(key);
            // A menu the keys did not close is cancelled, so that the test goes on to report it.
            for (int i = 0; i < 300; ++i) {
                if (!IsWindowVisible(menu)) {
                    closed = true;
                    return;
                }
                Sleep(10);
            }
            for (int i = 0; i < 3; ++i)
                PressKey(VK_ESCAPE);
        });
        m_frame->SendMessageW(WM_COMMAND, command, 0); // returns when the menu has closed
        chooser.join();
        EXPECT_TRUE(seen) << "no menu window for command " << command;
        EXPECT_TRUE(closed) << "the keys left the menu of command " << command << " open";
    }
    // A key pressed and released on the keyboard: the input goes to the window in front.
    static void PressKey(WPARAM key)
    {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = static_cast<WORD>(key);
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    CQORService* Current()
    {
        CQORService* service = nullptr;
        m_frame->GetEngine()->GetCurrentService(&service);
        return service;
    }
    // Opens the test stream as the engine's file device and starts the channel of service_id sid.
    libDVB::CTSEngine* PlayFileChannel(uint16_t sid)
    {
        libDVB::CTSEngine* device = nullptr;
        const std::u16string path = base::Utf8ToUtf16(MediaPath("file_engine.ts"));
        EXPECT_EQ(m_frame->GetEngine()->CreateFileDevice(path, &device, nullptr), S_OK);
        EXPECT_GE(m_frame->TuneStart(sid, kFileTsid, -1), 0);
        return device;
    }

    CString m_folder, m_recordings, m_profileKey;
    Frame* m_frame = nullptr;
};

} // namespace test
