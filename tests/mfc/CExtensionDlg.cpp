#include <windows.h>

#include "CExtensionDlg.h"
#include "TestResources.h"

IMPLEMENT_DYNAMIC(CExtensionDlg, CDialog)

BEGIN_MESSAGE_MAP(CExtensionDlg, CDialog)
END_MESSAGE_MAP()

CExtensionDlg::CExtensionDlg(CWnd* pParent) : CDialog(IDD_EXTENSION, pParent) {}

CExtensionDlg::~CExtensionDlg() {}

void CExtensionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EXTENSION_EDIT, m_sText);
}
