#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"

#include <algorithm>

#include "dvb/libDVB/si/descriptors/CAudioStreamDescriptor.h"
#include "dvb/libDVB/si/descriptors/CBouquetNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CComponentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CContentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CCountryAvailabilityDescriptor.h"
#include "dvb/libDVB/si/descriptors/CDataStreamAlignmentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CExtendedEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMaximumBitrateDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualBouquetNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualComponentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualNetworkNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualServiceNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CNetworkNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CParentalRatingDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceAvailabilityDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceListDescriptor.h"
#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CSubtitlingDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTagOnlyDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTeletextDescriptor.h"
#include "dvb/libDVB/si/descriptors/CVideoStreamDescriptor.h"
#include "dvb/libDVB/si/descriptors/CVideoWindowDescriptor.h"

namespace libDVB {

namespace {

std::unique_ptr<CDescriptor> Create(uint8_t tag)
{
    switch (tag) {
    case CVideoStreamDescriptor::kTag: return std::make_unique<CVideoStreamDescriptor>();
    case CAudioStreamDescriptor::kTag: return std::make_unique<CAudioStreamDescriptor>();
    case CDataStreamAlignmentDescriptor::kTag: return std::make_unique<CDataStreamAlignmentDescriptor>();
    case CVideoWindowDescriptor::kTag: return std::make_unique<CVideoWindowDescriptor>();
    case CISO639LanguageDescriptor::kTag: return std::make_unique<CISO639LanguageDescriptor>();
    case CMaximumBitrateDescriptor::kTag: return std::make_unique<CMaximumBitrateDescriptor>();
    case CNetworkNameDescriptor::kTag: return std::make_unique<CNetworkNameDescriptor>();
    case CServiceListDescriptor::kTag: return std::make_unique<CServiceListDescriptor>();
    case CBouquetNameDescriptor::kTag: return std::make_unique<CBouquetNameDescriptor>();
    case CServiceDescriptor::kTag: return std::make_unique<CServiceDescriptor>();
    case CCountryAvailabilityDescriptor::kTag: return std::make_unique<CCountryAvailabilityDescriptor>();
    case CShortEventDescriptor::kTag: return std::make_unique<CShortEventDescriptor>();
    case CExtendedEventDescriptor::kTag: return std::make_unique<CExtendedEventDescriptor>();
    case CComponentDescriptor::kTag: return std::make_unique<CComponentDescriptor>();
    case CContentDescriptor::kTag: return std::make_unique<CContentDescriptor>();
    case CParentalRatingDescriptor::kTag: return std::make_unique<CParentalRatingDescriptor>();
    case CTeletextDescriptor::kTag: return std::make_unique<CTeletextDescriptor>();
    case CSubtitlingDescriptor::kTag: return std::make_unique<CSubtitlingDescriptor>();
    case CMultilingualNetworkNameDescriptor::kTag: return std::make_unique<CMultilingualNetworkNameDescriptor>();
    case CMultilingualBouquetNameDescriptor::kTag: return std::make_unique<CMultilingualBouquetNameDescriptor>();
    case CMultilingualServiceNameDescriptor::kTag: return std::make_unique<CMultilingualServiceNameDescriptor>();
    case CMultilingualComponentDescriptor::kTag: return std::make_unique<CMultilingualComponentDescriptor>();
    case CTagOnlyDescriptor::kTagDSNG:
    case CTagOnlyDescriptor::kTagPDC:
    case CTagOnlyDescriptor::kTagAC3: return std::make_unique<CTagOnlyDescriptor>(tag);
    case CServiceAvailabilityDescriptor::kTag: return std::make_unique<CServiceAvailabilityDescriptor>();
    default: return nullptr;
    }
}

} // namespace

HRESULT ParseDescriptors(CDescriptorList& list, const uint8_t* data, uint32_t length)
{
    list.clear();
    if (!data)
        return S_OK;
    CDescriptorList parsed;
    base::CByteReader loop(data, length);
    while (loop.Remaining() >= 2) {
        const uint8_t* start = loop.Current();
        const uint8_t tag = loop.U8();
        const uint8_t declared = loop.U8();
        const uint32_t held = 2u + std::min<uint32_t>(declared, static_cast<uint32_t>(loop.Remaining()));
        loop.Skip(held - 2);
        if (auto descriptor = Create(tag)) {
            if (SUCCEEDED(descriptor->Parse(start, held)))
                parsed.push_back(std::move(descriptor));
        }
    }
    list = std::move(parsed);
    return S_OK;
}

const CDescriptor* FindDescriptor(const CDescriptorList& list, uint8_t tag, uint32_t index)
{
    for (const auto& descriptor : list)
        if (descriptor->GetTag() == tag && index-- == 0)
            return descriptor.get();
    return nullptr;
}

} // namespace libDVB
