#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace calc {

struct CalcState;

// The state read back under the field names of a Tracos row, so that what the calculation computed can be
// stored or written out. The batch and cubic-metre fields of rows 0 to 4 hold masses when the mix is
// measured by mass and loose volumes when by volume; Peso, PesoTraco, Fator and ReducaoAgua are texts as
// the program stores them. Besides the row's fields: f, wc, fcj, Sd, W, Dmax, C, n, alfa, RelacaoProposta,
// Relacoes (three numbers) and Consistencia.
QStringList fieldNames();

// One field; an invalid QVariant for a name that is not in fieldNames().
QVariant fieldValue(const CalcState& state, const QString& field);

// Every field of fieldNames().
QVariantMap toFields(const CalcState& state);

} // namespace calc
