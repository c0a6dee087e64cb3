#include <windows.h>

#include <gtest/gtest.h>

#include <HsdkTesting.h>

#include "CHNewSvrPath.h"
#include "DialogTest.h"

using namespace dialog_testing;

namespace
{
HWND LabelEditor(HWND tree)
{
    return TreeView_GetEditControl(tree);
}

// Types a name into the open label editor and presses Enter, as the user would.
void TypeLabelAndPressEnter(HWND tree, const char* name)
{
    HWND editor = LabelEditor(tree);
    ASSERT_NE(editor, nullptr) << "no label is being edited";
    SetWindowTextA(editor, name);
    PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    Settle(100);
}

// The view path the chooser selects for a preset one, and returns on OK.
std::string ChosenFor(const char* preset)
{
    CHNewSvrPath dialog;
    dialog.m_sViewPath = preset;
    std::string selected;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 Settle();
                 selected = SelectedTreePath(Control(dlg, IDC_VOR_STRUCT));
                 AfxClickDlgButton(&dlg, IDOK);
             });
    EXPECT_EQ(selected.empty() ? std::string("\\") : selected,
              static_cast<LPCSTR>(dialog.m_sViewPath));
    return selected;
}
} // namespace

using ServerFolderChooser = DialogTest;

TEST_F(ServerFolderChooser, PresetPathsMatchLabelsExactlyAsFarAsTheyExist)
{
    EXPECT_EQ(ChosenFor("\\QXRepo\\Missing\\Screens"), "\\QXRepo");
    EXPECT_EQ(ChosenFor("\\QXRepo\\화면"), "\\QXRepo\\화면");
    EXPECT_EQ(ChosenFor("\\Common\\Shared\\"), "\\Common\\Shared");
    EXPECT_EQ(ChosenFor("\\qxrepo\\Proj1"), "") << "labels match case-sensitively";
    EXPECT_EQ(ChosenFor("QXRepo\\Proj1"), "") << "the piece before the first backslash is skipped";
}

TEST_F(ServerFolderChooser, OpensAPresetFolderAndCreatesANewFolderWithANameOfItsOwn)
{
    hsdk_testing::StartRecording();
    hsdk_testing::ClearRecordedCalls();
    MessageBoxes boxes;
    CHNewSvrPath dialog;
    dialog.m_sViewPath = "\\QXRepo\\Proj1\\Screens";
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            HWND tree = Control(dlg, IDC_VOR_STRUCT);
            Settle();
            EXPECT_EQ(TreeChildren(tree, nullptr), (std::vector<std::string>{"QXRepo", "Common"}));
            EXPECT_EQ(SelectedTreePath(tree), "\\QXRepo\\Proj1\\Screens");
            EXPECT_TRUE(IsExpanded(tree, FindTreeItem(tree, "\\QXRepo")));
            EXPECT_TRUE(IsExpanded(tree, FindTreeItem(tree, "\\QXRepo\\Proj1")));
            EXPECT_FALSE(IsExpanded(tree, FindTreeItem(tree, "\\Common")));

            SelectTreeItem(tree, "\\QXRepo");
            const std::vector<std::string> folders = {"Docs", "Empty", "Proj1", "Proj2", "화면"};
            EXPECT_EQ(TreeChildren(tree, FindTreeItem(tree, "\\QXRepo")), folders);
            AfxClickDlgButton(&dlg, IDC_NEW_PATH);
            TypeLabelAndPressEnter(tree, "pROJ1");
            EXPECT_EQ(TreeChildren(tree, FindTreeItem(tree, "\\QXRepo")), folders)
                << "a sibling's name, in any case, vanishes";
            EXPECT_EQ(SelectedTreePath(tree), "\\QXRepo");

            // Only a new folder's label can be edited; Enter while browsing does nothing.
            EXPECT_EQ(TreeView_EditLabel(tree, FindTreeItem(tree, "\\QXRepo\\Proj1")), nullptr);
            PostMessageA(tree, WM_KEYDOWN, VK_RETURN, 0);
            Settle(100);
            EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));

            SelectTreeItem(tree, "\\QXRepo\\Docs");
            AfxClickDlgButton(&dlg, IDC_NEW_PATH);
            EXPECT_EQ(TreeChildren(tree, FindTreeItem(tree, "\\QXRepo\\Docs")),
                      (std::vector<std::string>{"No Name"}));
            // Neither nothing nor the offered name will do: the editor opens again.
            TypeLabelAndPressEnter(tree, "");
            TypeLabelAndPressEnter(tree, "No Name");
            EXPECT_EQ(CountRecordedCalls("CaCheckin::CreateItemPath"), 0);

            TypeLabelAndPressEnter(tree, "Archive");
            EXPECT_EQ(LabelEditor(tree), nullptr);
            EXPECT_EQ(SelectedTreePath(tree), "\\QXRepo\\Docs\\Archive");
            EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd)) << "Enter must not close the dialog";
            AfxClickDlgButton(&dlg, IDOK);
        });
    hsdk_testing::StopRecording();
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(dialog.m_sViewPath, "\\QXRepo\\Docs\\Archive");
    EXPECT_EQ(CountRecordedCalls("CaCheckin::CreateItemPath"), 1);
    EXPECT_EQ(CountRecordedCalls("CaCheckin::CreateItemPath(Archive, \\QXRepo\\Docs)"), 1);
}

TEST_F(ServerFolderChooser, WithoutASelectionANewFolderAsksForItsParent)
{
    MessageBoxes boxes;
    CHNewSvrPath dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 Settle();
                 ASSERT_EQ(SelectedTreePath(Control(dlg, IDC_VOR_STRUCT)), "");
                 AfxClickDlgButton(&dlg, IDC_NEW_PATH);
                 AfxClickDlgButton(&dlg, IDOK);
             });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              "트리 컨트롤에서 선택된 폴더가 없습니다.\r\n부모 폴더를 선택하십시오.");
    EXPECT_EQ(boxes.Seen()[0].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
}
