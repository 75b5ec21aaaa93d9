#pragma once

#include <QFile>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <functional>

// Reading an SQLite file's pages and overwriting them, as a failing disk would, for the tests of the repair.
namespace teste {

// A file's bytes; nothing when it cannot be read.
inline QByteArray conteudoDe(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs `acao` on a connection of its own to the database file, when it opens.
inline void comConexao(const QString& banco, const std::function<void(QSqlDatabase&)>& acao)
{
    const QString conexao = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexao);
        db.setDatabaseName(banco);
        if (db.open())
            acao(db);
    }
    QSqlDatabase::removeDatabase(conexao);
}

// The pages of a table or index in key order: its leaves, or with `tipo` "raiz" its root alone. Empty when the
// SQLite at hand has no dbstat table.
inline QList<qint64> paginasDe(const QString& banco, const QString& nome, const QString& tipo = QStringLiteral("leaf"))
{
    QList<qint64> paginas;
    comConexao(banco, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT pageno FROM dbstat WHERE name = ? AND (pagetype = ? OR ? = 'raiz' AND "
                                 "path = '/') ORDER BY path"));
        q.addBindValue(nome);
        q.addBindValue(tipo);
        q.addBindValue(tipo);
        if (q.exec())
            while (q.next())
                paginas.append(q.value(0).toLongLong());
    });
    return paginas;
}

// Bytes that mean nothing, the same on every run; a page that starts with them is of no known kind.
inline QByteArray ruido(qsizetype tamanho)
{
    QByteArray bytes(tamanho, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131 + 7) & 0xff);
    return bytes;
}

// Writes `conteudo` over the file from the start of page `pagina` (numbered from 1) on.
inline bool sobrescrevePagina(const QString& banco, qint64 pagina, const QByteArray& conteudo)
{
    qint64 tamanho = 0;
    comConexao(banco, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("PRAGMA page_size")) && q.next())
            tamanho = q.value(0).toLongLong();
    });
    QFile f(banco);
    return tamanho > 0 && f.open(QIODevice::ReadWrite) && f.seek((pagina - 1) * tamanho) &&
           f.write(conteudo) == conteudo.size();
}

using Linhas = QList<std::pair<qint64, QString>>;

// The mixes of Tracos that can still be read one by one (key and name), of the keys the table held before the
// damage.
inline Linhas linhasLegiveis(const QString& banco, const QList<qint64>& chaves)
{
    Linhas linhas;
    comConexao(banco, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT NomeTraco FROM Tracos NOT INDEXED WHERE _rowid_ = ?"));
        for (const qint64 chave : chaves) {
            q.addBindValue(chave);
            if (q.exec() && q.next())
                linhas.append({chave, q.value(0).toString()});
        }
    });
    return linhas;
}

} // namespace teste
