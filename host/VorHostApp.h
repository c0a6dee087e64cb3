#pragma once
#include <windows.h>
#include <afxwin.h>

class CHostMainWnd;

// The host application: one main window that loads vor.dll's services the way the IDE does.
class CVorHostApp : public CWinApp
{
public:
    CVorHostApp();
    ~CVorHostApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CHostMainWnd* m_pHostWnd;
};
