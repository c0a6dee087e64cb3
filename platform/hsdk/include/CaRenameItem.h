#pragma once

#include "CaString.h"

class HSDK_API CaRenameItem
{
public:
    explicit CaRenameItem(HsdkSession* session);
    ~CaRenameItem();
    CaRenameItem(const CaRenameItem&) = delete;
    CaRenameItem& operator=(const CaRenameItem&) = delete;

    void SetItemPath(const char* viewPath);
    void SetItemName(const char* itemName);
    void SetNewItemName(const char* newName);
    int Execute();

private:
    HsdkSession* m_pSession;
    CaString m_sItemPath;
    CaString m_sItemName;
    CaString m_sNewItemName;
};
