#include <windows.h>

#include "vuverav.h"

#include <string.h>

namespace
{

// The folder of the host's executable, with its trailing backslash.
bool HostFolder(char* folder, DWORD capacity)
{
    DWORD length = GetModuleFileNameA(NULL, folder, capacity);
    if (length == 0 || length >= capacity)
        return false;
    char* slash = strrchr(folder, '\\');
    if (slash == NULL)
        return false;
    slash[1] = '\0';
    return true;
}

} // namespace

BOOL GetSystemPath(int kind, char* buffer, DWORD* size, BOOL)
{
    if (size == NULL || kind != VUVERAV_PATH_TOOLS)
        return FALSE;
    char path[MAX_PATH + 8];
    if (!HostFolder(path, MAX_PATH))
        return FALSE;
    strcat(path, "tools\\");
    DWORD length = static_cast<DWORD>(strlen(path));
    if (buffer == NULL || *size <= length)
    {
        *size = length + 1;
        return FALSE;
    }
    memcpy(buffer, path, length + 1);
    *size = length;
    return TRUE;
}
