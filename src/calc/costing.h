#pragma once

#include <QString>

#include <array>
#include <optional>

namespace calc {

struct CalcState;
struct ProductInfo;
class ProductTable;

// Names under which the sands and the labour are priced; they are not chosen per mix.
QString fineSandProduct();
QString coarseSandProduct();
QString labourProduct();

// Cost lines of a cubic metre: 0 cement (per kg), 1 fine sand and 2 coarse sand (per litre of loose sand),
// 3 and 4 coarse aggregates (per litre of loose aggregate), 5 and 6 admixtures (per unit of the product),
// 7 labour (per man-hour).
constexpr int costLines = 8;

// The product each cost line is priced by: the mix's own cement, coarse aggregates and admixtures (empty when the
// mix names none), the sands and the labour by their fixed names.
std::array<QString, costLines> costLineProducts(const CalcState& state);
// How much of each cost line a cubic metre takes, in the unit its price is for.
std::array<double, costLines> costLineQuantities(const CalcState& state);

// A value given per unit of a product (its price, its CO2 factor).
using PerProductUnit = std::optional<double> ProductInfo::*;

// The value of each cost line per unit its quantity is measured in: the product's value per its own unit converted
// (cement per bag to per kg, sands and coarse aggregates to per litre of loose material). Nothing for a line whose
// product is not found, has no value or has a unit the conversion cannot take (a bag mass or a bulk mass of 0, a
// unit name the conversion does not know).
std::array<std::optional<double>, costLines> unitValues(const CalcState& state, const ProductTable& products,
                                                        PerProductUnit value);

// Price of each cost line. A product not found, a Null price or a conversion that fails (a bag mass or a
// bulk mass of 0, a unit name the conversion does not know) prices its line at 0.
std::array<double, costLines> unitPrices(const CalcState& state, const ProductTable& products);

// Prices the cubic metre: stores the cost without losses and the cost with losses in the state and
// returns the cost with losses.
double CalculaCusto(CalcState& state, const ProductTable& products);

// The cost with losses of a cost without losses and a loss percentage.
double costWithLosses(double costWithoutLosses, double lossPercent);

} // namespace calc
