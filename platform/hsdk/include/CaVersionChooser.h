#pragma once

#include "CaContainer.h"
#include "CaVersionList.h"

// Chooses versions of a view path (or one version by object id); the processes of the same
// context then act on the versions chosen last.
class HSDK_API CaVersionChooser
{
public:
    explicit CaVersionChooser(HsdkSession* session);
    ~CaVersionChooser();
    CaVersionChooser(const CaVersionChooser&) = delete;
    CaVersionChooser& operator=(const CaVersionChooser&) = delete;

    void Clear();
    void SetParentPath(const char* viewPath);
    void SetItemName(const char* itemName);
    void SetRecursive(bool recursive);
    void SetBranchOption(int option);
    void SetVersionOption(int option);
    void SetVersionStatusOption(int option);
    void SetVersionObjId(unsigned long objId, int option);
    int Execute();
    CaContainer GetVersionList() const;
    CaVersionList GetVersionListAsList() const;

private:
    HsdkSession* m_pSession;
    CaString m_sParentPath;
    CaString m_sItemName;
    bool m_bRecursive;
    int m_nBranchOption;
    int m_nVersionOption;
    int m_nVersionStatusOption;
    unsigned long m_nVersionObjId;
    CaVersionList m_versions;
    CaContainer m_versionList;
};
