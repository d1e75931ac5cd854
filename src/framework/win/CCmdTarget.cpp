#include "framework/win/CCmdTarget.h"

namespace {

const MessageMapEntry s_noEntries[] = { { 0, 0, 0, 0, nullptr, nullptr } };
const MessageMap s_rootMap = { nullptr, s_noEntries };

} // namespace

const MessageMap* CCmdTarget::GetThisMessageMap() { return &s_rootMap; }

const MessageMap* CCmdTarget::GetMessageMap() const { return &s_rootMap; }

const MessageMapEntry* CCmdTarget::FindEntry(UINT message, int code, UINT id) const
{
    const bool coded = IsCodedMessage(message);
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->handler; ++entry) {
            if (coded) {
                if (entry->message == message && entry->code == code && id >= entry->firstId && id <= entry->lastId)
                    return entry;
            } else if (entry->registered ? *entry->registered == message && message != 0
                                         : entry->message == message) {
                return entry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra)
{
    const MessageMapEntry* entry = FindEntry(WM_COMMAND, code, id);
    if (!entry)
        return FALSE;
    LRESULT result = 0;
    entry->handler(this, id, reinterpret_cast<LPARAM>(extra), &result);
    return TRUE;
}
