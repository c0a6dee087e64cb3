#pragma once

#include "CaString.h"

class HSDK_API CaRemoveItem
{
public:
    explicit CaRemoveItem(HsdkSession* session);
    ~CaRemoveItem();
    CaRemoveItem(const CaRemoveItem&) = delete;
    CaRemoveItem& operator=(const CaRemoveItem&) = delete;

    void SetItemPath(const char* viewPath);
    void SetItemName(const char* itemName);
    int Execute();

    // Written directly by callers, as the vendor's class allows.
    bool m_bRemoveAll;

private:
    HsdkSession* m_pSession;
    CaString m_sItemPath;
    CaString m_sItemName;
};
