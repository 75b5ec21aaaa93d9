#include "calc/calcstate.h"
#include "calc/formats.h"
#include "calc/strength.h"

#include "calctestsupport.h"
#include "testregistry.h"

#include <QTest>

#include <cmath>

using calctest::rounded;

class TestStrength : public QObject
{
    Q_OBJECT

private slots:
    void deviation_data();
    void deviation();
    void classFactor_data();
    void classFactor();
    void wizardInverse_data();
    void wizardInverse();
    void strengthReached_data();
    void strengthReached();
    void noMeasuringOptionKeepsDeviation();
};

void TestStrength::deviation_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("margin");

    QTest::newRow("by mass") << 0 << true << 6.6;
    QTest::newRow("by volume, moisture controlled") << 1 << true << 9.075;
    QTest::newRow("by volume, no moisture control") << 2 << true << 11.55;
    QTest::newRow("no option chosen") << -1 << false << 0.0;
    QTest::newRow("unknown code") << 3 << false << 0.0;
}

void TestStrength::deviation()
{
    QFETCH(int, code);
    QFETCH(bool, known);
    QFETCH(double, margin);

    const std::optional<double> sd = calc::DesvioPadrao(code);
    QCOMPARE(sd.has_value(), known);
    if (known) {
        QCOMPARE(rounded(calc::studentFactor * *sd, 3), margin);
    }
}

void TestStrength::classFactor_data()
{
    QTest::addColumn<QString>("classText");
    QTest::addColumn<double>("k");

    QTest::newRow("25") << "25" << 0.8;
    QTest::newRow("32") << "32" << 1.0;
    QTest::newRow("40") << "40" << 1.25;
    QTest::newRow("ARI") << "ARI" << 1.25;
    QTest::newRow("blanks around 32") << "  32 " << 1.0;
    QTest::newRow("more after the number") << "32 RS" << 0.0;
    QTest::newRow("lower-case ari") << "ari" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestStrength::classFactor()
{
    QFETCH(QString, classText);
    QFETCH(double, k);
    QCOMPARE(calc::FatorClasse(classText), k);
}

void TestStrength::wizardInverse_data()
{
    QTest::addColumn<double>("fck");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("classText");
    QTest::addColumn<double>("fcj");
    QTest::addColumn<double>("wc");

    QTest::newRow("fck 25, class 32, code 1") << 25.0 << 1 << "32" << 34.075 << 0.49036;
    QTest::newRow("fck 30, class 40, code 0") << 30.0 << 0 << "40" << 36.6 << 0.55181;
}

void TestStrength::wizardInverse()
{
    QFETCH(double, fck);
    QFETCH(int, code);
    QFETCH(QString, classText);
    QFETCH(double, fcj);
    QFETCH(double, wc);

    const double target = calc::targetStrength(fck, *calc::DesvioPadrao(code));
    QCOMPARE(rounded(target, 3), fcj);
    const double ratio = calc::ratioFromStrength(target, calc::FatorClasse(classText));
    QCOMPARE(rounded(ratio, 5), wc);
    // The law taken forward again gives back the mean strength.
    QCOMPARE(rounded(calc::strengthFromRatio(ratio, calc::FatorClasse(classText)), 6), rounded(target, 6));
}

void TestStrength::strengthReached_data()
{
    QTest::addColumn<double>("wc");
    QTest::addColumn<QString>("classText");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("fcj");
    QTest::addColumn<double>("fck");
    QTest::addColumn<int>("stored");

    QTest::newRow("W 190, C 350, class 32, Sd 5.5") << 190.0 / 350.0 << "32" << 1 << 29.934 << 20.859 << 21;
    QTest::newRow("class 25, Sd 7, w/c 2: negative gives 0") << 2.0 << "25" << 2 << 0.657 << 0.0 << 0;
    QTest::newRow("class outside the four: 0") << 0.5 << "50" << 0 << 0.0 << 0.0 << 0;
    QTest::newRow("ARI as 40") << 0.5 << "ARI" << 0 << 41.593 << 34.993 << 35;
}

void TestStrength::strengthReached()
{
    QFETCH(double, wc);
    QFETCH(QString, classText);
    QFETCH(int, code);
    QFETCH(double, fcj);
    QFETCH(double, fck);
    QFETCH(int, stored);

    calc::CalcState state;
    state.wc = wc;
    state.classe = classText;
    state.dosagem = qint16(code);
    const double result = calc::CalculaResistencia(state);
    QCOMPARE(rounded(state.fcj, 3), fcj);
    QCOMPARE(rounded(result, 3), fck);
    QVERIFY(result >= 0.0);
    QCOMPARE(int(*calc::toInt16(result)), stored);
}

void TestStrength::noMeasuringOptionKeepsDeviation()
{
    calc::CalcState state;
    state.wc = 0.5;
    state.classe = QStringLiteral("32");
    state.dosagem = 2;
    const double withOption = calc::CalculaResistencia(state);
    QCOMPARE(state.Sd, 7.0);

    state.dosagem = -1;
    QCOMPARE(calc::CalculaResistencia(state), withOption);
    QCOMPARE(state.Sd, 7.0);
}

QUENVAR_TEST(TestStrength)
#include "tst_strength.moc"
