#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

// What the one-page sheets laid out freely on the page share (the batching sheet, the comparison of mixes): their
// colours, a line of text kept inside its box, the A4 portrait page without running header or footer, and the print
// date of the top right corner.
namespace printing {

class Documento;
struct Fonte;

namespace CorDaFolha {
inline const QColor kPreto(0, 0, 0);
inline const QColor kAzul(0, 0, 255);
inline const QColor kCinza(96, 96, 96);
// The shaded ground of what the eye should find first.
inline const QColor kDestaque(255, 255, 214);
// Every other row, so that a row reads across.
inline const QColor kListra(238, 246, 238);
} // namespace CorDaFolha

// Discards any earlier pages and starts an A4 portrait page with these margins (twips) and no header or footer.
void abreFolhaA4(Documento& folha, double margemLateral, double margemSuperior, double margemInferior);

// One line of text in its box, smaller and then cut when it does not fit; nothing for an empty text.
void escreve(Documento& folha, const QRectF& caixa, const QString& texto, const Fonte& fonte, const QColor& cor,
             Qt::Alignment alinhamento);

// "Impresso: " and today's date, as the top right corner of a sheet shows it.
QString textoDaImpressao();

} // namespace printing
