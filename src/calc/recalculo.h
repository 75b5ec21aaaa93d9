#pragma once

namespace calc {

struct CalcState;
class ProductTable;

// The absolute-volume rule: the solid volumes of cement, sand and coarse aggregate plus the water fill
// 1000 litres. Scales the batch of the state (masses when measured by mass, loose volumes when by volume)
// to one cubic metre with the water W already set: f, every quantity per cubic metre, the masses or loose
// volumes of the other measure, the additional water after the sand-moisture correction and the
// admixtures per cubic metre. A batch with no solids is scaled with f = 1.
void scaleToCubicMetre(CalcState& state);

// The same rule for a batch given by mass, whatever the measuring code (the wizard designs by mass).
void scaleMassBatch(CalcState& state);

// The proportion texts of the cubic metre: by mass "1:sand:coarse:water" per kg of cement, by loose volume
// "1:sand:coarse:additional water" per litre of loose cement, and aggregate/cement "1:aggregate". Each term
// has two decimals with the locale's separator. A text whose divisor is not positive keeps its value.
void CalculaProporcoes(CalcState& state);

// Recalculates the mix from its batch: maximum aggregate size, shape factor, water and its superplasticiser
// reduction, the cubic metre, the proportions, w/c, the masses of a batch and of a cubic metre, labour,
// costs (when products is given) and the strength reached.
//
// The caller has put into the state what its controls hold: the batch in the current measure, admixtures,
// labour, physical data, codes, class, product names, slump, superplasticiser flag and r, losses and the
// edit index. The main window calls this only while a mix is inserted or edited, raises recalculando
// before and, once it has shown the results (every box but the one being edited), sets the edit index back
// to CalcState::semEdicao and clears recalculando.
//
// A mix without cement has no water/cement ratio: w/c keeps its value and the strength reached is 0.
void ReCalculo(CalcState& state, const ProductTable* products);

} // namespace calc
