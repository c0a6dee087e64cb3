#include <windows.h>

#include <afxcmn.h>

#include <gtest/gtest.h>

#include "CControlsDlg.h"

#include <string>
#include <vector>

using Events = std::vector<std::string>;

namespace
{

// The controls dialog, modeless and shown, for the length of one test.
class Controls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_CONTROLS));
        dlg.ShowWindow(SW_SHOW);
        dlg.m_events.clear();
    }
    void TearDown() override { dlg.DestroyWindow(); }

    CControlsDlg dlg;
};

// As the library's sortable lists do: item data are row indexes, the sort parameter is the
// list, and the texts are looked up through the item data.
int CALLBACK CompareSecondColumn(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    CListCtrl* list = reinterpret_cast<CListCtrl*>(lParamSort);
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = lParam1;
    CString first = list->GetItemText(list->FindItem(&find), 1);
    find.lParam = lParam2;
    CString second = list->GetItemText(list->FindItem(&find), 1);
    return first.CompareNoCase(second);
}

COLORREF PixelOf(CImageList& images, int image, int x, int y)
{
    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    images.Draw(dc, image, POINT{0, 0}, ILD_TRANSPARENT);
    COLORREF pixel = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixel;
}

} // namespace

TEST_F(Controls, ListSortsThroughTheCallbackWithItemData)
{
    const char* paths[] = {"\\Repo\\b", "\\Repo\\C", "\\Repo\\a", "\\Repo\\가"};
    for (int row = 0; row < 4; ++row)
    {
        dlg.m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, row, std::to_string(row).c_str(), 0, 0, 0,
                              row);
        dlg.m_list.SetItemText(row, 1, paths[row]);
    }

    ASSERT_TRUE(
        dlg.m_list.SortItems(CompareSecondColumn, reinterpret_cast<DWORD_PTR>(&dlg.m_list)));
    Events sorted;
    for (int row = 0; row < 4; ++row)
        sorted.push_back(std::string(dlg.m_list.GetItemText(row, 0)) + " " +
                         std::string(dlg.m_list.GetItemText(row, 1)));
    EXPECT_EQ(sorted, (Events{"2 \\Repo\\a", "0 \\Repo\\b", "1 \\Repo\\C", "3 \\Repo\\가"}));
}

TEST_F(Controls, ListCheckBoxesStateImagesAndSelection)
{
    dlg.m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int row = 0; row < 3; ++row)
        dlg.m_list.InsertItem(row, "파일");
    dlg.m_events.clear();

    dlg.m_list.SetCheck(1, TRUE);
    EXPECT_TRUE(dlg.m_list.GetCheck(1));
    EXPECT_EQ(dlg.m_events, Events{"item 1 check 1"});
    dlg.m_list.SetCheck(1, FALSE);
    EXPECT_FALSE(dlg.m_list.GetCheck(1));

    // State images beyond the check box, as the state columns of the library use them.
    CImageList states;
    ASSERT_TRUE(states.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
    dlg.m_list.SetImageList(&states, LVSIL_STATE);
    dlg.m_list.SetItemState(2, INDEXTOSTATEIMAGEMASK(3), LVIS_STATEIMAGEMASK);
    EXPECT_EQ(dlg.m_list.GetItemState(2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(3));
    EXPECT_TRUE(dlg.m_list.RedrawItems(2, 2));

    dlg.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    dlg.m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> selected;
    for (POSITION pos = dlg.m_list.GetFirstSelectedItemPosition(); pos != NULL;)
        selected.push_back(dlg.m_list.GetNextSelectedItem(pos));
    EXPECT_EQ(selected, (std::vector<int>{0, 2}));
    // A bound control is the member itself, not a temporary object.
    EXPECT_EQ(dlg.GetDlgItem(IDC_LIST), &dlg.m_list);
}

TEST_F(Controls, TreeLabelEditCommitsAndReopensFromItsOwnEndNotification)
{
    HTREEITEM repo = dlg.m_tree.InsertItem("Repo");
    HTREEITEM added = dlg.m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, "No Name",
                                            2, 3, 0, 0, 0, repo, TVI_LAST);
    dlg.m_tree.Expand(repo, TVE_EXPAND);
    dlg.m_hReopenItem = added;
    dlg.m_tree.SetFocus();

    CEdit* editor = dlg.m_tree.EditLabel(added);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(dlg.m_tree.GetEditControl()->m_hWnd, editor->m_hWnd);

    // An unchanged name: the handler starts editing again from inside the notification; the
    // editor opens once the notification has returned.
    EXPECT_TRUE(dlg.m_tree.EndEditLabelNow(FALSE));
    EXPECT_EQ(dlg.m_tree.GetEditControl(), nullptr);
    AfxPumpMessages();
    EXPECT_EQ(dlg.m_nReopened, 1);
    ASSERT_NE(dlg.m_tree.GetEditControl(), nullptr);

    dlg.m_tree.GetEditControl()->SetWindowText("Src");
    EXPECT_TRUE(dlg.m_tree.EndEditLabelNow(FALSE));
    AfxPumpMessages();
    EXPECT_EQ(dlg.m_tree.GetItemText(added), "Src");
    EXPECT_EQ(dlg.m_tree.GetEditControl(), nullptr);
    EXPECT_EQ(dlg.m_events,
              (Events{"begin edit", "end edit No Name", "begin edit", "end edit Src"}));
}

TEST_F(Controls, ComboSelectStringIsACaseInsensitivePrefixSearchThatWraps)
{
    // "alpha" and "zeta" came from the template's initialisation data.
    dlg.m_combo.AddString("Beta");
    dlg.m_combo.AddString("alphabet");
    ASSERT_EQ(dlg.m_combo.GetCount(), 4);
    EXPECT_EQ(dlg.m_combo.SelectString(0, "ALPHA"), 1);
    EXPECT_EQ(dlg.m_combo.SelectString(1, "alpha"), 0);
    EXPECT_EQ(dlg.m_combo.SelectString(-1, "b"), 2);
    EXPECT_EQ(dlg.m_combo.SelectString(0, "없음"), CB_ERR);
    EXPECT_EQ(dlg.m_combo.GetCurSel(), 2);
    EXPECT_EQ(dlg.m_combo.FindStringExact(-1, "ZETA"), 3);
}

TEST_F(Controls, ImageListTakesAMaskedStripFromTheResources)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1));
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(IDB_STRIP));
    EXPECT_EQ(images.Add(&strip, RGB(0, 128, 128)), 0);
    EXPECT_EQ(images.GetImageCount(), 3);

    // Masked pixels let the background through; the squares keep their colours.
    EXPECT_EQ(PixelOf(images, 0, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(images, 0, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(images, 1, 8, 8), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(images, 2, 1, 14), RGB(255, 255, 255));
}
