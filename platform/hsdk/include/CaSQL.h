#pragma once

#include "CaContainer.h"

// One read-only SELECT over the repository tables.
class HSDK_API CaSQL
{
public:
    explicit CaSQL(HsdkSession* session);
    ~CaSQL();
    CaSQL(const CaSQL&) = delete;
    CaSQL& operator=(const CaSQL&) = delete;

    void SetSQLStatement(const char* statement);
    int Execute();
    // Columns keyed by upper-case name, rows in order, nulls kept.
    CaContainer GetSQLResult() const;

private:
    HsdkSession* m_pSession;
    CaString m_sStatement;
    CaContainer m_result;
};
