#include "plintor/ScanRun.h"

namespace plintor {

void RunScan(CScanSource& source, int sourceType, base::CManualResetEvent& stop, const ScanPost& post,
             const CTransponderScan::Waits& waits)
{
    CTransponderScan scan(stop);
    post(kScanStarted, 0, 0);
    const bool opened = source.Open(&scan);
    if (opened) {
        const size_t count = source.GetCount();
        post(kScanRange, count, sourceType);
        for (size_t i = 0; i < count && !stop.IsSet(); ++i) {
            post(kScanEntry, i, static_cast<intptr_t>(i + 1));
            scan.ClearPending();
            if (libDVB::CTSEngine* engine = source.Tune(i, &scan)) {
                scan.Collect(engine[0], [&] { return source.MakeTuneInfo(i); },
                             [&](DVBPlaybackCore::CQORService* record) {
                                 return post(kScanRecord, reinterpret_cast<uintptr_t>(record), 0);
                             },
                             waits);
            }
            source.EndEntry(i);
        }
    }
    post(kScanEnded, 1, 0);
    source.Close();
    post(kScanEnded, 2, 0);
}

} // namespace plintor
