// The allocator of plain process memory: one block cut into aligned buffers, each with room for
// the requested prefix in front of it.
#pragma once

#include "dshow/CBaseAllocator.h"

namespace dshow {

class CMemAllocator : public CBaseAllocator {
public:
    CMemAllocator(const wchar_t* name, IUnknown* owner, HRESULT* result);
    ~CMemAllocator() override;

    // Creates one with a reference for the caller; null when memory runs out.
    static IMemAllocator* CreateInstance();

protected:
    HRESULT Alloc() override;
    void Free() override;

private:
    BYTE* m_block = nullptr;
};

} // namespace dshow
