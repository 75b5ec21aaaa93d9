#pragma once

#include "fieldsource.h"

#include <QVariantMap>

#include <array>

namespace calc {

struct CalcState;
class ProductTable;

// One product slot of a Tracos row: its line of the batch (0 cement, 3 and 4 coarse aggregates, 5 and 6
// admixtures), the name field that names it, the code field that points at it and the field of its quantity per
// batch.
struct ProductSlot
{
    int index;
    const char* nameField;
    const char* codeField;
    const char* batchField;
};
const std::array<ProductSlot, 5>& productSlots();

// Loads a stored mix into the state from the fields of a Tracos row and recomputes what follows from its
// batch (the cubic metre, the waters, the loose volumes of the other measure, labour per batch and the
// proportions); the masses of a batch and of a cubic metre and the strength are taken as stored. A field
// that is missing or Null leaves the value it would have set.
//
// The products of the row are named by the row's name fields when it carries them (NomeCimento,
// NomeGraudo1, NomeGraudo2, NomeAditivo1, NomeAditivo2), otherwise looked up by their codes
// (TracoCimentoCod, TracoGraudoCod1, TracoGraudoCod2, TracoAditivoCod1, TracoAditivoCod2) in products;
// an admixture counts (its quantities are read) only when it is named or its code is found, and takes
// its unit from products. The cement class
// is the cement's name from its 8th character on ("Cimento 32" gives " 32"), or the row's Classe when no
// cement is named. Perda is taken too, so that the mix can be priced afterwards.
void CarregaTraco(CalcState& state, const FieldSource& row, const ProductTable* products = nullptr);
void CarregaTraco(CalcState& state, const QVariantMap& row, const ProductTable* products = nullptr);

} // namespace calc
