#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

#include <vector>

#include "HItemVerion.h"

// The versions of one item, oldest first; owns its records.
class AFX_EXT_CLASS HItemVerions
{
public:
    HItemVerions();
    HItemVerions(const HItemVerions&) = delete;
    HItemVerions& operator=(const HItemVerions&) = delete;
    ~HItemVerions();

    CString m_sItemPath; // view path, a backslash and the item name
    std::vector<HItemVerion*> m_vecVersions;
};
