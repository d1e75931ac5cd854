#include "dvb/libDVB/subtitle/CSubtitleDecoder.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "dvb/libDVB/demux/PesHeader.h"

namespace libDVB {

CSubtitleDecoder::~CSubtitleDecoder() { Stop(); }

void CSubtitleDecoder::Clear()
{
    base::CScopedLock lock(m_lock);
    ForgetDecoded();
    m_pes.Clear();
}

size_t CSubtitleDecoder::GetQueuedCount() const
{
    base::CScopedLock lock(m_lock);
    return m_queue.size();
}

void CSubtitleDecoder::Queue(std::unique_ptr<CSubtitleDisplaySet> set)
{
    m_queue.push_back(std::move(set));
    while (m_queue.size() > kQueueLimit)
        m_queue.pop_front();
}

HRESULT CSubtitleDecoder::DecodePes(const uint8_t* data, uint32_t length)
{
    base::CScopedLock lock(m_lock);
    const uint8_t* position = data;
    uint32_t count = length;
    uint64_t pts = 0;
    if (!ParsePesHeader(position, count, pts))
        return E_FAIL;
    const uint32_t headerEnd = static_cast<uint32_t>(position - data);
    const uint32_t pesLength = (static_cast<uint32_t>(data[4]) << 8) | data[5];
    if (pesLength != 0) {
        // A PES that lost its tail would show a display set without its later segments.
        const uint32_t end = 6 + pesLength;
        if (end < headerEnd || end > length)
            return E_FAIL;
        count = end - headerEnd;
    }

    base::CByteReader reader(position, count);
    reader.U8(); // data_identifier
    reader.U8(); // subtitle_stream_id
    if (reader.Overrun())
        return E_FAIL;

    std::unique_ptr<CSubtitleDisplaySet> current;
    while (!reader.Empty() && *reader.Current() == CSubtitleDisplaySet::kSyncByte) {
        const uint8_t* segment = reader.Current();
        const uint32_t left = static_cast<uint32_t>(reader.Remaining());
        if (left < 6)
            break;
        const uint32_t total = 6 + ((static_cast<uint32_t>(segment[4]) << 8) | segment[5]);
        if (total > left)
            break; // a segment that runs past the PES: nothing behind it can be trusted
        reader.Skip(total);

        switch (segment[1]) {
        case CSubtitleDisplaySet::kPageComposition: {
            const int state = CSubtitleDisplaySet::PageState(segment, total);
            if (state < 0)
                break;
            if (state == 3) { // reserved: update the set being built, if any
                if (current)
                    current->ParsePageComposition(segment, total);
                break;
            }
            if (current) { // a second page composition in one PES: the first set is complete
                current->pts = pts;
                Queue(std::move(current));
            }
            if (state == 0 && !m_queue.empty()) {
                // Normal case: an update of what is on screen, with a page composition of its own.
                current = std::make_unique<CSubtitleDisplaySet>(*m_queue.back());
                current->page = CSubtitleDisplaySet::CPageComposition();
                current->shown = false;
            } else {
                current = std::make_unique<CSubtitleDisplaySet>();
            }
            current->ParsePageComposition(segment, total);
            break;
        }
        case CSubtitleDisplaySet::kRegionComposition:
            if (current)
                current->ParseRegionComposition(segment, total);
            break;
        case CSubtitleDisplaySet::kClutDefinition:
            if (current)
                current->ParseClutDefinition(segment, total);
            break;
        case CSubtitleDisplaySet::kObjectData:
            if (current)
                current->ParseObjectData(segment, total);
            break;
        default: // display definition, end of display set, stuffing
            break;
        }
    }
    if (current) {
        current->pts = pts;
        Queue(std::move(current));
    }
    return S_OK;
}

const CSubtitleDisplaySet* CSubtitleDecoder::PickDueDisplaySet(uint64_t pts)
{
    base::CScopedLock lock(m_lock);
    size_t pick = m_queue.size();
    for (size_t i = 0; i < m_queue.size(); ++i)
        if (m_queue[i]->pts <= pts && !m_queue[i]->shown)
            pick = i;
    if (pick == m_queue.size())
        return nullptr;
    m_queue.erase(m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(pick));
    m_queue.front()->shown = true;
    return m_queue.front().get();
}

} // namespace libDVB
