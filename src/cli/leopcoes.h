#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {
class Database;
}

// What recalcular and dosar share: their one option, the data folder's database, the object on stdin and the
// object on stdout.
namespace cli {

class LeitorCampos;

struct Opcoes
{
    // The data folder given with --dados, as typed (with or without a separator at the end); empty when none.
    QString pastaDados;
};

// Reads "--dados PASTA" or "--dados=PASTA"; any other argument is a mistake. Nothing, with the message and the
// subcommand's usage line on stderr, when the arguments are wrong.
std::optional<Opcoes> leOpcoes(const QStringList& argumentos, const QString& uso);

// Takes "NOME VALOR" or "NOME=VALOR" (NOME being "--pdf", say) out of the arguments. False, with the message and the
// usage line on stderr, when the option has no value or is given twice; `valor` stays empty when it is not given.
bool tiraOpcao(QStringList& argumentos, const QString& nome, QString& valor, const QString& uso);

// The data folder: the one argument left once the options are taken. An unknown option, a second folder or none
// gets its message and false.
bool lePasta(const QStringList& resto, QString& pasta, const QString& uso);

// Opens <pasta>Dados/empresa.mdb. False, with a message on stderr, when the folder or its database cannot be
// opened.
bool abreBanco(platform::Database& db, const QString& pasta);

// Opens the folder's database and runs `trabalho` on it, whose exit status it returns. A database that cannot be
// opened, or a read that fails inside `trabalho`, gets its message (what could not be read: `oQue`, "os traços") and
// kEntradaInvalida.
int comBanco(const QString& pasta, const QString& oQue, const std::function<int(platform::Database&)>& trabalho);

// The object on stdin; nothing, with a message on stderr, when the input is not one JSON object.
std::optional<QJsonObject> leObjetoDaEntrada();

// Writes every mistake the reader collected to stderr, one a line.
void relataErros(const LeitorCampos& leitor);

// Writes the object to stdout in one piece.
void escreveObjeto(const QJsonObject& objeto);

} // namespace cli
