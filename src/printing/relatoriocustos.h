#pragma once

#include <QString>

#include <optional>

namespace catalogue {
struct ResultadoDoRecusteio;
}

// The report of a re-costing of the catalogue: the date the costs were quoted on, the mixes whose cost per cubic
// metre changed (before and after, with losses, and the change in per cent, largest first), the products those mixes
// are priced by with their price and its date, and the mixes left as they were for want of a price.
namespace printing {

class Documento;

// The report's title and the viewer's caption.
QString legendaDosCustos();

// Lays the report out on A4 portrait pages, kept in `documento` (any earlier pages are discarded).
void compoeRelatorioDeCustos(Documento& documento, const catalogue::ResultadoDoRecusteio& resultado,
                             const QString& logotipo = QString());

// "R$ 1.234,56": reais with two decimals in the Brazilian way.
QString textoEmReais(double valor);
// "+12,35 %" / "-3,10 %"; a dash when there is nothing to compare with.
QString textoDaVariacao(std::optional<double> variacao);

} // namespace printing
