#pragma once

#include <QString>

namespace calc {
struct CalcState;
}

// What page 5 of the wizard shows when the application gives it no sheet preview.
namespace wizard {

// The designed mix in a few lines and one table (HTML): name, class, strengths, w/c, consistency, the chosen
// fine/total ratio, then cement, sand, coarse aggregate, waters and labour per bag of cement and per cubic metre,
// with the loose volume of one bag's solids, and the proportions.
QString resumoDoTraco(const calc::CalcState& estado);

// The message when the products have no cement of the class with its bag mass: without the bag there are no
// quantities per bag, so none is shown.
QString textoSemCimento(const QString& nomeDoCimento);
QString tituloSemCimento();

} // namespace wizard
