#pragma once

class Database;

// An immediate write transaction: taking the write lock up front makes check-then-insert atomic
// between sessions. Rolled back unless committed.
class Transaction
{
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database& m_db;
    bool m_open = true;
};
