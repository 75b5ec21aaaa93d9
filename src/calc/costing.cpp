#include "costing.h"

#include "calcstate.h"
#include "guards.h"
#include "producttable.h"

#include <optional>

namespace calc {

namespace {

enum class Material { Sand, CoarseAggregate };

// Litres of loose aggregate in one unit of the product.
std::optional<double> litresPerUnit(const QString& unit, double bulkMass)
{
    if (unit == QLatin1String("litro") || unit == QLatin1String("l")) {
        return 1.0;
    }
    if (unit == QLatin1String("kg")) {
        return quot(1.0, bulkMass);
    }
    if (unit == QLatin1String("m3")) {
        return 1000.0;
    }
    if (unit == QLatin1String("ton")) {
        return quot(1000.0, bulkMass);
    }
    // No conversion is known for any other unit: the line is not priced.
    return std::nullopt;
}

std::optional<ProductInfo> productNamed(const ProductTable& products, const QString& chosen)
{
    if (chosen.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return products.findByName(chosen);
}

std::optional<double> perLitre(const std::optional<ProductInfo>& product, PerProductUnit value, double bulkMass)
{
    if (!product || !((*product).*value)) {
        return std::nullopt;
    }
    double perLitre = 0.0;
    if (const std::optional<double> litres = litresPerUnit(product->unit, bulkMass);
        litres && store(perLitre, quot(*((*product).*value), *litres))) {
        return perLitre;
    }
    return std::nullopt;
}

} // namespace

QString fineSandProduct()
{
    return QStringLiteral("Areia Fina");
}

QString coarseSandProduct()
{
    return QStringLiteral("Areia Grossa");
}

QString labourProduct()
{
    return QStringLiteral("Mão-de-Obra");
}

std::array<QString, costLines> costLineProducts(const CalcState& state)
{
    return {state.nomes[0].trimmed(), fineSandProduct(), coarseSandProduct(), state.nomes[3],
            state.nomes[4],           state.nomes[5],    state.nomes[6],      labourProduct()};
}

std::array<double, costLines> costLineQuantities(const CalcState& state)
{
    return {state.Cm, state.Lfsm, state.Lcsm, state.Lg1m, state.Lg2m, state.A1m, state.A2m, state.Hm};
}

std::array<std::optional<double>, costLines> unitValues(const CalcState& state, const ProductTable& products,
                                                        PerProductUnit value)
{
    const std::array<QString, costLines> name = costLineProducts(state);
    std::array<std::optional<double>, costLines> perUnit{};

    // Cement is bought by the bag: the bag's value over the bag's mass gives the value of a kilogram.
    if (const auto cement = productNamed(products, name[0]); cement && (*cement).*value) {
        if (double perKg = 0.0; store(perKg, quot(*((*cement).*value), cement->weight))) {
            perUnit[0] = perKg;
        }
    }
    perUnit[1] = perLitre(productNamed(products, name[1]), value, state.rhoS);
    perUnit[2] = perLitre(productNamed(products, name[2]), value, state.rhoS);
    perUnit[3] = perLitre(productNamed(products, name[3]), value, state.rhoG);
    perUnit[4] = perLitre(productNamed(products, name[4]), value, state.rhoG);
    // Admixtures and labour are measured in their product's own unit.
    for (int line : {5, 6, 7}) {
        if (const auto product = productNamed(products, name[line])) {
            perUnit[line] = (*product).*value;
        }
    }
    return perUnit;
}

std::array<double, costLines> unitPrices(const CalcState& state, const ProductTable& products)
{
    const std::array<std::optional<double>, costLines> perUnit = unitValues(state, products, &ProductInfo::price);
    std::array<double, costLines> price{};
    for (int line = 0; line < costLines; ++line) {
        price[line] = perUnit[line].value_or(0.0);
    }
    return price;
}

double CalculaCusto(CalcState& state, const ProductTable& products)
{
    const std::array<double, costLines> price = unitPrices(state, products);
    const std::array<double, costLines> quantity = costLineQuantities(state);
    double total = 0.0;
    for (int line = 0; line < costLines; ++line) {
        total += price[line] * quantity[line];
    }
    store(state.custoSemPerda, total);
    store(state.custoComPerda, costWithLosses(state.custoSemPerda, state.perda));
    return state.custoComPerda;
}

double costWithLosses(double costWithoutLosses, double lossPercent)
{
    return costWithoutLosses * (1.0 + lossPercent / 100.0);
}

} // namespace calc
