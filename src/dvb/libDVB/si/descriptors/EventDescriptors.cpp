#include "dvb/libDVB/si/descriptors/EventDescriptors.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CShortEventDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 3, r)))
        return E_FAIL;
    m_language = ReadCode(r);
    m_eventName = ReadDVBText(r);
    m_text = ReadDVBText(r);
    return S_OK;
}

HRESULT CExtendedEventDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    // Numbers, language and length_of_items are fixed fields: without all five bytes there is
    // nothing to read the items by.
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 5, r)))
        return E_FAIL;
    m_number = static_cast<uint8_t>(r.Bits(4));
    m_lastNumber = static_cast<uint8_t>(r.Bits(4));
    m_language = ReadCode(r);
    base::CByteReader items = r.Sub(r.U8());
    if (r.Overrun())
        return E_FAIL; // length_of_items runs past the descriptor
    while (!items.Empty()) {
        CItem item;
        item.description = ReadDVBText(items);
        item.item = ReadDVBText(items);
        m_items.push_back(std::move(item));
    }
    m_text = ReadDVBText(r, false); // one part of the event's text: trimmed once joined
    return S_OK;
}

HRESULT CComponentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 6, r)))
        return E_FAIL;
    m_streamContent = r.U8() & 0x0F;
    m_componentType = r.U8();
    m_componentTag = r.U8();
    m_language = ReadCode(r);
    const size_t n = r.Remaining();
    m_text = ConvertDVBText(r.Take(n), n);
    return S_OK;
}

HRESULT CContentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 2) {
        CEntry entry;
        entry.content = r.U8();
        entry.userByte = r.U8();
        m_entries.push_back(entry);
    }
    return S_OK;
}

HRESULT CParentalRatingDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.country = ReadCode(r);
        entry.rating = r.U8();
        m_entries.push_back(entry);
    }
    return S_OK;
}

HRESULT CMultilingualComponentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_componentTag = r.U8();
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.text = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
