// The root of the framework's message-handling classes and the message maps
// in the framework's own macro form:
//
//   class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(IDC_ADD, &CMyDlg::OnAdd)
//       ON_WM_PAINT()
//   END_MESSAGE_MAP()
//
// Each entry holds a small thunk made for the exact member function type, so
// a handler of the wrong signature does not compile. Maps chain to their
// base class's map; the first matching entry from the most derived class wins.
#pragma once

#include "win32/windows.h"

#include <type_traits>

class CCmdTarget;

namespace nd::mfc {

// What a thunk receives: the message and a place for the result.
struct MsgCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
};
using Thunk = void (*)(CCmdTarget* target, MsgCall& call);

template <typename T>
struct MemberClass;
template <typename R, typename C, typename... A>
struct MemberClass<R (C::*)(A...)> {
    using type = C;
};
template <auto F>
using ClassOf = typename MemberClass<decltype(F)>::type;

template <auto F>
ClassOf<F>* self(CCmdTarget* t) {
    return static_cast<ClassOf<F>*>(t);
}

}  // namespace nd::mfc

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND / WM_NOTIFY for commands and notifications
    UINT nCode;     // notification code
    UINT nID;       // control id (first of a range)
    UINT nLastID;
    nd::mfc::Thunk thunk;  // null ends the map
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget {
  public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Finds the entry for (message, code, id) along the chain of maps and
    // calls it; false when no map has one.
    bool DispatchToMap(UINT message, UINT code, UINT id, nd::mfc::MsgCall& call);
    // Commands (WM_COMMAND) by id and notification code.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass [[maybe_unused]] = theClass;    \
        using TheBaseClass = baseClass;                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, nullptr }                                                                       \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// Thunks, one per handler signature.
namespace nd::mfc::thunks {

template <auto F>
void command(CCmdTarget* t, MsgCall&) {
    (self<F>(t)->*F)();
}
template <auto F>
void commandRange(CCmdTarget* t, MsgCall& c) {
    (self<F>(t)->*F)(static_cast<UINT>(LOWORD(c.wParam)));
}
template <auto F>
void notify(CCmdTarget* t, MsgCall& c) {
    c.result = 0;
    (self<F>(t)->*F)(reinterpret_cast<NMHDR*>(c.lParam), &c.result);
}
template <auto F>
void message(CCmdTarget* t, MsgCall& c) {
    c.result = (self<F>(t)->*F)(c.wParam, c.lParam);
}

}  // namespace nd::mfc::thunks

#define ON_COMMAND(id, memberFxn)                                 \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), \
     &nd::mfc::thunks::command<memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                       \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast), \
     &nd::mfc::thunks::commandRange<memberFxn>},
#define ON_CONTROL(code, id, memberFxn)                                                 \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     &nd::mfc::thunks::command<memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                 \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     &nd::mfc::thunks::notify<memberFxn>},
#define ON_MESSAGE(msg, memberFxn) \
    {static_cast<UINT>(msg), 0, 0, 0, &nd::mfc::thunks::message<memberFxn>},
