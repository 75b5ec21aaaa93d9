#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// What a repair of the database did: whether it mended the file, where the damaged copy was kept and, table by
// table, how many rows came across and how many were left behind on damaged pages.
struct RelatorioDeReparo
{
    enum class Resultado {
        NaoPrecisou, // the file passed the full check: nothing to mend
        Reparado,    // a mended file took the damaged file's place
        NaoReparado, // not a database, schema unreadable, or the mended copy could not be made or put in place
        EmUso,       // another workstation holds the database: mending it now would pull it from under them
    };

    struct Tabela
    {
        QString nome;
        qint64 mantidas = 0;
        // Rows known to have been in the damaged file (through an index of the table) that could not be read.
        qint64 perdidas = 0;
        // A damaged part of the table was met: some rows may be lost even when none could be counted.
        bool danificada = false;
        // An index of the table could be read to the end, so `perdidas` counts every row lost; otherwise it is a
        // lower bound.
        bool contagemExata = false;

        bool houvePerda() const { return danificada || perdidas > 0; }
    };

    Resultado resultado = Resultado::NaoPrecisou;
    // The damaged file as it was found, kept beside the mended one (only when Reparado).
    QString copiaDanificada;
    QList<Tabela> tabelas;

    bool reparado() const { return resultado == Resultado::Reparado; }
    bool houvePerda() const;
    const Tabela* tabela(const QString& nome) const;
    // One line per table that lost rows, for the user and the error log: "Tracos: 301 mantidos, 11 perdidos".
    QStringList perdas() const;
};

} // namespace platform
