#pragma once
#include <windows.h>
#include <afxcmn.h>

#include "resource.h"

// Helpers of the two dialogs that show the repository folder tree.

// The one-shot timer that fills the tree once the dialog has appeared.
const UINT_PTR kFillTreeTimer = 509;
const UINT kFillTreeDelay = 50;

// Gives the tree the folder image strip (masked with teal). FALSE when the list cannot be made.
inline BOOL AttachFolderImages(CTreeCtrl& tree, CImageList& images)
{
    if (!images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1))
        return FALSE;
    CBitmap bitmap;
    bitmap.LoadBitmap(IDB_FOLDER_IMAGES);
    images.Add(&bitmap, RGB(0, 128, 128));
    tree.SetImageList(&images, TVSIL_NORMAL);
    return TRUE;
}

// The view path of a folder item: the labels from the top item down to the item, each
// preceded by a backslash; a single backslash for no item.
inline CString TreeViewPath(CTreeCtrl& tree, HTREEITEM hItem)
{
    CString sPath = hItem ? tree.GetItemText(hItem) : CString();
    for (HTREEITEM hParent = hItem ? tree.GetParentItem(hItem) : nullptr; hParent;
         hParent = tree.GetParentItem(hParent))
        sPath =
            sPath.IsEmpty() ? tree.GetItemText(hParent) : tree.GetItemText(hParent) + "\\" + sPath;
    return "\\" + sPath;
}
