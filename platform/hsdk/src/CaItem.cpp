#include <windows.h>

#include "CaItem.h"

#include "CaItemList.h"
#include "HsdkCallLog.h"
#include "HsdkFields.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"

CaItem::CaItem() : m_pSession(nullptr), m_nObjId(0), m_nRepositoryObjId(0), m_bItemPath(false) {}

CaItem::CaItem(const CaItem& other) = default;

CaItem::~CaItem() = default;

CaItem& CaItem::operator=(const CaItem& other) = default;

CaString CaItem::GetName() const
{
    return m_sName;
}

bool CaItem::IsItemPath() const
{
    return m_bItemPath;
}

long CaItem::GetParentRepositoryObjId() const
{
    return m_nRepositoryObjId;
}

CaItemList CaItem::GetItemPathList(bool withFiles) const
{
    HSDK_ENTER("CaItem::GetItemPathList", forced_, withFiles);
    return HsdkGuard::Throwing(
        [&]
        {
            CaItemList list;
            if (!m_pSession || !m_bItemPath)
                return list;
            const nlohmann::json reply =
                m_pSession->Call({{"op", "subItems"}, {"objid", m_nObjId}});
            for (const nlohmann::json& row : HsdkFields::List(reply, "items"))
            {
                const CaItem item = HsdkRecords::Item(m_pSession, row);
                if (withFiles || item.IsItemPath())
                    list.Add(item);
            }
            return list;
        });
}
