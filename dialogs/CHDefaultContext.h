#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

#include "resource.h"

// Chooses the default context: an active project, then one of its states, then a package of
// that project and state, each list filled from the repository as the one above it is chosen.
class AFX_EXT_CLASS CHDefaultContext : public CDialog
{
    DECLARE_DYNAMIC(CHDefaultContext)

public:
    explicit CHDefaultContext(CWnd* pParent = nullptr);
    virtual ~CHDefaultContext();

    enum
    {
        IDD = IDD_DEFAULT_CONTEXT
    };

    // Whether OK chose a context other than the agent's.
    int IsChangedProp();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    afx_msg void OnCbnSelchangeProject();
    afx_msg void OnCbnSelchangeState();
    afx_msg void OnCbnSelchangePackage();

    DECLARE_MESSAGE_MAP()

private:
    CComboBox* GetCombo(UINT nID);
    void SetEmptyCombo(int bProject, int bState, int bPackage);
    void SetComboBoxList(UINT nID);
    void SelectComboString(UINT nID, const CString& sName);
    CString GetComboString(UINT nID);
    CString GetComboProject();
    CString GetComboState();
    CString GetComboPackage();

    int m_bChangedProp;
};
