#include "mfc/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

bool CCmdTarget::DispatchToMap(UINT message, UINT code, UINT id, nd::mfc::MsgCall& call) {
    bool byId = message == WM_COMMAND || message == WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->thunk; ++e) {
            if (e->nMessage != message) {
                continue;
            }
            if (byId && (e->nCode != code || id < e->nID || id > e->nLastID)) {
                continue;
            }
            e->thunk(this, call);
            return true;
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
    nd::mfc::MsgCall call{WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), static_cast<WORD>(nCode)),
                          0};
    return DispatchToMap(WM_COMMAND, static_cast<UINT>(static_cast<WORD>(nCode)), nID, call)
               ? TRUE
               : FALSE;
}
