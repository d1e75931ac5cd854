#include "dvb/libDVB/teletext/CTeletextDecoder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/ByteReader.h"
#include "dvb/libDVB/demux/PesHeader.h"
#include "dvb/libDVB/teletext/TeletextCoding.h"

namespace libDVB {

namespace {

// EN 300 472, 4.3: data units of EBU teletext; each carries 44 bytes after its id and length.
constexpr uint8_t kUnitTeletext = 0x02;
constexpr uint8_t kUnitTeletextSubtitle = 0x03;
constexpr uint32_t kUnitBytes = 44;
constexpr unsigned kDataOffset = 4; // field/line byte, framing code, two address bytes

inline uint8_t Hamming(uint8_t received) { return TeletextHamming84(TeletextReverseBits(received)); }

// A character byte: stored in teletext bit order when its parity is intact, else the cell keeps
// what it had.
inline void StoreCharacter(uint8_t& cell, uint8_t received)
{
    if (TeletextOddParity(received))
        cell = TeletextReverseBits(received);
}

} // namespace

CTeletextDecoder::CTeletextDecoder(CTeletextDecoderCallback* callback) : m_callback(callback) {}

CTeletextDecoder::~CTeletextDecoder() { Stop(); }

void CTeletextDecoder::Reset()
{
    base::CScopedLock lock(m_lock);
    ForgetDecoded();
    m_pes.Clear();
}

void CTeletextDecoder::ForgetDecoded()
{
    for (auto& receiving : m_receiving)
        receiving = nullptr;
    m_pages.clear();
    m_pageOnScreen = 0;
    m_initialPage = 0;
}

void CTeletextDecoder::OnPes(const uint8_t* data, uint32_t length)
{
    const uint8_t* position = data;
    uint32_t count = length;
    uint64_t pts = 0;
    if (!ParsePesHeader(position, count, pts))
        return;
    const uint32_t headerEnd = static_cast<uint32_t>(position - data);
    const uint32_t pesLength = (static_cast<uint32_t>(data[4]) << 8) | data[5];
    if (pesLength != 0) {
        // Bytes behind the PES (stuffing of its last transport packet) are not teletext; a PES that
        // claims more than arrived decodes the whole data units that did.
        const uint32_t end = 6 + pesLength;
        if (end < headerEnd)
            return;
        if (end < length)
            count = end - headerEnd;
    }
    base::CByteReader reader(position, count);
    reader.U8(); // data_identifier
    while (reader.Remaining() >= 2) {
        const uint8_t id = reader.U8();
        const uint8_t unitLength = reader.U8();
        const uint8_t* unit = reader.Take(unitLength);
        if (!unit)
            break; // a unit running past the PES
        if ((id == kUnitTeletext || id == kUnitTeletextSubtitle) && unitLength >= kUnitBytes)
            DecodePacket(unit);
    }
}

void CTeletextDecoder::DecodePacket(const uint8_t* unit)
{
    const uint8_t a = Hamming(unit[2]);
    const uint8_t b = Hamming(unit[3]);
    const unsigned magazine = a & 7;
    const unsigned packet = 2u * b + (a >> 3);
    const uint8_t* data = unit + kDataOffset;

    if (packet == 0) {
        OnPageHeader(magazine, data);
        return;
    }
    CTeletextPage* page = m_receiving[magazine];
    if (!page)
        return;
    if (packet <= 24) {
        uint8_t* row = page->cells + packet * CTeletextPage::kColumns;
        for (unsigned c = 0; c < CTeletextPage::kColumns; ++c)
            StoreCharacter(row[c], data[c]);
    } else if (packet == 27) {
        OnLinks(page, magazine, data);
    }
}

void CTeletextDecoder::OnPageReceived(const CTeletextPage* page)
{
    const uint32_t key = TeletextPageKey(page->pageNumber, page->subPageNumber);
    if (m_view && page->pageNumber == TeletextKeyPage(m_pageOnScreen) &&
        (page->subPageNumber == TeletextKeySubPage(m_pageOnScreen) || !m_hold)) {
        m_pageOnScreen = key;
        if (m_callback)
            m_callback->OnTeletextPage(this, key, true, false);
    }
    if (page->pageNumber == m_overlayPage && m_callback)
        m_callback->OnTeletextPage(this, m_overlayPage, true, true);
}

// A header ends the page being received in its magazine; in serial transmission (C11) the
// magazines follow one another, so a header ends the page of every magazine.
void CTeletextDecoder::EndReception(unsigned magazine, bool allMagazines)
{
    for (unsigned m = 0; m < 8; ++m) {
        if (m != magazine && !allMagazines)
            continue;
        if (CTeletextPage* page = m_receiving[m]) {
            m_receiving[m] = nullptr;
            OnPageReceived(page);
        }
    }
}

void CTeletextDecoder::OnPageHeader(unsigned magazine, const uint8_t* data)
{
    const unsigned units = Hamming(data[0]);
    const unsigned tens = Hamming(data[1]);
    const unsigned s1 = Hamming(data[2]);
    const unsigned s2 = Hamming(data[3]);
    const unsigned s3 = Hamming(data[4]);
    const unsigned s4 = Hamming(data[5]);
    const unsigned control = Hamming(data[7]); // C11 in bit 0, C12-C14 above it
    EndReception(magazine, (control & 1) != 0);

    // Only decimal page numbers and sub-pages below 80 are pages to show; hexadecimal ones carry
    // other data and would otherwise be filed under a neighbouring decimal number.
    const unsigned subPage = (s4 & 3) * 1000 + s3 * 100 + (s2 & 7) * 10 + s1;
    if (tens >= 10 || units >= 10 || s1 >= 10 || subPage >= 80)
        return;
    const uint16_t number = static_cast<uint16_t>((magazine ? magazine : 8) * 100 + tens * 10 + units);

    auto& slot = m_pages[number];
    const bool created = !slot;
    if (created)
        slot = std::make_unique<CTeletextPageEntry>(number);
    CTeletextPageEntry& entry = *slot;
    entry.created = created;
    entry.newsflash = (s4 & 4) != 0;
    entry.subtitle = (s4 & 8) != 0;
    entry.nationalBits = static_cast<uint8_t>(control >> 1);

    CTeletextPage* page = entry.FindOrCreateSubPage(static_cast<uint16_t>(subPage));
    if (s2 & 8) // C4, erase page
        page->Clear();
    page->row24 = 0;
    page->pageNumber = number;
    page->subPageNumber = static_cast<uint16_t>(subPage);
    // Row 0: the Hamming-coded address and control bytes as they came, then the header text.
    for (unsigned c = 0; c < 8; ++c)
        page->cells[c] = TeletextReverseBits(data[c]);
    for (unsigned c = 8; c < CTeletextPage::kColumns; ++c)
        StoreCharacter(page->cells[c], data[c]);
    m_receiving[magazine] = page;
}

// Packet 27/0 (EN 300 706, 9.6.1): the linked pages of the coloured keys and the link control byte.
void CTeletextDecoder::OnLinks(CTeletextPage* page, unsigned magazine, const uint8_t* data)
{
    page->linkRectangles.clear();
    page->linkedPages.clear();
    for (unsigned i = 0; i < 4; ++i) {
        const uint8_t* link = data + 1 + 6 * i;
        const unsigned units = Hamming(link[0]);
        const unsigned tens = Hamming(link[1]);
        const unsigned s1 = Hamming(link[2]);
        const unsigned s2 = Hamming(link[3]);
        const unsigned s3 = Hamming(link[4]);
        const unsigned s4 = Hamming(link[5]);
        if (units == 0xF && tens == 0xF && s1 == 0xF && (s2 & 7) == 7 && s3 == 0xF && (s4 & 3) == 3)
            break;
        const unsigned bits = ((s2 >> 3) & 1) | (((s4 >> 2) & 3) << 1);
        const unsigned target = bits ^ magazine;
        // A link that names no decimal page keeps its colour's place but leads nowhere.
        const uint16_t number = (tens < 10 && units < 10)
                                    ? static_cast<uint16_t>((target ? target : 8) * 100 + tens * 10 + units)
                                    : 0;
        page->linkedPages.push_back(number);
    }
    page->row24 = (Hamming(data[37]) >> 3) & 1;
}

void CTeletextDecoder::SetStreamInfo(uint32_t initialPage, uint32_t languageNumber)
{
    base::CScopedLock lock(m_lock);
    m_initialPage = initialPage;
    m_languageNumber = languageNumber;
}

uint32_t CTeletextDecoder::GetInitialPage() const
{
    base::CScopedLock lock(m_lock);
    return m_initialPage;
}

uint32_t CTeletextDecoder::GetLanguageNumber() const
{
    base::CScopedLock lock(m_lock);
    return m_languageNumber;
}

void CTeletextDecoder::SetViewState(bool view, bool hold, uint16_t overlayPage)
{
    base::CScopedLock lock(m_lock);
    m_view = view;
    m_hold = hold;
    m_overlayPage = overlayPage;
}

void CTeletextDecoder::SetPageOnScreen(uint32_t pageKey)
{
    base::CScopedLock lock(m_lock);
    m_pageOnScreen = pageKey;
}

uint32_t CTeletextDecoder::GetPageOnScreen() const
{
    base::CScopedLock lock(m_lock);
    return m_pageOnScreen;
}

const CTeletextPageEntry* CTeletextDecoder::FindEntry(uint16_t page) const
{
    const auto it = m_pages.find(page);
    return it == m_pages.end() ? nullptr : it->second.get();
}

bool CTeletextDecoder::HasPage(uint16_t page) const
{
    base::CScopedLock lock(m_lock);
    return FindEntry(page) != nullptr;
}

uint32_t CTeletextDecoder::GetPageCount() const
{
    base::CScopedLock lock(m_lock);
    return static_cast<uint32_t>(m_pages.size());
}

int32_t CTeletextDecoder::GetFirstSubPage(uint16_t page) const
{
    base::CScopedLock lock(m_lock);
    const CTeletextPageEntry* entry = FindEntry(page);
    if (!entry || entry->SubPages().empty())
        return -1;
    return entry->SubPages().begin()->first;
}

std::unique_ptr<CTeletextPage> CTeletextDecoder::GetPageCopy(uint16_t page, uint16_t subPage, bool* newsflash,
                                                              bool* subtitle, bool keepPageOnScreen,
                                                              uint8_t* nationalBits)
{
    base::CScopedLock lock(m_lock);
    if (page == 0 && subPage == 0)
        page = static_cast<uint16_t>(m_initialPage);
    if (!keepPageOnScreen)
        m_pageOnScreen = TeletextPageKey(page, subPage);
    const CTeletextPageEntry* entry = FindEntry(page);
    const CTeletextPage* stored = entry ? entry->FindSubPage(subPage) : nullptr;
    if (!stored)
        return nullptr;
    if (newsflash)
        *newsflash = entry->newsflash;
    if (subtitle)
        *subtitle = entry->subtitle;
    if (nationalBits)
        *nationalBits = entry->nationalBits;
    return std::make_unique<CTeletextPage>(*stored);
}

uint32_t CTeletextDecoder::GetPreviousPage() const
{
    base::CScopedLock lock(m_lock);
    const uint16_t page = TeletextKeyPage(m_pageOnScreen);
    const uint16_t subPage = TeletextKeySubPage(m_pageOnScreen);
    auto it = m_pages.lower_bound(page);
    const bool stored = it != m_pages.end() && it->first == page && it->second->FindSubPage(subPage);
    if (stored) {
        const auto& subPages = it->second->SubPages();
        auto sub = subPages.find(subPage);
        if (sub != subPages.begin())
            return TeletextPageKey(page, std::prev(sub)->first);
    }
    // The last sub-page of the nearest page below.
    while (it != m_pages.begin()) {
        --it;
        if (!it->second->SubPages().empty())
            return TeletextPageKey(it->first, it->second->SubPages().rbegin()->first);
    }
    return stored ? m_pageOnScreen : 0;
}

uint32_t CTeletextDecoder::GetNextPage() const
{
    base::CScopedLock lock(m_lock);
    const uint16_t page = TeletextKeyPage(m_pageOnScreen);
    const uint16_t subPage = TeletextKeySubPage(m_pageOnScreen);
    auto it = m_pages.lower_bound(page);
    const bool stored = it != m_pages.end() && it->first == page && it->second->FindSubPage(subPage);
    if (stored) {
        const auto& subPages = it->second->SubPages();
        auto sub = std::next(subPages.find(subPage));
        if (sub != subPages.end())
            return TeletextPageKey(page, sub->first);
        ++it;
    } else if (it != m_pages.end() && it->first == page) {
        ++it;
    }
    for (; it != m_pages.end(); ++it)
        if (!it->second->SubPages().empty())
            return TeletextPageKey(it->first, it->second->SubPages().begin()->first);
    return stored ? m_pageOnScreen : 0;
}

} // namespace libDVB
