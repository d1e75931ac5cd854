// One scheduled recording and the Task Scheduler job it is written to: the job starts the viewer
// with the "/rec" command line at the recording's start, once, every n days or every n weeks on
// chosen weekdays.
#pragma once

#include <cstdint>
#include <string>

#include "base/Result.h"

struct ITask; // the job of an existing scheduled recording (Windows)

namespace DVBPlaybackCore {

class CTask {
public:
    enum TriggerType : uint32_t { kOnce = 0, kDaily = 1, kWeekly = 2 };

    CTask() = default;
    ~CTask();
    CTask(const CTask&) = delete;
    CTask& operator=(const CTask&) = delete;

    void SetTaskName(const std::u16string& name) { m_taskName = name; }
    void SetApplicationName(const std::u16string& name) { m_applicationName = name; }
    void SetWorkingDirectory(const std::u16string& folder) { m_workingDirectory = folder; }
    void SetComment(const std::u16string& comment) { m_comment = comment; }
    void SetCreator(const std::u16string& creator) { m_creator = creator; }
    void SetTriggerType(uint32_t type) { m_triggerType = type; }
    void SetInterval(uint16_t interval) { m_interval = interval; }
    void SetWeekDays(bool sunday, bool monday, bool tuesday, bool wednesday, bool thursday, bool friday,
                     bool saturday);
    // `start` is the UTC instant in seconds since 1970; `duration` is in seconds.
    void SetRecording(uint16_t transportStreamId, uint16_t serviceId, int64_t start, int64_t duration,
                      const std::u16string& path, bool closeAfter);

    // Writes the job (a new one, or the attached one); 0 on success. E_FAIL when the scheduler
    // cannot be reached or a job of that name exists already; E_INVALIDARG for a job that would
    // never run (no weekday, interval 0, a start without a local time); otherwise the first
    // failure of the scheduler, after which a job this call created is deleted again.
    HRESULT Save();
    // True when the scheduler holds a job of that name (Activate finds it). A name it does not
    // find is free: the scheduler's NewWorkItem would accept a taken one and overwrite its job.
    static bool JobExists(const std::u16string& name);
    // Takes over one reference to the job of an existing recording, released by the destructor.
    void AttachJob(ITask* job);

    const std::u16string& GetTaskName() const { return m_taskName; }
    const std::u16string& GetApplicationName() const { return m_applicationName; }
    const std::u16string& GetParameters() const { return m_parameters; }
    const std::u16string& GetWorkingDirectory() const { return m_workingDirectory; }
    const std::u16string& GetComment() const { return m_comment; }
    const std::u16string& GetCreator() const { return m_creator; }
    const std::u16string& GetFilePath() const { return m_filePath; }
    uint32_t GetTriggerType() const { return m_triggerType; }
    bool GetCloseAfter() const { return m_closeAfter != 0; }
    uint16_t GetTransportStreamId() const { return m_transportStreamId; }
    uint16_t GetServiceId() const { return m_serviceId; }
    int64_t GetStart() const { return m_start; }
    int64_t GetDuration() const { return m_duration; }
    uint16_t GetInterval() const { return m_interval; }
    uint16_t GetWeekDays() const { return m_weekDays; }

    // The job's trigger as the Task Scheduler takes it: dates and times in local time.
    struct CTriggerTimes {
        uint16_t beginYear, beginMonth, beginDay, startHour, startMinute;
        uint16_t endYear, endMonth, endDay;
        uint32_t minutesDuration;
    };
    // False when the start has no local time the scheduler can hold.
    bool GetTriggerTimes(CTriggerTimes* times) const;
    // E_INVALIDARG for a repetition that never runs.
    HRESULT CheckRepetition() const;

private:
    std::u16string m_taskName;
    std::u16string m_applicationName;
    std::u16string m_parameters;
    std::u16string m_workingDirectory;
    std::u16string m_comment;
    std::u16string m_creator;
    std::u16string m_filePath;
    uint32_t m_triggerType = kOnce;
    uint8_t m_closeAfter = 0;
    uint16_t m_transportStreamId = 0;
    uint16_t m_serviceId = 0;
    int64_t m_start = 0;
    int64_t m_duration = 0;
    uint16_t m_interval = 0;
    uint16_t m_weekDays = 0;
    ITask* m_job = nullptr;
};

} // namespace DVBPlaybackCore
