#include "calc/calcstate.h"
#include "calc/formats.h"
#include "calc/numericentry.h"
#include "calc/recalculo.h"

#include "calctestsupport.h"
#include "testregistry.h"

#include <QTest>

using calctest::exampleBatch;
using calctest::rounded;

class TestRecalc : public QObject
{
    Q_OBJECT

private slots:
    void massExample_data();
    void massExample();
    void massExampleTexts();
    void doublingTheBatchHalvesF();
    void switchingToVolume();
    void dryingTheSand();
    void batchWithoutSolids();
    void mixWithoutCement();
    void zeroDensitiesSkipTheirSteps();
    void labourFollowsTheEditedBox_data();
    void labourFollowsTheEditedBox();
    void superplasticiser_data();
    void superplasticiser();
    void noCoarseAggregate();
};

void TestRecalc::massExample_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("decimals");

    calc::CalcState s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    QTest::newRow("W") << s.W << 203.367 << 3;
    QTest::newRow("Dmax") << s.Dmax << 19.0 << 1;
    QTest::newRow("Vc") << s.Vc << 16.129 << 3;
    QTest::newRow("Vs") << s.Vs << 36.398 << 3;
    QTest::newRow("Vg") << s.Vg << 55.147 << 3;
    QTest::newRow("V") << s.V << 107.675 << 3;
    QTest::newRow("f") << s.f << 7.39852 << 5;
    QTest::newRow("Cm") << s.Cm << 369.926 << 3;
    QTest::newRow("Sm") << s.Sm << 739.852 << 3;
    QTest::newRow("Gm") << s.Gm << 1109.779 << 3;
    QTest::newRow("W_b") << s.W_b << 27.488 << 3;
    QTest::newRow("Wa") << s.Wa << 168.224 << 3;
    QTest::newRow("Wa_b") << s.Wa_b << 22.738 << 3;
    QTest::newRow("w/c") << s.wc << 0.54975 << 5;
    QTest::newRow("Lcsm") << s.Lcsm << 616.54 << 2;
    QTest::newRow("Lc") << s.Lc << 34.965 << 3;
    QTest::newRow("Lg1") << s.Lg1 << 108.696 << 3;
    QTest::newRow("cubic-metre mass") << calc::readNumber(s.peso) << 2387.78 << 2;
    QTest::newRow("batch mass") << calc::readNumber(s.pesoTraco) << 322.74 << 2;
    QTest::newRow("fcj") << s.fcj << 29.429 << 3;
    QTest::newRow("fck stored") << double(s.fck) << 23.0 << 0;
    QTest::newRow("H_b") << s.H_b << 2.703 << 3;
}

void TestRecalc::massExample()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QFETCH(int, decimals);
    QCOMPARE(rounded(value, decimals), expected);
}

void TestRecalc::massExampleTexts()
{
    calc::CalcState s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.propMassa, QStringLiteral("1:2,00:3,00:0,55"));
    QCOMPARE(s.relAgregCimento, QStringLiteral("1:5,00"));
    QCOMPARE(s.propVolume, QStringLiteral("1:2,38:3,11:0,65"));
    QCOMPARE(calc::formatQuantity(s.Cm), QStringLiteral("369,9"));
    QCOMPARE(calc::formatQuantity(s.Mfs), QString());
    // The masses keep their full precision.
    QVERIFY(s.peso.startsWith(QStringLiteral("2387,781448")));
}

void TestRecalc::doublingTheBatchHalvesF()
{
    calc::CalcState single = exampleBatch();
    calc::ReCalculo(single, nullptr);
    calc::CalcState twice = exampleBatch();
    twice.Mc *= 2;
    twice.Mcs *= 2;
    twice.Mg1 *= 2;
    calc::ReCalculo(twice, nullptr);

    QCOMPARE(twice.f, single.f / 2);
    QCOMPARE(twice.Cm, single.Cm);
    QCOMPARE(twice.Sm, single.Sm);
    QCOMPARE(twice.Gm, single.Gm);
    QCOMPARE(twice.Wa, single.Wa);
    QCOMPARE(twice.W_b, single.W_b * 2);
    QCOMPARE(twice.propMassa, single.propMassa);
}

void TestRecalc::switchingToVolume()
{
    calc::CalcState s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    const calc::CalcState byMass = s;

    // The new measure starts from the loose volumes the last recalculation left: the same batch.
    s.dosagem = 1;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Lc, byMass.Mc / s.rhoC);
    QCOMPARE(s.Lcs, byMass.Mcs / s.rhoS);
    QCOMPARE(s.Lg1, byMass.Mg1 / s.rhoG);
    QCOMPARE(rounded(s.f, 9), rounded(byMass.f, 9));
    QCOMPARE(rounded(s.Cm, 9), rounded(byMass.Cm, 9));
    QCOMPARE(rounded(s.Scm, 9), rounded(byMass.Scm, 9));
    QCOMPARE(rounded(s.G1m, 9), rounded(byMass.G1m, 9));
    QCOMPARE(rounded(s.Wa_b, 9), rounded(byMass.Wa_b, 9));
    QCOMPARE(s.propVolume, byMass.propVolume);

    // And back again.
    s.dosagem = 0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(rounded(s.Mc, 9), 50.0);
    QCOMPARE(rounded(s.Cm, 9), rounded(byMass.Cm, 9));
}

void TestRecalc::dryingTheSand()
{
    calc::CalcState s = exampleBatch();
    s.h = 0.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Wa, s.W);
    QCOMPARE(s.Wa_b, s.W_b);
    QCOMPARE(rounded(s.Vs, 3), rounded(100.0 / 2.61, 3));
}

void TestRecalc::batchWithoutSolids()
{
    calc::CalcState s = exampleBatch();
    s.Mc = s.Mcs = s.Mg1 = 0.0;
    s.A1 = 2.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.V, 0.0);
    QCOMPARE(s.f, 1.0);
    QCOMPARE(s.Cm, 0.0);
    QCOMPARE(s.A1m, 2.0);
}

void TestRecalc::mixWithoutCement()
{
    calc::CalcState s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    const calc::CalcState before = s;

    s.Mc = 0.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Cm, 0.0);
    // No divisor for the mass proportions and w/c: they keep their values; the volume one too (Lcm is 0).
    QCOMPARE(s.propMassa, before.propMassa);
    QCOMPARE(s.relAgregCimento, before.relAgregCimento);
    QCOMPARE(s.propVolume, before.propVolume);
    QCOMPARE(s.wc, before.wc);
    // Without cement the mix reaches no strength.
    QCOMPARE(int(s.fck), 0);
    // The rest of the mix is still worked out.
    QVERIFY(s.f > before.f);
    QCOMPARE(rounded(s.Sm, 6), rounded(s.f * 100.0, 6));
}

void TestRecalc::zeroDensitiesSkipTheirSteps()
{
    calc::CalcState s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    const calc::CalcState before = s;

    // A zero specific mass of cement: the cement's solid volume keeps its last value and every other step
    // still runs with it.
    s.gammaC = 0.0;
    s.Mc = 60.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Vc, before.Vc);
    QCOMPARE(s.V, before.V);
    QCOMPARE(s.Cm, s.f * 60.0);

    // A zero bulk mass of cement: only the loose volumes of cement keep their values.
    s = exampleBatch();
    calc::ReCalculo(s, nullptr);
    s.rhoC = 0.0;
    s.Mc = 60.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Lc, before.Lc);
    QCOMPARE(s.Lcm, before.Lcm);
    QCOMPARE(s.Cm, s.f * 60.0);
    QVERIFY(s.Lcsm != before.Lcsm);
}

void TestRecalc::labourFollowsTheEditedBox_data()
{
    QTest::addColumn<int>("editIndex");
    QTest::addColumn<double>("batchHours");
    QTest::addColumn<double>("cubicMetreHours");
    QTest::addColumn<double>("expectedBatch");
    QTest::addColumn<double>("expectedCubicMetre");

    const double f = 7.398524227622204;
    QTest::newRow("per-batch labour box scales up") << 9 << 3.0 << 20.0 << 3.0 << 3.0 * f;
    QTest::newRow("no box edited shares out") << 100 << 3.0 << 20.0 << 20.0 / f << 20.0;
    QTest::newRow("per-cubic-metre labour box") << 20 << 3.0 << 20.0 << 20.0 / f << 20.0;
}

void TestRecalc::labourFollowsTheEditedBox()
{
    QFETCH(int, editIndex);
    QFETCH(double, batchHours);
    QFETCH(double, cubicMetreHours);
    QFETCH(double, expectedBatch);
    QFETCH(double, expectedCubicMetre);

    calc::CalcState s = exampleBatch();
    s.indiceEdicao = qint16(editIndex);
    s.H_b = batchHours;
    s.Hm = cubicMetreHours;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(rounded(s.H_b, 9), rounded(expectedBatch, 9));
    QCOMPARE(rounded(s.Hm, 9), rounded(expectedCubicMetre, 9));
}

void TestRecalc::superplasticiser_data()
{
    QTest::addColumn<bool>("flag");
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("W");
    QTest::addColumn<double>("rAfter");

    QTest::newRow("10 % reduction") << true << 0.10 << 183.03 << 0.10;
    QTest::newRow("flag clear ignores and clears r") << false << 0.10 << 203.37 << 0.0;
    QTest::newRow("flag with 0") << true << 0.0 << 203.37 << 0.0;
}

void TestRecalc::superplasticiser()
{
    QFETCH(bool, flag);
    QFETCH(double, r);
    QFETCH(double, W);
    QFETCH(double, rAfter);

    calc::CalcState s = exampleBatch();
    s.superplastificante = flag;
    s.r = r;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(rounded(s.W, 2), W);
    QCOMPARE(s.r, rAfter);
}

void TestRecalc::noCoarseAggregate()
{
    // A coarse aggregate that is not one of the four known names: no Dmax, no water; the rest proceeds.
    calc::CalcState s = exampleBatch();
    s.nomes[3] = QStringLiteral("pedra 1");
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.Dmax, 0.0);
    QCOMPARE(s.W, 0.0);
    QCOMPARE(rounded(s.f, 6), rounded(1000.0 / s.V, 6));
    QCOMPARE(s.propMassa, QStringLiteral("1:2,00:3,00:0,00"));
}

QUENVAR_TEST(TestRecalc)
#include "tst_recalculo.moc"
