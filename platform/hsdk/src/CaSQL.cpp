#include <windows.h>

#include "CaSQL.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkRecords.h"
#include "HsdkSession.h"
#include "HsdkText.h"

CaSQL::CaSQL(HsdkSession* session) : m_pSession(session) {}

CaSQL::~CaSQL() = default;

void CaSQL::SetSQLStatement(const char* statement)
{
    HSDK_ENTER("CaSQL::SetSQLStatement", , statement);
    m_sStatement = statement;
}

int CaSQL::Execute()
{
    m_result = CaContainer();
    HSDK_ENTER("CaSQL::Execute", forced_);
    return HsdkGuard::Throwing(
        [&]
        {
            m_result = HsdkRecords::Table(
                m_pSession->Call({{"op", "sql"}, {"statement", HsdkText::ToWire(m_sStatement)}}));
            return 0;
        });
}

CaContainer CaSQL::GetSQLResult() const
{
    HSDK_ENTER("CaSQL::GetSQLResult", forced_);
    return m_result;
}
