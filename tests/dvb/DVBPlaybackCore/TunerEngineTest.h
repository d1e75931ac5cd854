// The fixture of the channel-engine tests on the virtual tuners: the virtual tuner reset with one
// frequency mapped, a copy of a test-made channel file in a folder of the test's own (the engine
// writes the file back when it ends), and the engine against the frame's stand-in.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestEngineUserInterface.h"
#include "VirtualTunerClient.h"
#include "base/Utf16.h"
#include "support/TestMedia.h"

namespace test {

class CTunerEngineTest : public ::testing::Test {
protected:
    // `channelFile` and `stream` (mapped to 506,000 kHz) are media paths.
    void StartEngine(const std::string& channelFile, const std::string& stream)
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(m_tuner.IsLoaded()) << "the virtual tuner server is not registered";
        m_tuner.Reset();
        m_tuner.MapFrequency(506000, WidePath(MediaPath(stream)));
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::string(temp) + "tolvik_" + info->test_suite_name() + "_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(MediaPath(channelFile).c_str(), (m_folder + "\\channels.dat").c_str(), FALSE));
        const std::u16string folder = base::Utf8ToUtf16(m_folder);
        m_engine = std::make_unique<DVBPlaybackCore::CQOREngine>(&m_ui, folder, nullptr, folder);
    }
    void TearDown() override
    {
        m_engine.reset();
        // Whatever the engine and the test wrote there.
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((m_folder + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((m_folder + "\\" + found.cFileName).c_str());
            while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(m_folder.c_str());
        CoUninitialize();
    }
    DVBPlaybackCore::CQORService* Playing()
    {
        DVBPlaybackCore::CQORService* service = nullptr;
        m_engine->GetCurrentService(&service);
        return service;
    }

    std::string m_folder;
    CVirtualTunerClient m_tuner;
    CTestEngineUserInterface m_ui;
    std::unique_ptr<DVBPlaybackCore::CQOREngine> m_engine;
};

} // namespace test
