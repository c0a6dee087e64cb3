#include <windows.h>

#include <afxwin.h>

#include <gtest/gtest.h>

#include "CExtensionDlg.h"
#include "TestResources.h"

TEST(ExtensionLibrary, ItsDialogFindsItsTemplateInTheLibrary)
{
    HMODULE library = ::GetModuleHandleA("mfc_testext.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_EXTENSION), RT_DIALOG), library);

    CExtensionDlg dlg;
    dlg.m_sText = "처음";
    CString caption, shown;
    AfxSetModalHook(
        [&](CDialog* pDialog)
        {
            pDialog->GetWindowText(caption);
            pDialog->GetDlgItemText(IDC_EXTENSION_EDIT, shown);
            pDialog->SetDlgItemText(IDC_EXTENSION_EDIT, "확장에서");
            AfxClickDlgButton(pDialog, IDOK);
        });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxSetModalHook(nullptr);
    EXPECT_EQ(caption, "확장 대화상자");
    EXPECT_EQ(shown, "처음");
    EXPECT_EQ(dlg.m_sText, "확장에서");

    CBitmap strip;
    EXPECT_TRUE(strip.LoadBitmap(IDB_EXTENSION_STRIP));
}

TEST(ExtensionLibrary, UnregisteredLibrariesAreNoLongerSearched)
{
    HMODULE library = ::GetModuleHandleA("mfc_testext.dll");
    AFX_EXTENSION_MODULE second = {};
    ASSERT_TRUE(AfxInitExtensionModule(second, library));
    CDynLinkLibrary* registration = new CDynLinkLibrary(second);
    EXPECT_EQ(registration->m_hResource, library);
    AfxTermExtensionModule(second);
    // The library's own registration from its DllMain is gone with this one: both name the
    // same module.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_EXTENSION), RT_DIALOG),
              ::GetModuleHandleA(NULL));
    CExtensionDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
}
