// One row of the transponder step's network combo: a network of the transponder list (its tuning
// space, owned) or a multicast source (group and port). The tuning value packs the group in bits
// 32..63, the port in bits 16..31 and the flag in bit 0; "All sources" is the value 1.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dvb/libBDA/BDADeclarations.h"
#include "framework/CString.h"

namespace libDVB_EthernetDevice {

class CTuneSpaceItem {
public:
    // Takes over the caller's reference to `space`.
    CTuneSpaceItem(const CString& name, ITuningSpace* space) : m_name(name), m_space(space) {}
    CTuneSpaceItem(const CString& name, uint32_t address, uint16_t port, uint8_t flag)
        : m_name(name), m_address(address), m_port(port), m_flag(flag)
    {
        m_addressText.Format(L"%d.%d.%d.%d", (address >> 24) & 0xFF, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                             address & 0xFF);
    }
    virtual ~CTuneSpaceItem()
    {
        if (m_space)
            m_space->Release();
    }
    CTuneSpaceItem(const CTuneSpaceItem&) = delete;
    CTuneSpaceItem& operator=(const CTuneSpaceItem&) = delete;

    uint64_t GetTuningValue() const
    {
        return static_cast<uint64_t>(m_address) << 32 | static_cast<uint64_t>(m_port) << 16 | (m_flag ? 1u : 0u);
    }

    CString m_name;
    ITuningSpace* m_space = nullptr;
    uint32_t m_diseqcMode = 0;
    CString m_addressText;
    uint32_t m_address = 0;
    uint16_t m_port = 0;
    uint8_t m_flag = 0;
};

} // namespace libDVB_EthernetDevice
