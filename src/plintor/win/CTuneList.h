// What the scan will visit, in order: a BDA locator per transponder (the list holds one reference
// to each, taken when it is added and given back when it is removed) or a packed multicast group.
#pragma once

#include <cstdint>
#include <vector>

#include "dvb/libBDA/BDADeclarations.h"

class CTuneList {
public:
    struct Entry {
        ILocator* locator = nullptr;
        uint64_t multicast = 0; // group in bits 32..63, port in bits 16..31, flag in bit 0
    };

    CTuneList() = default;
    ~CTuneList() { Clear(); }
    CTuneList(const CTuneList& other) { *this = other; }
    CTuneList& operator=(const CTuneList& other)
    {
        if (this != &other) {
            Clear();
            for (const Entry& entry : other.m_entries)
                Add(entry);
        }
        return *this;
    }

    // The list takes a reference of its own.
    void AddLocator(ILocator* locator) { Add({locator, 0}); }
    void AddMulticast(uint64_t value) { Add({nullptr, value}); }
    void Clear()
    {
        for (Entry& entry : m_entries) {
            if (entry.locator)
                entry.locator->Release();
        }
        m_entries.clear();
    }
    const std::vector<Entry>& Entries() const { return m_entries; }
    size_t GetCount() const { return m_entries.size(); }

private:
    void Add(const Entry& entry)
    {
        if (entry.locator)
            entry.locator->AddRef();
        m_entries.push_back(entry);
    }

    std::vector<Entry> m_entries;
};
