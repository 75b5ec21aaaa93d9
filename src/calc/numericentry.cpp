#include "numericentry.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace calc {

namespace {

constexpr int keyBackspace = 8;
constexpr int keyTab = 9;
constexpr int keyLineFeed = 10;
constexpr int keyEnter = 13;

bool passesDigitFilter(int key)
{
    return key == ',' || key == '.' || key == keyEnter || (key >= '0' && key <= ';') ||
           (key >= keyBackspace && key <= keyLineFeed);
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

KeyResult applyKey(const QString& text, int selectionStart, int selectionLength, int key, KeyFilter filter)
{
    const int start = std::clamp(selectionStart, 0, int(text.size()));
    const int length = std::clamp(selectionLength, 0, int(text.size()) - start);
    KeyResult result{KeyResult::Action::Discard, text, start + length};

    if (filter == KeyFilter::DigitsAndCommaRules && !passesDigitFilter(key)) {
        return result;
    }
    if (key == keyEnter) {
        result.action = KeyResult::Action::Enter;
        return result;
    }
    if (key == keyTab || key == keyLineFeed) {
        result.action = KeyResult::Action::Pass;
        return result;
    }
    if (key == keyBackspace) {
        result.action = KeyResult::Action::Edit;
        if (length > 0) {
            result.text.remove(start, length);
            result.cursor = start;
        } else if (start > 0) {
            result.text.remove(start - 1, 1);
            result.cursor = start - 1;
        } else {
            result.cursor = 0;
        }
        return result;
    }
    if (key < 0 || key > 0xFFFF) {
        return result;
    }
    // A decimal point is always typed as the Brazilian comma, and a number has only one.
    if (key == '.') {
        key = ',';
    }
    if (key == ',' && text.contains(QLatin1Char(','))) {
        return result;
    }
    result.action = KeyResult::Action::Edit;
    result.text = text.left(start) + QChar(char16_t(key)) + text.mid(start + length);
    result.cursor = start + 1;
    return result;
}

std::pair<int, int> selectionOnEntry(const QString& text)
{
    return {0, int(text.size())};
}

QString PontoDecimal(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        return QStringLiteral("0");
    }
    QString converted = text;
    const qsizetype comma = converted.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        converted[comma] = QLatin1Char('.');
    }
    return converted;
}

double leadingNumber(const QString& text)
{
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) {
            compact.append(c);
        }
    }

    qsizetype i = 0;
    const qsizetype n = compact.size();
    QString number;
    if (i < n && (compact[i] == QLatin1Char('+') || compact[i] == QLatin1Char('-'))) {
        number.append(compact[i++]);
    }
    bool digits = false;
    while (i < n && isDigit(compact[i])) {
        number.append(compact[i++]);
        digits = true;
    }
    if (i < n && compact[i] == QLatin1Char('.')) {
        number.append(compact[i++]);
        while (i < n && isDigit(compact[i])) {
            number.append(compact[i++]);
            digits = true;
        }
    }
    if (!digits) {
        return 0.0;
    }
    // An exponent (E or D, as in 1.5E3) counts only when digits follow it.
    if (i < n && QStringLiteral("EeDd").contains(compact[i])) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (compact[j] == QLatin1Char('+') || compact[j] == QLatin1Char('-'))) {
            exponent.append(compact[j++]);
        }
        const qsizetype firstDigit = j;
        while (j < n && isDigit(compact[j])) {
            exponent.append(compact[j++]);
        }
        if (j > firstDigit) {
            number.append(exponent);
        }
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok) {
        // Only a number too large for a double gets here; it reads as an overflow that the step skips.
        return number.startsWith(QLatin1Char('-')) ? -std::numeric_limits<double>::infinity()
                                                   : std::numeric_limits<double>::infinity();
    }
    return value;
}

double readNumber(const QString& text)
{
    return leadingNumber(PontoDecimal(text));
}

std::optional<double> strictNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(PontoDecimal(trimmed), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

} // namespace calc
