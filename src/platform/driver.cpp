#include "driver.h"

#include "database.h"
#include "dberror.h"

#include <QSqlError>

#include <atomic>

namespace platform {

QString Driver::traduz(const QSqlDatabase&, const QString& sql) const
{
    return sql;
}

QString Driver::indiceSemCaixa(const QString& coluna) const
{
    return coluna;
}

QStringList Driver::preparacao() const
{
    return {};
}

QStringList Driver::depoisDeCriarTabela(const QString&) const
{
    return {};
}

qint64 Driver::ultimaChave(const QSqlDatabase& db, const QString& tabela) const
{
    const QString coluna = chave(db, tabela);
    if (coluna.isEmpty())
        return 0;
    return primeiroValor(db, QStringLiteral("SELECT max(%1) FROM %2").arg(coluna, Database::citado(tabela)))
        .toLongLong();
}

void Driver::acertaNumeracao(const QSqlDatabase&, const QString&, qint64) const {}

Driver::ConexaoAvulsa::ConexaoAvulsa(const QString& nomeNoQt)
{
    static std::atomic<int> contador{0};
    m_nome = QStringLiteral("quenvar_avulsa_%1").arg(++contador);
    QSqlDatabase::addDatabase(nomeNoQt, m_nome);
}

Driver::ConexaoAvulsa::~ConexaoAvulsa()
{
    {
        QSqlDatabase banco = db();
        banco.close();
    }
    QSqlDatabase::removeDatabase(m_nome);
}

QSqlQuery Driver::consulta(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.setForwardOnly(db.driverName() != QLatin1String("QPSQL"));
    return query;
}

QSqlQuery Driver::executa(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery query = consulta(db);
    // A statement without values runs as it is: some engines cannot prepare statements that start or end a
    // transaction or change the schema.
    if (valores.isEmpty()) {
        if (!query.exec(sql))
            throw DbError::doMecanismo(query.lastError());
        return query;
    }
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
