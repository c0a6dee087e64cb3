#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

// The latest status of one item in the current package.
class AFX_EXT_CLASS HItemState
{
public:
    HItemState();
    HItemState(const HItemState& other);
    HItemState& operator=(const HItemState& other);
    ~HItemState();

    CString m_sStatus;     // "R1" reserved by this user, "R2" by another, else the SDK's status
    CString m_sModifier;   // holder of the reservation, for "R1" and "R2" only
    CString m_sClientPath; // local path of the reservation, for "R1" and "R2" only
};
