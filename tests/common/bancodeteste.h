#pragma once

#include "platform/localdobanco.h"

namespace platform {
class Database;
}

#include <QString>

namespace teste {

// Whether this run puts its databases on the PostgreSQL test server (QUENVAR_TESTE_MOTOR=postgres, the server
// named by the PG* variables) instead of SQLite files.
bool noServidor();

// What the tests' own statements say differently to each engine.
// The text column compared and counted by its exact characters, case included.
QString exata(const QString& coluna);
// How many rows have the true-or-false column `coluna` true.
QString quantasVerdadeiras(const QString& coluna);
// Makes `db` give up after `ms` waiting for a lock another connection holds.
void esperaCurta(platform::Database& db, int ms);
// A trigger on Tracos refusing the insert of any row meeting `condicao` (about NEW), with `mensagem`.
void recusaInsercoes(platform::Database& db, const QString& condicao, const QString& mensagem);

// A new, empty database for one test, gone with the object: an SQLite file at `arquivo` (not created here), or a
// database of its own on the test server.
class BancoNovo
{
public:
    explicit BancoNovo(const QString& arquivo);
    ~BancoNovo();
    BancoNovo(const BancoNovo&) = delete;
    BancoNovo& operator=(const BancoNovo&) = delete;

    const platform::LocalDoBanco& local() const { return m_local; }
    // The server's connection string, empty for a file.
    QString conexao() const { return m_local.ehServidor() ? m_local.local : QString(); }

private:
    platform::LocalDoBanco m_local;
    QString m_nome; // the database made on the server
};

} // namespace teste
