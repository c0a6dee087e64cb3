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

} // namespace

TEST_F(Controls, ListCheckBoxesAndSelectionWalk)
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
