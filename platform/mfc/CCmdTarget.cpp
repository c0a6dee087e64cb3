#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}

CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP messageMap = {NULL, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* PASCAL CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry,
                                                            UINT nMessage, UINT nCode, UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry)
        if (lpEntry->nMessage == nMessage && lpEntry->nCode == nCode && nID >= lpEntry->nID &&
            nID <= lpEntry->nLastID)
            return lpEntry;
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nMessage, UINT nCode, UINT nID, void* pExtra, LRESULT* pResult)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != NULL;
         map = map->pfnGetBaseMap != NULL ? map->pfnGetBaseMap() : NULL)
    {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map->lpEntries, nMessage, nCode, nID);
        if (entry == NULL)
            continue;
        union
        {
            AFX_PMSG pfn;
            void (CCmdTarget::*pfnNotify)(NMHDR*, LRESULT*);
        } handler;
        handler.pfn = entry->pfn;
        if (entry->nSig == AfxSig_NOTIFY)
        {
            LRESULT ignored = 0;
            (this->*handler.pfnNotify)(static_cast<NMHDR*>(pExtra), pResult ? pResult : &ignored);
        }
        else
            (this->*handler.pfn)();
        return TRUE;
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    AfxGetApp()->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxGetApp()->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxGetApp()->DoWaitCursor(0);
}
