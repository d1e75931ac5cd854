#include "dvb/libDVB/timeshift/CTSPacketBufferInterface.h"

#include <atomic>

namespace libDVB {

namespace {
std::atomic<CTSPacketBufferInterface::Factory> g_factory{nullptr};
} // namespace

std::unique_ptr<CTSPacketBufferInterface> CTSPacketBufferInterface::Create(CTSPacketBufferCallback* callback)
{
    const Factory factory = g_factory.load();
    return factory ? factory(callback) : nullptr;
}

void CTSPacketBufferInterface::SetFactory(Factory factory) { g_factory.store(factory); }

} // namespace libDVB
