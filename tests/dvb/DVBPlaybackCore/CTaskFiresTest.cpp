// A scheduled recording due in the next minute: the real Task Scheduler service must start the
// program with arguments that read back as the recording.
#include <gtest/gtest.h>

#include <fstream>

#include "TaskSchedulerKit.h"
#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CTask.h"
#include "dvb/DVBPlaybackCore/RecordingCommand.h"

using namespace DVBPlaybackCore;
using namespace test;

TEST(TaskScheduler, AOnceTriggerStartsTheProgramWithTheRecording)
{
    CComApartment com;
    ITaskScheduler* scheduler = OpenScheduler();
    ASSERT_NE(scheduler, nullptr);

    wchar_t module[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    std::wstring folder(module);
    folder.resize(folder.find_last_of(L'\\'));
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring name = UniqueJobName(L"fires");
    const std::wstring work = std::wstring(temp) + name;
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    const std::wstring result = work + L"\\arguments.txt";

    const std::u16string path = u"C:\\users\\tv\\Videos\\My Recordings\\News (late).mpg";
    CTask task;
    task.SetTaskName(std::u16string(name.begin(), name.end()));
    task.SetApplicationName(base::Utf8ToUtf16(std::string(folder.begin(), folder.end()) + "\\recording_stub.exe"));
    task.SetWorkingDirectory(std::u16string(work.begin(), work.end()));
    task.SetComment(u"fires");
    task.SetCreator(u"A");
    // The next whole minute (the scheduler starts jobs by the minute), or the one after when the
    // next is so close that the scheduler may see the job only after it has passed.
    const int64_t now = UtcNow();
    task.SetRecording(4660, 22136, (now / 60 + (now % 60 > 40 ? 2 : 1)) * 60, 3 * 60 + 59, path, true);
    task.SetTriggerType(CTask::kOnce);
    ASSERT_EQ(task.Save(), S_OK);

    const ULONGLONG until = GetTickCount64() + 150000;
    while (GetFileAttributesW(result.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount64() < until)
        Sleep(250);
    std::vector<std::u16string> arguments;
    {
        std::ifstream in(result.c_str());
        std::string line;
        while (std::getline(in, line))
            arguments.push_back(base::Utf8ToUtf16(line));
    }
    scheduler->Delete(name.c_str());
    scheduler->Release();
    DeleteFileW(result.c_str());
    RemoveDirectoryW(work.c_str());

    ASSERT_FALSE(arguments.empty()) << "the job did not start the program";
    CRecordingCommand command;
    ASSERT_EQ(ParseRecordingCommand(arguments, &command), S_OK);
    EXPECT_EQ(command.transportStreamId, 4660);
    EXPECT_EQ(command.serviceId, 22136);
    EXPECT_EQ(command.minutes, 3);
    EXPECT_TRUE(command.closeAfter);
    EXPECT_EQ(command.path, path);
}
