// Sets the process's time zone (TZ) for a scope and restores the previous setting: the local-time
// code reads the zone through the C library. The Windows C library knows no zone names; there the
// zone is the one Wine was started in (TZ given to Wine, removed from the program's environment),
// named in TOLVIK_ZONE, and a scope for another zone is not Active().
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
#ifdef _WIN32
        const char* given = std::getenv("TOLVIK_ZONE");
        m_active = given && std::string(given) == zone;
#else
        const char* old = std::getenv("TZ");
        m_had = old != nullptr;
        if (old)
            m_old = old;
        Set(zone);
#endif
    }
    ~ZoneScope()
    {
#ifndef _WIN32
        Set(m_had ? m_old.c_str() : nullptr);
#endif
    }
    bool Active() const { return m_active; }

private:
    static void Set(const char* zone)
    {
#ifndef _WIN32
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    bool m_active = true;
    bool m_had = false;
    std::string m_old;
};
