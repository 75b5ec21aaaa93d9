#pragma once

namespace platform {

class Database;

// A write that either happens whole or not at all: begins in the constructor, commit() makes it permanent, and
// leaving the scope without commit() (a refused write, an exception) rolls it back. Transactions nest; an inner one
// rolls back only its own part.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    bool m_terminada = false;
};

} // namespace platform
