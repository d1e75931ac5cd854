#include "dvb/libBDA/DiSEqCCommand.h"

#include <cstring>

namespace libBDA {

namespace {

void PutU32(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

} // namespace

HRESULT BuildDiSEqCCommand(uint32_t port, bool option, uint8_t (&buffer)[kDiSEqCBufferSize])
{
    if (port == 0)
        return S_FALSE;
    if (port > kDiSEqCMaxPort)
        return E_INVALIDARG;
    // Ports 1/3, 2/4, 5, 6: the position and option bits of the committed switch.
    static const uint8_t kSwitchByte[kDiSEqCMaxPort + 1] = {0, 0x00, 0x04, 0x00, 0x04, 0x08, 0x0C};
    std::memset(buffer, 0, sizeof(buffer));
    buffer[0] = 0xE0;
    buffer[1] = 0x10;
    buffer[2] = 0x38;
    buffer[3] = static_cast<uint8_t>((0xF0 | kSwitchByte[port]) + (option ? 2 : 0));
    PutU32(buffer + 160, 4); // message length
    PutU32(buffer + 164, 0); // reply length
    PutU32(buffer + 168, 3); // amplitude attenuation
    PutU32(buffer + 172, 1); // tone burst modulated
    PutU32(buffer + 176, 1); // DiSEqC version 1.0
    PutU32(buffer + 180, 3); // receive mode: no reply expected
    PutU32(buffer + 184, 1); // last message
    return S_OK;
}

} // namespace libBDA
