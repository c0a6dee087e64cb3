#pragma once
#include <windows.h>
#include <afxwin.h>

// The local root folder of the dialogs that mirror repository paths below it.

inline BOOL PathExists(const CString& sPath)
{
    return GetFileAttributesA(sPath) != INVALID_FILE_ATTRIBUTES;
}

// The agent's client directory when it exists, else the system drive.
inline CString RootFolderToStart(const CString& sClientDir, const CString& sSysDrive)
{
    return !sClientDir.IsEmpty() && PathExists(sClientDir) ? sClientDir : sSysDrive;
}

// What is kept as the agent's client directory when such a dialog closes: the folder without
// a trailing backslash unless it is a drive root (C:\ stays), and the system drive when the
// folder does not exist.
inline CString RootFolderToKeep(CString sRootPath, const CString& sSysDrive)
{
    if (!PathExists(sRootPath))
        return sSysDrive;
    if (sRootPath.GetLength() != 3 && sRootPath.Right(1) == "\\")
        sRootPath.Delete(sRootPath.GetLength() - 1);
    return sRootPath;
}
