#pragma once

#include <QString>

// The batching sheet for the mixer operator: A4 portrait in large type, the title "Betonada", the mix's name and
// variant, the mixer's capacity and what one batch yields, the bags of cement in figures and in words, each material
// with its kilograms (and litres for loose volumes and water) and, when a volume was given, the batches it takes.
namespace calc {
struct Betonada;
struct CalcState;
} // namespace calc

namespace printing {

class Documento;

// The bags of one batch in figures and in words: "2 sacos (dois sacos)", "1 saco e meio (um saco e meio)",
// "meio saco".
QString textoDosSacos(double sacos);

// Why a batch could not be worked out, in Portuguese; empty when it was. `cimento` names the cement product.
QString mensagemDaBetonada(const calc::Betonada& betonada, const QString& cimento);

// Composes the sheet into `folha` (any earlier pages are discarded); `logotipo` is the picture of the top left corner
// (nothing when empty or unreadable).
void ImprimeBetonada(Documento& folha, const calc::CalcState& traco, const calc::Betonada& betonada,
                     const QString& logotipo = QString());

} // namespace printing
