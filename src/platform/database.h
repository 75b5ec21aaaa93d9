#pragma once

#include "dberror.h"
#include "driver.h"
#include "localdobanco.h"
#include "relatoriodereparo.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

namespace platform {

// The suite's database, reached through one named connection. Everything the engines say differently goes through
// the connection's Driver (an SQLite file unless another driver is given); everything else is plain SQL.
class Database
{
public:
    enum class Acesso { LeituraEGravacao, SomenteLeitura };

    // Checks the database at `caminho` and releases it again: 0 when it opens and passes the integrity check,
    // otherwise the error number (3024 missing, 3043 disk or network, 3049 damaged or not a database, …).
    // A damaged database gets exactly one repair attempt, whose report fills `relatorio` (left empty, NaoPrecisou,
    // when no repair was needed). A missing file is never created.
    static int AbrindoBanco(const QString& caminho, RelatorioDeReparo& relatorio);
    static int AbrindoBanco(const QString& caminho);
    // The same for a data folder's database, a file or a server; a server is never repaired from a workstation.
    static int AbrindoBanco(const LocalDoBanco& local, RelatorioDeReparo& relatorio);

    // Mends a damaged database: the schema and every readable row of every table go into a fresh file, which takes
    // the damaged file's place. The damaged file, with any journal it left, is kept beside it under a name of its
    // own, "<caminho>.danificado-yyyy-MM-dd-hhmm" (with "-2", "-3"… when a copy of that minute exists already); no
    // earlier copy is ever removed or overwritten. The file is swapped only under the database's exclusive lock: a
    // file another workstation is reading or writing is left as it is (EmUso). A file that is not a database, or
    // whose schema cannot be read, is left as it is. Every repair is written to the error log beside the file.
    static RelatorioDeReparo repara(const QString& caminho);

    // Whether the program can write the database at `caminho`: false when the file or its folder is protected
    // against writing (found by starting a write and taking it back, since the journal must be created beside the
    // file). Other failures (a file another workstation is writing, a missing file) do not count as protection.
    static bool permiteGravar(const QString& caminho);
    static bool permiteGravar(const LocalDoBanco& local);

    // A table or field name quoted for use in a statement (names are never values: those are always bound).
    static QString citado(const QString& nome);

    // The program-wide handle, opened once at start-up and closed by the main window.
    static Database& shared();

    // A connection named `nomeConexao` through `driver` (the SQLite file's when none is given).
    explicit Database(QString nomeConexao = QStringLiteral("quenvar"), std::unique_ptr<Driver> driver = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const Driver& driver() const { return *m_driver; }

    // Opens an existing database file; throws DbError (3024 when the file is missing, 3049 when it is not a
    // database). Opened for reading only, every write fails with 3027.
    void open(const QString& caminho, Acesso acesso = Acesso::LeituraEGravacao);
    // Creates a new, empty database file and opens it; throws DbError when the file exists already (3204) or its
    // folder does not (3044).
    void create(const QString& caminho);
    // The same on a data folder's database, file or server: the connection takes the engine's driver first.
    void open(const LocalDoBanco& local, Acesso acesso = Acesso::LeituraEGravacao);
    void create(const LocalDoBanco& local);
    void close();
    bool isOpen() const;
    bool somenteLeitura() const { return m_somenteLeitura; }
    // The file at the path is no longer the file this connection opened: a repair on another workstation (or a
    // restored copy) took its place. What this connection reads is then the old file, and it can no longer write.
    bool arquivoSubstituido() const;
    QString caminho() const { return m_caminho; }
    QString nomeConexao() const { return m_nomeConexao; }
    QSqlDatabase handle() const;

    // The column that reaches a row of `tabela`, as written in a statement (see Driver::chave); empty when its rows
    // cannot be reached one by one. Throws DbError.
    QString chave(const QString& tabela) const;
    // Whether `tabela` is a table of the open database (a view is not).
    bool ehTabela(const QString& tabela) const;
    // The objects of the open database's schema, in the order they were created. Throws DbError.
    QList<Driver::ObjetoDoEsquema> esquema() const;
    // The statement that reads `campos` of the first row of `tabela` in the order of its key (for numbers the
    // database gave, the first row written), among those meeting `condicao` when one is given: single-row tables
    // such as the company's data are read this way. Throws DbError.
    QString primeiraLinha(const QString& tabela, const QString& campos, const QString& condicao = {}) const;

    // The ORDER BY term that sorts the text column `coluna` (as written in the statement) as a Brazilian reader
    // expects: capitals with small letters, "Água" under A beside "agua", names the ordering holds equal always in
    // the same order.
    QString ordemDeTexto(const QString& coluna) const;
    // The text column `coluna` folded as the catalogue compares names; compare it with nomeDobrado(valor).
    QString dobraDeNome(const QString& coluna) const;

    // The version of the program's schema kept in the database (0 when none was written), and its change; the
    // change belongs to the transaction open on the connection, if any. Throw DbError.
    int versaoDoEsquema();
    void gravaVersaoDoEsquema(int versao);
    // Changes whenever anything has been written to the database, through this connection or any other; none when
    // the engine does not tell (see Driver::marcaDeEscritas).
    std::optional<MarcaDeEscritas> marcaDeEscritas();

    // A statement of the program as the engine must read it (see Driver::traduz).
    QString traduz(const QString& sql) const;

    // Runs one statement with its values bound in order to the '?' placeholders; the returned query is forward-only
    // and positioned before its first row. Throws DbError on failure; a failure on a file that another workstation
    // has replaced is BancoSubstituido, whatever the engine said.
    QSqlQuery exec(const QString& sql, const QVariantList& valores = {});
    // First column of the first row, or a null value when the statement gives no row.
    QVariant scalar(const QString& sql, const QVariantList& valores = {});
    // Runs a statement that changes rows and gives the number of rows it changed.
    int execCount(const QString& sql, const QVariantList& valores = {});
    // Inserts one row of `tabela` from named values and gives back the key the database gave it.
    qint64 insere(const QString& tabela, const QVariantMap& valores);

    // Nested transactions: the outermost one is a write transaction taken at once (so that a writer waits for the
    // others up front instead of failing half-way), the inner ones are savepoints. Use Transaction rather than
    // these directly.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    int transactionDepth() const { return m_profundidade; }

private:
    QSqlDatabase conexao() const;
    void abre(const QString& caminho, Driver::Abertura abertura);
    void usaMotor(const LocalDoBanco& local);
    QSqlQuery executaNaConexao(const QString& sql, const QVariantList& valores = {});
    DbError erroDoArquivo(const DbError& erro) const;

    QString m_nomeConexao;
    std::unique_ptr<Driver> m_driver;
    QString m_caminho;
    mutable QHash<QString, QString> m_chaves; // each table's key column, as found
    // What identifies the file opened, to tell when another file has taken its path.
    QByteArray m_identidade;
    bool m_somenteLeitura = false;
    int m_profundidade = 0;
    // The connection to the server dropped: it is opened again before the next statement outside a transaction.
    mutable bool m_conexaoPerdida = false;
};

} // namespace platform
