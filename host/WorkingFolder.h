#pragma once
#include <windows.h>
#include <afxwin.h>

#include <vector>

// The local folder the user works in: what it holds and how each of its files stands in the
// repository, so that each command offers only the files it can work on.
class CWorkingFolder
{
public:
    CWorkingFolder();
    ~CWorkingFolder();

    // A folder as the commands name it: absolute, without a trailing backslash (except a
    // drive root).
    static CString Normalize(LPCSTR lpszPath);

    void SetPath(LPCSTR lpszPath);
    const CString& GetPath() const { return m_sPath; }
    BOOL IsChosen() const { return !m_sPath.IsEmpty(); }
    // Whether the folder mirrors a repository folder (its marker names one).
    BOOL IsMapped() const;

    // Files of the folder itself (no sub folders), without the marker file.
    std::vector<CString> GetLocalFiles() const;

    // The files directly in the folder by their repository state; FALSE when the state
    // could not be read (not logged in, folder not mapped, repository failure).
    struct Split
    {
        std::vector<CString> free;
        std::vector<CString> reservedElsewhere;
        std::vector<CString> checkedOutHere;
        // Local files that the repository does not know yet.
        std::vector<CString> newFiles;
    };
    BOOL ReadState(Split& split) const;

private:
    CString m_sPath;
};
