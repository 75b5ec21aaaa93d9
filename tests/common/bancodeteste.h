#pragma once

#include "platform/localdobanco.h"

#include <QString>

namespace teste {

// Whether this run puts its databases on the PostgreSQL test server (QUENVAR_TESTE_MOTOR=postgres, the server
// named by the PG* variables) instead of SQLite files.
bool noServidor();

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
