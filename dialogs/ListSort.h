#pragma once
#include <windows.h>
#include <afxcmn.h>

#include <mbstring.h>

// Orders two rows of a sortable list, known by their item data (each row's index when the
// sort began), by one column's text: single-byte letters compared without case, the rest as
// code page 949 text. Negative, zero or positive as for the list's comparison callback.
inline int CompareListRows(CListCtrl* pList, LPARAM lParam1, LPARAM lParam2, int nColumn,
                           int bAscending)
{
    LVFINDINFO info = {};
    info.flags = LVFI_PARAM;
    info.lParam = lParam1;
    CString sText1 = pList->GetItemText(pList->FindItem(&info), nColumn);
    info.lParam = lParam2;
    CString sText2 = pList->GetItemText(pList->FindItem(&info), nColumn);
    sText1.MakeLower();
    sText2.MakeLower();

    const int nOrder = _mbscmp(reinterpret_cast<const unsigned char*>(static_cast<LPCSTR>(sText1)),
                               reinterpret_cast<const unsigned char*>(static_cast<LPCSTR>(sText2)));
    const int nSign = (nOrder > 0) - (nOrder < 0);
    return bAscending ? nSign : -nSign;
}
