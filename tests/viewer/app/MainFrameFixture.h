// Base of the main frame tests: a frame of the test's own class, shown, with a temporary folder
// of its own as the program folder, the recordings folder "rec" in it, and a profile key of its
// own; the frame, the key and the folder go again after each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "RecordingFolderProfile.h"
#include "base/Utf16.h"
#include "support/TestMedia.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"

namespace test {

template <class Frame>
class MainFrameFixture : public ::testing::Test {
protected:
    static constexpr uint16_t kFileTsid = 0xFFFF; // a file's channels get this transport_stream_id

    // The folder is named `stem` and the process id; the profile is Software\`appKey`, made anew.
    // With `makeRecordings` the recordings folder exists before the frame starts.
    void OpenFrame(CWinApp& app, const wchar_t* stem, const wchar_t* appKey, const wchar_t* title,
                   bool makeRecordings)
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        m_folder = CString(temp) + stem + CString(std::to_wstring(GetCurrentProcessId()).c_str());
        CreateDirectoryW(m_folder, nullptr);
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
