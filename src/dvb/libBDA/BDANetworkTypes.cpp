#include "dvb/libBDA/BDANetworkTypes.h"

#include <uuids.h>

namespace libBDA {

namespace {

// The DVB-S provider serves DVB-C too.
const BDANetworkType kTypes[4] = {
    {kNetworkDVBT, L"DVB-T", &KSNODE_BDA_COFDM_DEMODULATOR, &CLSID_DVBTNetworkProvider, &CLSID_DVBTuningSpace,
     DVB_Terrestrial, &CLSID_DVBTLocator, &DVB_TERRESTRIAL_TV_NETWORK_TYPE},
    {kNetworkDVBC, L"DVB-C", &KSNODE_BDA_QAM_DEMODULATOR, &CLSID_DVBSNetworkProvider, &CLSID_DVBTuningSpace,
     DVB_Cable, &CLSID_DVBCLocator, &DVB_CABLE_TV_NETWORK_TYPE},
    {kNetworkDVBS, L"DVB-S", &KSNODE_BDA_QPSK_DEMODULATOR, &CLSID_DVBSNetworkProvider, &CLSID_DVBSTuningSpace,
     DVB_Satellite, &CLSID_DVBSLocator, &DVB_SATELLITE_TV_NETWORK_TYPE},
    {kNetworkATSC, L"ATSC", &KSNODE_BDA_8VSB_DEMODULATOR, &CLSID_ATSCNetworkProvider, &CLSID_ATSCTuningSpace, -1,
     &CLSID_ATSCLocator, &ATSC_TERRESTRIAL_TV_NETWORK_TYPE},
};

} // namespace

const BDANetworkType* FindBDANetworkType(uint32_t type)
{
    if (type < kNetworkDVBT || type > kNetworkATSC)
        return nullptr;
    return &kTypes[type - 1];
}

} // namespace libBDA
