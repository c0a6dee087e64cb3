#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

namespace
{
int waitCount = 0;
HCURSOR previousCursor = NULL;
} // namespace

void AfxDoWaitCursor(int nCode)
{
    HCURSOR wait = ::LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_WAIT));
    if (nCode > 0)
    {
        HCURSOR old = ::SetCursor(wait);
        if (waitCount++ == 0)
            previousCursor = old;
    }
    else if (nCode < 0)
    {
        if (waitCount > 0 && --waitCount == 0)
            ::SetCursor(previousCursor ? previousCursor
                                       : ::LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    }
    else if (waitCount > 0)
        ::SetCursor(wait);
}

bool AfxWaitCursorShown()
{
    return waitCount > 0;
}

int AFXAPI AfxGetWaitCursorCount()
{
    return waitCount;
}

CWaitCursor::CWaitCursor()
{
    AfxGetApp()->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    AfxGetApp()->EndWaitCursor();
}

void CWaitCursor::Restore()
{
    AfxGetApp()->RestoreWaitCursor();
}
