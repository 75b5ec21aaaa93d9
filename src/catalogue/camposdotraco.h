#pragma once

#include <QVariantMap>

namespace calc {
struct CalcState;
class ProductTable;
} // namespace calc

namespace catalogue {

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

// The Tracos row of a computed mix: every column the calculation gives (options, physical data, the batch, the
// cubic metre, results and costs) and the code of each product the mix names, looked up in `produtos` — 0 for a row
// without a product or without a quantity. The key, the name, the variant, the mark of the mix in use and the dates
// are the caller's: the catalogue's rules and the moment of the write decide them.
QVariantMap CamposDoTraco(const calc::CalcState& estado, const calc::ProductTable& produtos);

} // namespace catalogue
