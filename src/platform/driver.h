#pragma once

#include "relatoriodereparo.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <optional>

namespace platform {

// Where the writes to a store stood at one moment: the other connections' and the connection's own, each counted
// as the engine counts them. Two marks are only ever compared for equality.
struct MarcaDeEscritas
{
    qint64 outras = 0;
    qint64 proprias = 0;

    bool operator==(const MarcaDeEscritas&) const = default;
};

// What the program says differently to each database engine, and nothing else: how a connection to the store is
// opened, which column reaches a table's rows, how texts are put in Portuguese order and names compared, where the
// schema's version is kept, what the schema holds, how a transaction that writes is started, and how the store is
// checked and mended. Database owns one and goes through it; every other statement of the program is plain SQL that
// both engines read alike (tables and fields written as quoted identifiers, values always bound).
class Driver
{
public:
    enum class Abertura {
        Existente,      // a store that must be there already; never created in its place
        Nova,           // a new, empty store; refused when one is there already
        SomenteLeitura, // an existing store, every write refused
    };

    // One object of the schema (a table, index, view or trigger) with the statement that creates it.
    struct ObjetoDoEsquema
    {
        QString tipo; // "table", "index", "view", "trigger"
        QString nome;
        QString sql;

        bool operator==(const ObjetoDoEsquema&) const = default;
    };

    virtual ~Driver() = default;

    // Qt's name for the engine's driver ("QSQLITE").
    virtual QString nomeNoQt() const = 0;
    // Whether the store is reached over a connection that can drop (a server) and be opened again.
    virtual bool conexaoDeRede() const { return false; }

    // Opens `db`, a connection of this driver, on the store at `local` with what sharing it among workstations
    // needs, and teaches the connection the Portuguese ordering. Throws DbError: ArquivoNaoEncontrado for a store
    // that is not there, BancoJaExiste for a new store where one is, BancoDanificado or FormatoNaoReconhecido for
    // one that cannot be read.
    virtual void abre(QSqlDatabase& db, const QString& local, Abertura abertura) const = 0;
    // Which store `local` names right now, to tell when another has taken its place (a repair on another
    // workstation, a restored copy). Empty when nothing is there, or when the engine's stores cannot be swapped.
    virtual QByteArray identidade(const QString& local) const = 0;

    // The column by which a row of `tabela` is reached, as written in a statement: the integer key the table
    // declares or, when it declares none, the engine's own row number if it keeps one. Empty when the rows of the
    // table cannot be told apart by a number (they can then be read, never changed one by one).
    virtual QString chave(const QSqlDatabase& db, const QString& tabela) const = 0;
    // Whether `tabela` is a table of the store (a view or a missing name is not), whatever the case of its name.
    virtual bool ehTabela(const QSqlDatabase& db, const QString& tabela) const = 0;
    // The objects the schema holds, in the order they were created, without the engine's own.
    virtual QList<ObjetoDoEsquema> esquema(const QSqlDatabase& db) const = 0;

    // The ORDER BY term that sorts the text column `coluna` as a Brazilian reader expects: capitals with small
    // letters, a letter with an accent beside the plain one, texts held equal always in the same order.
    virtual QString ordemDeTexto(const QString& coluna) const = 0;
    // The text column `coluna` folded as the catalogue compares names (see nomeDobrado): without the blanks around
    // it and without regard to case.
    virtual QString dobraDeNome(const QString& coluna) const = 0;

    // The version of the program's schema the store is at; 0 for a store no version was written to.
    virtual int versaoDoEsquema(const QSqlDatabase& db) const = 0;
    virtual void gravaVersaoDoEsquema(const QSqlDatabase& db, int versao) const = 0;

    // A mark that changes whenever anything has been written to the store: by `db` itself or by any other
    // connection. None when the engine does not tell: the caller then takes it that anything may have changed.
    virtual std::optional<MarcaDeEscritas> marcaDeEscritas(const QSqlDatabase& db) const = 0;

    // The statements that start a transaction which will write: the writers' turn is taken at once, so that a
    // writer waits for the others up front instead of failing half-way.
    virtual QStringList inicioDeTransacao() const = 0;

    // A statement of the program as this engine must read it. The program writes table and field names bare, as
    // the suite always has; an engine that keeps the case of names only for quoted ones gets them quoted here.
    virtual QString traduz(const QSqlDatabase& db, const QString& sql) const;

    // How the schema is declared on this engine. A column's type as written after its name in CREATE TABLE.
    enum class TipoDeColuna {
        Chave, // the integer key the engine numbers, never the same number twice
        Inteiro,
        Logico,        // true or false, false when not given
        Real,          // a double
        Texto,         // up to `tamanho` characters (any length when 0)
        TextoSemCaixa, // the same, compared without regard to case
        Contador,      // an integer counting the writes to its row, 0 when not given
    };
    virtual QString tipoDaColuna(TipoDeColuna tipo, int tamanho = 0) const = 0;
    // The quoted text column `coluna`, declared without regard to case, as an index must take it for its values to
    // be compared that way.
    virtual QString indiceSemCaixa(const QString& coluna) const;
    // What readies a new, empty store for the program's schema, before its first table.
    virtual QStringList preparacao() const;
    // What must follow the creation of `tabela` (created with quoted names) for the engine to notice its writes.
    virtual QStringList depoisDeCriarTabela(const QString& tabela) const;
    // The statements by which every change of a row of `tabela` raises its field `contador` by one (unless the
    // change sets the field itself), the row being reached by `chave`.
    virtual QStringList contaAlteracoes(const QString& tabela, const QString& contador, const QString& chave) const = 0;
    // The last key the engine has given in `tabela` (even to a row deleted since), or the largest key there; 0 for
    // none.
    virtual qint64 ultimaChave(const QSqlDatabase& db, const QString& tabela) const;
    // After rows were written to `tabela` with their keys given (a copy from another store): the engine's next
    // number comes after the largest key and after `ultima`.
    virtual void acertaNumeracao(const QSqlDatabase& db, const QString& tabela, qint64 ultima) const;

    // Checks the store at `local` without keeping it open: 0 when it opens and passes the engine's quick
    // integrity check, otherwise the error number (ArquivoNaoEncontrado, BancoDanificado, …).
    virtual int verifica(const QString& local) const = 0;
    // Mends a damaged store (see Database::repara).
    virtual RelatorioDeReparo repara(const QString& local) const = 0;
    // Whether the program can write the store at `local` (see Database::permiteGravar).
    virtual bool permiteGravar(const QString& local) const = 0;

    // A connection of its own through Qt's driver `nomeNoQt`, for checking or mending a store without the program's
    // connection; closed and released when it goes out of scope.
    class ConexaoAvulsa
    {
    public:
        explicit ConexaoAvulsa(const QString& nomeNoQt);
        ~ConexaoAvulsa();
        ConexaoAvulsa(const ConexaoAvulsa&) = delete;
        ConexaoAvulsa& operator=(const ConexaoAvulsa&) = delete;

        QSqlDatabase db() const { return QSqlDatabase::database(m_nome, false); }

    private:
        QString m_nome;
    };

    // A statement of `db`, read forward only where the engine allows it. Qt reads a server's rows one at a time
    // for such a statement and loses them when another statement runs on the connection before the last row is
    // read, which the program does (a list read while each of its rows is looked up): there, the rows come whole.
    static QSqlQuery consulta(const QSqlDatabase& db);
    // Runs one statement on `db` with its values bound in order, before its first row. Throws DbError.
    static QSqlQuery executa(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {});
    // First column of the first row, or a null value when the statement gives no row. Throws DbError.
    static QVariant primeiroValor(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {});
};

} // namespace platform
