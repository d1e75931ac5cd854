// What a service needs of its timeshift buffer. The buffer itself uses the platform's temporary
// files and threads; services reach it only through this interface and a factory that the
// platform layer installs, so the service code stays platform-neutral.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Result.h"

namespace libDVB {

class CTSPacketBufferInterface {
public:
    class CTSPacketBufferCallback {
    public:
        // On the reader thread, without the buffer's lock.
        virtual HRESULT OnBufferedPacket(const uint8_t* packet, uint32_t length) = 0;

    protected:
        ~CTSPacketBufferCallback() = default;
    };

    using Factory = std::unique_ptr<CTSPacketBufferInterface> (*)(CTSPacketBufferCallback* callback);

    virtual ~CTSPacketBufferInterface() = default;

    // Starts buffering, paced on replay by the PCR of `pacingPid`; 1 when already paused.
    virtual HRESULT Pause(uint16_t pacingPid) = 0;
    // Starts or resumes the replay; 1 when not paused.
    virtual HRESULT Play() = 0;
    // The service's packet entry: 1 while nothing is buffered (the caller passes the packet on).
    virtual HRESULT Write(const uint8_t* packet, uint32_t length) = 0;
    // Back to live: ends the replay and drops the ring.
    virtual HRESULT Stop() = 0;
    // Paused: between Pause and Play. Created: from the first Pause until Stop.
    virtual bool IsPaused() const = 0;
    virtual bool IsCreated() const = 0;

    // The buffer a new service gets; null while no factory is installed (no timeshift).
    static std::unique_ptr<CTSPacketBufferInterface> Create(CTSPacketBufferCallback* callback);
    static void SetFactory(Factory factory);
};

} // namespace libDVB
