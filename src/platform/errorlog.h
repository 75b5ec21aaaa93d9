#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// The error log shared by every module of the suite: <data>Dados/Erros.txt, one eight-line block per error.
class ErrorLog
{
public:
    struct Erro
    {
        QString rotina;
        int numero = 0;
        QString descricao;
    };

    // The message shown to the user for an error.
    static QString mensagem(const Erro& erro);
    // The eight lines of the block, each ending in CR LF.
    static QByteArray bloco(const Erro& erro, const QDateTime& momento);
    static QByteArray cabecalho();

    // Appends the block (with the header when the file is new). Workstations writing at the same moment take turns
    // through a lock file beside the log, and each block goes out in one write. Returns false when the log could not
    // be written; the caller goes on regardless.
    static bool acrescenta(const QString& arquivo, const Erro& erro, const QDateTime& momento);
};

// Writes the error to the log of the data folder only: for a condition the user was told of in words of their own
// (a workstation holding the database, a full disk), which the administrator still finds in the log.
void RegistraErro(const QString& rotina, int numero, const QString& descricao);

} // namespace platform
