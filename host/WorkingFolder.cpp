#include <windows.h>

#include "WorkingFolder.h"

#include <VORAgent.h>

#include <algorithm>
#include <map>

namespace
{
const char markerFileName[] = "harvest.vor";

typedef std::multimap<CString, CString> StateMap;

// The names of a state map whose local path lies directly in the folder; the map also holds
// the items of every sub folder.
std::vector<CString> NamesDirectlyIn(const StateMap& map, const CString& folder)
{
    std::vector<CString> names;
    for (const auto& entry : map)
        if (entry.second.CompareNoCase(folder + "\\" + entry.first) == 0)
            names.push_back(entry.first);
    return names;
}

bool Contains(const std::vector<CString>& names, const CString& name)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const CString& known) { return known.CompareNoCase(name) == 0; });
}
} // namespace

CWorkingFolder::CWorkingFolder() {}

CWorkingFolder::~CWorkingFolder() {}

CString CWorkingFolder::Normalize(LPCSTR lpszPath)
{
    char full[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameA(lpszPath, MAX_PATH, full, NULL);
    CString folder = length != 0 && length < MAX_PATH ? full : lpszPath;
    if (folder.GetLength() > 3 && folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

void CWorkingFolder::SetPath(LPCSTR lpszPath)
{
    m_sPath = Normalize(lpszPath);
}

BOOL CWorkingFolder::IsMapped() const
{
    return IsChosen() && !VORAgent::GetViewPathVOR(m_sPath).IsEmpty();
}

std::vector<CString> CWorkingFolder::GetLocalFiles() const
{
    std::vector<CString> files;
    if (!IsChosen())
        return files;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(m_sPath + "\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do
    {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            lstrcmpiA(found.cFileName, markerFileName) != 0)
            files.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

BOOL CWorkingFolder::ReadState(Split& split) const
{
    if (!IsMapped())
        return FALSE;
    StateMap free, elsewhere, here;
    VORAgent::GetVersionState("*", m_sPath, &free, &elsewhere, &here);
    if (free.empty() && elsewhere.empty() && here.empty())
        return FALSE;
    split.free = NamesDirectlyIn(free, m_sPath);
    split.reservedElsewhere = NamesDirectlyIn(elsewhere, m_sPath);
    split.checkedOutHere = NamesDirectlyIn(here, m_sPath);
    split.newFiles.clear();
    for (const CString& file : GetLocalFiles())
        if (!Contains(split.free, file) && !Contains(split.reservedElsewhere, file) &&
            !Contains(split.checkedOutHere, file))
            split.newFiles.push_back(file);
    return TRUE;
}
