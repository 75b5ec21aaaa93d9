#pragma once

#include "driver.h"

namespace platform {

// The suite's database as an SQLite file, normally on a network share used by several workstations at once: opened
// with the rollback journal (WAL does not work over a share) and a busy timeout that lets a writer wait for another
// instead of failing at once. The Portuguese ordering and the folding of names are functions of our own taught to
// each connection, never written into the file, so that it stays readable by any SQLite tool. The schema's version
// is the file header's user version. A damaged file is mended by copying every readable row into a fresh file.
class DriverSqlite : public Driver
{
public:
    // How long a statement waits for a lock held by another workstation.
    static constexpr int TempoDeEsperaMs = 5000;
    // How long a repair waits for the other workstations to finish what they are reading or writing before it gives
    // up and leaves the file to be mended when no one else is using it.
    static constexpr int TempoDeEsperaDoReparoMs = 2000;

    QString nomeNoQt() const override;
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

    QString tipoDaColuna(TipoDeColuna tipo, int tamanho) const override;
    qint64 ultimaChave(const QSqlDatabase& db, const QString& tabela) const override;
    QStringList contaAlteracoes(const QString& tabela, const QString& contador, const QString& chave) const override;

    int verifica(const QString& local) const override;
    RelatorioDeReparo repara(const QString& local) const override;
    bool permiteGravar(const QString& local) const override;
};

} // namespace platform
