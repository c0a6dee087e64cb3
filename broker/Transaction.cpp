#include "Transaction.h"

#include "Database.h"

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (m_open)
    {
        try
        {
            m_db.exec("ROLLBACK");
        }
        catch (...)
        {
        }
    }
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_open = false;
}
