#include "calc/betonada.h"
#include "calc/calcstate.h"
#include "calc/carregatraco.h"

#include "calctestsupport.h"
#include "exemplos.h"
#include "testregistry.h"

#include <QTest>

#include <cmath>

namespace {

// The worked mass example with its stored water (369.926 kg of cement a m³: a 50 kg bag yields 135.16 L of concrete)
// and an admixture.
QVariantMap porMassa()
{
    return exemplos::com(exemplos::linhaPorMassa(),
                         {{"Agua", 203.36717013162067}, {"NomeAditivo1", "Aditivo SP"}, {"TracoAditivoQde1", 0.25}});
}

// The same batch measured by loose volume.
QVariantMap porVolume()
{
    return exemplos::com(porMassa(), {{"Volumetrico", 1},
                                      {"Dosagem", 1},
                                      {"TracoCimento", 50.0 / 1.43},
                                      {"TracoAreiaGrossa", 100.0 / 1.20},
                                      {"TracoGraudoQde1", 150.0 / 1.38}});
}

bool perto(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

} // namespace

class TestBetonada : public QObject
{
    Q_OBJECT

private slots:
    void betonada_data();
    void betonada();
};

void TestBetonada::betonada_data()
{
    QTest::addColumn<QVariantMap>("linha");
    QTest::addColumn<double>("pesoSaco");
    QTest::addColumn<double>("capacidade");
    QTest::addColumn<bool>("meioSaco");
    QTest::addColumn<double>("volume"); // 0: none given
    QTest::addColumn<int>("falha");
    QTest::addColumn<double>("sacos");
    QTest::addColumn<int>("betonadas"); // -1: none

    using F = calc::FalhaDaBetonada;
    const QVariantMap massa = porMassa();
    QTest::newRow("whole bags") << massa << 50.0 << 400.0 << false << 0.0 << int(F::Nenhuma) << 2.0 << -1;
    QTest::newRow("half bags") << massa << 50.0 << 400.0 << true << 0.0 << int(F::Nenhuma) << 2.5 << -1;
    QTest::newRow("12 m3 in 270 L batches") << massa << 50.0 << 400.0 << false << 12.0 << int(F::Nenhuma) << 2.0 << 45;
    QTest::newRow("bag of 25 kg") << massa << 25.0 << 400.0 << false << 1.0 << int(F::Nenhuma) << 5.0 << 3;
    QTest::newRow("by loose volume") << porVolume() << 50.0 << 400.0 << true << 0.0 << int(F::Nenhuma) << 2.5 << -1;
    QTest::newRow("one bag just fits") << massa << 50.0 << 135.2 << false << 0.0 << int(F::Nenhuma) << 1.0 << -1;
    QTest::newRow("half bag fits") << massa << 50.0 << 130.0 << true << 0.0 << int(F::Nenhuma) << 0.5 << -1;
    QTest::newRow("one bag does not fit")
        << massa << 50.0 << 130.0 << false << 0.0 << int(F::CapacidadePequena) << 0.0 << -1;
    QTest::newRow("half bag does not fit")
        << massa << 50.0 << 60.0 << true << 0.0 << int(F::CapacidadePequena) << 0.0 << -1;
    QTest::newRow("no cement") << exemplos::com(massa, {{"TracoCimento", 0.0}}) << 50.0 << 400.0 << false << 0.0
                               << int(F::SemCimento) << 0.0 << -1;
    QTest::newRow("no bag mass") << massa << 0.0 << 400.0 << false << 0.0 << int(F::SemPesoDoSaco) << 0.0 << -1;
    QTest::newRow("no capacity") << massa << 50.0 << 0.0 << false << 0.0 << int(F::CapacidadeInvalida) << 0.0 << -1;
    QTest::newRow("capacity not a number")
        << massa << 50.0 << std::nan("") << false << 0.0 << int(F::CapacidadeInvalida) << 0.0 << -1;
    QTest::newRow("negative volume") << massa << 50.0 << 400.0 << false << -3.0 << int(F::VolumeInvalido) << 0.0 << -1;
}

void TestBetonada::betonada()
{
    QFETCH(QVariantMap, linha);
    QFETCH(double, pesoSaco);
    QFETCH(double, capacidade);
    QFETCH(bool, meioSaco);
    QFETCH(double, volume);
    QFETCH(int, falha);
    QFETCH(double, sacos);
    QFETCH(int, betonadas);

    calc::CalcState s;
    const calctest::MemoryProductTable produtos = calctest::exampleProducts();
    calc::CarregaTraco(s, linha, &produtos);
    const calc::Betonada b =
        calc::CalculaBetonada(s, pesoSaco, capacidade, meioSaco, volume != 0.0 ? std::optional(volume) : std::nullopt);

    QCOMPARE(int(b.falha), falha);
    QCOMPARE(b.sacos, sacos);
    if (falha != int(calc::FalhaDaBetonada::Nenhuma)) {
        QVERIFY(b.materiais.isEmpty());
        return;
    }
    QCOMPARE(b.betonadas.value_or(-1), betonadas);

    // The yield is the bags' cement over the cement of a cubic metre; the next step would not fit.
    const double cimento = sacos * pesoSaco;
    QVERIFY(perto(b.litrosPorBetonada, cimento / s.Cm * 1000.0));
    QVERIFY(b.litrosPorBetonada <= capacidade);
    QVERIFY((sacos + (meioSaco ? 0.5 : 1.0)) * pesoSaco / s.Cm * 1000.0 > capacidade);

    // Every material keeps its ratio to the cement of the mix's batch; the water to add is the batch's total water
    // less what its wet sand brings.
    const double aguaDaAreia = (1.0 - s.h) * s.Ms * s.h;
    const QList<double> doTraco{s.Mc, s.Mcs, s.Mg1, s.A1, s.W_b - aguaDaAreia};
    const QStringList nomes{"Cimento 32", "Areia Grossa", "Pedra 1", "Aditivo SP", "Água Adicional"};
    QCOMPARE(b.materiais.size(), doTraco.size());
    for (qsizetype i = 0; i < doTraco.size(); ++i) {
        const calc::MaterialDaBetonada& m = b.materiais[i];
        QCOMPARE(m.nome, nomes[i]);
        QVERIFY2(perto(m.quantidade / cimento, doTraco[i] / s.Mc), qPrintable(m.nome));
    }
    // By loose volume the boxes are given in litres too: the cement's are its mass over its bulk mass.
    QCOMPARE(b.materiais[0].litros.has_value(), s.emVolume());
    if (s.emVolume())
        QVERIFY(perto(*b.materiais[0].litros, cimento / s.rhoC));
    QCOMPARE(b.materiais.last().unidade, QStringLiteral("L"));
}

QUENVAR_TEST(TestBetonada)

#include "tst_betonada.moc"
