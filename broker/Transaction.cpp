#include "Transaction.h"

#include "Database.h"

Transaction::Transaction(Database& db, Kind kind) : m_db(db)
{
    // Kept prepared: a request may run one per file.
    m_db.prepare(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN").run();
}

Transaction::~Transaction()
{
    if (m_open)
    {
        try
        {
            m_db.prepare("ROLLBACK").run();
        }
        catch (...)
        {
        }
    }
}

void Transaction::commit()
{
    m_db.prepare("COMMIT").run();
    m_open = false;
}
