#pragma once

#include "catalogue/camposdotraco.h"

#include <QVariantMap>

#include <optional>

namespace cli {

class LeitorCampos;

using catalogue::CampoDeProduto;
using catalogue::kCamposDeProduto;

// A mix given as a JSON object with the fields of a Tracos row (the products named by NomeCimento, NomeGraudo1,
// NomeGraudo2, NomeAditivo1 and NomeAditivo2, or by their codes) read into the row CarregaTraco takes: every field
// the mix is made of, numbers as numbers. The computed fields may be there, as numbers, and are not taken. Nothing,
// with every mistake in the reader, when a field is wrong or the cement's class is not given either way.
std::optional<QVariantMap> linhaDoTraco(LeitorCampos& leitor);

} // namespace cli
