#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/mixfields.h"
#include "calc/recalculo.h"

#include "calctestsupport.h"
#include "exemplos.h"
#include "testregistry.h"

#include <QTest>

using calctest::MemoryProductTable;
using calctest::rounded;

namespace {

// The worked mass example as a stored row whose products are given by their codes, with the results it stored.
QVariantMap massRow()
{
    return exemplos::com(exemplos::linhaPorMassa(), {
                                                        {"TracoVariante", 7},
                                                        {"TracoCimentoCod", 1},
                                                        {"TracoGraudoCod1", 3},
                                                        {"TracoGraudoCod2", 0},
                                                        {"TracoAditivoCod1", 0},
                                                        {"TracoAditivoCod2", 0},
                                                        {"Cimento", 1.0},
                                                        {"AreiaFina", 1.0},
                                                        {"AreiaGrossa", 1.0},
                                                        {"Graudo1", 1.0},
                                                        {"Graudo2", 1.0},
                                                        {"Agua", 203.36717013162067},
                                                        {"PesoTraco", "322,737531820516"},
                                                        {"Peso", "2387,78144833708"},
                                                        {"Resistencia", 23},
                                                        {"NomeCimento", QVariant()},
                                                        {"NomeGraudo1", QVariant()},
                                                        {"NomeGraudo2", QVariant()},
                                                        {"NomeAditivo1", QVariant()},
                                                        {"NomeAditivo2", QVariant()},
                                                    });
}

} // namespace

class TestMixLoader : public QObject
{
    Q_OBJECT

private slots:
    void storedMassMix_data();
    void storedMassMix();
    void storedMassMixTexts();
    void volumeRowOfTheSameBatch();
    void waterReduction_data();
    void waterReduction();
    void admixtures_data();
    void admixtures();
    void maximumAggregateSize_data();
    void maximumAggregateSize();
    void missingFieldsKeepValues();
    void namedProductsWithoutTable();
    void volumeMixReadsBackVolumes();
    void everyFieldNameReadsBack();
};

void TestMixLoader::storedMassMix_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("decimals");

    calc::CalcState s;
    const MemoryProductTable products = calctest::exampleProducts();
    calc::CarregaTraco(s, massRow(), &products);
    QTest::newRow("Cm, not the stored 1") << s.Cm << 369.926 << 3;
    QTest::newRow("H_b") << s.H_b << 2.703 << 3;
    QTest::newRow("Sd") << s.Sd << 4.0 << 1;
    QTest::newRow("Dmax") << s.Dmax << 19.0 << 1;
    QTest::newRow("slump") << double(s.abatimento) << 100.0 << 0;
    QTest::newRow("fck") << double(s.fck) << 23.0 << 0;
    QTest::newRow("use") << double(s.destino) << 2.0 << 0;
}

void TestMixLoader::storedMassMix()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QFETCH(int, decimals);
    QCOMPARE(rounded(value, decimals), expected);
}

void TestMixLoader::storedMassMixTexts()
{
    calc::CalcState s;
    const MemoryProductTable products = calctest::exampleProducts();
    calc::CarregaTraco(s, massRow(), &products);
    QCOMPARE(s.titulo, QStringLiteral("Concreto 20 - 07"));
    QCOMPARE(s.nomes[0], QStringLiteral("Cimento 32"));
    QCOMPARE(s.nomes[3], QStringLiteral("Pedra 1"));
    QCOMPARE(s.nomes[4], QString());
    QCOMPARE(s.classe, QStringLiteral(" 32"));
    // The masses are the row's own texts.
    QCOMPARE(s.pesoTraco, QStringLiteral("322,737531820516"));
    QCOMPARE(s.peso, QStringLiteral("2387,78144833708"));
}

void TestMixLoader::volumeRowOfTheSameBatch()
{
    QVariantMap row = massRow();
    row["Volumetrico"] = 1;
    row["Dosagem"] = 1;
    row["TracoCimento"] = 50.0 / 1.43;
    row["TracoAreiaGrossa"] = 100.0 / 1.20;
    row["TracoGraudoQde1"] = 150.0 / 1.38;

    calc::CalcState s;
    const MemoryProductTable products = calctest::exampleProducts();
    calc::CarregaTraco(s, row, &products);
    QCOMPARE(s.Sd, 5.5);
    QCOMPARE(rounded(s.Mc, 9), 50.0);
    QCOMPARE(rounded(s.Mcs, 9), 100.0);
    QCOMPARE(rounded(s.Cm, 3), 369.926);
    QCOMPARE(rounded(s.Lcm, 3), rounded(369.926 / 1.43, 3));
    QCOMPARE(rounded(s.Ls, 3), rounded(100.0 / 1.20, 3));
}

void TestMixLoader::waterReduction_data()
{
    QTest::addColumn<QVariant>("reducao");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("r");
    QTest::addColumn<bool>("flag");

    QTest::newRow("0 clears the flag") << QVariant("0") << 0.2 << 0.0 << false;
    QTest::newRow("12 sets it") << QVariant("12") << 0.0 << 0.12 << true;
    QTest::newRow("decimal comma") << QVariant("7,5") << 0.0 << 0.075 << true;
    QTest::newRow("empty text reads 0") << QVariant("") << 0.2 << 0.0 << false;
    QTest::newRow("Null keeps the reduction") << QVariant() << 0.2 << 0.2 << true;
}

void TestMixLoader::waterReduction()
{
    QFETCH(QVariant, reducao);
    QFETCH(double, before);
    QFETCH(double, r);
    QFETCH(bool, flag);

    QVariantMap row = massRow();
    row["ReducaoAgua"] = reducao;
    calc::CalcState s;
    s.r = before;
    calc::CarregaTraco(s, row);
    QCOMPARE(rounded(s.r, 9), r);
    QCOMPARE(s.superplastificante, flag);
}

void TestMixLoader::admixtures_data()
{
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("perBatch");
    QTest::addColumn<double>("perCubicMetre");

    QTest::newRow("found") << QVariant(7) << "Aditivo SP"
                           << "litro" << 0.5 << 0.5 * 7.398524227622204;
    QTest::newRow("code that names no product") << QVariant(99) << ""
                                                << "" << 0.0 << 0.0;
    QTest::newRow("code 0") << QVariant(0) << ""
                            << "" << 0.0 << 0.0;
    QTest::newRow("Null code") << QVariant() << ""
                               << "" << 0.0 << 0.0;
}

void TestMixLoader::admixtures()
{
    QFETCH(QVariant, code);
    QFETCH(QString, name);
    QFETCH(QString, unit);
    QFETCH(double, perBatch);
    QFETCH(double, perCubicMetre);

    QVariantMap row = massRow();
    row["TracoAditivoCod1"] = code;
    row["TracoAditivoQde1"] = 0.5;
    row["AditivoQde1"] = 9.0;
    calc::CalcState s;
    s.A1 = s.A1m = 4.0;
    s.unidades[0] = QStringLiteral("kg");
    const MemoryProductTable products = calctest::exampleProducts();
    calc::CarregaTraco(s, row, &products);
    QCOMPARE(s.nomes[5], name);
    QCOMPARE(s.unidades[0], unit);
    QCOMPARE(s.A1, perBatch);
    QCOMPARE(rounded(s.A1m, 9), rounded(perCubicMetre, 9));
}

void TestMixLoader::maximumAggregateSize_data()
{
    QTest::addColumn<int>("code1");
    QTest::addColumn<double>("quantity1");
    QTest::addColumn<int>("code2");
    QTest::addColumn<double>("quantity2");
    QTest::addColumn<double>("dmax");

    QTest::newRow("Pedrisco and Pedra 2, both used") << 4 << 75.0 << 5 << 75.0 << 25.0;
    QTest::newRow("Pedra 1 with quantity 0 does not count") << 3 << 0.0 << 4 << 150.0 << 4.8;
    QTest::newRow("product not found") << 99 << 150.0 << 0 << 0.0 << 0.0;
}

void TestMixLoader::maximumAggregateSize()
{
    QFETCH(int, code1);
    QFETCH(double, quantity1);
    QFETCH(int, code2);
    QFETCH(double, quantity2);
    QFETCH(double, dmax);

    QVariantMap row = massRow();
    row["TracoGraudoCod1"] = code1;
    row["TracoGraudoQde1"] = quantity1;
    row["TracoGraudoCod2"] = code2;
    row["TracoGraudoQde2"] = quantity2;
    calc::CalcState s;
    const MemoryProductTable products = calctest::exampleProducts();
    calc::CarregaTraco(s, row, &products);
    QCOMPARE(s.Dmax, dmax);
}

void TestMixLoader::missingFieldsKeepValues()
{
    QVariantMap row = massRow();
    row.remove("EspeCim");
    row["Fator"] = QVariant();
    row["TracoCimento"] = "abc";
    row["Dosagem"] = 7;
    calc::CalcState s;
    s.gammaC = 3.0;
    s.abatimento = 60;
    s.Mc = 40.0;
    s.Sd = 7.0;
    calc::CarregaTraco(s, row);
    QCOMPARE(s.gammaC, 3.0);
    QCOMPARE(int(s.abatimento), 60);
    QCOMPARE(s.Mc, 40.0);
    QCOMPARE(s.Sd, 7.0);
    QCOMPARE(rounded(s.Vc, 4), rounded(40.0 / 3.0, 4));
}

void TestMixLoader::namedProductsWithoutTable()
{
    QVariantMap row = massRow();
    row["NomeCimento"] = "Cimento ARI";
    row["NomeGraudo1"] = "Pedra 0";
    row["NomeAditivo2"] = "Aditivo SP";
    row["TracoAditivoQde2"] = 0.25;
    calc::CalcState s;
    calc::CarregaTraco(s, row);
    QCOMPARE(s.classe, QStringLiteral(" ARI"));
    QCOMPARE(s.Dmax, 9.5);
    QCOMPARE(s.nomes[6], QStringLiteral("Aditivo SP"));
    QCOMPARE(s.unidades[1], QString());
    QCOMPARE(s.A2, 0.25);

    // With no cement named anywhere, the stored class stands.
    row.remove("NomeCimento");
    calc::CarregaTraco(s, row);
    QCOMPARE(s.nomes[0], QString());
    QCOMPARE(s.classe, QStringLiteral("32"));
}

void TestMixLoader::volumeMixReadsBackVolumes()
{
    calc::CalcState s;
    calc::CarregaTraco(s, massRow());
    calc::ReCalculo(s, nullptr);
    s.dosagem = 2;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(calc::fieldValue(s, "TracoCimento").toDouble(), s.Lc);
    QCOMPARE(calc::fieldValue(s, "Cimento").toDouble(), s.Lcm);
    QCOMPARE(calc::fieldValue(s, "Graudo1").toDouble(), s.Lg1m);
    QCOMPARE(calc::fieldValue(s, "Volumetrico").toInt(), 2);
}

void TestMixLoader::everyFieldNameReadsBack()
{
    const calc::CalcState s;
    const QStringList names = calc::fieldNames();
    QCOMPARE(calc::toFields(s).keys().size(), names.size());
    for (const QString& name : names) {
        QVERIFY2(calc::fieldValue(s, name).isValid(), qPrintable(name));
    }
    QVERIFY(!calc::fieldValue(s, QStringLiteral("NaoExiste")).isValid());
}

QUENVAR_TEST(TestMixLoader)
#include "tst_carregatraco.moc"
