/* Stands in for the difference program in the dialog tests: writes the command line's
   arguments beside itself to WinDiff.args and ends. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(void)
{
    char path[MAX_PATH];
    const char* arguments = GetCommandLineA();
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH - 16);
    char* slash = strrchr(path, '\\');
    if (length == 0 || slash == NULL)
        return 1;
    strcpy(slash + 1, "WinDiff.args");

    /* The program name comes first, quoted or not. */
    if (*arguments == '"')
    {
        arguments = strchr(arguments + 1, '"');
        arguments = arguments ? arguments + 1 : "";
    }
    else
        arguments += strcspn(arguments, " \t");
    arguments += strspn(arguments, " \t");

    FILE* file = fopen(path, "wb");
    if (file == NULL)
        return 1;
    fputs(arguments, file);
    fclose(file);
    return 0;
}
