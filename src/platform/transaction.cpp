#include "transaction.h"

#include "database.h"

namespace platform {

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.beginTransaction();
}

Transaction::~Transaction()
{
    if (m_terminada)
        return;
    try {
        m_db.rollbackTransaction();
    } catch (const DbError&) {
        // The engine has already undone the transaction (a failed commit or a closed connection): nothing is left.
    }
}

void Transaction::commit()
{
    if (m_terminada)
        throw DbError(ArgumentoInvalido, QStringLiteral("Transação já encerrada"));
    m_db.commitTransaction();
    m_terminada = true;
}

} // namespace platform
