#pragma once

#include <QVariantMap>

#include <optional>

namespace cli {

class LeitorCampos;

// A product of a mix: the field that names it in a file and the field of its code in the Tracos row. Codes are each
// company's own, so files name the products.
struct CampoDeProduto
{
    const char* nome;
    const char* codigo;
};

inline constexpr CampoDeProduto kCamposDeProduto[] = {{"NomeCimento", "TracoCimentoCod"},
                                                      {"NomeGraudo1", "TracoGraudoCod1"},
                                                      {"NomeGraudo2", "TracoGraudoCod2"},
                                                      {"NomeAditivo1", "TracoAditivoCod1"},
                                                      {"NomeAditivo2", "TracoAditivoCod2"}};

// A mix given as a JSON object with the fields of a Tracos row (the products named by NomeCimento, NomeGraudo1,
// NomeGraudo2, NomeAditivo1 and NomeAditivo2, or by their codes) read into the row CarregaTraco takes: every field
// the mix is made of, numbers as numbers. The computed fields may be there, as numbers, and are not taken. Nothing,
// with every mistake in the reader, when a field is wrong or the cement's class is not given either way.
std::optional<QVariantMap> linhaDoTraco(LeitorCampos& leitor);

} // namespace cli
