#include "dshow/CMemAllocator.h"

#include <new>

namespace dshow {

CMemAllocator::CMemAllocator(const wchar_t* name, IUnknown* owner, HRESULT* result)
    : CBaseAllocator(name, owner, result)
{
}

CMemAllocator::~CMemAllocator()
{
    Decommit();
    // Samples still out would point into freed memory; by contract they all came home, since each
    // held a reference on us.
    if (m_allocated)
        Free();
}

IMemAllocator* CMemAllocator::CreateInstance()
{
    HRESULT hr = S_OK;
    auto* allocator = new (std::nothrow) CMemAllocator(L"CMemAllocator", nullptr, &hr);
    if (!allocator)
        return nullptr;
    IMemAllocator* out = static_cast<IMemAllocator*>(allocator);
    out->AddRef();
    return out;
}

HRESULT CMemAllocator::Alloc()
{
    // Every buffer starts on the alignment, with its prefix just in front of it.
    LONGLONG align = m_alignment > 1 ? m_alignment : 1;
    LONGLONG first = (m_prefix + align - 1) / align * align;
    LONGLONG stride = (static_cast<LONGLONG>(m_size) + m_prefix + align - 1) / align * align;
    LONGLONG total = first + stride * m_count;
    if (total > 0x7FFFFFFF)
        return E_OUTOFMEMORY;
    m_block = static_cast<BYTE*>(VirtualAlloc(nullptr, static_cast<SIZE_T>(total), MEM_COMMIT, PAGE_READWRITE));
    if (!m_block)
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < m_count; ++i) {
        BYTE* buffer = m_block + first + i * stride;
        auto* sample = new (std::nothrow) CMediaSample(this, buffer, m_size);
        if (!sample) {
            Free();
            return E_OUTOFMEMORY;
        }
        m_free.push_back(sample);
        ++m_allocated;
    }
    return S_OK;
}

void CMemAllocator::Free()
{
    for (CMediaSample* sample : m_free)
        delete sample;
    m_free.clear();
    m_allocated = 0;
    if (m_block) {
        VirtualFree(m_block, 0, MEM_RELEASE);
        m_block = nullptr;
    }
}

} // namespace dshow
