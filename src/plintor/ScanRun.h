// One run of the channel scan on the worker thread, told to the user interface through the
// step's messages, in this order: started; range (count, source type) once the source opened;
// per entry its 1-based index; each channel record found; then ended (1), the source closed,
// ended (2). A record the window does not take is deleted here.
#pragma once

#include <cstdint>
#include <functional>

#include "base/ManualResetEvent.h"
#include "plintor/CScanSource.h"
#include "plintor/CTransponderScan.h"
#include "plintor/ManualEntry.h"

namespace plintor {

enum : uint32_t {
    kScanStarted = 1025, // 0, 0
    kScanRange = 1026,   // count, source type
    kScanEntry = 1027,   // 0-based entry, 1-based index
    kScanRecord = 1028,  // the channel record, 0
    kScanEnded = 1029,   // 1, then 2
};

// Posts a message; true when it was queued (a record then belongs to the receiver).
using ScanPost = std::function<bool(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

void RunScan(CScanSource& source, int sourceType, base::CManualResetEvent& stop, const ScanPost& post,
             const CTransponderScan::Waits& waits = CTransponderScan::Waits());

} // namespace plintor
