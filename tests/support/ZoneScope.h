// Sets the process's time zone (TZ) for a scope and restores the previous setting: the local-time
// code reads the zone through the C library.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

class ZoneScope {
public:
    explicit ZoneScope(const char* zone)
    {
        const char* old = std::getenv("TZ");
        m_had = old != nullptr;
        if (old)
            m_old = old;
        Set(zone);
    }
    ~ZoneScope() { Set(m_had ? m_old.c_str() : nullptr); }

private:
    static void Set(const char* zone)
    {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    bool m_had = false;
    std::string m_old;
};
