#pragma once

#include "keyresult.h"

#include <QString>

#include <optional>
#include <utility>

// Numbers are typed by Brazilian users with a decimal comma and read by the calculation with a decimal
// point. Every entry box of every form goes through these functions.
namespace calc {

enum class KeyFilter {
    CommaRules,          // text boxes: any key, with the comma rules
    DigitsAndCommaRules, // quantity and result boxes: digits, ":", ";", "," and "." only, then the comma rules
};

// The key rules of an entry box, as a pure function of the box's text, its selection and the typed key
// (a character code; 8 backspace, 9 tab, 10 line feed, 13 Enter). A "." is typed as ","; a "," is
// refused when the box already holds one.
KeyResult applyKey(const QString& text, int selectionStart, int selectionLength, int key, KeyFilter filter);

// Entering a box selects its whole text, so that typing replaces it: the selection's start and length.
std::pair<int, int> selectionOnEntry(const QString& text);

// A blank text becomes "0"; otherwise the first "," becomes ".". The box itself is not changed.
QString PontoDecimal(const QString& text);

// The number at the start of a text, a "." being the decimal point whatever the locale. Blanks, tabs and
// line feeds are ignored wherever they stand; reading stops at the first character that cannot continue
// the number. "12.5 kg" reads 12.5, "1,5" reads 1, "" and "abc" read 0.
double leadingNumber(const QString& text);

// How every typed number is read: PontoDecimal, then the leading number. "2,5" reads 2.5.
double readNumber(const QString& text);

// A text that is a number and nothing else (a decimal comma accepted, blanks around it allowed); nothing
// otherwise, an empty text included. This is the conversion that fails on a list text that is not a number.
std::optional<double> strictNumber(const QString& text);

} // namespace calc
