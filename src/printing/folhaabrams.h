#pragma once

#include <QImage>

// The page of the Abrams chart: A4 portrait, the title, the mix's name, the chart as large as the width allows and
// what it shows written under it.
namespace calc {
struct Abrams;
}

namespace printing {

class Documento;

// Width over height of the chart's box on the page; the picture is drawn in it with its proportions kept.
constexpr double kProporcaoDoGraficoDeAbrams = 1.5;

// Composes the page into `folha` (any earlier pages are discarded) with `grafico`, the chart drawn by the caller.
void ImprimeAbrams(Documento& folha, const calc::Abrams& abrams, const QImage& grafico);

} // namespace printing
