#pragma once

#include "consistencylimits.h"
#include "slumplist.h"

#include <QString>
#include <QStringList>

#include <optional>

// Consistency classes, coarse aggregates and the water a cubic metre of concrete needs.
namespace calc {

// The consistency classes from the wettest to the driest, the order of the main window's class list.
QStringList consistencyClasses();

// Consistency class of a slump: the leading number of the text ("095" is 95, "" is 0) against the limits.
// A slump equal to a limit belongs to the drier class.
QString ClasseConsistencia(const QString& slumpText, const ConsistencyLimits& limits);

// The slump values of a class in steps of 5 mm, with a value near the middle selected. The limits are
// taken as 16-bit integers. An unknown class gives an empty list.
SlumpList slumpList(const QString& className, const ConsistencyLimits& limits);

// Rank of a coarse aggregate by its name, compared exactly after trimming blanks: "Pedrisco" 0,
// "Pedra 0" 1, "Pedra 1" 2, "Pedra 2" 3; -1 for any other name.
int aggregateRank(const QString& name);

// Maximum aggregate size (mm) of a rank: 4.8, 9.5, 19, 25; 0 for -1.
double dmaxOfRank(int rank);

// The coarse aggregate name that stands for a maximum size; empty when none does.
QString aggregateForDmax(double Dmax);

// Maximum aggregate size of the mix's two coarse aggregates: a row counts only when its quantity is
// greater than 0 and its name is known; the larger rank wins.
double dmaxOfRows(const QString& name1, double quantity1, const QString& name2, double quantity2);

// Shape factor of the coarse aggregate: 0 well rounded 0.9, 1 crushed cubic 1.0, 2 crushed flaky 1.05;
// nothing for another code (the caller keeps the factor it had).
std::optional<double> shapeFactor(int texturaCode);

// Water per cubic metre (litres) before any admixture reduction: 218 × shape × s^0.1 / Dmax^0.18 for a
// slump s and maximum aggregate size Dmax in mm; 0 without coarse aggregate.
double CalculaAgua(double slump, double Dmax, double shape);

// A superplasticiser saves the fraction r of the water.
double reducedWater(double W, double r);

} // namespace calc
