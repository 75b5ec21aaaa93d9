#include "guards.h"

#include "formats.h"

#include <cmath>
#include <limits>

namespace calc {

double quot(double a, double b)
{
    if (b == 0.0 || !std::isfinite(a) || !std::isfinite(b)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return a / b;
}

bool store(double& target, double value)
{
    if (!std::isfinite(value)) {
        return false;
    }
    target = value;
    return true;
}

bool store(qint16& target, double value)
{
    const std::optional<qint16> whole = toInt16(value);
    if (!whole) {
        return false;
    }
    target = *whole;
    return true;
}

} // namespace calc
