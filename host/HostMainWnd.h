#pragma once
#include <windows.h>
#include <afxwin.h>

#include <vector>

#include "OutputWnd.h"
#include "WorkingFolder.h"

// The host's main window: a status line (who is logged in, the default context, the working
// folder), the output window below it, and a menu with a command for every dialog of vor.dll.
class CHostMainWnd : public CWnd
{
public:
    CHostMainWnd();
    ~CHostMainWnd();

    BOOL Create();
    // Installation check, automatic connection, the login dialog while still logged out, and
    // the output window's registration, in that order. A working folder not chosen before
    // becomes the client directory.
    void StartUp();

    COutputWnd& GetOutput() { return m_wndOutput; }
    CWorkingFolder& GetWorkingFolder() { return m_folder; }
    BOOL IsInstalled() const { return m_bInstalled; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnDestroy();

    afx_msg void OnWorkingFolder();
    afx_msg void OnClearOutput();
    afx_msg void OnExit();
    afx_msg void OnLogIn();
    afx_msg void OnDefaultContext();
    afx_msg void OnRepository();
    afx_msg void OnCheckOut();
    afx_msg void OnCheckIn();
    afx_msg void OnUndoCheckOut();
    afx_msg void OnAddFile();
    afx_msg void OnCompScreen();
    afx_msg void OnHistory();
    afx_msg void OnFolderState();
    afx_msg void OnChangedFiles();

    DECLARE_MESSAGE_MAP()

private:
    void ShowLogInDialog();
    void RunCheckOutDialog(int nDlgType, std::vector<CString>& files, LPCSTR lpszDone);
    BOOL ReadFolderState(CWorkingFolder::Split& split);
    BOOL EnsureWorkingFolder();
    // Which folder mirrors no repository folder, and how it would come to.
    void NoteUnmapped(const CString& folder);
    void NoteFiles(LPCSTR lpszTitle, const std::vector<CString>& files);
    void UpdateCommands();
    void UpdateStatus();

    COutputWnd m_wndOutput;
    CStatic m_wndStatus;
    CWorkingFolder m_folder;
    BOOL m_bInstalled;
};
