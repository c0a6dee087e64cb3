#pragma once

class Database;

// A transaction, rolled back unless committed. A write transaction takes the write lock up front,
// which makes check-then-insert atomic between sessions; a read transaction gives the statements
// of one request a single snapshot and takes the file's shared lock once for all of them.
class Transaction
{
public:
    enum class Kind
    {
        Write,
        Read
    };
    explicit Transaction(Database& db, Kind kind = Kind::Write);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database& m_db;
    bool m_open = true;
};
