#include <windows.h>
#include "ServerMessages.h"

#include <HSDK.h>

#include <map>

#include "VORAgent.h"

namespace
{
const int textType = 2;
const int checkoutUpdate = 2;

// Filled by the first SetOutputHwnd; until then every message is an unknown one.
std::map<CString, CString> s_mapServerMsg;

const char* const serverMessageTable[][2] = {
    {"HSRV_E_DB", "Database error %s."},
    {"HSRV_E_ITEM_VERSION_STATUS", "Cannot %s item %s; latest version has tag."},
    {"HSRV_E_LATER_VERSION_EXIST", "Item %s cannot be processed  later version exists."},
    {"HSRV_E_MESSAGE", "%s."},
    {"HSRV_E_MULTIPLENAME", "Multiple names exist for the name %s."},
    {"HSRV_E_NO_ACCESS_RESTRICTED_USER_ATTRIBUTES",
     "Insufficient access rights to update restricted user account attributes."},
    {"HSRV_E_PKG_BUSY", "The package named %s is being used by %s. Client: %s Server: %s"},
    {"HSRV_E_RESERVED_VERSION_EXIST",
     "Item %s can not be processed,  this item has been checked out for update."},
    {"HSRV_I_MESSAGE", "%s."},
    {"HSRV_I_SAME_VERSION_NOT_MODIFIED", "No need to update file %s from repository version %s."},
    {"HSRV_E_CHECKIN_BAD_MVS_FILE_FORMAT", "The MVS file format not valid in string: %s."},
    {"HSRV_E_CHECKIN_BAD_OPTION", "Wrong check in option to create view path for file: %s."},
    {"HSRV_E_CHECKIN_BY_OWNER_ONLY", "The item %s was checked out by the a different user."},
    {"HSRV_E_CHECKIN_CREATE_PATH", "Cannot create view path for file: %s."},
    {"HSRV_E_CHECKIN_EXISTING_ITEMS_ONLY",
     "No version found for file: %s using the Existing Items Only filter."},
    {"HSRV_E_CHECKIN_HAS_TAG", "The file: %s does not have a reserve tag."},
    {"HSRV_E_CHECKIN_NEW_ITEMS_ONLY",
     "Unable to check in %s with the New Items Only filter. An item with the same name was found "
     "in the repository."},
    {"HSRV_E_CHECKIN_NEWER_VERSION_EXIST",
     "New version found,  check in without checkout failed for file: %s"},
    {"HSRV_E_CHECKIN_NO_FILES", "No files to checkin!"},
    {"HSRV_E_CHECKIN_NOT_RESERVED",
     "The check in process for the file %s failed,  the file was not checked out."},
    {"HSRV_E_CHECKIN_OTHER_PACKAGE", "Another package has reserved version for the file: %s."},
    {"HSRV_E_CHECKIN_PKG_STATUS", "Unable to check in %s because its package is in use."},
    {"HSRV_E_CHECKIN_RENAMED_ITEM_EXIST",
     "Item has been previously renamed within the project. Check in failed for file: %s"},
    {"HSRV_E_CHECKIN_RO_REP",
     "Unable to check in %s to %s. Repository is set as Read-Only in the current view."},
    {"HSRV_I_CHECKIN", "File %s checked into %s."},
    {"HSRV_I_CHECKIN_NO_CHANGES", "No changes detected in %s to check in."},
    {"HSRV_I_CHECKIN_RELEASE", "Item %s released."},
    {"HSRV_E_CHECKOUT_BAD_MVS_FILEFORMAT", "Could not convert %s to the MVS file format."},
    {"HSRV_E_CHECKOUT_BRANCH_IN_OTHER_PKG",
     "Cannot check out branch version of item %s with a different package."},
    {"HSRV_E_CHECKOUT_MERGED_BRANCH",
     "The check-out for update process failed; the version %s is a merged branch."},
    {"HSRV_E_CHECKOUT_PKG_TRUNK_VERSION_EXIST",
     "Cannot check out the item %s; it has a reserved version in the same package."},
    {"HSRV_E_CHECKOUT_UNMERGED_BRANCH",
     "The item %s has an unmerged branch version in the check-out package."},
    {"HSRV_E_CHECKOUT_VERSION", "Checkout failed for version: %s."},
    {"HSRV_E_CHECKOUT_VERSION_DATA", "Checkout version data failed for version: %s."},
    {"HSRV_E_CHECKOUT_VERSIONDATA_NOT_EXIST", "No version data found for version of item %s."},
    {"HSRV_E_DB_CHECKOUT", "Database Error: %s checking out version: %s."},
    {"HSRV_E_FA", "The File Agent error for item %s: %s."},
};

const int serverArgCount = 4;

struct ServerMessage
{
    CString key;
    CString args[serverArgCount];
};

// False for an empty container, which carries no message at all.
bool ReadServerMessage(CaContainer* container, ServerMessage& message)
{
    if (container == nullptr || container->IsEmpty())
        return false;
    CaStringList keys = container->GetKeyList();
    int keyCount = container->GetKeyCount();
    for (int k = 0; k < keyCount && k < keys.GetSize(); ++k)
    {
        CString name = static_cast<const char*>(keys[k]);
        bool isKey = name == "_HEM_MsgKey";
        bool isArg = name == "_HEM_MsgArg";
        int count = container->GetKeyElementCount(name);
        for (int i = 0; i < count; ++i)
        {
            CaData data = container->Props(name, i);
            if (data.IsNull() || data.GetType() != textType)
                continue;
            if (isKey)
                message.key = static_cast<const char*>(data);
            else if (isArg && i < serverArgCount)
                message.args[i] = static_cast<const char*>(data);
        }
    }
    return true;
}

// Without arguments the format stays as it is, placeholders included; with arguments every
// placeholder takes the next one, and those beyond the last given argument stay empty.
CString TranslateServerMsg(const CString& key, const CString args[serverArgCount])
{
    auto found = s_mapServerMsg.find(key);
    if (found == s_mapServerMsg.end())
        return CString();
    const CString& format = found->second;
    int given = 0;
    for (int i = 0; i < serverArgCount; ++i)
        if (!args[i].IsEmpty())
            given = i + 1;
    if (given == 0)
        return format;

    CString line;
    int next = 0;
    for (int pos = 0; pos < format.GetLength(); ++pos)
    {
        if (format[pos] == '%' && pos + 1 < format.GetLength() && format[pos + 1] == 's')
        {
            if (next < given)
                line += args[next];
            ++next;
            ++pos;
        }
        else
        {
            line += format[pos];
        }
    }
    return line;
}

// Extension of the last path component, dot included, as the path splitter gives it.
int IsTrackedFileType(const CString& path)
{
    int nameStart = path.GetLength();
    while (nameStart > 0 && path[nameStart - 1] != '\\' && path[nameStart - 1] != '/' &&
           path[nameStart - 1] != ':')
        --nameStart;
    CString name = path.Mid(nameStart);
    int dot = name.ReverseFind('.');
    if (dot < 0)
        return 0;
    CString extension = name.Mid(dot).Left(255);
    return extension.CompareNoCase(".xcml") == 0 || extension.CompareNoCase(".qxs") == 0;
}

void SendLatestMsg(const CString& key)
{
    if (VORAgent::m_sLatestMsg.IsEmpty())
        VORAgent::m_sLatestMsg.Format("알 수 없는 오류 [key=%s]", static_cast<const char*>(key));
    LPARAM ordinary = key.Find("HSRV_E_") >= 0 ? 0 : 1;
    SendMessageA(VORAgent::m_hwndOutput, WM_VOR_OUTPUT, 0, ordinary);
}

} // namespace

void FillServerMessageTable()
{
    for (const auto& row : serverMessageTable)
        s_mapServerMsg.insert(std::make_pair(CString(row[0]), CString(row[1])));
}

void OnCheckinMessage(int, void*, void*, CaContainer* container)
{
    ServerMessage message;
    if (!ReadServerMessage(container, message) || message.key.IsEmpty())
        return;
    VORAgent::m_sLatestMsg = TranslateServerMsg(message.key, message.args);
    SendLatestMsg(message.key);
}

void OnCheckoutMessage(int, void* process, void*, CaContainer* container)
{
    ServerMessage message;
    if (!ReadServerMessage(container, message) || message.key.IsEmpty() ||
        message.key == "HSRV_E_CHECKOUT_DELETED_VERSION")
        return;
    if (message.key == "HSRV_I_CHECKOUT")
    {
        const CaCheckout* checkout = static_cast<const CaCheckout*>(process);
        bool forUpdate = checkout != nullptr && checkout->GetCheckoutMode() == checkoutUpdate;
        const CString& localPath = message.args[1];
        VORAgent::m_sLatestMsg = "File " + message.args[0] +
                                 (forUpdate ? " checked out to " : " updated to ") + localPath;
        // The local path comes as "machine\\path"; only a path behind a machine name counts.
        int separator = localPath.Find("\\\\");
        if (separator >= 1)
        {
            CString file = localPath.Mid(separator + 2);
            if (IsTrackedFileType(file))
                VORAgent::m_sChangedFiles.Add(file);
        }
    }
    else
    {
        VORAgent::m_sLatestMsg = TranslateServerMsg(message.key, message.args);
    }
    SendLatestMsg(message.key);
}
