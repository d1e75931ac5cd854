// Holds a CCritSec for the lifetime of a scope.
#pragma once

#include "dshow/CCritSec.h"

namespace dshow {

class CAutoLock {
public:
    explicit CAutoLock(CCritSec* lock) : m_lock(lock) { m_lock->Lock(); }
    ~CAutoLock() { m_lock->Unlock(); }
    CAutoLock(const CAutoLock&) = delete;
    CAutoLock& operator=(const CAutoLock&) = delete;

private:
    CCritSec* m_lock;
};

} // namespace dshow
