// The class-id and media-type identifier of COM. The Windows build takes the platform's own
// definition; the native build of the neutral code defines the same layout.
#pragma once

#ifdef _WIN32
#include <guiddef.h>
#else
#include <cstdint>
#include <cstring>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
#endif
