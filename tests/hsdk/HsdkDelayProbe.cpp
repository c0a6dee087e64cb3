#include <windows.h>

#include "HSDK.h"

// A module that delay-imports HSDK.dll, as vor.dll does.
extern "C" __declspec(dllexport) int ProbeLoaded()
{
    return 1;
}

// Binds HSDK.dll and catches its exception by value: 2 when that worked.
extern "C" __declspec(dllexport) int ProbeUseSdk()
{
    try
    {
        CaHarvest harvest;
        harvest.GetContext().GetStateList();
    }
    catch (CaException e)
    {
        return *e.GetText() ? 2 : 3;
    }
    return 0;
}
