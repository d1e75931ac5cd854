// Builds without the Task Scheduler (the platform-neutral libraries): a record cannot become a job.
#include "dvb/DVBPlaybackCore/CTask.h"

namespace DVBPlaybackCore {

CTask::~CTask() = default;

HRESULT CTask::Save() { return E_FAIL; }

void CTask::AttachJob(ITask*) {}

bool CTask::JobExists(const std::u16string&) { return false; }

} // namespace DVBPlaybackCore
