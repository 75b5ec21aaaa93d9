#pragma once

#include <QtGlobal>

// The calculation skips a step that fails: a division by zero, a result that is not a finite number or a
// whole number that does not fit its 16 bits leaves the value that step would have set, and the next step
// runs. These helpers are those guards; no exception is ever thrown.
namespace calc {

// a / b, or NaN when b is zero or either operand is not finite, so that the step using it is skipped.
double quot(double a, double b);

// Stores a step's result into target unless it is not finite. Returns whether it stored.
bool store(double& target, double value);

// Stores value rounded to a 16-bit integer (halves to even) unless it is not finite or out of range.
bool store(qint16& target, double value);

} // namespace calc
