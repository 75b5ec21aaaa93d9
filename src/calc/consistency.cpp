#include "consistency.h"

#include "formats.h"
#include "numericentry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace calc {

namespace {

const std::array<QString, 4> aggregateNames{QStringLiteral("Pedrisco"), QStringLiteral("Pedra 0"),
                                            QStringLiteral("Pedra 1"), QStringLiteral("Pedra 2")};
constexpr std::array<double, 4> aggregateSizes{4.8, 9.5, 19.0, 25.0};

// The wettest values offered stop at 200 mm.
constexpr int wettestSlump = 200;
constexpr int slumpStep = 5;

} // namespace

ConsistencyLimits ConsistencyLimits::fromTexts(const QString& abate1, const QString& abate2, const QString& abate3,
                                               const QString& abate4)
{
    return {leadingNumber(abate1), leadingNumber(abate2), leadingNumber(abate3), leadingNumber(abate4)};
}

std::array<QString, 4> ConsistencyLimits::texts() const
{
    return {QString::number(Abate1), QString::number(Abate2), QString::number(Abate3), QString::number(Abate4)};
}

QStringList consistencyClasses()
{
    return {QStringLiteral("Líquida"), QStringLiteral("Fluida"), QStringLiteral("Plástica"),
            QStringLiteral("Plástica Seca"), QStringLiteral("Seca")};
}

QString ClasseConsistencia(const QString& slumpText, const ConsistencyLimits& limits)
{
    const double s = leadingNumber(slumpText);
    const QStringList classes = consistencyClasses();
    if (s > limits.Abate1) {
        return classes[0];
    }
    if (s > limits.Abate2) {
        return classes[1];
    }
    if (s > limits.Abate3) {
        return classes[2];
    }
    if (s > limits.Abate4) {
        return classes[3];
    }
    return classes[4];
}

SlumpList slumpList(const QString& className, const ConsistencyLimits& limits)
{
    const int classIndex = int(consistencyClasses().indexOf(className));
    if (classIndex < 0) {
        return {};
    }
    // A limit that does not fit 16 bits has no list.
    const std::array<std::optional<qint16>, 4> limit{toInt16(limits.Abate1), toInt16(limits.Abate2),
                                                     toInt16(limits.Abate3), toInt16(limits.Abate4)};
    int first = 0;
    int last = 0;
    if (classIndex == 0) {
        if (!limit[0]) {
            return {};
        }
        first = *limit[0] + slumpStep;
        last = wettestSlump;
    } else if (classIndex < 4) {
        if (!limit[classIndex] || !limit[classIndex - 1]) {
            return {};
        }
        first = *limit[classIndex] + slumpStep;
        last = *limit[classIndex - 1];
    } else {
        if (!limit[3]) {
            return {};
        }
        first = 0;
        last = *limit[3];
    }

    SlumpList list;
    for (int value = first; value <= last; value += slumpStep) {
        // A dry concrete still slumps a little: the driest value offered is 2 mm, then 7, 12, …
        if (value == 0) {
            value = 2;
        }
        list.values.append(padded(value, 3));
    }
    if (!list.values.isEmpty()) {
        list.selected = *toInt16(list.values.size() / 2.0);
    }
    return list;
}

int aggregateRank(const QString& name)
{
    const QString trimmed = name.trimmed();
    for (int rank = 0; rank < int(aggregateNames.size()); ++rank) {
        if (trimmed == aggregateNames[rank]) {
            return rank;
        }
    }
    return -1;
}

double dmaxOfRank(int rank)
{
    if (rank < 0 || rank >= int(aggregateSizes.size())) {
        return 0.0;
    }
    return aggregateSizes[rank];
}

QString aggregateForDmax(double Dmax)
{
    for (std::size_t rank = 0; rank < aggregateSizes.size(); ++rank) {
        if (Dmax == aggregateSizes[rank]) {
            return aggregateNames[rank];
        }
    }
    return QString();
}

double dmaxOfRows(const QString& name1, double quantity1, const QString& name2, double quantity2)
{
    const int rank1 = quantity1 > 0.0 ? aggregateRank(name1) : -1;
    const int rank2 = quantity2 > 0.0 ? aggregateRank(name2) : -1;
    return dmaxOfRank(std::max(rank1, rank2));
}

std::optional<double> shapeFactor(int texturaCode)
{
    switch (texturaCode) {
    case 0:
        return 0.9;
    case 1:
        return 1.0;
    case 2:
        return 1.05;
    default:
        return std::nullopt;
    }
}

double CalculaAgua(double slump, double Dmax, double shape)
{
    if (Dmax <= 0.0) {
        return 0.0;
    }
    return 218.0 * shape * std::pow(slump, 0.1) / std::pow(Dmax, 0.18);
}

double reducedWater(double W, double r)
{
    return W * (1.0 - r);
}

} // namespace calc
