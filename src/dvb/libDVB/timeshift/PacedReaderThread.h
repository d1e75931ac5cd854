// The thread of a paced reader (timeshift replay, file playback): below normal priority from its
// first instruction, so that pacing never competes with decoding and drawing.
#pragma once

#include <process.h>

#include "base/Result.h"

namespace libDVB {

// The thread's handle, or null when it could not be created.
inline HANDLE StartPacedReaderThread(unsigned(__stdcall* entry)(void*), void* argument)
{
    const uintptr_t thread = _beginthreadex(nullptr, 0, entry, argument, CREATE_SUSPENDED, nullptr);
    if (!thread)
        return nullptr;
    HANDLE handle = reinterpret_cast<HANDLE>(thread);
    SetThreadPriority(handle, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(handle);
    return handle;
}

} // namespace libDVB
