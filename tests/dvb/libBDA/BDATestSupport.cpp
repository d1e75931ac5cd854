#include "BDATestSupport.h"

#include <cwchar>

#include "dshow/CComPtr.h"

using dshow::CComPtr;

namespace test {

std::vector<std::wstring> OurGraphsInRunningObjectTable()
{
    std::vector<std::wstring> found;
    CComPtr<IRunningObjectTable> table;
    if (FAILED(GetRunningObjectTable(0, &table)))
        return found;
    CComPtr<IEnumMoniker> monikers;
    if (FAILED(table->EnumRunning(&monikers)) || !monikers)
        return found;
    CComPtr<IBindCtx> context;
    CreateBindCtx(0, &context);
    wchar_t pid[32];
    swprintf(pid, 32, L"pid %08x", static_cast<unsigned>(GetCurrentProcessId()));
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (monikers->Next(1, &moniker, nullptr) != S_OK || !moniker)
            break;
        LPOLESTR name = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(context, nullptr, &name)) && name) {
            std::wstring text = name;
            CoTaskMemFree(name);
            if (text.find(L"FilterGraph ") != std::wstring::npos && text.find(pid) != std::wstring::npos)
                found.push_back(text);
        }
    }
    return found;
}

std::wstring VirtualTunerDeviceName(REFCLSID tuner)
{
    wchar_t category[40], clsid[40];
    StringFromGUID2(libBDA::KSCATEGORY_BDA_NETWORK_TUNER, category, 40);
    StringFromGUID2(tuner, clsid, 40);
    return std::wstring(L"@device:sw:") + category + L"\\" + clsid;
}

libBDA::CBDADeviceEntry* EntryOf(REFCLSID tuner, uint32_t type)
{
    std::wstring name = VirtualTunerDeviceName(tuner);
    libBDA::CBDADeviceList& list = libBDA::GetBDADeviceList();
    for (size_t i = 0; i < list.GetCount(); ++i) {
        libBDA::CBDADeviceEntry* entry = list.GetEntry(i);
        if (_wcsicmp(entry->GetName().c_str(), name.c_str()) == 0 && entry->GetNetworkType() == type)
            return entry;
    }
    return nullptr;
}

} // namespace test
