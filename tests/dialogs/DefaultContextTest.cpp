#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "CHDefaultContext.h"
#include "DialogTest.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
bool Lists(const std::vector<std::string>& entries, const std::string& name)
{
    return std::find(entries.begin(), entries.end(), name) != entries.end();
}
} // namespace

using DefaultContextDialog = DialogTest;

TEST_F(DefaultContextDialog, OpensOnTheAgentsContextAndFillsEachListFromTheOneAbove)
{
    CHDefaultContext dialog;
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            const std::vector<std::string> projects = ComboEntries(dlg, IDC_PROJECT);
            EXPECT_TRUE(Lists(projects, "<<No Project>>"));
            EXPECT_TRUE(Lists(projects, "Empty"));
            EXPECT_FALSE(Lists(projects, "QXP_OLD")) << "inactive projects are not offered";
            EXPECT_EQ(ComboSelection(dlg, IDC_PROJECT), "QXP");
            EXPECT_EQ(ComboEntries(dlg, IDC_STATE).size(), 4u);
            EXPECT_EQ(ComboSelection(dlg, IDC_STATE), "Development");
            EXPECT_TRUE(Lists(ComboEntries(dlg, IDC_PACKAGE), "QXP-002"));
            EXPECT_EQ(ComboSelection(dlg, IDC_PACKAGE), "QXP-001");
            EXPECT_FALSE(IsEnabled(dlg, IDC_CREATE_CONTEXT));

            // Each choice is stored at once and fills the list below it.
            ChooseComboEntry(dlg, IDC_PROJECT, "Empty");
            EXPECT_EQ(VORAgent::GetProjectName(), "Empty");
            EXPECT_EQ(ComboEntries(dlg, IDC_STATE),
                      (std::vector<std::string>{"<<No State>>", "Development"}));
            EXPECT_EQ(ComboSelection(dlg, IDC_STATE), "<<No State>>");
            EXPECT_EQ(ComboEntries(dlg, IDC_PACKAGE), (std::vector<std::string>{"<<No Package>>"}));

            ChooseComboEntry(dlg, IDC_STATE, "Development");
            EXPECT_EQ(ComboEntries(dlg, IDC_PACKAGE),
                      (std::vector<std::string>{"<<No Package>>", "EMPTY-001"}));
            ChooseComboEntry(dlg, IDC_PACKAGE, "EMPTY-001");
            EXPECT_EQ(VORAgent::GetPackageName(), "QXP-001") << "the package waits for OK";
            AfxClickDlgButton(&dlg, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.IsChangedProp(), 1);
    EXPECT_EQ(VORAgent::GetProjectName(), "Empty");
    EXPECT_EQ(VORAgent::GetStateName(), "Development");
    EXPECT_EQ(VORAgent::GetPackageName(), "EMPTY-001");
}

TEST_F(DefaultContextDialog, ChoosingTheSameContextAgainIsNoChangeAndPlaceholdersStoreNoName)
{
    CHDefaultContext same;
    RunModal(same,
             [&](CDialog& dlg)
             {
                 // Choosing the project again resets the lists below it.
                 ChooseComboEntry(dlg, IDC_PROJECT, "QXP");
                 EXPECT_EQ(ComboSelection(dlg, IDC_STATE), "<<No State>>");
                 EXPECT_EQ(ComboSelection(dlg, IDC_PACKAGE), "<<No Package>>");
                 ChooseComboEntry(dlg, IDC_STATE, "Development");
                 ChooseComboEntry(dlg, IDC_PACKAGE, "QXP-001");
                 AfxClickDlgButton(&dlg, IDOK);
             });
    EXPECT_EQ(same.IsChangedProp(), 0);

    CHDefaultContext none;
    RunModal(none,
             [&](CDialog& dlg)
             {
                 ChooseComboEntry(dlg, IDC_PROJECT, "<<No Project>>");
                 EXPECT_EQ(ComboEntries(dlg, IDC_STATE),
                           (std::vector<std::string>{"<<No State>>"}));
                 EXPECT_EQ(VORAgent::GetProjectName(), "QXP") << "a placeholder is never stored";
                 AfxClickDlgButton(&dlg, IDOK);
             });
    EXPECT_EQ(none.IsChangedProp(), 1);
    EXPECT_EQ(VORAgent::GetProjectName(), "");
    EXPECT_EQ(VORAgent::GetStateName(), "");
    EXPECT_EQ(VORAgent::GetPackageName(), "");
}

TEST_F(DefaultContextDialog, AnUnlistedStoredProjectReadsItsStatesAndCancelKeepsWhatWasChosen)
{
    VORAgent::SetProjectName("QXP_OLD");
    VORAgent::SetStateName("Archive");
    VORAgent::SetPackageName("OLD-001");
    // Answers the agent's box: Release has no packages.
    MessageBoxes boxes;
    CHDefaultContext dialog;
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            EXPECT_EQ(ComboSelection(dlg, IDC_PROJECT), "<<No Project>>");
            EXPECT_EQ(ComboEntries(dlg, IDC_STATE),
                      (std::vector<std::string>{"<<No State>>", "Archive"}));
            EXPECT_EQ(ComboSelection(dlg, IDC_STATE), "Archive");
            EXPECT_EQ(ComboSelection(dlg, IDC_PACKAGE), "OLD-001");

            ChooseComboEntry(dlg, IDC_PROJECT, "QXP");
            ChooseComboEntry(dlg, IDC_STATE, "Release");
            EXPECT_EQ(ComboEntries(dlg, IDC_PACKAGE), (std::vector<std::string>{"<<No Package>>"}));
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.IsChangedProp(), 0);
    EXPECT_EQ(VORAgent::GetProjectName(), "QXP");
    EXPECT_EQ(VORAgent::GetStateName(), "Release");
    EXPECT_EQ(VORAgent::GetPackageName(), "OLD-001");
}
