#pragma once

#include <QLocale>
#include <QStringList>

namespace calc {

struct CalcState;
class ProductTable;

// The greenhouse gases a cubic metre of the mix carries in its materials.
struct EmissaoCO2
{
    // kg CO2e per m³ of the materials that have a factor.
    double kgCO2PorM3 = 0.0;
    // Names of the products the mix uses (quantity above 0) without a factor, or with one their unit cannot convert;
    // while any is listed the total is partial.
    QStringList semFator;
    // False when no material of the mix has a factor: there is no total to show.
    bool calculavel = false;
};

// Sums, over the cost lines of the cubic metre but labour, the quantity times the product's CO2 factor converted to
// the unit of the quantity, as the cost converts prices. Water carries none.
EmissaoCO2 emissaoCO2(const CalcState& state, const ProductTable& products);

// The total as shown: one decimal, no thousands separator ("312,4"); "—" when there is none.
QString textoCO2(const EmissaoCO2& emissao, const QLocale& locale = QLocale());

} // namespace calc
