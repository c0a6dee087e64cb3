#pragma once
#include <windows.h>
#include <afxver_.h>
#include <string>
#include <vector>

// Helpers for the local working folders: creating a folder chain, and listing what a
// solution or project file names.
class AFX_EXT_CLASS DirMng
{
public:
    DirMng();
    DirMng(const DirMng& other);
    DirMng& operator=(const DirMng& other);
    DirMng& operator=(DirMng&& other);

    static int CreateDir(const std::string& path);
    static void GetProjDirs(const std::string& solutionPath, std::vector<std::string>& dirs);
    static void GetFilesInProj(const std::string& projectPath, std::vector<std::string>& files);
};
