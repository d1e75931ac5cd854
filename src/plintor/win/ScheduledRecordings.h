// The scheduled recordings the configurator shows: the Task Scheduler jobs named "QORSR_*",
// read at start-up and written back by Apply.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "dvb/DVBPlaybackCore/CTask.h"
#include "framework/CString.h"

struct CScheduledRecording {
    DVBPlaybackCore::CTask task;
    bool changed = false; // to be written by the next Apply
    bool deleted = false; // to be removed by the next Apply
    bool hasJob = false;  // a job of its name exists (loaded, or written by an Apply)
    bool hasStart = false; // false for a job without trigger
};

using CScheduledRecordings = std::vector<std::unique_ptr<CScheduledRecording>>;

extern const wchar_t kJobPrefix[];

// Appends a record for every job whose name begins with "QORSR_" (case as written). False when
// the Task Scheduler cannot be reached.
bool LoadScheduledRecordings(CScheduledRecordings& records);

// Deletes the jobs of deleted records and drops them, writes changed records and clears their
// flag. Records whose job could not be written or deleted stay as they are; their names are
// appended to notSaved or notDeleted. False when the Task Scheduler cannot be reached.
bool SaveScheduledRecordings(CScheduledRecordings& records, std::vector<CString>* notSaved,
                             std::vector<CString>* notDeleted);
