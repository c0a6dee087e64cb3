#pragma once
#include <windows.h>
#include <afxwin.h>

#include "HItemVerion.h"
#include "resource.h"

// Shows every field of one version of the history dialog's list.
class CHVerDetailsDlg : public CDialog
{
    DECLARE_DYNAMIC(CHVerDetailsDlg)

public:
    explicit CHVerDetailsDlg(CWnd* pParent = nullptr);
    virtual ~CHVerDetailsDlg();

    enum
    {
        IDD = IDD_VER_DETAILS
    };

    // Borrowed from the history dialog's versions.
    HItemVerion* m_pVersion;

protected:
    virtual BOOL OnInitDialog();

    DECLARE_MESSAGE_MAP()
};
