#pragma once
// What the framework's own sources share and nobody else sees.
#include <windows.h>

#include "afxwin.h"

// Double-byte characters of the process's code page.
bool AfxIsLeadByte(char ch);
int AfxCharLength(LPCSTR p);

// Windows attached to framework objects (permanent) and the temporary objects handed out for
// other windows until the next idle moment.
CWnd* AfxLookupPermanent(HWND hWnd);
void AfxSetPermanent(HWND hWnd, CWnd* pWnd);
void AfxRemovePermanent(HWND hWnd);
void AfxDeleteTempObjects();

// The object that the next window created on this thread belongs to (CreateEx, CDialog).
void AfxHookWindowCreate(CWnd* pWnd);
CWnd* AfxTakeWindowCreate();

// The message being handled, for CWnd::Default.
struct AfxCurrentMessage
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
AfxCurrentMessage& AfxGetCurrentMessage();

// Runs the modal hook once for a dialog that has just come up; false when there is none.
bool AfxCallModalHook(CDialog* pDialog);

// Shows or hides the wait cursor: nCode 1 on, -1 off, 0 shows it again while it is on.
void AfxDoWaitCursor(int nCode);
bool AfxWaitCursorShown();
