#pragma once

#include "dberror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace platform {

// The suite's database, reached through one named connection. The file normally sits on a network share used by
// several workstations at once, so it is opened with SQLite's rollback journal (WAL does not work over a share) and
// a busy timeout that lets a writer wait for another instead of failing at once.
class Database
{
public:
    // How long a statement waits for a lock held by another workstation.
    static constexpr int TempoDeEsperaMs = 5000;

    // Checks the database at `caminho` and releases it again: 0 when it opens and passes the integrity check,
    // otherwise the error number (3024 missing, 3043 disk or network, 3049 damaged or not a database, …).
    // A damaged database gets exactly one repair attempt. A missing file is never created.
    static int AbrindoBanco(const QString& caminho);

    // Mends a damaged database: the schema and every readable row of every table go into a fresh file, which takes
    // the damaged file's place; the damaged file is kept beside it as "<caminho>.danificado". A file that is not a
    // database, or whose schema cannot be read, is left as it is. True when the file now passes the integrity check.
    static bool repara(const QString& caminho);

    // A table or field name quoted for use in a statement (names are never values: those are always bound).
    static QString citado(const QString& nome);

    // The ORDER BY term that sorts the text column `coluna` (as written in the statement) as a Brazilian reader
    // expects: capitals with small letters, "Água" under A beside "agua", names the ordering holds equal always in
    // the same order. The ordering belongs to the connection and is never written into the schema, so the file
    // stays readable by any SQLite tool.
    static QString ordemDeTexto(const QString& coluna);

    // The program-wide handle, opened once at start-up and closed by the main window.
    static Database& shared();

    explicit Database(QString nomeConexao = QStringLiteral("quenvar"));
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file; throws DbError (3024 when the file is missing, 3049 when it is not a
    // database).
    void open(const QString& caminho);
    // Creates a new, empty database file and opens it; throws DbError when the file exists already (3204) or its
    // folder does not (3044).
    void create(const QString& caminho);
    void close();
    bool isOpen() const;
    QString caminho() const { return m_caminho; }
    QString nomeConexao() const { return m_nomeConexao; }
    QSqlDatabase handle() const;

    // Runs one statement with its values bound in order to the '?' placeholders; the returned query is forward-only
    // and positioned before its first row. Throws DbError on failure.
    QSqlQuery exec(const QString& sql, const QVariantList& valores = {});
    // First column of the first row, or a null value when the statement gives no row.
    QVariant scalar(const QString& sql, const QVariantList& valores = {});
    // Runs a statement that changes rows and gives the number of rows it changed.
    int execCount(const QString& sql, const QVariantList& valores = {});

    // Nested transactions: the outermost one is a write transaction taken at once (so that a writer waits for the
    // others up front instead of failing half-way), the inner ones are savepoints. Use Transaction rather than
    // these directly.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    int transactionDepth() const { return m_profundidade; }

private:
    QSqlDatabase conexao() const;
    void abre(const QString& caminho, bool criar);

    QString m_nomeConexao;
    QString m_caminho;
    int m_profundidade = 0;
};

} // namespace platform
