#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// How the calculation writes its numbers. Every text uses the given locale's decimal separator (the
// program runs in pt-BR, so a comma) and never a thousands separator.
namespace calc {

// A quantity of a component: one decimal ("0.0"); a quantity of exactly 0 is an empty box.
QString formatQuantity(double value, const QLocale& locale = QLocale());

// One term of a proportion text: two decimals ("0.00").
QString formatProportion(double value, const QLocale& locale = QLocale());

// A number at full precision (15 significant digits, trailing zeros dropped), as the masses of a batch
// and of a cubic metre are kept and as the wizard writes its ratio list.
QString formatFull(double value, const QLocale& locale = QLocale());

// Rounds to a 16-bit integer, halves to even (20.5 gives 20, 21.5 gives 22); nothing when the value is
// not finite or falls outside -32768..32767.
std::optional<qint16> toInt16(double value);

// The wizard's proposed fine/total ratio is rounded to one decimal by writing it with the "##.#" pattern
// and reading the text back (35.705 gives 35.7).
double roundRatio(double value);

// The last `width` characters of "00" followed by the number: slumps are written with three digits
// (95 gives "095"), variants and reduction percentages with two (7 gives "07").
QString padded(qint64 number, int width);

} // namespace calc
