#include <windows.h>
#include "VORAgent.h"

#include <HSDK.h>

#include <map>
#include <memory>

#include "BrokerNames.h"
#include "ServerMessages.h"

// Static state: the library starts logged out, with nothing configured.
int VORAgent::m_bLoginOK = 0;
CaHarvest* VORAgent::m_pHarvest = nullptr;
CString VORAgent::m_sUserName;
CString VORAgent::m_sPassword;
CString VORAgent::m_sBrokerName;
CString VORAgent::m_sClientDir;
CString VORAgent::m_sProjectName;
CString VORAgent::m_sStateName;
CString VORAgent::m_sPackageName;
CString VORAgent::m_sLatestMsg;
CStringArray VORAgent::m_sChangedFiles;
HWND VORAgent::m_hwndOutput = nullptr;
int VORAgent::m_bSavePW = 1;
int VORAgent::m_bInstallVOR = 0;
int VORAgent::m_bCheckOne = 0;
CString VORAgent::m_sMyComName;

namespace
{
enum ContextFlag
{
    contextProject = 1,
    contextState = 2,
    contextPackage = 4,
    contextProjectState = contextProject | contextState,
    contextAll = contextProject | contextState | contextPackage
};

const int branchTrunkBranchesUnmerged = 273;
const int versionAll = 0x1;
const int versionLatestInView = 0x100;
const int versionLatestNormal = 0x1000;
const int statusAny = 69905;
const int checkoutBrowse = 1;
const int checkoutUpdate = 2;
const int checkoutSynchronize = 4;
const int checkoutKeptSome = 3;
const int profileBufferSize = 260;

const char* const connectionSection = "Connection";
const char* const contextSection = "Default Context";
const char* const markerSection = "HarvestCM";
const char* const markerKey = "Server_Path";
const char* const nameKey = "CA_ATTRKEY_NAME";

CString Text(const CaString& text)
{
    return CString(static_cast<const char*>(text));
}

// Null elements read as empty text.
CString TextAt(const CaContainer& container, const char* key, int row)
{
    CaData data = container.Props(key, row);
    return data.IsNull() ? CString() : CString(static_cast<const char*>(data));
}

void AppendNames(const CaContainer& list, std::vector<CString>& names)
{
    int count = list.GetKeyElementCount(nameKey);
    for (int row = 0; row < count; ++row)
        names.push_back(CString(static_cast<const char*>(list.Props(nameKey, row))));
}

void ShowError(const CString& text)
{
    AfxMessageBox(text, MB_ICONERROR | MB_OK);
}

CString ReadProfile(const char* section, const char* key, const char* missing, const char* file)
{
    char value[profileBufferSize];
    GetPrivateProfileStringA(section, key, missing, value, profileBufferSize, file);
    return value;
}

// The marker is recreated empty first so that it never holds more than its one entry.
void WriteMarkerFile(const CString& clientDir, const CString& viewPath)
{
    CString path = clientDir + "\\harvest.vor";
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    WritePrivateProfileStringA(markerSection, markerKey, viewPath, path);
}

// ---- Repository queries ----------------------------------------------------------------------

// Appends "(a.repositobjid=11 or a.repositobjid=12 )" for the context's repositories and runs
// the statement. False when the context sees no repository: then nothing was sent.
bool QueryContextRepositories(CaContext& context, const char* head, CaContainer& result)
{
    CaItemList items = context.GetItemList(false, 0);
    int count = items.GetSize();
    if (count == 0)
        return false;
    CString statement = head;
    for (int i = 0; i < count; ++i)
    {
        CString condition;
        condition.Format("a.repositobjid=%ld ", items[i].GetParentRepositoryObjId());
        statement += condition + (i + 1 < count ? "or " : ")");
    }
    CaSQL& sql = context.GetSQL();
    sql.SetSQLStatement(statement);
    sql.Execute();
    result = sql.GetSQLResult();
    return true;
}

// Calls handle(row, item name, parent folder path) for every row with both values.
template <typename Handler> void ForEachNamedRow(const CaContainer& result, Handler handle)
{
    int count = result.GetKeyElementCount("ITEMNAME");
    for (int row = 0; row < count; ++row)
    {
        CaData name = result.Props("ITEMNAME", row);
        if (name.IsNull())
            continue;
        CaData path = result.Props("PATHFULLNAME", row);
        if (path.IsNull())
            continue;
        handle(row, CString(static_cast<const char*>(name)),
               CString(static_cast<const char*>(path)));
    }
}

void ChooseVersions(CaVersionChooser& chooser, const char* viewPath, const char* itemName,
                    int versionOption)
{
    chooser.Clear();
    chooser.SetParentPath(viewPath);
    chooser.SetItemName(itemName);
    chooser.SetRecursive(true);
    chooser.SetBranchOption(branchTrunkBranchesUnmerged);
    chooser.SetVersionOption(versionOption);
    chooser.Execute();
}

// The folder rows of one repository, freed however the tree building ends.
struct FolderRows
{
    ~FolderRows()
    {
        for (HTempItem* folder : folders)
            delete folder;
    }
    std::vector<HTempItem*> folders;
};

[[noreturn]] void Fail(const char* text)
{
    throw CaException(false, text);
}
} // namespace

// ---- State, configuration and login ----------------------------------------------------------

int VORAgent::IsInstallVOR()
{
    if (m_bCheckOne)
        return m_bInstallVOR;

    char computerName[255];
    DWORD size = sizeof(computerName);
    if (GetComputerNameA(computerName, &size))
        m_sMyComName = computerName;
    m_bCheckOne = 1;

    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ComputerAssociates\\RTHOME", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    RegCloseKey(key);

    m_bInstallVOR = 1;
    CString file = GetIniFileName();
    m_sUserName = ReadProfile(connectionSection, "User", "", file);
    m_sPassword = ReadProfile(connectionSection, "Password", "", file);
    m_sBrokerName = ReadProfile(connectionSection, "Broker", VOR_DEFAULT_BROKER_1, file);
    m_bSavePW = ReadProfile(connectionSection, "SavePW", "1", file) == "1";
    m_sClientDir = ReadProfile(connectionSection, "ClientDir", "", file);
    m_sProjectName = ReadProfile(contextSection, "Project", "", file);
    m_sStateName = ReadProfile(contextSection, "State", "", file);
    m_sPackageName = ReadProfile(contextSection, "Package", "", file);
    return 1;
}

int VORAgent::IsLogIn()
{
    return m_bLoginOK;
}

int VORAgent::IsUsableVOR()
{
    return IsInstallVOR() && m_bLoginOK;
}

void VORAgent::Connect()
{
    if (!IsInstallVOR())
        return;
    if (!m_sUserName.IsEmpty() && !m_sPassword.IsEmpty() && !m_sBrokerName.IsEmpty())
        LogIn(m_sBrokerName, m_sUserName, m_sPassword);
    if (!m_bLoginOK || m_sProjectName.IsEmpty())
        return;
    SetInfoToVOR(contextProject);
    if (m_sStateName.IsEmpty())
        return;
    SetInfoToVOR(contextState);
    if (m_sPackageName.IsEmpty())
        return;
    SetInfoToVOR(contextPackage);
}

int VORAgent::LogIn(const char* broker, const char* user, const char* password)
{
    if (m_bLoginOK)
        return 1;
    if (m_pHarvest == nullptr)
        m_pHarvest = new CaHarvest();
    try
    {
        if (m_pHarvest->Login(broker, user, password) != 0)
            Fail("Error: Could not attach to broker.");
        m_sUserName = user;
        m_sPassword = password;
        m_sBrokerName = broker;
        m_bLoginOK = 1;
        return 1;
    }
    catch (CaException)
    {
        ShowError("로그인 실패!\r\n사용자명, 패스워드, 브로커명을 확인하십시오");
        return 0;
    }
}

void VORAgent::LogOut()
{
    m_bLoginOK = 0;
    if (m_pHarvest != nullptr)
    {
        // A connection that is already gone must not keep the settings from being saved.
        try
        {
            m_pHarvest->Logout();
        }
        catch (CaException)
        {
        }
        delete m_pHarvest;
        m_pHarvest = nullptr;
    }

    CString file = GetIniFileName();
    WritePrivateProfileStringA(connectionSection, "User", m_sUserName, file);
    WritePrivateProfileStringA(connectionSection, "Password",
                               m_bSavePW ? static_cast<const char*>(m_sPassword) : "", file);
    WritePrivateProfileStringA(connectionSection, "Broker", m_sBrokerName, file);
    WritePrivateProfileStringA(connectionSection, "SavePW", m_bSavePW ? "1" : "0", file);
    WritePrivateProfileStringA(connectionSection, "ClientDir", m_sClientDir, file);
    WritePrivateProfileStringA(contextSection, "Project", m_sProjectName, file);
    WritePrivateProfileStringA(contextSection, "State", m_sStateName, file);
    WritePrivateProfileStringA(contextSection, "Package", m_sPackageName, file);
}

CString VORAgent::GetIniFileName()
{
    char module[MAX_PATH];
    char drive[MAX_PATH];
    char folder[MAX_PATH];
    module[0] = '\0';
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    _splitpath(module, drive, folder, nullptr, nullptr);
    return CString(drive) + folder + "sys\\qxp_vor.ini";
}

CString VORAgent::GetSysDrive()
{
    char drive[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("SystemDrive", drive, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "C:\\";
    return CString(drive) + "\\";
}

void VORAgent::SetBrokerName(const char* broker)
{
    m_sBrokerName = broker;
}

void VORAgent::SetClientDirectory(const char* clientDir)
{
    m_sClientDir = clientDir;
}

void VORAgent::SetProjectName(const char* project)
{
    m_sProjectName = project;
}

void VORAgent::SetStateName(const char* state)
{
    m_sStateName = state;
}

void VORAgent::SetPackageName(const char* package)
{
    m_sPackageName = package;
}

void VORAgent::SavePassword(int save)
{
    m_bSavePW = save;
}

int VORAgent::IsSavePassword()
{
    return m_bSavePW;
}

CString VORAgent::GetUserNameA()
{
    return m_sUserName;
}

CString VORAgent::GetPassword()
{
    return m_sPassword;
}

CString VORAgent::GetBrokerName()
{
    return m_sBrokerName;
}

CString VORAgent::GetClientDirectory()
{
    return m_sClientDir;
}

CString VORAgent::GetProjectName()
{
    return m_sProjectName;
}

CString VORAgent::GetStateName()
{
    return m_sStateName;
}

CString VORAgent::GetPackageName()
{
    return m_sPackageName;
}

// ---- Output window and log -------------------------------------------------------------------

void VORAgent::SetOutputHwnd(HWND hwnd)
{
    m_hwndOutput = hwnd;
    FillServerMessageTable();
}

HWND VORAgent::GetOutputHwnd()
{
    return m_hwndOutput;
}

void VORAgent::SetOutputMsg(const char* title, int start)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_sLatestMsg.Format("---- [%s] started at time %02d:%02d:%02d ----", title, now.wHour,
                        now.wMinute, now.wSecond);
    if (!start)
        m_sLatestMsg.Replace("started", "ended");
    SendMessageA(m_hwndOutput, WM_VOR_OUTPUT, 0, 1);
}

CString VORAgent::GetLatestMsg()
{
    return m_sLatestMsg;
}

CStringArray* VORAgent::GetChangedFiles()
{
    return &m_sChangedFiles;
}

// ---- Default context -------------------------------------------------------------------------

int VORAgent::SetInfoToVOR(int flags)
{
    if (!IsUsableVOR())
        return 0;
    CaContext& context = m_pHarvest->GetContext();
    if (flags & contextProject)
    {
        if (m_sProjectName.IsEmpty())
            return 0;
        if (Text(context.GetProjectName()) != m_sProjectName && !context.SetProject(m_sProjectName))
        {
            ShowError("하비스트 프로젝트 설정 실패");
            return 0;
        }
    }
    if (flags & contextState)
    {
        if (Text(context.GetProjectName()) != m_sProjectName || m_sStateName.IsEmpty())
            return 0;
        if (Text(context.GetStateName()) != m_sStateName && !context.SetState(m_sStateName))
        {
            ShowError("하비스트 상태 설정 실패");
            return 0;
        }
    }
    if (flags & contextPackage)
    {
        if (Text(context.GetProjectName()) != m_sProjectName ||
            Text(context.GetStateName()) != m_sStateName || m_sPackageName.IsEmpty())
            return 0;
        if (Text(context.GetPackageName()) != m_sPackageName && !context.SetPackage(m_sPackageName))
        {
            ShowError("하비스트 패키지 설정 실패");
            return 0;
        }
    }
    return 1;
}

void VORAgent::GetProjects(int kind, std::vector<CString>& names)
{
    if (!IsUsableVOR())
        return;
    CWaitCursor wait;
    try
    {
        CaContainer list;
        if (kind == 0)
            list = m_pHarvest->GetProjectList();
        else if (kind == 1)
            list = m_pHarvest->GetActiveProjectList();
        else if (kind == 2)
            list = m_pHarvest->GetInactiveProjectList();
        AppendNames(list, names);
    }
    catch (CaException)
    {
        ShowError("하비스트 프로젝트 목록을 읽는 과정에서 실패");
    }
}

void VORAgent::GetStates(std::vector<CString>& names)
{
    if (!SetInfoToVOR(contextProject))
        return;
    CWaitCursor wait;
    try
    {
        AppendNames(m_pHarvest->GetContext().GetStateList(), names);
    }
    catch (CaException)
    {
        ShowError("하비스트 상태 목록을 읽는 과정에서 실패");
    }
}

void VORAgent::GetPackages(std::vector<CString>& names)
{
    if (!SetInfoToVOR(contextProjectState))
        return;
    CWaitCursor wait;
    try
    {
        CaPackageChooser& chooser = m_pHarvest->GetContext().GetPackageChooser();
        chooser.SetPackageName("*", 0);
        chooser.SetPkgStatus(3);
        chooser.Execute(true);
        CaContainer list = chooser.GetPackageList();
        if (list.IsEmpty())
            Fail("Error: The package List is empty.");
        AppendNames(list, names);
    }
    catch (CaException)
    {
        ShowError("하비스트 패키지 목록을 읽는 과정에서 실패");
    }
}

// ---- Folder tree and view paths --------------------------------------------------------------

void VORAgent::SetRepositoryTree(CTreeCtrl* tree)
{
    if (!SetInfoToVOR(contextProjectState))
        return;
    const UINT folderMask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    const int folderImage = 2;
    const int openFolderImage = 3;
    try
    {
        CaItemList items = m_pHarvest->GetContext().GetItemList(false, 0);
        for (int i = 0; i < items.GetSize(); ++i)
        {
            if (!items[i].IsItemPath())
                continue;
            FolderRows rows;
            GetSubDir(items[i].GetParentRepositoryObjId(), rows.folders);
            if (rows.folders.empty())
                continue;

            // Rows come ordered by parent id: a folder is placed only below a folder placed
            // before it, and the first row is the repository's root.
            const HTempItem& root = *rows.folders.front();
            HTREEITEM rootItem = tree->InsertItem(folderMask, root.m_sItemName, folderImage,
                                                  openFolderImage, 0, 0, 0, TVI_ROOT, TVI_LAST);
            std::map<int, HTREEITEM> placed;
            placed.insert(std::make_pair(root.m_nItemObjId, rootItem));
            for (const HTempItem* folder : rows.folders)
            {
                auto parent = placed.find(folder->m_nParentObjId);
                if (parent == placed.end())
                    continue;
                HTREEITEM item =
                    tree->InsertItem(folderMask, folder->m_sItemName, folderImage, openFolderImage,
                                     0, 0, 0, parent->second, TVI_SORT);
                placed.insert(std::make_pair(folder->m_nItemObjId, item));
            }
            tree->SortChildren(rootItem);
        }
    }
    catch (CaException)
    {
        ShowError("하비스트 리파지토리 폴더 구조를 읽는 과정에서 실패");
    }
}

void VORAgent::GetSubDir(unsigned long repositoryObjId, std::vector<HTempItem*>& folders)
{
    CString statement;
    statement.Format("select itemobjid, trim(itemname) as itemname, parentobjid from haritems "
                     "where repositobjid=%ld and itemtype=0 order by parentobjid, itemobjid",
                     static_cast<long>(repositoryObjId));
    CaSQL& sql = m_pHarvest->GetContext().GetSQL();
    sql.SetSQLStatement(statement);
    sql.Execute();
    CaContainer result = sql.GetSQLResult();
    int count = result.GetKeyElementCount("ITEMOBJID");
    for (int row = 0; row < count; ++row)
    {
        CaData name = result.Props("ITEMNAME", row);
        if (name.IsNull())
            continue;
        folders.push_back(new HTempItem(result.Props("ITEMOBJID", row).GetInt(),
                                        static_cast<const char*>(name),
                                        result.Props("PARENTOBJID", row).GetInt()));
    }
}

void VORAgent::SetSubTree(CTreeCtrl* tree, HTREEITEM parent, CaItem& item)
{
    CaItemList folders = item.GetItemPathList(false);
    for (int i = 0; i < folders.GetSize(); ++i)
    {
        CaItem folder = folders[i];
        if (!folder.IsItemPath())
            continue;
        HTREEITEM child = tree->InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE,
                                           Text(folder.GetName()), 2, 3, 0, 0, 0, parent, TVI_LAST);
        SetSubTree(tree, child, folder);
    }
}

CString VORAgent::GetViewPathVOR(const char* clientDir)
{
    CString marker = CString(clientDir) + "\\harvest.vor";
    return ReadProfile(markerSection, markerKey, "", marker);
}

// ---- Get-latest, check-out and undo check-out ------------------------------------------------

int VORAgent::GetLatestVersion(const char* itemName, const char* clientDir, const char* viewPath)
{
    return FetchLatest(itemName, clientDir, viewPath, checkoutSynchronize);
}

int VORAgent::DoCheckOut(const char* itemName, const char* clientDir, const char* viewPath)
{
    return FetchLatest(itemName, clientDir, viewPath, checkoutUpdate);
}

int VORAgent::FetchLatest(const char* itemName, const char* clientDir, const char* viewPathArg,
                          int checkoutMode)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = ResolveViewPath(clientDir, viewPathArg);
    if (viewPath.IsEmpty())
        return 0;
    bool forUpdate = checkoutMode == checkoutUpdate;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetCheckout("CheckOut"))
            Fail("Error: Could not set check out name.");
        CaVersionChooser& chooser = context.GetVersionChooser();
        ChooseVersions(chooser, viewPath, itemName,
                       forUpdate ? versionLatestInView : versionLatestNormal);
        if (!forUpdate && chooser.GetVersionList().IsEmpty())
            return 1;

        CaCheckout& checkout = context.GetCheckout();
        checkout.SetViewPath(viewPath);
        checkout.SetClientDir(clientDir);
        checkout.SetCheckoutMode(checkoutMode);
        checkout.SetPathOption(2);
        checkout.SetReplaceFile(true);
        checkout.SetCallBack(OnCheckoutMessage);
        int result = checkout.Execute();
        if (result != 0 && (forUpdate || result != checkoutKeptSome))
            Fail("Error: Checkout failed.");
    }
    catch (CaException)
    {
        return 0;
    }

    WriteMarkerFile(clientDir, viewPath);
    if (CString(itemName) == "*")
        WriteSubFolderMarkers(clientDir, viewPath);
    return 1;
}

// The client directory is a local root followed by the view path, so removing the view path
// gives the root below which the local tree mirrors the repository's paths.
void VORAgent::WriteSubFolderMarkers(const char* clientDir, const CString& viewPath)
{
    std::vector<CString> subPaths;
    GetSubPath(viewPath, subPaths);
    CString localRoot = clientDir;
    localRoot.Replace(viewPath, "");
    for (const CString& subPath : subPaths)
        WriteMarkerFile(localRoot + subPath, subPath);
}

CString VORAgent::ResolveViewPath(const char* clientDir, const char* viewPath)
{
    CString resolved = viewPath;
    if (resolved.IsEmpty())
        resolved = GetViewPathVOR(clientDir);
    return resolved;
}

int VORAgent::UndoCheckOut(const char* itemName, const char* clientDir, const char* viewPathArg)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = ResolveViewPath(clientDir, viewPathArg);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetDeleteVersion(CaString("DeleteVersion")))
            Fail("Error: Could not set context DeleteVersion Process.");
        CaString process = context.GetDeleteVersionName();
        if (process != "DeleteVersion")
            Fail("Error: Could Not Set DeleteVersion.");
        CaVersionChooser& chooser = context.GetVersionChooser();
        ChooseVersions(chooser, viewPath, itemName, versionLatestInView);
        if (chooser.GetVersionList().IsEmpty())
            Fail("Error: No Versions in Package.");
        if (context.GetDeleteVersion().Execute() != 0)
            Fail("Error: DeleteVersion Failed.");
        return 1;
    }
    catch (CaException)
    {
        ShowError(CString(clientDir) + "\\" + itemName + " 파일의 체크아웃 취소 실패");
        return 0;
    }
}

// ---- Check-in and item management ------------------------------------------------------------

int VORAgent::DoCheckIn(std::vector<CString>* files, const char* clientDir, int keepCheckedOut,
                        const char* description, const char* viewPathArg)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = ResolveViewPath(clientDir, viewPathArg);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetCheckin(CaString("CheckIn")))
            Fail("Error: Could not set check in name.");
        CaCheckin& checkin = context.GetCheckin();
        CaStringList fileList;
        if (files != nullptr)
            for (const CString& file : *files)
                fileList.Add(file);

        checkin.SetCheckinMode(keepCheckedOut ? 1 : 0);
        checkin.SetDeleteAfterCI(false);
        checkin.SetItemOption(0);
        checkin.SetPathOption(1);
        checkin.SetClientDir(clientDir);
        checkin.SetFileList(fileList);
        checkin.SetViewPath(viewPath);
        if (description != nullptr && *description != '\0')
            checkin.SetDescription(description);
        checkin.SetCallBack(OnCheckinMessage);
        if (checkin.Execute(true) != 0)
            Fail("Error: Checkin Failed.");
    }
    catch (CaException)
    {
        ShowError(CString(clientDir) + " 폴더의 파일 체크인 실패");
        return 0;
    }

    // Only a caller that names the repository folder ties the local folder to it.
    if (viewPathArg != nullptr)
        WriteMarkerFile(clientDir, viewPath);
    return 1;
}

int VORAgent::CreateItemPath(const char* relativePath, const char* parentViewPath)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetCheckin(CaString("CheckIn")))
            Fail("Error: Could not set check in name.");
        if (context.GetCheckin().CreateItemPath(relativePath, parentViewPath) != 0)
            Fail("Error: Create item path.");
        return 1;
    }
    catch (CaException)
    {
        ShowError(CString(parentViewPath) + "\\" + relativePath + " 폴더 생성 실패");
        return 0;
    }
}

int VORAgent::RenameItem(const char* itemName, const char* newItemName, const char* clientDir)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = GetViewPathVOR(clientDir);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetRenameItem("RenameItem"))
            Fail("Error: Could not set rename item name.");
        CaRenameItem& rename = context.GetRenameItem();
        rename.SetItemPath(viewPath);
        rename.SetItemName(itemName);
        rename.SetNewItemName(newItemName);
        if (rename.Execute() != 0)
            Fail("Error: Rename item failed.");
        return 1;
    }
    catch (CaException)
    {
        ShowError(CString(newItemName) + " 새로운 이름으로 변경하는 과정에서 실패");
        return 0;
    }
}

int VORAgent::RemoveItem(const char* itemName, const char* clientDir)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = GetViewPathVOR(clientDir);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetRemoveItem("RemoveItem"))
            Fail("Error: Could not set remove item name.");
        CaRemoveItem& remove = context.GetRemoveItem();
        remove.m_bRemoveAll = false;
        remove.SetItemPath(viewPath);
        remove.SetItemName(itemName);
        if (remove.Execute() != 0)
            Fail("Error: Remove item failed.");
        return 1;
    }
    catch (CaException)
    {
        ShowError(viewPath + "\\" + itemName + " 파일 삭제 실패");
        return 0;
    }
}

// ---- Version queries -------------------------------------------------------------------------

namespace
{
// 1 free, 2 reserved elsewhere, 3 checked out by this user on this computer into this folder.
int ClassifyVersion(const CString& status, const CString& modifier, const CString& machine,
                    const CString& clientPath, const char* clientDir)
{
    if (status != "R")
        return 1;
    if (VORAgent::GetUserNameA() != modifier)
        return 2;
    if (machine.CompareNoCase(VORAgent::m_sMyComName) == 0 && clientPath.Find(clientDir) >= 0)
        return 3;
    return 2;
}

int ClassifyRow(const CaContainer& list, int row, const char* clientDir)
{
    return ClassifyVersion(TextAt(list, "CA_ATTRKEY_VERSION_STATUS", row),
                           TextAt(list, "CA_ATTRKEY_MODIFIER_NAME", row),
                           TextAt(list, "CA_ATTRKEY_CLIENT_MACHINE", row),
                           TextAt(list, "CA_ATTRKEY_CLIENT_PATH", row), clientDir);
}

CString FormatModifiedTime(const CaTimeStamp& time)
{
    CString text;
    text.Format("%02d-%02d-%02d %02d:%02d", time.GetYear() - 2000, time.GetMonth(), time.GetDay(),
                time.GetHour(), time.GetMinute());
    return text;
}
} // namespace

int VORAgent::GetVersionState(const char* itemName, const char* clientDir,
                              std::multimap<CString, CString>* notReserved,
                              std::multimap<CString, CString>* reservedElsewhere,
                              std::multimap<CString, CString>* checkedOutHere)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = GetViewPathVOR(clientDir);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaVersionChooser& chooser = m_pHarvest->GetContext().GetVersionChooser();
        ChooseVersions(chooser, viewPath, itemName, versionLatestInView);
        CaContainer list = chooser.GetVersionList();
        if (list.IsEmpty())
            Fail("Error: No Versions in Package.");

        int state = 0;
        if (CString(itemName) != "*")
            state = ClassifyRow(list, 0, clientDir);

        if (notReserved != nullptr && reservedElsewhere != nullptr && checkedOutHere != nullptr)
        {
            std::multimap<CString, CString>* maps[] = {notReserved, reservedElsewhere,
                                                       checkedOutHere};
            int count = list.GetKeyElementCount(nameKey);
            for (int row = 0; row < count; ++row)
            {
                CString localPath = TextAt(list, "CA_ATTRKEY_FULL_PATH_NAME", row);
                localPath.Replace(viewPath, "");
                maps[ClassifyRow(list, row, clientDir) - 1]->insert(
                    std::make_pair(TextAt(list, nameKey, row), CString(clientDir) + localPath));
            }
        }
        return state;
    }
    catch (CaException)
    {
        return 0;
    }
}

int VORAgent::GetAllVersions(const char* itemName, const char* clientDir, HItemVerions* versions)
{
    if (!SetInfoToVOR(contextAll))
        return -1;
    CString viewPath = GetViewPathVOR(clientDir);
    if (viewPath.IsEmpty() || versions == nullptr)
        return -1;
    try
    {
        CaVersionChooser& chooser = m_pHarvest->GetContext().GetVersionChooser();
        ChooseVersions(chooser, viewPath, itemName, versionAll);
        CaVersionList list = chooser.GetVersionListAsList();
        if (!list.IsEmpty())
        {
            versions->m_sItemPath = viewPath + "\\" + itemName;
            for (int i = 0; i < list.GetSize(); ++i)
            {
                const CaVersion& source = list[i];
                auto version = std::make_unique<HItemVerion>();
                version->m_nVersionObjId = source.GetObjId();
                version->m_sVersionName = Text(source.GetMappedVersionName());
                version->m_sModifier = Text(source.GetModifierName());
                version->m_sModifiedTime = FormatModifiedTime(source.GetModifiedTime());
                version->m_sDescription = Text(source.GetDescription());
                version->m_sStatus = Text(source.GetVersionStatus());
                version->m_sPackageName = Text(source.GetPackageName());
                if (version->m_sStatus == "R")
                {
                    version->m_sClientMachine = Text(source.GetClientMachine());
                    version->m_sClientPath = Text(source.GetClientPath());
                }
                versions->m_vecVersions.push_back(version.release());
            }
        }
        return static_cast<int>(versions->m_vecVersions.size());
    }
    catch (CaException)
    {
        ShowError(viewPath + "\\" + itemName + " 파일의 모든 버전 정보 읽는 과정에서 실패");
        return -1;
    }
}

int VORAgent::GetFileAtVersion(unsigned int versionObjId, const char* clientDir,
                               const char* targetDir)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    CString viewPath = GetViewPathVOR(clientDir);
    if (viewPath.IsEmpty())
        return 0;
    try
    {
        CaContext& context = m_pHarvest->GetContext();
        if (!context.SetCheckout("CheckOut"))
            Fail("Error: Could not set check out name.");
        CaVersionChooser& chooser = context.GetVersionChooser();
        chooser.Clear();
        chooser.SetVersionObjId(versionObjId, 0);
        chooser.SetRecursive(true);
        chooser.SetVersionStatusOption(statusAny);
        chooser.SetBranchOption(branchTrunkBranchesUnmerged);
        chooser.SetVersionOption(versionLatestInView);
        chooser.Execute();

        CaCheckout& checkout = context.GetCheckout();
        checkout.SetCheckoutMode(checkoutBrowse);
        checkout.SetViewPath(viewPath);
        checkout.SetClientDir(targetDir != nullptr ? targetDir : clientDir);
        checkout.SetPathOption(3);
        checkout.SetReplaceFile(true);
        checkout.SetCallBack(OnCheckoutMessage);
        if (checkout.Execute() != 0)
            Fail("Error: Checkout failed.");
        return 1;
    }
    catch (CaException)
    {
        return 0;
    }
}

int VORAgent::GetLatestVerInfo(const char* itemName, const char* viewPath, HItemState* state)
{
    if (!SetInfoToVOR(contextAll))
        return 0;
    try
    {
        CaVersionChooser& chooser = m_pHarvest->GetContext().GetVersionChooser();
        ChooseVersions(chooser, viewPath, itemName, versionLatestInView);
        CaVersionList list = chooser.GetVersionListAsList();
        if (list.IsEmpty() || state == nullptr)
            return 1;
        const CaVersion& latest = list[0];
        state->m_sStatus = Text(latest.GetVersionStatus());
        if (state->m_sStatus == "R")
        {
            state->m_sStatus = GetUserNameA() == Text(latest.GetModifierName()) ? "R1" : "R2";
            state->m_sModifier = Text(latest.GetModifierName());
            state->m_sClientPath = Text(latest.GetClientPath());
        }
        return 1;
    }
    catch (CaException)
    {
        ShowError(CString(viewPath) + "\\" + itemName +
                  " 파일의 모든 버전 정보 읽는 과정에서 실패");
        return 0;
    }
}

// ---- Repository file queries -----------------------------------------------------------------

void VORAgent::QueryAllSolutionFiles(CListCtrl* list)
{
    if (!SetInfoToVOR(contextProjectState))
        return;
    try
    {
        CaContainer result;
        if (!QueryContextRepositories(m_pHarvest->GetContext(),
                                      "select b.pathfullname, a.itemname from haritems a, "
                                      "harpathfullname b where a.parentobjid = b.itemobjid and "
                                      "a.itemname like '%qxsln%' and (",
                                      result))
            return;
        ForEachNamedRow(result,
                        [list](int row, const CString& name, const CString& path)
                        {
                            int item = list->InsertItem(row, name);
                            list->SetItemText(item, 1, path);
                        });
    }
    catch (CaException)
    {
        ShowError("하비스트에 존재하는 QX+ 솔루션 파일을 읽는 과정에서 실패");
    }
}

void VORAgent::QueryAllCompScreenFiles(CListCtrl* list)
{
    if (!SetInfoToVOR(contextProjectState))
        return;
    try
    {
        CaContainer result;
        if (!QueryContextRepositories(m_pHarvest->GetContext(),
                                      "select b.pathfullname, a.itemname from haritems a, "
                                      "harpathfullname b where a.parentobjid = b.itemobjid and "
                                      "a.itemname like '%.xml%' and (",
                                      result))
            return;
        // State image 0: no mark until the dialog has read each file's state.
        ForEachNamedRow(result,
                        [list](int row, const CString& name, const CString& path)
                        {
                            int item = list->InsertItem(LVIF_TEXT | LVIF_STATE, row, name,
                                                        INDEXTOSTATEIMAGEMASK(0),
                                                        LVIS_STATEIMAGEMASK, 0, 0);
                            list->SetItemText(item, 1, path);
                        });
    }
    catch (CaException)
    {
        ShowError("하비스트에 존재하는 종합화면(.xml) 파일을 읽는 과정에서 실패");
    }
}

void VORAgent::GetSubPath(const char* viewPath, std::vector<CString>& paths)
{
    if (!SetInfoToVOR(contextProjectState))
        return;
    try
    {
        CaContainer result;
        if (!QueryContextRepositories(m_pHarvest->GetContext(),
                                      "select b.pathfullname, a.itemname from haritems a, "
                                      "harpathfullname b where a.parentobjid = b.itemobjid and "
                                      "itemtype=0 and (",
                                      result))
            return;
        ForEachNamedRow(result,
                        [&](int, const CString& name, const CString& path)
                        {
                            if (path.Find(viewPath) >= 0)
                                paths.push_back(path + "\\" + name);
                        });
    }
    catch (CaException)
    {
        ShowError(CString(viewPath) + " 의 하위 폴더 읽기 실패");
    }
}
