#pragma once

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

} // namespace calctest
