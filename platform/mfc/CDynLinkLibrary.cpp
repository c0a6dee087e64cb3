#include <windows.h>

#include "afxwin.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

namespace
{

HINSTANCE resourceHandle = NULL;

std::vector<CDynLinkLibrary*>& Libraries()
{
    static std::vector<CDynLinkLibrary*> libraries;
    return libraries;
}

} // namespace

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem)
{
    Libraries().push_back(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE)
{
    Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    auto& libraries = Libraries();
    libraries.erase(std::remove(libraries.begin(), libraries.end(), this), libraries.end());
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
    if (state.bInitialized)
        return TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    std::vector<CDynLinkLibrary*> libraries = Libraries();
    for (CDynLinkLibrary* library : libraries)
        if (bAll || library->m_hModule == state.hModule)
            delete library;
    state.bInitialized = FALSE;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    return resourceHandle != NULL ? resourceHandle : ::GetModuleHandleA(NULL);
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    resourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE first = AfxGetResourceHandle();
    if (::FindResourceA(first, lpszName, lpszType) != NULL)
        return first;
    for (CDynLinkLibrary* library : Libraries())
        if (::FindResourceA(library->m_hResource, lpszName, lpszType) != NULL)
            return library->m_hResource;
    return first;
}
