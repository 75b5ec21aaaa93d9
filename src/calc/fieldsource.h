#pragma once

#include <QString>
#include <QVariant>

#include <functional>

namespace calc {

// Any source of named fields: a record set positioned on a row, a map read from JSON. An invalid or null
// QVariant means the field is missing or Null.
using FieldSource = std::function<QVariant(const QString& field)>;

} // namespace calc
