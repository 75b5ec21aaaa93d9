#pragma once

#include "consistencylimits.h"

#include <optional>

// The dosage wizard's design of a mix from the strength and conditions asked for.
namespace calc {

struct CalcState;
struct WizardAnswers;

// Aggregate content is first reckoned at this specific mass (kg per litre), then brought to the real ones.
constexpr double referenceAggregateDensity = 2.65;

// Opening the wizard clears the mix, puts every use's ratio list back on its middle entry and takes the
// company's labour per cubic metre.
void openWizard(CalcState& state, double labourPerCubicMetre);

// Fine/total aggregate ratio (%) proposed for a cement content C (kg/m³): 39 % at 250 falling by one point
// every 50 kg to 34 % at 500, interpolated through those six points and extended beyond them, plus the use
// code (0 structures, 1 thin members, 2 exposed, 3 pumped; -1, no use chosen, adds nothing).
double RelacaoMiudoTotal(double C, int useCode);

// From the strength asked for to the mix's water, w/c, cement content and the three fine/total ratios
// offered for the chosen use (the proposed ratio rounded to one decimal, one point below and one above).
// Also takes name, class, slump, moisture, maximum aggregate size, measuring code, shape and use into the
// state and names the consistency.
void CalculaDosagem(CalcState& state, const WizardAnswers& answers, const ConsistencyLimits& limits);

// Every quantity of one bag of cement and of one cubic metre, with the ratio at the remembered position of
// the chosen use. bagMass is the mass of the cement product found for the class; without it (no product,
// or a mass of 0) there is no number of bags, the per-bag quantities keep their values and this returns
// false. The caller then builds the proportions (CalculaProporcoes).
bool CalculaQuantidades(CalcState& state, const WizardAnswers& answers, std::optional<double> bagMass);

} // namespace calc
