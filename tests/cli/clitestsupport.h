#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

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
};

// Runs quenvar-cli with these arguments, feeding it `entrada` on stdin.
inline Execucao executa(const QStringList& argumentos, const QByteArray& entrada = {})
{
    QProcess processo;
    processo.start(QStringLiteral(QUENVAR_CLI), argumentos);
    Execucao execucao;
    if (!processo.waitForStarted(10000))
        return execucao;
    processo.write(entrada);
    processo.closeWriteChannel();
    if (!processo.waitForFinished(60000) || processo.exitStatus() != QProcess::NormalExit)
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

// A value as printed with the given number of decimals, for comparing with the worked examples.
inline double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// The worked mass example as the fields of a Tracos row: one 50 kg bag of cement, 100 kg of coarse sand and
// 150 kg of "Pedra 1", slump 100 mm, crushed cubic aggregate, sand at 5 % moisture.
inline QJsonObject tracoPorMassa()
{
    return QJsonObject{
        {"NomeTraco", "Concreto 20 "},
        {"Volumetrico", 0},
        {"Classe", "32"},
        {"Textura", 1},
        {"Destino", 2},
        {"Fator", "100"},
        {"ReducaoAgua", "0"},
        {"EspeCim", 3.10},
        {"AparCim", 1.43},
        {"EspeMiu", 2.61},
        {"AparMiu", 1.20},
        {"EspeGra", 2.72},
        {"AparGra", 1.38},
        {"Umidade", 5},
        {"TracoCimento", 50},
        {"TracoAreiaFina", 0},
        {"TracoAreiaGrossa", 100},
        {"TracoGraudoQde1", 150},
        {"TracoGraudoQde2", 0},
        {"TracoAditivoQde1", 0},
        {"TracoAditivoQde2", 0},
        {"MaodeObra", 20},
        {"Perda", 5},
        {"NomeCimento", "Cimento 32"},
        {"NomeGraudo1", "Pedra 1"},
        {"NomeGraudo2", ""},
        {"NomeAditivo1", ""},
        {"NomeAditivo2", ""},
    };
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

inline // The number of pages of a PDF file; -1 when it is missing or is no PDF.
    int
    paginasDoPdf(const QString& arquivo)
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

} // namespace clitest
