#pragma once

#include "productinfo.h"

#include <QString>

#include <optional>

namespace calc {

// The suite's products, as the calculation looks them up. The program implements it on the products and
// units tables; tests implement it in memory.
class ProductTable
{
public:
    virtual ~ProductTable() = default;

    // The first product, in the table's order, whose name is exactly this one.
    virtual std::optional<ProductInfo> findByName(const QString& name) const = 0;

    // The product with this code.
    virtual std::optional<ProductInfo> findByCode(qint64 code) const = 0;
};

} // namespace calc
