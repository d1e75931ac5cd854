// The root of everything that answers messages and commands through a message map: a table
// per class, searched from the most derived class to its bases.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;

// Notification codes of command routing: a command, or the query for its user-interface state.
enum : int {
    CN_COMMAND = 0,
    CN_UPDATE_COMMAND_UI = -1,
};

// One entry of a class's message map. A window message matches by number (or, with
// registered set, by the number a registered message received at run time); a command
// matches WM_COMMAND entries by code and id range. The handler cracks the parameters, calls
// the member function and stores its result; for commands wParam holds the id and lParam the
// CCmdUI of an update query.
// Messages whose entries match by notification code and control id as commands do: control
// notifications to the parent, and the ones a control receives back from its parent.
const UINT WM_REFLECT_BASE = 0xBC00;
inline bool IsCodedMessage(UINT message)
{
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY ||
           message == WM_REFLECT_BASE + WM_COMMAND;
}

struct MessageMapEntry {
    UINT message;
    int code;
    UINT firstId;
    UINT lastId;
    const UINT* registered;
    void (*handler)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries; // ends with an entry whose handler is null
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler of command id (code CN_COMMAND) or its update handler (code
    // CN_UPDATE_COMMAND_UI, extra is the CCmdUI) from this object's map; TRUE when one exists.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // The first entry of the map chain that answers message (for a window message) or
    // (code, id) (for WM_COMMAND); null when none does.
    const MessageMapEntry* FindEntry(UINT message, int code, UINT id) const;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const MessageMap* GetThisMessageMap();               \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }  \
    const MessageMap* theClass::GetThisMessageMap()                                    \
    {                                                                                  \
        typedef theClass ThisClass;                                                    \
        typedef baseClass TheBaseClass;                                                \
        static_assert(sizeof(ThisClass) > 0, "complete class");                        \
        static const MessageMapEntry s_entries[] = {

#define END_MESSAGE_MAP()                                                              \
            { 0, 0, 0, 0, nullptr, nullptr }                                           \
        };                                                                             \
        static const MessageMap s_map = { &TheBaseClass::GetThisMessageMap, s_entries }; \
        return &s_map;                                                                 \
    }

// One window message entry: body runs with `self` (ThisClass*), `wParam`, `lParam` and
// stores the message result in `*result`.
#define TOLVIK_MESSAGE_ENTRY(message, body)                                                   \
    { message, 0, 0, 0, nullptr,                                                              \
      [](CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result) {                \
          ThisClass* self = static_cast<ThisClass*>(target);                                  \
          (void)self; (void)wParam; (void)lParam; (void)result;                               \
          body;                                                                               \
      } },

// LRESULT handler(WPARAM, LPARAM) for a message number, or for a registered message whose
// number is kept in the UINT variable `variable`.
#define ON_MESSAGE(message, memberFxn) \
    TOLVIK_MESSAGE_ENTRY(message, *result = self->memberFxn(wParam, lParam))
#define ON_REGISTERED_MESSAGE(variable, memberFxn)                                            \
    { 0, 0, 0, 0, &(variable),                                                                \
      [](CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result) {                \
          *result = static_cast<ThisClass*>(target)->memberFxn(wParam, lParam);               \
      } },

// void handler() for one command id; void handler(UINT id) for a range of ids.
#define ON_COMMAND(id, memberFxn)                                                             \
    { WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr,          \
      [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) { static_cast<ThisClass*>(target)->memberFxn(); } },
#define ON_COMMAND_RANGE(firstId, lastId, memberFxn)                                          \
    { WM_COMMAND, CN_COMMAND, static_cast<UINT>(firstId), static_cast<UINT>(lastId), nullptr, \
      [](CCmdTarget* target, WPARAM wParam, LPARAM, LRESULT*) {                              \
          static_cast<ThisClass*>(target)->memberFxn(static_cast<UINT>(wParam));              \
      } },
// void handler() for a control's notification code from control id (BN_CLICKED, CBN_SELCHANGE...).
#define ON_CONTROL(code, id, memberFxn)                                                       \
    { WM_COMMAND, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
      [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) { static_cast<ThisClass*>(target)->memberFxn(); } },
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
// void handler(NMHDR*, LRESULT*) for a WM_NOTIFY code from control id, in the parent's map;
// ON_NOTIFY_REFLECT is the same in the control's own map (the parent hands the message back).
#define ON_NOTIFY(code, id, memberFxn)                                                        \
    { WM_NOTIFY, static_cast<int>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
      [](CCmdTarget* target, WPARAM, LPARAM lParam, LRESULT* result) {                       \
          static_cast<ThisClass*>(target)->memberFxn(reinterpret_cast<NMHDR*>(lParam), result); \
      } },
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                    \
    { WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(code), 0, 0xFFFFFFFFu, nullptr,           \
      [](CCmdTarget* target, WPARAM, LPARAM lParam, LRESULT* result) {                       \
          static_cast<ThisClass*>(target)->memberFxn(reinterpret_cast<NMHDR*>(lParam), result); \
      } },
// void handler(CCmdUI*) answering the state query of one id or a range of ids.
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ON_UPDATE_COMMAND_UI_RANGE(id, id, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(firstId, lastId, memberFxn)                                \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(firstId), static_cast<UINT>(lastId), nullptr, \
      [](CCmdTarget* target, WPARAM, LPARAM lParam, LRESULT*) {                              \
          static_cast<ThisClass*>(target)->memberFxn(reinterpret_cast<CCmdUI*>(lParam));     \
      } },
