#include <windows.h>

#include "CaRenameItem.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkSession.h"
#include "HsdkText.h"

CaRenameItem::CaRenameItem(HsdkSession* session) : m_pSession(session) {}

CaRenameItem::~CaRenameItem() = default;

void CaRenameItem::SetItemPath(const char* viewPath)
{
    HSDK_ENTER("CaRenameItem::SetItemPath", , viewPath);
    m_sItemPath = viewPath;
}

void CaRenameItem::SetItemName(const char* itemName)
{
    HSDK_ENTER("CaRenameItem::SetItemName", , itemName);
    m_sItemName = itemName;
}

void CaRenameItem::SetNewItemName(const char* newName)
{
    HSDK_ENTER("CaRenameItem::SetNewItemName", , newName);
    m_sNewItemName = newName;
}

int CaRenameItem::Execute()
{
    HSDK_ENTER("CaRenameItem::Execute", forced_);
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("renameItem");
            request["itemPath"] = HsdkText::ToWire(m_sItemPath);
            request["name"] = HsdkText::ToWire(m_sItemName);
            request["newName"] = HsdkText::ToWire(m_sNewItemName);
            return m_pSession->RunProcess(request, "renameitem", nullptr, this);
        });
}
