// Message-map look-up and command dispatch.
#include "afxwin.h"

const AFX_MSGMAP *CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, NULL}};
    static const AFX_MSGMAP map = {NULL, &entries[0]};
    return &map;
}

const AFX_MSGMAP *CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

// The entry of the most derived map that handles the message; the code and
// id take part only for WM_COMMAND.
const AFX_MSGMAP_ENTRY *CCmdTarget::FindEntry(const AFX_MSGMAP *map, UINT message, UINT code, UINT id)
{
    for (; map != NULL; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY *entry = map->lpEntries; entry->pfnInvoke != NULL; ++entry) {
            if (entry->nMessage != message)
                continue;
            if (message != WM_COMMAND || (entry->nCode == code && entry->nID <= id && id <= entry->nLastID))
                return entry;
        }
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    const AFX_MSGMAP_ENTRY *entry = FindEntry(GetMessageMap(), WM_COMMAND, (UINT)nCode, nID);
    if (entry == NULL)
        return FALSE;
    entry->pfnInvoke(this, nID, 0, 0);
    return TRUE;
}
