#pragma once
#include <windows.h>
#include <afxwin.h>

// One folder row of a repository's folder query, alive only while the folder tree is built.
class HTempItem
{
public:
    HTempItem(int itemObjId, const char* itemName, int parentObjId)
        : m_nItemObjId(itemObjId), m_sItemName(itemName), m_nParentObjId(parentObjId)
    {
    }

    int m_nItemObjId;
    CString m_sItemName;
    int m_nParentObjId;
};
