#pragma once

#include "driver.h"

#include <QHash>

namespace platform {

// The suite's database on a PostgreSQL server, shared by every workstation of a company. The store is the server's
// database named by a libpq connection string or URI; passwords never travel in it (libpq's ~/.pgpass and
// PGPASSWORD apply). Tables and fields keep their names exactly, quoted, so statements written with bare names are
// quoted on their way to the server. Texts are put in Portuguese order by an ICU collation made like the one the
// desktop uses; the schema's version and a count of the writes live in a one-row table of the program's
// (quenvar_controle), the count kept by a trigger on every table. Writers take their turn with an advisory lock at
// the start of each transaction, so they wait for each other up front as on the SQLite file; readers never wait.
class DriverPostgres : public Driver
{
public:
    // How long a statement waits for the writers' turn or a row held by another workstation.
    static constexpr int TempoDeEsperaMs = 5000;
    // The name under which the server knows the Portuguese ordering: ICU's Brazilian Portuguese, capitals and small
    // letters together, texts it holds equal in the order of their bytes.
    static constexpr char NomeDaColacao[] = "quenvar_ptbr";

    // The connection options for Qt's driver from a connection string ("host=… dbname=…") or URI
    // ("postgresql://usuario@servidor:5432/empresa"); empty when the URI cannot be read.
    static QString opcoesDeConexao(const QString& conexao);
    // The connection string without any password it holds, for messages and logs.
    static QString semSenha(const QString& conexao);

    QString nomeNoQt() const override;
    bool conexaoDeRede() const override { return true; }
    void abre(QSqlDatabase& db, const QString& local, Abertura abertura) const override;
    QByteArray identidade(const QString& local) const override;

    QString chave(const QSqlDatabase& db, const QString& tabela) const override;
    bool ehTabela(const QSqlDatabase& db, const QString& tabela) const override;
    QList<ObjetoDoEsquema> esquema(const QSqlDatabase& db) const override;

    QString ordemDeTexto(const QString& coluna) const override;
    QString dobraDeNome(const QString& coluna) const override;

    int versaoDoEsquema(const QSqlDatabase& db) const override;
    void gravaVersaoDoEsquema(const QSqlDatabase& db, int versao) const override;
    std::optional<MarcaDeEscritas> marcaDeEscritas(const QSqlDatabase& db) const override;

    QStringList inicioDeTransacao() const override;
    QString traduz(const QSqlDatabase& db, const QString& sql) const override;

    QString tipoDaColuna(TipoDeColuna tipo, int tamanho) const override;
    QString indiceSemCaixa(const QString& coluna) const override;
    QStringList preparacao() const override;
    QStringList depoisDeCriarTabela(const QString& tabela) const override;
    QStringList contaAlteracoes(const QString& tabela, const QString& contador, const QString& chave) const override;
    void acertaNumeracao(const QSqlDatabase& db, const QString& tabela, qint64 ultima) const override;

    int verifica(const QString& local) const override;
    RelatorioDeReparo repara(const QString& local) const override;
    bool permiteGravar(const QString& local) const override;

private:
    // The exact names of the tables and fields, by their names in small letters; read again after the schema
    // changes.
    const QHash<QString, QString>& nomes(const QSqlDatabase& db) const;

    mutable QHash<QString, QString> m_nomes;
    mutable bool m_nomesEmDia = false;
    mutable QHash<QString, QString> m_traducoes;
};

} // namespace platform
