// One teletext page number with every sub-page received for it, sorted by sub-page number, and the
// page-header flags of its last transmission.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "dvb/libDVB/teletext/CTeletextPage.h"

namespace libDVB {

class CTeletextPageEntry {
public:
    using SubPageMap = std::map<uint16_t, std::unique_ptr<CTeletextPage>>;

    explicit CTeletextPageEntry(uint16_t page) : m_page(page) {}
    CTeletextPageEntry(const CTeletextPageEntry&) = delete;
    CTeletextPageEntry& operator=(const CTeletextPageEntry&) = delete;

    uint16_t GetPage() const { return m_page; }
    CTeletextPage* FindSubPage(uint16_t subPage) const;
    // The stored sub-page, created (empty) when it was not there yet.
    CTeletextPage* FindOrCreateSubPage(uint16_t subPage);
    const SubPageMap& SubPages() const { return m_subPages; }

    bool subtitle = false;  // C6
    bool newsflash = false; // C5
    bool created = false;   // the entry was created by the latest header of its page
    uint8_t nationalBits = 0; // C12-C14

private:
    uint16_t m_page;
    SubPageMap m_subPages;
};

} // namespace libDVB
