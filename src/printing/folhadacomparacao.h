#pragma once

#include <QString>

// The page of a comparison of mixes: A4 portrait, the company's logo, the title "Comparação de Traços", the
// company's name and the print date at the top; a column per mix headed by its name, variant and whether it is in
// use, the first one shaded as the one the others are measured against; under each figure of the other mixes, in a
// smaller type, its difference to the first. Rows that do not fit go on to a new page under the headings repeated.
namespace printing {

class Comparacao;
class Documento;

// Layout of the page, twips.
namespace FolhaDaComparacao {
constexpr double kMargemLateral = 600.0;
constexpr double kMargemSuperior = 700.0;
constexpr double kMargemInferior = 700.0;
constexpr double kLarguraDoRotulo = 2600.0;
} // namespace FolhaDaComparacao

// Composes the comparison into `folha` (any earlier pages are discarded); `logotipo` is the picture of the top left
// corner (nothing when empty or unreadable).
void ImprimeComparacao(Documento& folha, const Comparacao& comparacao, const QString& logotipo = QString());

} // namespace printing
