#pragma once

#include "CaString.h"

class CaItemList;

// A repository folder (item path) or file.
class HSDK_API CaItem
{
public:
    CaItem();
    CaItem(const CaItem& other);
    ~CaItem();
    CaItem& operator=(const CaItem& other);

    CaString GetName() const;
    bool IsItemPath() const;
    long GetParentRepositoryObjId() const;
    // The folders directly below this one, asked of the server.
    CaItemList GetItemPathList(bool withFiles) const;

private:
    friend class HsdkRecords;
    friend class HsdkScript;

    HsdkSession* m_pSession;
    long m_nObjId;
    long m_nRepositoryObjId;
    bool m_bItemPath;
    CaString m_sName;
    CaString m_sViewPath;
};
