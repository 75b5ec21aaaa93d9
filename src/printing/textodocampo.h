#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace printing {

// How the sheet and the reports write a stored field.

// The program's locale without thousands separators: the paper writes "1234,5".
QLocale semGrupos();
// A field as plain text: a text as stored, a number at full precision; a Null field prints nothing.
QString textoDoCampo(const QVariant& valor);
// A field in the "0,00" pattern; a Null field prints nothing.
QString duasCasas(const QVariant& valor);

} // namespace printing
