#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "CHCheckOutDlg.h"
#include "DialogTest.h"
#include "HsdkTesting.h"
#include "VORAgent.h"

using namespace dialog_testing;

using CheckOutList = DialogTest;

TEST_F(CheckOutList, ABatchWithAFileHeldByAnotherUserWritesBackOnlyTheFilesCheckedOut)
{
    const std::string screens = FreshFolder("checkout_screens", "\\QXRepo\\Proj1\\Screens");
    const std::string proj2 = FreshFolder("checkout_proj2", "\\QXRepo\\Proj2");
    const std::string shared = FreshFolder("checkout_shared", "\\Common\\Shared\\Screens");
    // Order.xml is held by dev2 in the sample repository.
    std::multimap<CString, CString> files = {{"Popup.xml", shared.c_str()},
                                             {"Order.xml", proj2.c_str()},
                                             {"Main.xcml", screens.c_str()}};

    MessageBoxes boxes;
    OutputLog log;
    std::vector<int> positions;
    CHCheckOutDlg dialog;
    dialog.SetDlgType(1);
    dialog.SetMMapFiles(&files);
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            HWND list = Control(dlg, IDC_CHECKOUT_FILE);
            EXPECT_EQ(WindowText(dlg.m_hWnd), "체크아웃 항목 선택");
            EXPECT_EQ(ListColumn(list, 0),
                      (std::vector<std::string>{"Main.xcml", "Order.xml", "Popup.xml"}));
            EXPECT_EQ(ListColumn(list, 1), (std::vector<std::string>{screens, proj2, shared}));
            for (int row = 0; row < 3; ++row)
                EXPECT_TRUE(ListView_GetCheckState(list, row));
            EXPECT_TRUE(IsEnabled(dlg, IDOK));

            positions = ConfirmRecordingProgress(dlg, IDC_CHECKOUT_PROGRESS);
        });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(files, (std::multimap<CString, CString>{{"Main.xcml", screens.c_str()},
                                                      {"Popup.xml", shared.c_str()}}));
    EXPECT_EQ(positions, (std::vector<int>{1, 33, 66, 99}));
    EXPECT_FALSE(IsReadOnly(screens + "\\Main.xcml"));

    EXPECT_TRUE(log.Frames("Check Out"));
    EXPECT_EQ(log.Count(" checked out to "), 2);
    EXPECT_TRUE(boxes.Seen().empty()) << "the refusal goes to the output log only";
}

TEST_F(CheckOutList, AnEmptyListCannotBeConfirmed)
{
    const std::string folder = FreshFolder("checkout_empty");
    std::vector<CString> files;
    CHCheckOutDlg empty;
    empty.SetDlgType(1);
    empty.SetCollFiles(&files, folder.c_str());
    RunModal(empty,
             [&](CDialog& dlg)
             {
                 EXPECT_FALSE(IsEnabled(dlg, IDOK));
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
}

TEST_F(CheckOutList, UndoNeedsACheckedRowAndMakesTheFileReadOnlyAndFetchesItWhenTheReleaseFails)
{
    const std::string folder = FreshFolder("undo_proj1", "\\QXRepo\\Proj1");
    // Nobody holds Screen1.xcml: there is nothing to release.
    WriteFile(folder + "\\Screen1.xcml", "my unsaved edit");
    WriteFile(folder + "\\Screen1.xml", "another edit");
    std::vector<CString> files = {"Screen1.xcml", "Screen1.xml"};
    // The file's attribute when the release starts and when the fetch starts.
    std::vector<bool> readOnly;
    auto note = [&](const std::string&)
    { readOnly.push_back(IsReadOnly(folder + "\\Screen1.xcml")); };
    hsdk_testing::OnCall("CaVersionChooser::Execute").Probe(note);
    hsdk_testing::OnCall("CaCheckout::Execute").Probe(note);

    MessageBoxes boxes;
    OutputLog log;
    std::vector<int> positions;
    CHCheckOutDlg dialog;
    dialog.SetDlgType(2);
    dialog.SetCollFiles(&files, folder.c_str());
    const INT_PTR result =
        RunModal(dialog,
                 [&](CDialog& dlg)
                 {
                     HWND list = Control(dlg, IDC_CHECKOUT_FILE);
                     EXPECT_EQ(WindowText(dlg.m_hWnd), "체크아웃취소 항목 선택");
                     EXPECT_EQ(ListColumn(list, 1), (std::vector<std::string>(2, folder)));
                     AfxClickDlgButton(&dlg, IDC_CHECKOUT_NON_SELECT_ALL);
                     EXPECT_FALSE(ListView_GetCheckState(list, 0));
                     EXPECT_FALSE(IsEnabled(dlg, IDOK));
                     ListView_SetCheckState(list, 1, TRUE);
                     EXPECT_TRUE(IsEnabled(dlg, IDOK));
                     AfxClickDlgButton(&dlg, IDC_CHECKOUT_SELECT_ALL);
                     EXPECT_TRUE(ListView_GetCheckState(list, 0));
                     ListView_SetCheckState(list, 1, FALSE);
                     positions = ConfirmRecordingProgress(dlg, IDC_CHECKOUT_PROGRESS);
                 });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(files, (std::vector<CString>{"Screen1.xcml"}));
    EXPECT_EQ(positions, (std::vector<int>{1, 100}));
    EXPECT_EQ(readOnly, (std::vector<bool>{false, true}));
    EXPECT_EQ(ReadFile(folder + "\\Screen1.xcml"), "Screen1.xcml 0\r\n");
    EXPECT_EQ(ReadFile(folder + "\\Screen1.xml"), "another edit") << "unchecked: left alone";
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{folder + "\\Screen1.xcml 파일의 체크아웃 취소 실패"});
    EXPECT_TRUE(log.Frames("Undo Checkout"));
}
