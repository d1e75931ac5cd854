#include "dvb/libDVB/teletext/CTeletextPageEntry.h"

namespace libDVB {

CTeletextPage* CTeletextPageEntry::FindSubPage(uint16_t subPage) const
{
    const auto it = m_subPages.find(subPage);
    return it == m_subPages.end() ? nullptr : it->second.get();
}

CTeletextPage* CTeletextPageEntry::FindOrCreateSubPage(uint16_t subPage)
{
    auto& slot = m_subPages[subPage];
    if (!slot)
        slot = std::make_unique<CTeletextPage>(m_page, subPage);
    return slot.get();
}

} // namespace libDVB
