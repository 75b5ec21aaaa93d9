#include "calc/numericentry.h"

#include "testregistry.h"

#include <QTest>

using calc::KeyFilter;
using calc::KeyResult;

Q_DECLARE_METATYPE(calc::KeyFilter)
Q_DECLARE_METATYPE(calc::KeyResult::Action)

class TestNumericEntry : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void pontoDecimal_data();
    void pontoDecimal();
    void leadingNumber_data();
    void leadingNumber();
    void strictNumber_data();
    void strictNumber();
    void entrySelectsAll();
};

void TestNumericEntry::keys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("key");
    QTest::addColumn<KeyFilter>("filter");
    QTest::addColumn<KeyResult::Action>("action");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<int>("cursor");

    const auto digits = KeyFilter::DigitsAndCommaRules;
    const auto comma = KeyFilter::CommaRules;
    using A = KeyResult::Action;
    QTest::newRow("point becomes comma") << "2" << 1 << 0 << int('.') << digits << A::Edit << "2," << 2;
    QTest::newRow("second comma refused") << "2,5" << 3 << 0 << int(',') << digits << A::Discard << "2,5" << 3;
    QTest::newRow("point refused after comma") << "2,5" << 3 << 0 << int('.') << comma << A::Discard << "2,5" << 3;
    QTest::newRow("comma refused even over whole selection")
        << "2,5" << 0 << 3 << int(',') << digits << A::Discard << "2,5" << 3;
    QTest::newRow("digit replaces selection") << "2,5" << 0 << 3 << int('7') << digits << A::Edit << "7" << 1;
    QTest::newRow("digit inserted mid-text") << "25" << 1 << 0 << int('0') << digits << A::Edit << "205" << 2;
    QTest::newRow("letter in quantity box discarded")
        << "12" << 2 << 0 << int('a') << digits << A::Discard << "12" << 2;
    QTest::newRow("letter in physical-data box kept") << "12" << 2 << 0 << int('a') << comma << A::Edit << "12a" << 3;
    QTest::newRow("colon passes the digit filter") << "1" << 1 << 0 << int(':') << digits << A::Edit << "1:" << 2;
    QTest::newRow("less-than beyond the digits refused")
        << "1" << 1 << 0 << int('<') << digits << A::Discard << "1" << 1;
    QTest::newRow("minus refused in quantity box") << "" << 0 << 0 << int('-') << digits << A::Discard << "" << 0;
    QTest::newRow("enter consumed") << "12" << 2 << 0 << 13 << digits << A::Enter << "12" << 2;
    QTest::newRow("tab left to the box") << "12" << 2 << 0 << 9 << digits << A::Pass << "12" << 2;
    QTest::newRow("backspace deletes before cursor") << "2,5" << 3 << 0 << 8 << digits << A::Edit << "2," << 2;
    QTest::newRow("backspace deletes selection") << "2,5" << 0 << 2 << 8 << digits << A::Edit << "5" << 0;
    QTest::newRow("other control code refused") << "25" << 2 << 0 << 27 << digits << A::Discard << "25" << 2;
    QTest::newRow("selection past the end is clamped") << "25" << 5 << 4 << int('1') << digits << A::Edit << "251" << 3;
}

void TestNumericEntry::keys()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, key);
    QFETCH(KeyFilter, filter);
    QFETCH(KeyResult::Action, action);
    QFETCH(QString, newText);
    QFETCH(int, cursor);

    const KeyResult result = calc::applyKey(text, selStart, selLength, key, filter);
    QCOMPARE(result.action, action);
    QCOMPARE(result.text, newText);
    QCOMPARE(result.cursor, cursor);
}

// PontoDecimal and how every typed number is then read.
void TestNumericEntry::pontoDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("converted");
    QTest::addColumn<double>("number");

    QTest::newRow("empty") << QString() << QStringLiteral("0") << 0.0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("0") << 0.0;
    QTest::newRow("comma") << QStringLiteral("2,5") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("only the first comma") << QStringLiteral("1,25,3") << QStringLiteral("1.25,3") << 1.25;
    QTest::newRow("point untouched") << QStringLiteral("2.5") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("blanks kept around a number") << QStringLiteral(" 7 ") << QStringLiteral(" 7 ") << 7.0;
}

void TestNumericEntry::pontoDecimal()
{
    QFETCH(QString, text);
    QFETCH(QString, converted);
    QFETCH(double, number);
    QCOMPARE(calc::PontoDecimal(text), converted);
    QCOMPARE(calc::readNumber(text), number);
}

void TestNumericEntry::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("number and unit") << "12.5 kg" << 12.5;
    QTest::newRow("comma stops the number") << "1,5" << 1.0;
    QTest::newRow("digits before a letter") << "3a4" << 3.0;
    QTest::newRow("blanks inside ignored") << "1 2.5" << 12.5;
    QTest::newRow("tabs and line feeds ignored") << "\t4\n2" << 42.0;
    QTest::newRow("three-digit slump") << "095" << 95.0;
    QTest::newRow("negative") << "-3.5" << -3.5;
    QTest::newRow("exponent") << "1.5E2" << 150.0;
    QTest::newRow("second point stops") << "1.25.3" << 1.25;
}

void TestNumericEntry::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(calc::leadingNumber(text), number);
}

void TestNumericEntry::strictNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("number");

    QTest::newRow("decimal comma") << "12,5" << true << 12.5;
    QTest::newRow("blanks around") << " 095 " << true << 95.0;
    QTest::newRow("empty is no number") << "" << false << 0.0;
    QTest::newRow("trailing unit") << "12 kg" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
}

void TestNumericEntry::strictNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, number);

    const std::optional<double> value = calc::strictNumber(text);
    QCOMPARE(value.has_value(), isNumber);
    if (isNumber) {
        QCOMPARE(*value, number);
    }
}

void TestNumericEntry::entrySelectsAll()
{
    QCOMPARE(calc::selectionOnEntry(QStringLiteral("12,5")), std::make_pair(0, 4));
    QCOMPARE(calc::selectionOnEntry(QString()), std::make_pair(0, 0));
}

QUENVAR_TEST(TestNumericEntry)
#include "tst_numericentry.moc"
