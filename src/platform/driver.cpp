#include "driver.h"

#include "dberror.h"

#include <QSqlError>

namespace platform {

QSqlQuery Driver::executa(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError::doMecanismo(query.lastError());
    for (const QVariant& valor : valores)
        query.addBindValue(valor);
    if (!query.exec())
        throw DbError::doMecanismo(query.lastError());
    return query;
}

QVariant Driver::primeiroValor(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery query = executa(db, sql, valores);
    if (query.next())
        return query.value(0);
    if (query.lastError().isValid())
        throw DbError::doMecanismo(query.lastError());
    return {};
}

} // namespace platform
