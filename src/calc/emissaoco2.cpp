#include "emissaoco2.h"

#include "calcstate.h"
#include "costing.h"
#include "productinfo.h"

namespace calc {

EmissaoCO2 emissaoCO2(const CalcState& state, const ProductTable& products)
{
    const std::array<QString, costLines> name = costLineProducts(state);
    const std::array<double, costLines> quantity = costLineQuantities(state);
    const std::array<std::optional<double>, costLines> factor = unitValues(state, products, &ProductInfo::co2Factor);
    EmissaoCO2 emissao;
    // The last line is labour: people on site are not a material of the mix.
    for (int line = 0; line + 1 < costLines; ++line) {
        if (!(quantity[line] > 0.0) || name[line].trimmed().isEmpty())
            continue;
        if (factor[line]) {
            emissao.kgCO2PorM3 += *factor[line] * quantity[line];
            emissao.calculavel = true;
        } else if (!emissao.semFator.contains(name[line].trimmed())) {
            emissao.semFator.append(name[line].trimmed());
        }
    }
    return emissao;
}

QString textoCO2(const EmissaoCO2& emissao, const QLocale& locale)
{
    if (!emissao.calculavel)
        return QStringLiteral("—");
    QLocale semMilhar(locale);
    semMilhar.setNumberOptions(QLocale::OmitGroupSeparator);
    return semMilhar.toString(emissao.kgCO2PorM3, 'f', 1);
}

} // namespace calc
