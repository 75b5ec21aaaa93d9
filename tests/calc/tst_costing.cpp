#include "calc/calcstate.h"
#include "calc/costing.h"
#include "calc/emissaoco2.h"
#include "calc/recalculo.h"

#include "calctestsupport.h"
#include "testregistry.h"

#include <QTest>

using calctest::MemoryProductTable;
using calctest::rounded;

class TestCosting : public QObject
{
    Q_OBJECT

private slots:
    void unitPrice_data();
    void unitPrice();
    void losses_data();
    void losses();
    void pricedDuringRecalculation();
    void co2_data();
    void co2();
};

namespace {

// Which product name each cost line reads from the state; lines 1, 2 and 7 have fixed names.
void nameLine(calc::CalcState& s, int line, const QString& name)
{
    const int slot[] = {0, -1, -1, 3, 4, 5, 6, -1};
    if (slot[line] >= 0) {
        s.nomes[slot[line]] = name;
    }
}

// Products of the example used or not by its batch, labour among them.
const QStringList kExampleNames{"Cimento 32", "Areia Grossa", "Pedra 1", "Areia Fina", "Aditivo SP", "Mão-de-Obra"};

calc::ProductInfo product(const QString& name, std::optional<double> price, const QString& unit, double weight = 0)
{
    return {0, name, price, unit, weight, {}};
}

} // namespace

void TestCosting::unitPrice_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("chosen"); // the name in the list (lines 0, 3 to 6)
    QTest::addColumn<QString>("stored"); // the product's name in the table
    QTest::addColumn<QVariant>("price"); // a null QVariant is a Null price
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("weight");
    QTest::addColumn<double>("rhoS");
    QTest::addColumn<double>("rhoG");
    QTest::addColumn<double>("expected");

    const QVariant null;
    QTest::newRow("cement: bag price over bag mass")
        << 0 << "Cimento 32"
        << "Cimento 32" << QVariant(25.0) << "saco" << 50.0 << 1.2 << 1.38 << 0.5;
    QTest::newRow("cement name trimmed") << 0 << " Cimento 32 "
                                         << "Cimento 32" << QVariant(25.0) << "saco" << 50.0 << 1.2 << 1.38 << 0.5;
    QTest::newRow("cement with zero bag mass") << 0 << "Cimento 32"
                                               << "Cimento 32" << QVariant(25.0) << "saco" << 0.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("cement with Null price") << 0 << "Cimento 32"
                                            << "Cimento 32" << null << "saco" << 50.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("coarse sand per m3") << 2 << ""
                                        << "Areia Grossa" << QVariant(60.0) << "m3" << 0.0 << 1.2 << 1.38 << 0.06;
    QTest::newRow("fine sand per kg, sand bulk mass")
        << 1 << ""
        << "Areia Fina" << QVariant(0.05) << "kg" << 0.0 << 1.2 << 1.38 << 0.06;
    QTest::newRow("sand per l, no conversion") << 2 << ""
                                               << "Areia Grossa" << QVariant(0.07) << "l" << 0.0 << 1.2 << 1.38 << 0.07;
    QTest::newRow("sand per litro, no conversion")
        << 2 << ""
        << "Areia Grossa" << QVariant(0.07) << "litro" << 0.0 << 1.2 << 1.38 << 0.07;
    QTest::newRow("sand per kg with zero bulk mass")
        << 2 << ""
        << "Areia Grossa" << QVariant(0.05) << "kg" << 0.0 << 0.0 << 1.38 << 0.0;
    QTest::newRow("coarse aggregate per ton") << 3 << "Pedra 1"
                                              << "Pedra 1" << QVariant(40.0) << "ton" << 0.0 << 1.2 << 1.38 << 0.0552;
    QTest::newRow("coarse aggregate 2 per kg, aggregate bulk mass")
        << 4 << "Pedrisco"
        << "Pedrisco" << QVariant(0.04) << "kg" << 0.0 << 1.2 << 1.38 << 0.0552;
    QTest::newRow("coarse aggregate unit without conversion")
        << 3 << "Pedra 1"
        << "Pedra 1" << QVariant(40.0) << "saco" << 0.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("unit names compared exactly") << 3 << "Pedra 1"
                                                 << "Pedra 1" << QVariant(40.0) << "Ton" << 0.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("unknown coarse aggregate") << 3 << "Pedra 9"
                                              << "Pedra 1" << QVariant(40.0) << "ton" << 0.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("admixture in its own unit") << 5 << "Aditivo SP"
                                               << "Aditivo SP" << QVariant(12.5) << "l" << 0.0 << 1.2 << 1.38 << 12.5;
    QTest::newRow("second admixture") << 6 << "Aditivo SP"
                                      << "Aditivo SP" << QVariant(12.5) << "kg" << 0.0 << 1.2 << 1.38 << 12.5;
    QTest::newRow("no admixture chosen") << 5 << "* Nenhum *"
                                         << "Aditivo SP" << QVariant(12.5) << "l" << 0.0 << 1.2 << 1.38 << 0.0;
    QTest::newRow("labour") << 7 << ""
                            << "Mão-de-Obra" << QVariant(8.0) << "hh" << 0.0 << 1.2 << 1.38 << 8.0;
    QTest::newRow("labour with Null price") << 7 << ""
                                            << "Mão-de-Obra" << null << "hh" << 0.0 << 1.2 << 1.38 << 0.0;
}

void TestCosting::unitPrice()
{
    QFETCH(int, line);
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    QFETCH(QVariant, price);
    QFETCH(QString, unit);
    QFETCH(double, weight);
    QFETCH(double, rhoS);
    QFETCH(double, rhoG);
    QFETCH(double, expected);

    MemoryProductTable products;
    std::optional<double> cost;
    if (!price.isNull()) {
        cost = price.toDouble();
    }
    products.add(product(stored, cost, unit, weight));
    calc::CalcState s;
    s.rhoS = rhoS;
    s.rhoG = rhoG;
    nameLine(s, line, chosen);

    const std::array<double, calc::costLines> prices = calc::unitPrices(s, products);
    QCOMPARE(rounded(prices[line], 6), expected);
    // Every other line costs nothing.
    for (int other = 0; other < calc::costLines; ++other) {
        if (other != line) {
            QCOMPARE(prices[other], 0.0);
        }
    }

    // The same value given as a CO2 factor, without a price, converts the same way; a line that prices at 0 for
    // want of a value or a conversion has no factor at all.
    calctest::MemoryProductTable withFactor;
    withFactor.add({0, stored, std::nullopt, unit, weight, cost});
    const auto factors = calc::unitValues(s, withFactor, &calc::ProductInfo::co2Factor);
    QCOMPARE(factors[line].has_value(), expected != 0.0);
    QCOMPARE(rounded(factors[line].value_or(0.0), 6), expected);
    QCOMPARE(calc::unitPrices(s, withFactor)[line], 0.0);
}

void TestCosting::losses_data()
{
    QTest::addColumn<double>("withoutLosses");
    QTest::addColumn<double>("percent");
    QTest::addColumn<double>("withLosses");

    QTest::newRow("5 %") << 300.0 << 5.0 << 315.0;
    QTest::newRow("0 %") << 300.0 << 0.0 << 300.0;
    QTest::newRow("12.5 %") << 200.0 << 12.5 << 225.0;
}

void TestCosting::losses()
{
    QFETCH(double, withoutLosses);
    QFETCH(double, percent);
    QFETCH(double, withLosses);

    QCOMPARE(rounded(calc::costWithLosses(withoutLosses, percent), 2), withLosses);

    // Priced through the table: labour of 300 at 1.00 per hour.
    MemoryProductTable products;
    products.add(product(calc::labourProduct(), 1.0, QStringLiteral("hh")));
    calc::CalcState s;
    s.Hm = withoutLosses;
    s.perda = percent;
    QCOMPARE(rounded(calc::CalculaCusto(s, products), 2), withLosses);
    QCOMPARE(rounded(s.custoSemPerda, 2), withoutLosses);
    QCOMPARE(rounded(s.custoComPerda, 2), withLosses);
}

void TestCosting::pricedDuringRecalculation()
{
    const MemoryProductTable products = calctest::exampleProducts();

    calc::CalcState s = calctest::exampleBatch();
    s.perda = 5.0;

    // Without a product table the costs are left as they are.
    s.custoSemPerda = -1.0;
    calc::ReCalculo(s, nullptr);
    QCOMPARE(s.custoSemPerda, -1.0);

    // Cement 184.96, coarse sand 36.99, Pedra 1 (804.187 l at 0.0552) 44.39, labour 40.
    calc::ReCalculo(s, &products);
    QCOMPARE(rounded(s.custoSemPerda, 2), 306.35);
    QCOMPARE(rounded(s.custoComPerda, 2), 321.66);
}

// Factors proportional to the prices give the CO2 of each material as that fraction of its cost: the example's cement
// costs 184.96, coarse sand 36.99, Pedra 1 44.39 and labour 40 (see above).
void TestCosting::co2_data()
{
    QTest::addColumn<QStringList>("comFator"); // products whose factor is a tenth of their price
    QTest::addColumn<double>("total");
    QTest::addColumn<QStringList>("semFator");
    QTest::addColumn<bool>("calculavel");

    QTest::newRow("every material; labour ignored") << kExampleNames << 26.635 << QStringList() << true;
    QTest::newRow("aggregate without factor: partial")
        << QStringList{"Cimento 32", "Areia Grossa"} << 22.196 << QStringList{"Pedra 1"} << true;
    QTest::newRow("only labour has one: nothing to show")
        << QStringList{"Mão-de-Obra"} << 0.0 << QStringList{"Cimento 32", "Areia Grossa", "Pedra 1"} << false;
}

void TestCosting::co2()
{
    QFETCH(QStringList, comFator);
    QFETCH(double, total);
    QFETCH(QStringList, semFator);
    QFETCH(bool, calculavel);

    calc::CalcState s = calctest::exampleBatch();
    const MemoryProductTable precos = calctest::exampleProducts();
    calc::ReCalculo(s, &precos);
    MemoryProductTable products;
    for (const QString& name : kExampleNames) {
        calc::ProductInfo product = *precos.findByName(name);
        if (comFator.contains(name)) {
            product.co2Factor = *product.price / 10.0;
        }
        products.add(product);
    }
    const calc::EmissaoCO2 emissao = calc::emissaoCO2(s, products);
    QCOMPARE(rounded(emissao.kgCO2PorM3, 3), total);
    QCOMPARE(emissao.semFator, semFator);
    QCOMPARE(emissao.calculavel, calculavel);
}

QUENVAR_TEST(TestCosting)
#include "tst_costing.moc"
