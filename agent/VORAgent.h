#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxcmn.h>
#include <afxver_.h>

#include <map>
#include <vector>

#include "HItemState.h"
#include "HItemVerion.h"
#include "HItemVerions.h"
#include "HTempItem.h"

class CaHarvest;
class CaItem;

// Private message that carries one output-log line to the host's output window; the host
// reads the line with VORAgent::GetLatestMsg while handling it. lParam: 1 ordinary, 0 error.
#define WM_VOR_OUTPUT (WM_USER + 509)

// The repository agent: every function and every datum is static, the class is never
// instantiated. All repository work of the library goes through here to the Harvest SDK.
class AFX_EXT_CLASS VORAgent
{
    friend class CHRepositoryDlg;
    friend class CHCompScreenDlg;

public:
    // State, configuration, installation check and login.
    static int IsInstallVOR();
    static int IsLogIn();
    static int IsUsableVOR();
    static void Connect();
    static int LogIn(const char* broker, const char* user, const char* password);
    static void LogOut();
    static CString GetIniFileName();
    static CString GetSysDrive();

    static void SetBrokerName(const char* broker);
    static void SetClientDirectory(const char* clientDir);
    static void SetProjectName(const char* project);
    static void SetStateName(const char* state);
    static void SetPackageName(const char* package);
    static void SavePassword(int save);
    static int IsSavePassword();

    static CString GetUserNameA();
    static CString GetPassword();
    static CString GetBrokerName();
    static CString GetClientDirectory();
    static CString GetProjectName();
    static CString GetStateName();
    static CString GetPackageName();

    // Output window and log.
    static void SetOutputHwnd(HWND hwnd);
    static HWND GetOutputHwnd();
    static void SetOutputMsg(const char* title, int start);
    static CString GetLatestMsg();
    static CStringArray* GetChangedFiles();

    // Default context lists.
    static void GetProjects(int kind, std::vector<CString>& names);
    static void GetStates(std::vector<CString>& names);
    static void GetPackages(std::vector<CString>& names);

    // Folder tree and view paths.
    static void SetRepositoryTree(CTreeCtrl* tree);
    static CString GetViewPathVOR(const char* clientDir);

    // Get-latest, check-out and undo check-out.
    static int GetLatestVersion(const char* itemName, const char* clientDir, const char* viewPath);
    static int DoCheckOut(const char* itemName, const char* clientDir, const char* viewPath);
    static int UndoCheckOut(const char* itemName, const char* clientDir, const char* viewPath);

    // Check-in and item management.
    static int DoCheckIn(std::vector<CString>* files, const char* clientDir, int keepCheckedOut,
                         const char* description, const char* viewPath);
    static int CreateItemPath(const char* relativePath, const char* parentViewPath);
    static int RenameItem(const char* itemName, const char* newItemName, const char* clientDir);
    static int RemoveItem(const char* itemName, const char* clientDir);

    // Version queries.
    static int GetVersionState(const char* itemName, const char* clientDir,
                               std::multimap<CString, CString>* notReserved,
                               std::multimap<CString, CString>* reservedElsewhere,
                               std::multimap<CString, CString>* checkedOutHere);
    static int GetAllVersions(const char* itemName, const char* clientDir, HItemVerions* versions);
    static int GetFileAtVersion(unsigned int versionObjId, const char* clientDir,
                                const char* targetDir);
    static int GetLatestVerInfo(const char* itemName, const char* viewPath, HItemState* state);

    // Repository file queries.
    static void QueryAllSolutionFiles(CListCtrl* list);
    static void QueryAllCompScreenFiles(CListCtrl* list);

    static CString m_sLatestMsg;
    static CStringArray m_sChangedFiles;
    static HWND m_hwndOutput;
    static CString m_sMyComName;

protected:
    static int SetInfoToVOR(int flags);
    static void GetSubDir(unsigned long repositoryObjId, std::vector<HTempItem*>& folders);
    static void SetSubTree(CTreeCtrl* tree, HTREEITEM parent, CaItem& item);
    static void GetSubPath(const char* viewPath, std::vector<CString>& paths);

    static int FetchLatest(const char* itemName, const char* clientDir, const char* viewPath,
                           int checkoutMode);
    static void WriteSubFolderMarkers(const char* clientDir, const CString& viewPath);
    static CString ResolveViewPath(const char* clientDir, const char* viewPath);

    static int m_bLoginOK;
    static CaHarvest* m_pHarvest;
    static CString m_sUserName;
    static CString m_sPassword;
    static CString m_sBrokerName;
    static CString m_sClientDir;
    static CString m_sProjectName;
    static CString m_sStateName;
    static CString m_sPackageName;
    static int m_bSavePW;
    static int m_bInstallVOR;
    static int m_bCheckOne;
};
