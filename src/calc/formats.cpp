#include "formats.h"

#include "numericentry.h"

#include <cmath>

namespace calc {

namespace {

QLocale withoutGroups(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

QString formatQuantity(double value, const QLocale& locale)
{
    if (value == 0.0) {
        return QString();
    }
    return withoutGroups(locale).toString(value, 'f', 1);
}

QString formatProportion(double value, const QLocale& locale)
{
    return withoutGroups(locale).toString(value, 'f', 2);
}

QString formatFull(double value, const QLocale& locale)
{
    return withoutGroups(locale).toString(value, 'g', 15);
}

std::optional<qint16> toInt16(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    if (whole < -32768.0 || whole > 32767.0) {
        return std::nullopt;
    }
    return static_cast<qint16>(whole);
}

double roundRatio(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    // "##.#" writes one decimal as the locale's toString rounds; the text is read back as the wizard
    // reads any typed number.
    return readNumber(withoutGroups(QLocale()).toString(value, 'f', 1));
}

QString padded(qint64 number, int width)
{
    return (QStringLiteral("00") + QString::number(number)).right(width);
}

} // namespace calc
