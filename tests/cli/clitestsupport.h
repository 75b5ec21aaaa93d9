#pragma once

#include "calctestsupport.h"
#include "exemplos.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace clitest {

// What one run of quenvar-cli gave.
struct Execucao
{
    int status = -1;
    QByteArray saida;
    QByteArray erros;

    // stdout read back as a JSON object (empty when it is not one).
    QJsonObject objeto() const { return QJsonDocument::fromJson(saida).object(); }
    QString mensagens() const { return QString::fromUtf8(erros); }
    // Refused as bad input: exit status 2, `mensagem` among the messages on stderr, nothing on stdout.
    bool recusada(const QString& mensagem) const
    {
        return status == 2 && mensagens().contains(mensagem) && saida.isEmpty();
    }
};

// Runs quenvar-cli with these arguments, feeding it `entrada` on stdin; a run longer than `ms` counts as failed.
inline Execucao executa(const QStringList& argumentos, const QByteArray& entrada = {}, int ms = 60000)
{
    QProcess processo;
    processo.start(QStringLiteral(QUENVAR_CLI), argumentos);
    Execucao execucao;
    if (!processo.waitForStarted(10000))
        return execucao;
    processo.write(entrada);
    processo.closeWriteChannel();
    if (!processo.waitForFinished(ms) || processo.exitStatus() != QProcess::NormalExit)
        return execucao;
    execucao.status = processo.exitCode();
    execucao.saida = processo.readAllStandardOutput();
    execucao.erros = processo.readAllStandardError();
    return execucao;
}

inline QByteArray json(const QJsonObject& objeto)
{
    return QJsonDocument(objeto).toJson(QJsonDocument::Compact);
}

using calctest::rounded;

// The worked mass example as the fields of a Tracos row.
inline QJsonObject tracoPorMassa()
{
    return QJsonObject::fromVariantMap(exemplos::linhaPorMassa());
}

// The wizard's worked example: fck 25, class 32, by volume with moisture control, no superplasticiser, slump
// 100, "Pedra 1", crushed cubic aggregate, structures, sand at 5 %, a 50 kg bag and 20 h of labour a m3.
inline QJsonObject respostas()
{
    return QJsonObject{
        {"NomeTraco", "Estrutural 25"},
        {"Resistencia", "25"},
        {"ClasseCimento", "32"},
        {"PlastificanteOpcao", false},
        {"PlastificanteCombo", ""},
        {"OpcaoForma", 1},
        {"Abatimento", "100"},
        {"AgregadoGraudo", "Pedra 1"},
        {"OpcaoTextura", 1},
        {"TipoConcreto", 0},
        {"RelacaoPosicao", 1},
        {"Texto", QJsonArray{"3,10", "1,43", "2,61", "1,20", "2,72", "1,38"}},
        {"UmidadeAreia", "5"},
        {"PesoSaco", 50},
        {"MaodeObra", 20},
    };
}

// The number of pages of a PDF file; -1 when it is missing or is no PDF.
inline int paginasDoPdf(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray conteudo = f.readAll();
    if (!conteudo.startsWith("%PDF-"))
        return -1;
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(conteudo).count(pagina));
}

// The text of a PDF as pdftotext reads it (with `leiaute`, each table row on one line); empty when it could not be
// read.
inline QByteArray textoDoPdf(const QString& arquivo, bool leiaute = false)
{
    QProcess processo;
    QStringList argumentos{QStringLiteral("-enc"), QStringLiteral("UTF-8"), arquivo, QStringLiteral("-")};
    if (leiaute)
        argumentos.prepend(QStringLiteral("-layout"));
    processo.start(QStringLiteral("pdftotext"), argumentos);
    if (!processo.waitForFinished(120000) || processo.exitStatus() != QProcess::NormalExit || processo.exitCode() != 0)
        return {};
    return processo.readAllStandardOutput();
}

} // namespace clitest
