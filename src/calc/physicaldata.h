#pragma once

#include <QString>

#include <optional>

namespace calc {

// The reference values of the materials, in the order of the boxes that hold them on the settings form and on
// the mix form: specific and bulk masses of cement, sand and coarse aggregate (kg/l), the sand's moisture (%),
// the man-hours of one cubic metre and the losses (%). The mix form has only the first seven.
constexpr int physicalDataCount = 9;

// The value of box `index` when its text is a number (a decimal comma accepted) within the range that makes sense
// for it: specific masses 1.0 to 4.0 kg/l, bulk masses 0.5 to 2.5 kg/l, moisture 0 to 20 %, labour and losses
// not negative. Nothing otherwise: a text that is not a number or a value out of range is never computed with.
std::optional<double> physicalValue(int index, const QString& text);

// What the user is told when box `index` holds `text` and physicalValue refuses it.
QString physicalDataMessage(int index, const QString& text);

// Box `index`'s text as the catalogue shows a stored mix: a plausible value with the decimal comma ("3.10" gives
// "3,1"); a text that is no plausible value stays as it is, for the checks that refuse it.
QString physicalText(int index, const QString& text);

} // namespace calc
