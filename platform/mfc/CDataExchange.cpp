#include <windows.h>

#include "afxwin.h"

#include <stdlib.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    return PrepareCtrl(nIDC);
}

// Puts the focus on the offending control and abandons the exchange (UpdateData fails).
void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != NULL)
        ::SetFocus(m_hWndLastControl);
    throw this;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;
    HWND hWndControl = pDX->PrepareCtrl(nIDC);
    if (hWndControl != NULL)
        rControl.SubclassWindow(hWndControl);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(hWndControl)->GetWindowText(value);
    else
        ::SetWindowTextA(hWndControl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndControl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        CString text;
        CWnd::FromHandle(hWndControl)->GetWindowText(text);
        text.Trim();
        char* end = NULL;
        long number = strtol(text, &end, 10);
        if (text.IsEmpty() || *end != '\0')
            pDX->Fail();
        value = static_cast<int>(number);
    }
    else
    {
        CString text;
        text.Format("%d", value);
        ::SetWindowTextA(hWndControl, text);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWndControl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWndControl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

// value is the index of the checked button of the group that starts at nIDC, -1 for none.
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndControl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND button = hWndControl; button != NULL; ++index)
    {
        if (pDX->m_bSaveAndValidate)
        {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        }
        else
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (button == NULL || (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
    }
}
