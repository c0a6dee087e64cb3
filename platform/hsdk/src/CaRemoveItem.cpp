#include <windows.h>

#include "CaRemoveItem.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkSession.h"
#include "HsdkText.h"

CaRemoveItem::CaRemoveItem(HsdkSession* session) : m_bRemoveAll(false), m_pSession(session) {}

CaRemoveItem::~CaRemoveItem() = default;

void CaRemoveItem::SetItemPath(const char* viewPath)
{
    HSDK_ENTER("CaRemoveItem::SetItemPath", , viewPath);
    m_sItemPath = viewPath;
}

void CaRemoveItem::SetItemName(const char* itemName)
{
    HSDK_ENTER("CaRemoveItem::SetItemName", , itemName);
    m_sItemName = itemName;
}

int CaRemoveItem::Execute()
{
    // The option is a public field the caller writes, so the record shows its value here.
    HSDK_ENTER("CaRemoveItem::Execute", forced_, m_bRemoveAll);
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("removeItem");
            request["itemPath"] = HsdkText::ToWire(m_sItemPath);
            request["name"] = HsdkText::ToWire(m_sItemName);
            return m_pSession->RunProcess(request, "removeitem", nullptr, this);
        });
}
