#include <windows.h>
#include "HItemVerions.h"

HItemVerions::HItemVerions() {}

HItemVerions::~HItemVerions()
{
    for (HItemVerion* version : m_vecVersions)
        delete version;
}
