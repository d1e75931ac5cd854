#include "dvb/DVBPlaybackCore/win/BDATuneInfoLocator.h"

#include "dshow/CComPtr.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/CBDADeviceList.h"

namespace DVBPlaybackCore {

ILocator* CreateLocator(const CBDATuneInfo& tuneInfo)
{
    const long frequency = tuneInfo.GetCarrierFrequency();
    switch (tuneInfo.GetTuningType()) {
    case CBDATuneInfo::kDVBT:
        return libBDA::CreateDVBTLocator(frequency, tuneInfo.GetBandwidth());
    case CBDATuneInfo::kDVBC:
        return libBDA::CreateDVBCLocator(frequency, tuneInfo.GetSymbolRate());
    case CBDATuneInfo::kDVBS:
        return libBDA::CreateDVBSLocator(frequency, tuneInfo.GetSymbolRate(),
                                         static_cast<Polarisation>(tuneInfo.GetPolarisation()));
    case CBDATuneInfo::kATSC:
        return libBDA::CreateATSCLocator(frequency, tuneInfo.GetPhysicalChannel());
    default:
        return nullptr;
    }
}

HRESULT ReadLocator(CBDATuneInfo& tuneInfo, ILocator* locator)
{
    if (!locator)
        return E_POINTER;
    long frequency = 0, second = 0;
    Polarisation polarisation = BDA_POLARISATION_NOT_SET;
    HRESULT hr = E_INVALIDARG;
    switch (tuneInfo.GetTuningType()) {
    case CBDATuneInfo::kDVBT: {
        dshow::CComPtr<IDVBTLocator> dvbt;
        if (SUCCEEDED(dvbt.QueryFrom(locator)))
            hr = dvbt->get_Bandwidth(&second);
        break;
    }
    case CBDATuneInfo::kDVBC: {
        dshow::CComPtr<IDVBCLocator> dvbc;
        if (SUCCEEDED(dvbc.QueryFrom(locator)))
            hr = dvbc->get_SymbolRate(&second);
        break;
    }
    case CBDATuneInfo::kDVBS: {
        dshow::CComPtr<IDVBSLocator> dvbs;
        if (SUCCEEDED(dvbs.QueryFrom(locator))) {
            hr = dvbs->get_SymbolRate(&second);
            if (SUCCEEDED(hr))
                hr = dvbs->get_SignalPolarisation(&polarisation);
        }
        break;
    }
    case CBDATuneInfo::kATSC: {
        dshow::CComPtr<IATSCLocator> atsc;
        if (SUCCEEDED(atsc.QueryFrom(locator)))
            hr = atsc->get_PhysicalChannel(&second);
        break;
    }
    default:
        break;
    }
    if (SUCCEEDED(hr))
        hr = locator->get_CarrierFrequency(&frequency);
    if (FAILED(hr))
        return hr;
    tuneInfo.SetCarrierFrequency(frequency);
    tuneInfo.SetSecondValue(second);
    tuneInfo.SetPolarisation(tuneInfo.GetTuningType() == CBDATuneInfo::kDVBS ? polarisation : 0);
    return S_OK;
}

libBDA::CBDADeviceEntry* FindTuner(const CBDATuneInfo& tuneInfo)
{
    const std::wstring name(tuneInfo.GetTunerName().begin(), tuneInfo.GetTunerName().end());
    libBDA::CBDADeviceList& list = libBDA::GetBDADeviceList();
    for (size_t i = 0; i < list.GetCount(); ++i) {
        libBDA::CBDADeviceEntry* entry = list.GetEntry(i);
        if (entry->GetFriendlyName() == name && entry->GetNetworkType() == tuneInfo.GetTuningType())
            return entry;
    }
    return nullptr;
}

} // namespace DVBPlaybackCore
