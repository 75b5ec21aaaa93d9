#include "calc/consistency.h"

#include "calctestsupport.h"
#include "testregistry.h"

#include <QTest>

using calctest::rounded;

class TestConsistency : public QObject
{
    Q_OBJECT

private slots:
    void classOfSlump_data();
    void classOfSlump();
    void slumpLists_data();
    void slumpLists();
    void slumpListOfOddCount();
    void unknownClassHasNoList();
    void aggregateRanks_data();
    void aggregateRanks();
    void dmaxOfTwoRows_data();
    void dmaxOfTwoRows();
    void water_data();
    void water();
};

void TestConsistency::classOfSlump_data()
{
    QTest::addColumn<QString>("slump");
    QTest::addColumn<QString>("className");

    QTest::newRow("151 Líquida") << "151"
                                 << "Líquida";
    QTest::newRow("150 Fluida") << "150"
                                << "Fluida";
    QTest::newRow("91 Fluida") << "91"
                               << "Fluida";
    QTest::newRow("90 Plástica") << "090"
                                 << "Plástica";
    QTest::newRow("50 Plástica Seca") << "050"
                                      << "Plástica Seca";
    QTest::newRow("21 Plástica Seca") << "021"
                                      << "Plástica Seca";
    QTest::newRow("20 Seca") << "020"
                             << "Seca";
    QTest::newRow("empty Seca") << ""
                                << "Seca";
}

void TestConsistency::classOfSlump()
{
    QFETCH(QString, slump);
    QFETCH(QString, className);
    QCOMPARE(calc::ClasseConsistencia(slump, calc::ConsistencyLimits{}), className);
}

void TestConsistency::slumpLists_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("selected");

    QTest::newRow("Líquida") << "Líquida"
                             << "155"
                             << "200" << 10 << "180";
    QTest::newRow("Fluida") << "Fluida"
                            << "095"
                            << "150" << 12 << "125";
    QTest::newRow("Plástica") << "Plástica"
                              << "055"
                              << "090" << 8 << "075";
    QTest::newRow("Plástica Seca") << "Plástica Seca"
                                   << "025"
                                   << "050" << 6 << "040";
    QTest::newRow("Seca") << "Seca"
                          << "002"
                          << "017" << 4 << "012";
}

void TestConsistency::slumpLists()
{
    QFETCH(QString, className);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, count);
    QFETCH(QString, selected);

    const calc::SlumpList list = calc::slumpList(className, calc::ConsistencyLimits{});
    QCOMPARE(list.values.size(), count);
    QCOMPARE(list.values.first(), first);
    QCOMPARE(list.values.last(), last);
    QCOMPARE(list.values.value(list.selected), selected);
    // Every value lies in its class.
    for (const QString& value : list.values) {
        QCOMPARE(calc::ClasseConsistencia(value, calc::ConsistencyLimits{}), className);
    }
}

void TestConsistency::slumpListOfOddCount()
{
    // Limits are read from their texts. With Abate2 at 85, "Plástica" runs from 55 to 85: seven values, and
    // half of seven rounds to the even 4.
    const auto limits = calc::ConsistencyLimits::fromTexts(QStringLiteral("150"), QStringLiteral("85"),
                                                           QStringLiteral("50"), QStringLiteral("20 mm"));
    QCOMPARE(limits.Abate4, 20.0);
    const calc::SlumpList list = calc::slumpList(QStringLiteral("Plástica"), limits);
    QCOMPARE(list.values, QStringList({"055", "060", "065", "070", "075", "080", "085"}));
    QCOMPARE(list.selected, 4);

    // Five values: half of 5 rounds to the even 2.
    const calc::SlumpList seca = calc::slumpList(QStringLiteral("Seca"), calc::ConsistencyLimits{150, 90, 50, 22});
    QCOMPARE(seca.values, QStringList({"002", "007", "012", "017", "022"}));
    QCOMPARE(seca.selected, 2);
}

void TestConsistency::unknownClassHasNoList()
{
    const calc::SlumpList list = calc::slumpList(QStringLiteral("seca"), calc::ConsistencyLimits{});
    QVERIFY(list.values.isEmpty());
    QCOMPARE(list.selected, -1);
}

void TestConsistency::aggregateRanks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rank");
    QTest::addColumn<double>("dmax");

    QTest::newRow("Pedrisco") << "Pedrisco" << 0 << 4.8;
    QTest::newRow("Pedra 0") << "Pedra 0" << 1 << 9.5;
    QTest::newRow("Pedra 1") << "Pedra 1" << 2 << 19.0;
    QTest::newRow("Pedra 2") << "Pedra 2" << 3 << 25.0;
    QTest::newRow("blanks around") << " Pedra 1 " << 2 << 19.0;
    QTest::newRow("letter case differs") << "pedra 1" << -1 << 0.0;
    QTest::newRow("other name") << "Brita 1" << -1 << 0.0;
}

void TestConsistency::aggregateRanks()
{
    QFETCH(QString, name);
    QFETCH(int, rank);
    QFETCH(double, dmax);

    QCOMPARE(calc::aggregateRank(name), rank);
    QCOMPARE(calc::dmaxOfRank(rank), dmax);
    if (rank >= 0) {
        QCOMPARE(calc::aggregateForDmax(dmax), name.trimmed());
    }
}

void TestConsistency::dmaxOfTwoRows_data()
{
    QTest::addColumn<QString>("name1");
    QTest::addColumn<double>("quantity1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<double>("quantity2");
    QTest::addColumn<double>("dmax");

    QTest::newRow("unused Pedra 2, used Pedrisco") << "Pedra 2" << 0.0 << "Pedrisco" << 10.0 << 4.8;
    QTest::newRow("Pedra 0 and Pedra 1") << "Pedra 0" << 10.0 << "Pedra 1" << 10.0 << 19.0;
    QTest::newRow("Pedra 0 alone") << "Pedra 0" << 10.0 << "" << 0.0 << 9.5;
    QTest::newRow("larger in first row") << "Pedra 2" << 5.0 << "Pedrisco" << 10.0 << 25.0;
    QTest::newRow("nothing used") << "Pedra 1" << 0.0 << "Pedra 2" << 0.0 << 0.0;
    QTest::newRow("unknown names") << "pedra 1" << 10.0 << "Seixo" << 10.0 << 0.0;
}

void TestConsistency::dmaxOfTwoRows()
{
    QFETCH(QString, name1);
    QFETCH(double, quantity1);
    QFETCH(QString, name2);
    QFETCH(double, quantity2);
    QFETCH(double, dmax);
    QCOMPARE(calc::dmaxOfRows(name1, quantity1, name2, quantity2), dmax);
}

void TestConsistency::water_data()
{
    QTest::addColumn<double>("slump");
    QTest::addColumn<QString>("aggregate");
    QTest::addColumn<int>("textura");
    QTest::addColumn<double>("reduction");
    QTest::addColumn<double>("W");

    QTest::newRow("100, Pedra 1, cubic") << 100.0 << "Pedra 1" << 1 << 0.0 << 203.37;
    QTest::newRow("60, Pedrisco, cubic") << 60.0 << "Pedrisco" << 1 << 0.0 << 247.54;
    QTest::newRow("75, Pedra 0, rounded") << 75.0 << "Pedra 0" << 0 << 0.0 << 201.47;
    QTest::newRow("125, Pedra 2, flaky") << 125.0 << "Pedra 2" << 2 << 0.0 << 207.83;
    QTest::newRow("100, Pedra 1, 10 % less") << 100.0 << "Pedra 1" << 1 << 0.10 << 183.03;
    QTest::newRow("60, Pedrisco, 20 % less") << 60.0 << "Pedrisco" << 1 << 0.20 << 198.03;
    QTest::newRow("no coarse aggregate") << 100.0 << "" << 1 << 0.0 << 0.0;
    QTest::newRow("no slump") << 0.0 << "Pedra 1" << 1 << 0.0 << 0.0;
}

void TestConsistency::water()
{
    QFETCH(double, slump);
    QFETCH(QString, aggregate);
    QFETCH(int, textura);
    QFETCH(double, reduction);
    QFETCH(double, W);

    const double dmax = calc::dmaxOfRank(calc::aggregateRank(aggregate));
    const double water = calc::CalculaAgua(slump, dmax, *calc::shapeFactor(textura));
    QCOMPARE(rounded(calc::reducedWater(water, reduction), 2), W);
}

QUENVAR_TEST(TestConsistency)
#include "tst_consistency.moc"
