#include "dshow/CBaseOutputPin.h"

#include <cstring>

#include "dshow/CMemAllocator.h"

namespace dshow {

CBaseOutputPin::CBaseOutputPin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                               const wchar_t* name)
    : CBasePin(objectName, filter, lock, result, name, PINDIR_OUTPUT)
{
}

CBaseOutputPin::~CBaseOutputPin()
{
    if (m_allocator)
        m_allocator->Release();
    if (m_input)
        m_input->Release();
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    IMemInputPin* input = nullptr;
    hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (FAILED(hr) || !input)
        return E_NOINTERFACE;
    if (m_input)
        m_input->Release();
    m_input = input;
    return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*)
{
    if (!m_input)
        return E_UNEXPECTED;
    return DecideAllocator(m_input, &m_allocator);
}

HRESULT CBaseOutputPin::InitAllocator(IMemAllocator** allocator)
{
    *allocator = CMemAllocator::CreateInstance();
    return *allocator ? S_OK : E_OUTOFMEMORY;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* input, IMemAllocator** allocator)
{
    *allocator = nullptr;
    ALLOCATOR_PROPERTIES request;
    std::memset(&request, 0, sizeof(request));
    input->GetAllocatorRequirements(&request);
    if (request.cbAlign == 0)
        request.cbAlign = 1;

    // An allocator sized for this pin and handed downstream, or released on failure.
    auto settle = [&](HRESULT hr) {
        if (SUCCEEDED(hr)) {
            hr = DecideBufferSize(*allocator, &request);
            if (SUCCEEDED(hr)) {
                hr = input->NotifyAllocator(*allocator, FALSE);
                if (SUCCEEDED(hr))
                    return S_OK;
            }
        }
        if (*allocator) {
            (*allocator)->Release();
            *allocator = nullptr;
        }
        return hr;
    };
    // The downstream pin's own allocator first, then ours.
    HRESULT hr = input->GetAllocator(allocator);
    if (SUCCEEDED(hr) && !*allocator)
        hr = E_NOINTERFACE;
    if (settle(hr) == S_OK)
        return S_OK;
    return settle(InitAllocator(allocator));
}

HRESULT CBaseOutputPin::BreakConnect()
{
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    if (m_input) {
        m_input->Release();
        m_input = nullptr;
    }
    return S_OK;
}

HRESULT CBaseOutputPin::Active()
{
    if (!m_allocator)
        return VFW_E_NO_ALLOCATOR;
    return m_allocator->Commit();
}

HRESULT CBaseOutputPin::Inactive()
{
    if (!m_allocator)
        return VFW_E_NO_ALLOCATOR;
    return m_allocator->Decommit();
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                                          DWORD flags)
{
    if (!sample)
        return E_POINTER;
    if (!m_allocator) {
        *sample = nullptr;
        return VFW_E_NO_ALLOCATOR;
    }
    return m_allocator->GetBuffer(sample, start, end, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample)
{
    if (!m_input)
        return VFW_E_NOT_CONNECTED;
    return m_input->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream()
{
    if (!m_connected)
        return VFW_E_NOT_CONNECTED;
    return m_connected->EndOfStream();
}

HRESULT CBaseOutputPin::DeliverBeginFlush()
{
    if (!m_connected)
        return VFW_E_NOT_CONNECTED;
    return m_connected->BeginFlush();
}

HRESULT CBaseOutputPin::DeliverEndFlush()
{
    if (!m_connected)
        return VFW_E_NOT_CONNECTED;
    return m_connected->EndFlush();
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    if (!m_connected)
        return VFW_E_NOT_CONNECTED;
    return m_connected->NewSegment(start, stop, rate);
}

} // namespace dshow
