// The scan wizard's known networks and their transponders, read from "satellites.xml" beside the
// program through the MSXML 3.0 DOM: every network becomes a BDA tuning space named after it, and
// the transponders of one network become the locators the scan visits.
#pragma once

#include <windows.h>

#include <msxml2.h>

#include <vector>

#include "dvb/libBDA/BDADeclarations.h"

class CTransponderListReader {
public:
    // Source types of the wizard.
    enum : int { kCable = 1, kTerrestrial = 2, kSatellite = 3, kATSC = 4 };

    // Loads `fileName` from the program's own folder (whatever the current folder is).
    explicit CTransponderListReader(const wchar_t* fileName);
    ~CTransponderListReader();
    CTransponderListReader(const CTransponderListReader&) = delete;
    CTransponderListReader& operator=(const CTransponderListReader&) = delete;

    bool IsLoaded() const { return m_loaded; }
    // The networks of a source type, each with a reference the caller takes over.
    std::vector<ITuningSpace*> GetNetworks(int sourceType);
    // Appends one locator per transponder of the space's network, in document order; the caller
    // owns them. A transponder with a missing or non-numeric attribute is skipped.
    HRESULT GetTransponders(ITuningSpace* space, std::vector<ILocator*>* locators);

private:
    struct Kind;
    static const Kind kKinds[4];
    void ReadNetworks(const Kind& kind);
    std::vector<ITuningSpace*>& Spaces(int sourceType);

    IXMLDOMDocument* m_document = nullptr;
    bool m_loaded = false;
    std::vector<ITuningSpace*> m_satellite, m_cable, m_terrestrial, m_atsc;
};
