#include "dvb/libBDA/CBDADeviceList.h"

#include <cwchar>

#include "dshow/CComPtr.h"
#include "dvb/libBDA/BDANetworkTypes.h"

using dshow::CComPtr;

namespace libBDA {

namespace {

bool HasDemodulator(IBaseFilter* filter, const GUID& demodulator)
{
    CComPtr<IBDA_Topology> topology;
    if (FAILED(topology.QueryFrom(filter)))
        return false;
    BDANODE_DESCRIPTOR descriptors[20];
    ULONG count = 0;
    if (FAILED(topology->GetNodeDescriptors(&count, 20, descriptors)))
        return false;
    if (count > 20)
        count = 20; // never trust a count beyond the room we gave
    for (ULONG i = 0; i < count; ++i) {
        if (descriptors[i].guidFunction == demodulator)
            return true;
    }
    return false;
}

} // namespace

CBDADeviceList::CBDADeviceList()
{
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    Enumerate();
    std::vector<std::wstring> names;
    for (CBDADeviceEntry* entry : m_entries)
        names.push_back(entry->GetFriendlyName());
    MakeNamesUnique(names);
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i]->SetFriendlyName(names[i]);
}

CBDADeviceList::~CBDADeviceList()
{
    for (CBDADeviceEntry* entry : m_entries)
        delete entry;
    m_entries.clear();
    if (m_comInitialised)
        CoUninitialize();
}

void CBDADeviceList::Enumerate()
{
    CComPtr<ICreateDevEnum> devices;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices))))
        return;
    CComPtr<IEnumMoniker> monikers;
    if (devices->CreateClassEnumerator(KSCATEGORY_BDA_NETWORK_TUNER, &monikers, 0) != S_OK || !monikers)
        return;
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (monikers->Next(1, &moniker, nullptr) != S_OK || !moniker)
            break;
        LPOLESTR display = nullptr;
        if (FAILED(moniker->GetDisplayName(nullptr, nullptr, &display)) || !display)
            continue;
        std::wstring deviceName = display;
        CoTaskMemFree(display);

        CComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag))))
            continue;
        VARIANT friendly;
        VariantInit(&friendly);
        if (FAILED(bag->Read(L"FriendlyName", &friendly, nullptr)) || friendly.vt != VT_BSTR) {
            VariantClear(&friendly);
            continue;
        }
        std::wstring friendlyName = friendly.bstrVal ? friendly.bstrVal : L"";
        VariantClear(&friendly);

        CComPtr<IBaseFilter> filter;
        if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter))) ||
            !filter)
            continue;
        for (uint32_t type : kEnumerationOrder) {
            if (HasDemodulator(filter, *FindBDANetworkType(type)->demodulator))
                m_entries.push_back(new CBDADeviceEntry(deviceName, friendlyName, type));
        }
    }
}

void CBDADeviceList::MakeNamesUnique(std::vector<std::wstring>& names)
{
    for (size_t i = 0; i < names.size(); ++i) {
        size_t count = 0;
        for (const std::wstring& other : names) {
            if (other == names[i])
                ++count;
        }
        if (count == 1)
            continue;
        const std::wstring remembered = names[i];
        int counter = 1;
        for (std::wstring& name : names) {
            if (name != remembered)
                continue;
            wchar_t suffix[16];
            swprintf(suffix, 16, L" (%d)", counter++);
            name += suffix;
        }
    }
}

CBDADeviceEntry* CBDADeviceList::Find(const std::wstring& name) const
{
    for (CBDADeviceEntry* entry : m_entries) {
        if (entry->GetName() == name)
            return entry;
    }
    return nullptr;
}

namespace {
// Built before main, as the channel engine expects the list to exist from the start.
CBDADeviceList g_deviceList;
} // namespace

CBDADeviceList& GetBDADeviceList() { return g_deviceList; }

CBDADeviceEntry* FindBDADevice(const std::wstring& name) { return g_deviceList.Find(name); }

} // namespace libBDA
