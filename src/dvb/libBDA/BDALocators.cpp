#include "dvb/libBDA/BDALocators.h"

namespace libBDA {

namespace {

template <class T>
T* CreateLocator(REFCLSID clsid)
{
    T* locator = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, __uuidof(T), reinterpret_cast<void**>(&locator))))
        return nullptr;
    return locator;
}

} // namespace

// The setters' results are not examined: a locator that refuses a value still identifies the
// transponder as well as it can.
IDVBTLocator* CreateDVBTLocator(long frequency, long bandwidth)
{
    IDVBTLocator* locator = CreateLocator<IDVBTLocator>(CLSID_DVBTLocator);
    if (locator) {
        locator->put_CarrierFrequency(frequency);
        locator->put_Bandwidth(bandwidth);
    }
    return locator;
}

IDVBCLocator* CreateDVBCLocator(long frequency, long symbolRate)
{
    IDVBCLocator* locator = CreateLocator<IDVBCLocator>(CLSID_DVBCLocator);
    if (locator) {
        locator->put_CarrierFrequency(frequency);
        locator->put_SymbolRate(symbolRate);
    }
    return locator;
}

IDVBSLocator* CreateDVBSLocator(long frequency, long symbolRate, Polarisation polarisation)
{
    IDVBSLocator* locator = CreateLocator<IDVBSLocator>(CLSID_DVBSLocator);
    if (locator) {
        locator->put_CarrierFrequency(frequency);
        locator->put_SymbolRate(symbolRate);
        locator->put_SignalPolarisation(polarisation);
    }
    return locator;
}

IATSCLocator* CreateATSCLocator(long frequency, long physicalChannel)
{
    IATSCLocator* locator = CreateLocator<IATSCLocator>(CLSID_ATSCLocator);
    if (locator) {
        if (frequency != 0)
            locator->put_CarrierFrequency(frequency);
        if (physicalChannel != 0)
            locator->put_PhysicalChannel(physicalChannel);
    }
    return locator;
}

} // namespace libBDA
