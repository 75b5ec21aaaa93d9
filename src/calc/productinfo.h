#pragma once

#include <QString>

#include <optional>

namespace calc {

// What the calculation needs to know of a product of the suite.
struct ProductInfo
{
    qint64 code = 0;
    QString name;
    // Cost price of one unit, losses included; nothing when the price is Null.
    std::optional<double> price;
    // Name of the product's unit ("kg", "litro", "l", "m3", "ton" …); empty when the unit is not found.
    QString unit;
    // Mass of one unit in kg (a bag of cement: its mass).
    double weight = 0.0;
    // Greenhouse gases emitted making one unit, in kg CO2e; nothing when the company has not given a factor.
    std::optional<double> co2Factor;
};

} // namespace calc
