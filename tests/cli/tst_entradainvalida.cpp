#include "clitestsupport.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using clitest::executa;
using clitest::json;

namespace {

QByteArray com(QJsonObject objeto, const char* campo, const QJsonValue& valor)
{
    objeto.insert(QLatin1String(campo), valor);
    return json(objeto);
}

QByteArray sem(QJsonObject objeto, const char* campo)
{
    objeto.remove(QLatin1String(campo));
    return json(objeto);
}

const QString kRecalcular = QStringLiteral("recalcular");
const QString kDosar = QStringLiteral("dosar");

} // namespace

// Whatever is wrong with the input or the options: a Portuguese message on stderr that names the problem, exit
// status 2, and nothing at all on stdout.
class TestEntradaInvalida : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refused_data();
    void refused();
    void everyMistakeReported();

private:
    QTemporaryDir m_dir;
};

void TestEntradaInvalida::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // A data folder whose database is not a database.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("lixo/Dados")));
    QFile lixo(m_dir.filePath(QStringLiteral("lixo/Dados/empresa.mdb")));
    QVERIFY(lixo.open(QIODevice::WriteOnly));
    lixo.write(QByteArray(4096, 'x'));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("vazia")));
}

void TestEntradaInvalida::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("mention"); // what the message must name

    const QJsonObject traco = clitest::tracoPorMassa();
    const QJsonObject mago = clitest::respostas();
    const QStringList recalcular{kRecalcular};
    const QStringList dosar{kDosar};

    QTest::newRow("not JSON") << recalcular << QByteArray("{\"Volumetrico\": 0,") << "JSON";
    QTest::newRow("plain text") << dosar << QByteArray("traço 25 MPa") << "JSON";
    QTest::newRow("a list") << recalcular << QByteArray("[{\"Volumetrico\": 0}]") << "objeto";
    QTest::newRow("empty input") << dosar << QByteArray() << "vazia";
    QTest::newRow("text for a number") << recalcular << com(traco, "EspeCim", "três") << "EspeCim";
    QTest::newRow("two decimal commas") << recalcular << com(traco, "AparMiu", "1,2,0") << "AparMiu";
    QTest::newRow("thousands and decimals") << recalcular << com(traco, "TracoCimento", "1.050,5") << "TracoCimento";
    QTest::newRow("true for a number") << recalcular << com(traco, "TracoGraudoQde1", true) << "TracoGraudoQde1";
    QTest::newRow("a list for a number") << recalcular << com(traco, "Umidade", QJsonArray{5}) << "Umidade";
    QTest::newRow("number for a name") << recalcular << com(traco, "NomeGraudo1", 1) << "NomeGraudo1";
    QTest::newRow("computed field not a number") << recalcular << com(traco, "Cimento", "muito") << "Cimento";
    QTest::newRow("missing batch") << recalcular << sem(traco, "TracoCimento") << "TracoCimento";
    QTest::newRow("null physical data") << recalcular << com(traco, "EspeGra", QJsonValue()) << "EspeGra";
    QTest::newRow("blank required number") << recalcular << com(traco, "AparCim", " ") << "AparCim";
    QTest::newRow("missing slump") << recalcular << sem(traco, "Fator") << "Fator";
    QJsonObject semCimento = traco;
    semCimento.remove(QStringLiteral("NomeCimento"));
    QTest::newRow("no class and no cement") << recalcular << sem(semCimento, "Classe") << "Classe";
    QTest::newRow("measuring code 5") << recalcular << com(traco, "Volumetrico", 5) << "Volumetrico";
    QTest::newRow("measuring code 1.5") << recalcular << com(traco, "Volumetrico", 1.5) << "Volumetrico";
    QTest::newRow("shape code 9") << recalcular << com(traco, "Textura", 9) << "Textura";
    QTest::newRow("use code 4") << recalcular << com(traco, "Destino", "4") << "Destino";
    QTest::newRow("class 55") << recalcular << com(traco, "Classe", "55") << "Classe";
    QTest::newRow("slump of four digits") << recalcular << com(traco, "Fator", "1000") << "Fator";
    QTest::newRow("slump with decimals") << recalcular << com(traco, "Fator", "80,5") << "Fator";
    QTest::newRow("negative bulk mass") << recalcular << com(traco, "AparCim", -1.43) << "AparCim";
    QTest::newRow("moisture of 100 %") << recalcular << com(traco, "Umidade", "100") << "Umidade";
    QTest::newRow("reduction not a number") << recalcular << com(traco, "ReducaoAgua", "dez") << "ReducaoAgua";

    QTest::newRow("use 7") << dosar << com(mago, "TipoConcreto", 7) << "TipoConcreto";
    QTest::newRow("ratio position 3") << dosar << com(mago, "RelacaoPosicao", 3) << "RelacaoPosicao";
    QTest::newRow("measuring option -1") << dosar << com(mago, "OpcaoForma", -1) << "OpcaoForma";
    QTest::newRow("cement class 55") << dosar << com(mago, "ClasseCimento", "55") << "ClasseCimento";
    QTest::newRow("aggressiveness class 5") << dosar << com(mago, "ClasseAgressividade", 5) << "ClasseAgressividade";
    QTest::newRow("element of steel") << dosar << com(mago, "Estrutura", "metálica") << "Estrutura";
    QTest::newRow("unknown aggregate") << dosar << com(mago, "AgregadoGraudo", "Brita 1") << "AgregadoGraudo";
    QTest::newRow("strength as words") << dosar << com(mago, "Resistencia", "vinte e cinco") << "Resistencia";
    QTest::newRow("missing strength") << dosar << sem(mago, "Resistencia") << "Resistencia";
    QTest::newRow("five masses") << dosar << com(mago, "Texto", QJsonArray{3.1, 1.43, 2.61, 1.2, 2.72}) << "Texto";
    QTest::newRow("a mass that is text") << dosar
                                         << com(mago, "Texto", QJsonArray{"3,10", "1,43", "x", "1,20", "2,72", "1,38"})
                                         << "Texto[2]";
    QTest::newRow("a zero mass") << dosar << com(mago, "Texto", QJsonArray{3.1, 1.43, 2.61, 0, 2.72, 1.38})
                                 << "Texto[3]";
    QTest::newRow("masses not a list") << dosar << com(mago, "Texto", "3,10 1,43") << "Texto";
    QTest::newRow("superplasticiser without reduction")
        << dosar << com(mago, "PlastificanteOpcao", true) << "PlastificanteCombo";
    QTest::newRow("tick box as a word") << dosar << com(mago, "PlastificanteOpcao", "sim") << "PlastificanteOpcao";
    QTest::newRow("negative moisture") << dosar << com(mago, "UmidadeAreia", "-3") << "UmidadeAreia";

    const QByteArray valido = json(traco);
    const QString lixo = m_dir.filePath(QStringLiteral("lixo"));
    const QString vazia = m_dir.filePath(QStringLiteral("vazia"));
    QTest::newRow("unknown option") << QStringList{kRecalcular, "--precos"} << valido << "--precos";
    QTest::newRow("unknown option of dosar") << QStringList{kDosar, "-v"} << json(mago) << "-v";
    QTest::newRow("stray argument") << QStringList{kRecalcular, "traco.json"} << valido << "traco.json";
    QTest::newRow("--dados without a folder") << QStringList{kRecalcular, "--dados"} << valido << "pede a pasta";
    QTest::newRow("--dados twice") << QStringList{kRecalcular, "--dados", vazia, "--dados", vazia} << valido
                                   << "uma só vez";
    QTest::newRow("missing data folder") << QStringList{kRecalcular, "--dados", m_dir.filePath("nada")} << valido
                                         << "nada";
    QTest::newRow("data folder without a database")
        << QStringList{kDosar, "--dados", vazia} << json(mago) << "empresa.mdb";
    QTest::newRow("database that is not one") << QStringList{kRecalcular, "--dados", lixo} << valido << "empresa.mdb";
    const QStringList betonada{"betonada", vazia, "--traco", "Concreto fck 25"};
    QTest::newRow("mixer without capacity") << betonada << QByteArray() << "--litros";
    QTest::newRow("capacity in words") << betonada + QStringList{"--litros", "dez"} << QByteArray() << "\"dez\"";
    QTest::newRow("volume in words") << betonada + QStringList{"--litros", "300", "--volume", "x"} << QByteArray()
                                     << "--volume";
    QTest::newRow("variant 100") << betonada + QStringList{"--litros", "300", "--variante", "100"} << QByteArray()
                                 << "0 a 99";
    QTest::newRow("batch without a mix") << QStringList{"betonada", vazia, "--litros", "300"} << QByteArray()
                                         << "--traco";
    QTest::newRow("no subcommand") << QStringList{} << valido << "Uso";
    QTest::newRow("unknown subcommand") << QStringList{"recalcula"} << valido << "desconhecido";
}

void TestEntradaInvalida::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, mention);

    const clitest::Execucao run = executa(arguments, input);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.saida, QByteArray());
    QVERIFY2(run.mensagens().contains(mention), run.erros.constData());
}

void TestEntradaInvalida::everyMistakeReported()
{
    QJsonObject traco = clitest::tracoPorMassa();
    traco.insert(QStringLiteral("Textura"), 9);
    traco.insert(QStringLiteral("EspeMiu"), QStringLiteral("abc"));
    traco.remove(QStringLiteral("AparGra"));
    const clitest::Execucao run = executa({kRecalcular}, json(traco));
    QCOMPARE(run.status, 2);
    QCOMPARE(run.saida, QByteArray());
    const QStringList linhas = run.mensagens().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(linhas.size(), 3);
    for (const char* campo : {"Textura", "EspeMiu", "AparGra"})
        QVERIFY2(run.mensagens().contains(QLatin1String(campo)), campo);
}

QUENVAR_TEST(TestEntradaInvalida)
#include "tst_entradainvalida.moc"
