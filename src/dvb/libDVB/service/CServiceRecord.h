// What the service manager knows of one program of the PAT.
#pragma once

#include <cstdint>

namespace libDVB {

class CService;
class CServiceManager;

struct CServiceRecord {
    uint16_t service_id = 0; // program_number
    uint16_t program_map_PID = 0;
    CServiceManager* manager = nullptr;
    CService* service = nullptr; // attached service; null when the listener gave none
    uint8_t pmtSeen = 0;
    uint8_t sdtSeen = 0;
};

} // namespace libDVB
