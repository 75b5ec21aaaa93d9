#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace calc {

struct CalcState;

// The strength law of the dosage method: fcj = A × k / B^(w/c), in MPa.
constexpr double lawCoefficient = 114.3;
constexpr double lawBase = 11.8;
// A mean strength lies t × Sd above the characteristic strength.
constexpr double studentFactor = 1.65;

// Standard deviation of the measuring condition: 0 (by mass, moisture controlled) 4.0 MPa, 1 (by volume,
// moisture controlled) 5.5, 2 (by volume, no moisture control) 7.0. Any other code, or -1 for no option
// chosen, has none, and the caller keeps the deviation it had.
std::optional<double> DesvioPadrao(int measuringCode);

// Class factor of a cement class, compared after trimming blanks: "25" 0.8, "32" 1.0, "40" and "ARI" 1.25;
// a text that ends in a class after a blank or a hyphen ("CP II-32", "CP V ARI") is of that class; any other
// text 0.
double FatorClasse(const QString& classText);

// The class of a cement product's name: the class its name ends in ("Cimento 32" and "Cimento CP II-32" are of
// class "32"); an empty text when the name ends in none.
QString classeDoCimento(const QString& cementName);

// Which of the products' names is the cement of a class: "Cimento " followed by the class before any other, then
// the first whose name ends in the class ("Cimento CP II-32"); -1 when none is.
int cimentoDaClasse(const QStringList& nomes, const QString& classe);

// The class text of a stored mix: its cement's name from the 8th character on ("Cimento 32" gives " 32"), as the
// sheet prints it.
QString textoDaClasse(const QString& cementName);

// Mean strength that a water/cement ratio reaches with a cement of class factor k.
double strengthFromRatio(double waterCementRatio, double k);

// The inverse: the water/cement ratio that reaches the mean strength fcj, log base B of A × k / fcj.
// Not a number when k or fcj is not positive.
double ratioFromStrength(double fcj, double k);

// Mean target strength of a characteristic strength: fck + t × Sd.
double targetStrength(double fck, double Sd);

// Strength reached by the mix of the state: takes Sd from the measuring code (kept when the code has
// none), k from the class and fcj from w/c, keeps Sd and fcj in the state and returns fck = fcj − t × Sd,
// or 0 when that is not positive. The caller stores it as a 16-bit integer (halves to even).
double CalculaResistencia(CalcState& state);

} // namespace calc
