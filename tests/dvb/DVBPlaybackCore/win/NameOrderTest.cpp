// Channel lists sorted by name under a Slovak user: the system's language-aware comparison puts
// Č, Š and Ž beside their base letters, where UTF-16 code units would put them after "z".
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/DVBPlaybackCore/CServices.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

TEST(NameOrder, ASlovakListSortsAsTheLanguageDoes)
{
    const LCID previous = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_SLOVAK, SUBLANG_SLOVAK_SLOVAKIA), SORT_DEFAULT)));
    const std::vector<std::u16string> expected = {u"Alfa", u"cesta", u"\u010Cas", u"Dom", u"Sever",
                                                  u"\u0161port", u"Zdravie", u"\u017Durn\u00E1l"};
    std::vector<std::unique_ptr<CQORService>> records;
    CServices::ServiceArray list;
    for (const size_t i : {7u, 5u, 1u, 3u, 6u, 0u, 2u, 4u}) {
        records.push_back(std::make_unique<CQORService>(nullptr, nullptr, static_cast<uint16_t>(i + 1), 1, expected[i]));
        list.push_back(records.back().get());
    }
    CServices::SortServicesByName(list);
    std::vector<std::u16string> names;
    for (const CQORService* record : list)
        names.push_back(record->GetName());
    EXPECT_EQ(names, expected);
    SetThreadLocale(previous);
}

} // namespace
