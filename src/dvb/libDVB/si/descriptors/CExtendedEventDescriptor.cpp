#include "dvb/libDVB/si/descriptors/CExtendedEventDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

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
        item.item_description = ReadDVBText(items);
        item.item = ReadDVBText(items);
        m_items.push_back(std::move(item));
    }
    m_text = ReadDVBText(r, false); // one part of the event's text: trimmed once joined
    return S_OK;
}

} // namespace libDVB
