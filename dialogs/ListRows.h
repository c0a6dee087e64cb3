#pragma once
#include <windows.h>
#include <afxcmn.h>

#include "resource.h"

#include <mbstring.h>

// Helpers of the dialogs' report lists: check-box lists, header-sorted lists and the state
// image strip.

inline void SetAllChecks(CListCtrl& list, BOOL bCheck)
{
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        list.SetCheck(nRow, bCheck);
}

// Gives the list the five 12 x 14 state images of the strip on white. FALSE when the image
// list cannot be made.
inline BOOL AttachStateImages(CListCtrl& list, CImageList& images)
{
    if (!images.Create(12, 14, ILC_COLOR24 | ILC_MASK, 0, 1))
        return FALSE;
    CBitmap bitmap;
    bitmap.LoadBitmap(IDB_STATE_IMAGES);
    images.Add(&bitmap, RGB(255, 255, 255));
    list.SetImageList(&images, LVSIL_STATE);
    return TRUE;
}

// A click on a new column sorts it ascending, on the same column once more reverses the
// order. The rows' item data become their indexes, which the comparison finds them by.
inline void SortByColumn(CListCtrl& list, int nColumn, int& nSortColumn, int& bSortAscending,
                         PFNLVCOMPARE pfnCompare)
{
    bSortAscending = nColumn != nSortColumn ? 1 : !bSortAscending;
    nSortColumn = nColumn;
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        list.SetItemData(nRow, nRow);
    list.SortItems(pfnCompare, reinterpret_cast<LPARAM>(&list));
}

// Orders two rows, known by their item data, by one column's text: single-byte letters
// compared without case, the rest as code page 949 text.
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
