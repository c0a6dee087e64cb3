#pragma once

#include "CaContainer.h"

class HSDK_API CaPackageChooser
{
public:
    explicit CaPackageChooser(HsdkSession* session);
    ~CaPackageChooser();
    CaPackageChooser(const CaPackageChooser&) = delete;
    CaPackageChooser& operator=(const CaPackageChooser&) = delete;

    // A name or a "*" pattern.
    void SetPackageName(const char* pattern, int option);
    void SetPkgStatus(int status);
    int Execute(bool wait);
    // Key CA_ATTRKEY_NAME, the packages of the context's project and state.
    CaContainer GetPackageList() const;

private:
    HsdkSession* m_pSession;
    CaString m_sPattern;
    int m_nStatus;
    CaContainer m_packages;
};
