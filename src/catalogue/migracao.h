#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace catalogue {

// Moves a data folder from its SQLite file to a PostgreSQL server: every table of Dados/empresa.mdb is created on
// the server and its rows copied with their keys and values exactly, in one transaction; the row counts of both are
// compared before the transaction ends, and only then Dados/servidor.ini is written. The file is only read: the way
// back is deleting servidor.ini.
class Migracao
{
public:
    struct Tabela
    {
        QString nome;
        qint64 linhas = 0;
    };
    struct Resultado
    {
        bool ok = false;
        QString mensagem; // in Portuguese, for the user, when not ok
        QList<Tabela> tabelas;
    };
    // Called as the rows of each table are copied.
    using Progresso = std::function<void(const QString& tabela, qint64 copiadas, qint64 total)>;

    static Resultado migra(const QString& pasta, const QString& servidor, const Progresso& progresso = {});
};

} // namespace catalogue
