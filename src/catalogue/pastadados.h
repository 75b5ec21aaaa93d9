#pragma once

#include <QString>

namespace platform {
class Database;
}

namespace catalogue {

// Creates a new data folder: <pasta>Dados/empresa.mdb with the schema and the reference rows, and with the demo
// option a realistic company (units, products, and a catalogue of mixes with variants and mixes in use).
class PastaDados
{
public:
    struct Resultado
    {
        bool ok = false;
        QString mensagem; // in Portuguese, for the user, when not ok
    };

    // What a user chose for the data folder of a workstation: a new folder (with or without the demonstration
    // company), a folder that already holds a catalogue, or a folder that names a PostgreSQL server's catalogue.
    struct Escolha
    {
        enum class Tipo { Nova, Existente, Servidor };
        Tipo tipo = Tipo::Nova;
        QString pasta;
        bool demo = true;
        QString conexao; // the server's libpq connection string, for Servidor
    };

    // Whether the folder holds a catalogue: Dados/empresa.mdb, or Dados/servidor.ini naming a server's.
    static bool temCatalogo(const QString& pasta);

    // Makes the chosen folder ready to be opened: creates it, checks that it holds a catalogue, or connects it to the
    // server (creating the catalogue there when the server has none yet). Nothing is left half-made on a refusal.
    static Resultado prepara(const Escolha& escolha);

    // With `servidor` (a libpq connection string or URI), the database is made on that PostgreSQL server, refused
    // when the server already holds tables, and the folder gets Dados/servidor.ini naming it.
    static Resultado cria(const QString& pasta, bool demo, const QString& servidor = {});

    // The pieces, for fixtures that build their own folder.
    static void gravaReferencias(platform::Database& db, const QString& nomeEmpresa);
    static void gravaDemonstracao(platform::Database& db);
};

} // namespace catalogue
