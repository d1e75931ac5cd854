// The filter of the tests' push sources (header only, like their pin): one output pin, made by
// the source's constructor, and the filter lock it shares with it.
#pragma once

#include "dshow/CBaseFilter.h"

namespace test {

template <class PinType>
class CTestPushSourceFilter : public dshow::CBaseFilter {
public:
    ~CTestPushSourceFilter() override { delete m_pin; }
    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int index) override { return index == 0 ? m_pin : nullptr; }
    PinType* Pin() { return m_pin; }

protected:
    CTestPushSourceFilter(const wchar_t* name, REFCLSID clsid) : CBaseFilter(name, nullptr, &m_filterLock, clsid) {}

    template <class Source>
    void MakePin(Source* source)
    {
        HRESULT hr = S_OK;
        m_pin = new PinType(source, &m_filterLock, &hr);
    }

private:
    dshow::CCritSec m_filterLock;
    PinType* m_pin = nullptr;
};

} // namespace test
