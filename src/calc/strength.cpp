#include "strength.h"

#include "calcstate.h"
#include "guards.h"

#include <array>
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

namespace {

const std::array<QLatin1String, 4> kClasses{QLatin1String("25"), QLatin1String("32"), QLatin1String("40"),
                                            QLatin1String("ARI")};

} // namespace

QString classeDoCimento(const QString& cementName)
{
    const QString name = cementName.trimmed();
    for (const QLatin1String cls : kClasses) {
        if (name == cls) {
            return cls;
        }
        if (name.endsWith(cls, Qt::CaseInsensitive) && name.size() > cls.size()) {
            const QChar before = name.at(name.size() - cls.size() - 1);
            if (before == QLatin1Char(' ') || before == QLatin1Char('-')) {
                return cls;
            }
        }
    }
    return QString();
}

int cimentoDaClasse(const QStringList& nomes, const QString& classe)
{
    const QString cls = classe.trimmed();
    if (cls.isEmpty()) {
        return -1;
    }
    const QString exato = QStringLiteral("Cimento ") + cls;
    for (qsizetype i = 0; i < nomes.size(); ++i) {
        if (nomes[i].trimmed().compare(exato, Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    for (qsizetype i = 0; i < nomes.size(); ++i) {
        if (classeDoCimento(nomes[i]) == cls) {
            return int(i);
        }
    }
    return -1;
}

QString textoDaClasse(const QString& cementName)
{
    return cementName.mid(7, cementName.trimmed().size());
}

double FatorClasse(const QString& classText)
{
    const QString cls = classeDoCimento(classText);
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
