#pragma once

#include "calc/calcstate.h"
#include "calc/producttable.h"

#include <QList>

#include <cmath>

namespace calctest {

// A value as printed with the given number of decimals, for comparing with the worked examples.
inline double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// The batch of the worked example: one 50 kg bag of cement, 100 kg of coarse sand and 150 kg of "Pedra 1",
// slump 100 mm, crushed cubic aggregate, sand at 5 % moisture, measured by mass, 20 hours of labour per m3.
inline calc::CalcState exampleBatch()
{
    calc::CalcState s;
    s.gammaC = 3.10;
    s.rhoC = 1.43;
    s.gammaS = 2.61;
    s.rhoS = 1.20;
    s.gammaG = 2.72;
    s.rhoG = 1.38;
    s.h = 0.05;
    s.dosagem = 0;
    s.textura = 1;
    s.abatimento = 100;
    s.classe = QStringLiteral("32");
    s.nomes[0] = QStringLiteral("Cimento 32");
    s.nomes[3] = QStringLiteral("Pedra 1");
    s.Mc = 50.0;
    s.Mcs = 100.0;
    s.Mg1 = 150.0;
    s.Hm = 20.0;
    return s;
}

// The suite's products in memory, searched in insertion order as the products table is.
class MemoryProductTable : public calc::ProductTable
{
public:
    void add(const calc::ProductInfo& product) { m_products.append(product); }

    std::optional<calc::ProductInfo> findByName(const QString& name) const override
    {
        for (const calc::ProductInfo& product : m_products) {
            if (product.name == name) {
                return product;
            }
        }
        return std::nullopt;
    }

    std::optional<calc::ProductInfo> findByCode(qint64 code) const override
    {
        for (const calc::ProductInfo& product : m_products) {
            if (product.code == code) {
                return product;
            }
        }
        return std::nullopt;
    }

private:
    QList<calc::ProductInfo> m_products;
};

// The products of the worked examples with their codes, prices, units and bag masses.
inline MemoryProductTable exampleProducts()
{
    MemoryProductTable products;
    for (const calc::ProductInfo& product : {
             calc::ProductInfo{1, QStringLiteral("Cimento 32"), 25.0, QStringLiteral("saco"), 50.0, {}},
             calc::ProductInfo{3, QStringLiteral("Pedra 1"), 40.0, QStringLiteral("ton"), 0.0, {}},
             calc::ProductInfo{4, QStringLiteral("Pedrisco"), 40.0, QStringLiteral("ton"), 0.0, {}},
             calc::ProductInfo{5, QStringLiteral("Pedra 2"), 40.0, QStringLiteral("ton"), 0.0, {}},
             calc::ProductInfo{7, QStringLiteral("Aditivo SP"), 12.5, QStringLiteral("litro"), 0.0, {}},
             calc::ProductInfo{8, QStringLiteral("Aditivo Plastificante"), 9.8, QStringLiteral("litro"), 1.2, {}},
             calc::ProductInfo{10, QStringLiteral("Areia Grossa"), 60.0, QStringLiteral("m3"), 0.0, {}},
             calc::ProductInfo{11, QStringLiteral("Areia Fina"), 110.0, QStringLiteral("m3"), 1200.0, {}},
             calc::ProductInfo{13, QStringLiteral("Mão-de-Obra"), 2.0, QStringLiteral("hh"), 0.0, {}},
         })
        products.add(product);
    return products;
}

} // namespace calctest
