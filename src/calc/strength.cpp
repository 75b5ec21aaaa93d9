#include "strength.h"

#include "calcstate.h"
#include "guards.h"

#include <cmath>

namespace calc {

std::optional<double> DesvioPadrao(int measuringCode)
{
    switch (measuringCode) {
    case 0:
        return 4.0;
    case 1:
        return 5.5;
    case 2:
        return 7.0;
    default:
        return std::nullopt;
    }
}

double FatorClasse(const QString& classText)
{
    const QString cls = classText.trimmed();
    if (cls == QLatin1String("25")) {
        return 0.8;
    }
    if (cls == QLatin1String("32")) {
        return 1.0;
    }
    if (cls == QLatin1String("40") || cls == QLatin1String("ARI")) {
        return 1.25;
    }
    return 0.0;
}

double strengthFromRatio(double waterCementRatio, double k)
{
    return quot(lawCoefficient * k, std::pow(lawBase, waterCementRatio));
}

double ratioFromStrength(double fcj, double k)
{
    // The logarithm of a quotient that is not positive has no value: NaN, and the step is skipped.
    return quot(std::log(quot(lawCoefficient * k, fcj)), std::log(lawBase));
}

double targetStrength(double fck, double Sd)
{
    return fck + studentFactor * Sd;
}

double CalculaResistencia(CalcState& state)
{
    if (const std::optional<double> sd = DesvioPadrao(state.dosagem)) {
        state.Sd = *sd;
    }
    const double k = FatorClasse(state.classe);
    store(state.fcj, strengthFromRatio(state.wc, k));
    const double fck = state.fcj - studentFactor * state.Sd;
    return fck > 0.0 ? fck : 0.0;
}

} // namespace calc
