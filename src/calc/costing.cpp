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

double aggregatePrice(const std::optional<ProductInfo>& product, double bulkMass)
{
    double price = 0.0;
    if (!product || !product->price) {
        return price;
    }
    if (const std::optional<double> litres = litresPerUnit(product->unit, bulkMass)) {
        store(price, quot(*product->price, *litres));
    }
    return price;
}

double plainPrice(const std::optional<ProductInfo>& product)
{
    return product && product->price ? *product->price : 0.0;
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

std::array<double, costLines> unitPrices(const CalcState& state, const ProductTable& products)
{
    const std::array<QString, costLines> name = costLineProducts(state);
    std::array<double, costLines> price{};

    // Cement is bought by the bag: the bag's price over the bag's mass gives the price of a kilogram.
    if (const auto cement = productNamed(products, name[0]); cement && cement->price) {
        store(price[0], quot(*cement->price, cement->weight));
    }
    price[1] = aggregatePrice(productNamed(products, name[1]), state.rhoS);
    price[2] = aggregatePrice(productNamed(products, name[2]), state.rhoS);
    price[3] = aggregatePrice(productNamed(products, name[3]), state.rhoG);
    price[4] = aggregatePrice(productNamed(products, name[4]), state.rhoG);
    // Admixtures and labour are measured in their product's own unit.
    for (int line : {5, 6, 7}) {
        price[line] = plainPrice(productNamed(products, name[line]));
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
