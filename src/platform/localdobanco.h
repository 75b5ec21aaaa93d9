#pragma once

#include "driver.h"

#include <QString>

#include <memory>

namespace platform {

// Where a data folder keeps its database: the SQLite file Dados/empresa.mdb or, when the folder holds
// Dados/servidor.ini, the PostgreSQL server that file names ([Servidor] Conexao=, a libpq connection string or URI;
// never a password, which libpq takes from ~/.pgpass or PGPASSWORD). The error log and the pictures stay in the
// folder either way.
struct LocalDoBanco
{
    enum class Motor { Arquivo, Servidor };

    Motor motor = Motor::Arquivo;
    QString local; // the file's path, or the server's connection string

    static LocalDoBanco arquivo(const QString& caminho) { return {Motor::Arquivo, caminho}; }
    static LocalDoBanco servidor(const QString& conexao) { return {Motor::Servidor, conexao}; }
    // The database of the data folder `pasta`, whose name is put directly before "Dados/" as the suite always has
    // (a folder read from Caminho.dad is used exactly as written). A servidor.ini without a connection still names
    // the server: opening it then fails.
    static LocalDoBanco daPasta(const QString& pasta);

    // Dados/servidor.ini of the data folder, and writing it (whole or not at all). False when it cannot be written.
    static QString arquivoDoServidor(const QString& pasta);
    static bool gravaServidor(const QString& pasta, const QString& conexao);

    bool ehServidor() const { return motor == Motor::Servidor; }
    std::unique_ptr<Driver> driver() const;
    // For messages: the file's path, or the server's connection without a password.
    QString descricao() const;
};

} // namespace platform
