#include <windows.h>

#include "HostTestSupport.h"

#include <fstream>
#include <sstream>

namespace host_test
{
namespace
{
const char clientKey[] = "SOFTWARE\\ComputerAssociates\\RTHOME";
}

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary) << text;
}

bool IsReadOnly(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::string MakeTempFolder(const char* prefix)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH] = {};
    ::GetTempFileNameA(temp, prefix, 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, NULL);
    return name;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
            {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

void SetClientInstalled(bool installed)
{
    if (installed)
    {
        HKEY key = NULL;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, clientKey, 0, NULL, 0, KEY_WRITE, NULL, &key,
                              NULL) == ERROR_SUCCESS)
            ::RegCloseKey(key);
    }
    else
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, clientKey);
}
} // namespace host_test
