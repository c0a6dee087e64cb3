#include <windows.h>
#include "VORAgent.h"

// Exit code: 10 + the installation answer when HSDK.dll stayed unloaded, 1 when it was loaded.
int main()
{
    int installed = VORAgent::IsInstallVOR();
    if (GetModuleHandleA("HSDK.dll") != nullptr)
        return 1;
    return 10 + installed;
}
