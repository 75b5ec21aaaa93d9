#include "clitestsupport.h"
#include "fixtures.h"
#include "platform/database.h"
#include "testregistry.h"

#include <QJsonArray>
#include <QTest>

using clitest::executa;
using clitest::json;
using clitest::rounded;
using clitest::tracoPorMassa;

class TestRecalcular : public QObject
{
    Q_OBJECT

private slots:
    void massExample_data();
    void massExample();
    void massExampleTextsAndKeys();
    void numbersAsTexts_data();
    void numbersAsTexts();
    void aggregateNamesWithoutData_data();
    void aggregateNamesWithoutData();
    void pricedWithData_data();
    void pricedWithData();
    void productsByCodeWithData();
};

// The extras and one field of each kind (per cubic metre, per batch): the values themselves are the calculation's
// own tests; here they show the fields come out under their names.
void TestRecalcular::massExample_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("decimals");

    QTest::newRow("W") << "W" << 203.367 << 3;
    QTest::newRow("Dmax") << "Dmax" << 19.0 << 1;
    QTest::newRow("f") << "f" << 7.39852 << 5;
    QTest::newRow("Cimento, per m3") << "Cimento" << 369.926 << 3;
    QTest::newRow("TracoAguaAdic") << "TracoAguaAdic" << 22.738 << 3;
    QTest::newRow("wc") << "wc" << 0.54975 << 5;
    QTest::newRow("fcj") << "fcj" << 29.429 << 3;
}

void TestRecalcular::massExample()
{
    QFETCH(QString, field);
    QFETCH(double, expected);
    QFETCH(int, decimals);

    const clitest::Execucao run = executa({QStringLiteral("recalcular")}, json(tracoPorMassa()));
    QCOMPARE(run.status, 0);
    const QJsonValue value = run.objeto().value(field);
    QVERIFY2(value.isDouble(), qPrintable(field));
    QCOMPARE(rounded(value.toDouble(), decimals), expected);
}

void TestRecalcular::massExampleTextsAndKeys()
{
    QJsonObject traco = tracoPorMassa();
    traco.insert(QStringLiteral("Observacao"), QStringLiteral("traço d'obra"));
    traco.insert(QStringLiteral("PrecoCustoComPerda"), 321.5);
    const clitest::Execucao run = executa({QStringLiteral("recalcular")}, json(traco));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.mensagens(), QString());
    const QJsonObject out = run.objeto();

    QCOMPARE(out.value("PropMassa").toString(), QStringLiteral("1:2,00:3,00:0,55"));
    QCOMPARE(out.value("RelAgregCimento").toString(), QStringLiteral("1:5,00"));
    QCOMPARE(out.value("PropVolume").toString(), QStringLiteral("1:2,38:3,11:0,65"));
    QVERIFY(out.value("Peso").toString().startsWith(QStringLiteral("2387,781448")));
    QVERIFY(out.value("PesoTraco").toString().startsWith(QStringLiteral("322,73")));
    QCOMPARE(out.value("Fator").toString(), QStringLiteral("100"));
    QCOMPARE(out.value("Classe").toString(), QStringLiteral("32"));
    QCOMPARE(out.value("NomeTraco").toString(), QStringLiteral("Concreto 20 "));
    // Full precision: the exact double, not a rounded text.
    QVERIFY(out.value("f").toDouble() == 7.398524227622204);
    // Keys the recalculation does not know pass through; without --dados the costs are the input's own.
    QCOMPARE(out.value("Observacao").toString(), QStringLiteral("traço d'obra"));
    QCOMPARE(out.value("PrecoCustoComPerda").toDouble(), 321.5);
    QVERIFY(!out.contains("PrecoCustoSemPerda"));
    // The wizard's results are not the recalculation's.
    QVERIFY(!out.contains("Relacoes"));
    QVERIFY(!out.contains("alfa"));
}

void TestRecalcular::numbersAsTexts_data()
{
    QTest::addColumn<QJsonValue>("aparMiu");
    QTest::addColumn<QJsonValue>("fator");

    QTest::newRow("JSON numbers") << QJsonValue(1.2) << QJsonValue(100);
    QTest::newRow("decimal comma") << QJsonValue("1,2") << QJsonValue("100");
    QTest::newRow("decimal point") << QJsonValue("1.20") << QJsonValue("100,0");
    QTest::newRow("blanks around") << QJsonValue(" 1,20 ") << QJsonValue(" 100 ");
}

void TestRecalcular::numbersAsTexts()
{
    QFETCH(QJsonValue, aparMiu);
    QFETCH(QJsonValue, fator);

    QJsonObject traco = tracoPorMassa();
    traco.insert(QStringLiteral("AparMiu"), aparMiu);
    traco.insert(QStringLiteral("Fator"), fator);
    const clitest::Execucao run = executa({QStringLiteral("recalcular")}, json(traco));
    QCOMPARE(run.status, 0);
    const QJsonObject out = run.objeto();
    QCOMPARE(out.value("AparMiu").toDouble(), 1.2);
    QCOMPARE(out.value("Fator").toString(), QStringLiteral("100"));
    QCOMPARE(out.value("PropVolume").toString(), QStringLiteral("1:2,38:3,11:0,65"));
    QVERIFY(out.value("f").toDouble() == 7.398524227622204);
}

void TestRecalcular::aggregateNamesWithoutData_data()
{
    QTest::addColumn<QString>("graudo1");
    QTest::addColumn<QString>("graudo2");
    QTest::addColumn<double>("graudoQde2");
    QTest::addColumn<double>("dmax");

    QTest::newRow("Pedra 1") << "Pedra 1"
                             << "" << 0.0 << 19.0;
    QTest::newRow("larger second aggregate wins") << "Pedrisco"
                                                  << "Pedra 2" << 20.0 << 25.0;
    QTest::newRow("second aggregate without quantity") << "Pedrisco"
                                                       << "Pedra 2" << 0.0 << 4.8;
    QTest::newRow("name not one of the four") << "Brita 1"
                                              << "" << 0.0 << 0.0;
}

void TestRecalcular::aggregateNamesWithoutData()
{
    QFETCH(QString, graudo1);
    QFETCH(QString, graudo2);
    QFETCH(double, graudoQde2);
    QFETCH(double, dmax);

    QJsonObject traco = tracoPorMassa();
    traco.insert(QStringLiteral("NomeGraudo1"), graudo1);
    traco.insert(QStringLiteral("NomeGraudo2"), graudo2);
    traco.insert(QStringLiteral("TracoGraudoQde2"), graudoQde2);
    const clitest::Execucao run = executa({QStringLiteral("recalcular")}, json(traco));
    QCOMPARE(run.status, 0);
    const QJsonObject out = run.objeto();
    QCOMPARE(out.value("Dmax").toDouble(), dmax);
    // No coarse aggregate that counts, no water.
    QCOMPARE(out.value("W").toDouble() > 0.0, dmax > 0.0);
}

void TestRecalcular::pricedWithData_data()
{
    QTest::addColumn<bool>("trailingSlash");
    QTest::addColumn<double>("admixture");
    QTest::addColumn<double>("withoutLosses");
    QTest::addColumn<double>("withLosses"); // 5 % more
    // CO2 factors a tenth of the price given to these products; -1 for a CO2 of null.
    QTest::addColumn<QStringList>("withFactor");
    QTest::addColumn<double>("co2");
    QTest::addColumn<QStringList>("withoutFactor");

    // Demo prices: Cimento 32 at 37.50 a 50 kg bag (277.44), Areia Grossa at 95.00 a m3 (58.57), Pedra 1 at
    // 78.00 a ton (86.56), 20 h of labour at 14.50 (290.00). The demo gives no factor; labour never has CO2.
    const QStringList materiais{"Cimento 32", "Areia Grossa", "Pedra 1"};
    QTest::newRow("folder without separator")
        << false << 0.0 << 712.58 << 748.21 << QStringList{"Mão-de-Obra"} << -1.0 << materiais;
    QTest::newRow("folder with separator") << true << 0.0 << 712.58 << 748.21 << QStringList{"Cimento 32", "Pedra 1"}
                                           << 36.40 << QStringList{"Areia Grossa"};
    // 0.25 l a batch of Aditivo Plastificante at 9.80 a litre: 7.398524 batches, 18.13 more.
    QTest::newRow("admixture in its own unit")
        << false << 0.25 << 730.71 << 767.24 << (materiais + QStringList{"Aditivo Plastificante"}) << 44.07
        << QStringList();
}

void TestRecalcular::pricedWithData()
{
    QFETCH(bool, trailingSlash);
    QFETCH(double, admixture);
    QFETCH(double, withoutLosses);
    QFETCH(double, withLosses);
    QFETCH(QStringList, withFactor);
    QFETCH(double, co2);
    QFETCH(QStringList, withoutFactor);

    PastaDeTeste pasta;
    QVERIFY(pasta.valida());
    {
        platform::Database db(QStringLiteral("tst_recalcular"));
        db.open(pasta.local());
        for (const QString& nome : withFactor)
            db.exec(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, "
                                   "PrecoCustoComPerda / 10 FROM Produtos WHERE NomeProduto = ?"),
                    {nome});
    }
    QString dados = pasta.dados();
    if (!trailingSlash)
        dados.chop(1);
    QJsonObject traco = tracoPorMassa();
    if (admixture > 0.0) {
        traco.insert(QStringLiteral("NomeAditivo1"), QStringLiteral("Aditivo Plastificante"));
        traco.insert(QStringLiteral("TracoAditivoQde1"), admixture);
    }
    const clitest::Execucao run =
        executa({QStringLiteral("recalcular"), QStringLiteral("--dados"), dados}, json(traco));
    QCOMPARE(run.status, 0);
    const QJsonObject out = run.objeto();
    QCOMPARE(rounded(out.value("PrecoCustoSemPerda").toDouble(), 2), withoutLosses);
    QCOMPARE(rounded(out.value("PrecoCustoComPerda").toDouble(), 2), withLosses);
    QCOMPARE(rounded(out.value("AditivoQde1").toDouble(), 6), rounded(admixture * 7.398524227622204, 6));
    // Prices change nothing of the mix itself.
    QCOMPARE(rounded(out.value("Cimento").toDouble(), 3), 369.926);
    QCOMPARE(out.value("CO2").isNull(), co2 < 0.0);
    QCOMPARE(rounded(out.value("CO2").toDouble(), 2), co2 < 0.0 ? 0.0 : co2);
    QCOMPARE(out.value("SemFatorCO2").toVariant().toStringList(), withoutFactor);
}

void TestRecalcular::productsByCodeWithData()
{
    // A row that points at its products by code, as the Tracos table stores them: with --dados the names come
    // from the products table, and with them the maximum aggregate size.
    PastaDeTeste pasta;
    QVERIFY(pasta.valida());
    const clitest::Execucao demo =
        executa({QStringLiteral("recalcular"), QStringLiteral("--dados"), pasta.dados()}, json(tracoPorMassa()));
    QCOMPARE(demo.status, 0);

    QJsonObject traco = tracoPorMassa();
    for (const char* nome : {"NomeCimento", "NomeGraudo1", "NomeGraudo2", "NomeAditivo1", "NomeAditivo2"})
        traco.remove(QLatin1String(nome));
    // Demo products in order: Cimento 25, Cimento 32, Cimento 40, Cimento ARI, Areia Fina, Areia Grossa,
    // Pedrisco, Pedra 0, Pedra 1.
    traco.insert(QStringLiteral("TracoCimentoCod"), 2);
    traco.insert(QStringLiteral("TracoGraudoCod1"), "9");
    const clitest::Execucao run =
        executa({QStringLiteral("recalcular"), QStringLiteral("--dados"), pasta.dados()}, json(traco));
    QCOMPARE(run.status, 0);
    const QJsonObject out = run.objeto();
    QCOMPARE(out.value("NomeCimento").toString(), QStringLiteral("Cimento 32"));
    QCOMPARE(out.value("NomeGraudo1").toString(), QStringLiteral("Pedra 1"));
    QCOMPARE(out.value("Dmax").toDouble(), 19.0);
    QCOMPARE(out.value("PrecoCustoSemPerda").toDouble(), demo.objeto().value("PrecoCustoSemPerda").toDouble());
}

QUENVAR_TEST(TestRecalcular)
#include "tst_recalcular.moc"
