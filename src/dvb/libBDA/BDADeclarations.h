// BDA identifiers and interfaces the program needs that mingw-w64 does not declare, from their
// published values and layouts (bdamedia.h, bdatif.h, tuner.idl of the platform documentation).
#pragma once

#include "dshow/DShow.h"

#include <bdaiface.h>
#include <bdatypes.h>
#include <tuner.h>

namespace libBDA {

// Filter categories of the system device enumerator.
static const GUID KSCATEGORY_BDA_NETWORK_TUNER = {0x71985f48, 0x1ca1, 0x11d3, {0x9c, 0xc8, 0x00, 0xc0, 0x4f, 0x79, 0x71, 0xe0}};
static const GUID KSCATEGORY_BDA_RECEIVER_COMPONENT = {0xfd0a5af4, 0xb41d, 0x11d2, {0x9c, 0x95, 0x00, 0xc0, 0x4f, 0x79, 0x71, 0xe0}};

// Topology node functions of the demodulators.
static const GUID KSNODE_BDA_QAM_DEMODULATOR = {0x71985f4d, 0x1ca1, 0x11d3, {0x9c, 0xc8, 0x00, 0xc0, 0x4f, 0x79, 0x71, 0xe0}};
static const GUID KSNODE_BDA_QPSK_DEMODULATOR = {0x6390c905, 0x27c1, 0x4d67, {0xbd, 0xb7, 0x77, 0xc5, 0x0d, 0x07, 0x93, 0x00}};
static const GUID KSNODE_BDA_8VSB_DEMODULATOR = {0x71985f4f, 0x1ca1, 0x11d3, {0x9c, 0xc8, 0x00, 0xc0, 0x4f, 0x79, 0x71, 0xe0}};
static const GUID KSNODE_BDA_COFDM_DEMODULATOR = {0x2dac6e05, 0xedbe, 0x4b9c, {0xb3, 0x87, 0x1b, 0x6f, 0xad, 0x7d, 0x64, 0x95}};

// Network types of the tuning spaces (the first, second and fourth equal the providers' ids).
static const GUID DVB_TERRESTRIAL_TV_NETWORK_TYPE = {0x216c62df, 0x6d7f, 0x4e9a, {0x85, 0x71, 0x05, 0xf1, 0x4e, 0xdb, 0x76, 0x6a}};
static const GUID DVB_SATELLITE_TV_NETWORK_TYPE = {0xfa4b375a, 0x45b4, 0x4d45, {0x84, 0x40, 0x26, 0x39, 0x57, 0xb1, 0x16, 0x23}};
static const GUID DVB_CABLE_TV_NETWORK_TYPE = {0xdc0c0fe7, 0x0485, 0x4266, {0xb9, 0x3f, 0x68, 0xfb, 0xf8, 0x0e, 0xd8, 0x34}};
static const GUID ATSC_TERRESTRIAL_TV_NETWORK_TYPE = {0x0dad2fdd, 0x5fd7, 0x11d3, {0x8f, 0x50, 0x00, 0xc0, 0x4f, 0x79, 0x71, 0xe2}};

// The property set through which a tuner's input pin takes a DiSEqC message (property id 0).
static const GUID kDiSEqCPropertySet = {0xfaa8f3e5, 0x31d4, 0x4e41, {0x88, 0xef, 0xd9, 0xeb, 0x71, 0x6f, 0x6e, 0xc9}};

} // namespace libBDA

// A network provider's registration of a transport-information filter's input pin.
MIDL_INTERFACE("DFEF4A68-EE61-415f-9CCB-CD95F2F98A3A")
IBDA_TIF_REGISTRATION : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE RegisterTIFEx(IPin* tifInputPin, ULONG* registrationContext,
                                                    IUnknown** mpeg2DataControl) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterTIF(ULONG registrationContext) = 0;
};
__CRT_UUID_DECL(IBDA_TIF_REGISTRATION, 0xdfef4a68, 0xee61, 0x415f, 0x9c, 0xcb, 0xcd, 0x95, 0xf2, 0xf9, 0x8a, 0x3a)

// What a network provider asks a transport-information filter about tune requests.
MIDL_INTERFACE("A3B152DF-7A90-4218-AC54-9830BEE8C0B6")
ITuneRequestInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetLocatorData(ITuneRequest* request) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetComponentData(ITuneRequest* currentRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateComponentList(ITuneRequest* currentRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextProgram(ITuneRequest* currentRequest, ITuneRequest** tuneRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPreviousProgram(ITuneRequest* currentRequest, ITuneRequest** tuneRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextLocator(ITuneRequest* currentRequest, ITuneRequest** tuneRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPreviousLocator(ITuneRequest* currentRequest, ITuneRequest** tuneRequest) = 0;
};
__CRT_UUID_DECL(ITuneRequestInfo, 0xa3b152df, 0x7a90, 0x4218, 0xac, 0x54, 0x98, 0x30, 0xbe, 0xe8, 0xc0, 0xb6)
