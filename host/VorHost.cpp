#include <windows.h>

#include <cstdio>

// Until the host exists this only proves that vor.dll loads beside it.
int main()
{
    HMODULE vor = LoadLibraryA("vor.dll");
    if (!vor)
    {
        std::fprintf(stderr, "vorhost: vor.dll could not be loaded (error %lu)\n", GetLastError());
        return 1;
    }
    std::printf("vorhost: vor.dll loaded; the host window is not built yet.\n");
    FreeLibrary(vor);
    return 0;
}
