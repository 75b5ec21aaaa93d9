#include "calc/formats.h"

#include "testregistry.h"

#include <QTest>

#include <limits>

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void quantity_data();
    void quantity();
    void proportion_data();
    void proportion();
    void fullPrecision();
    void int16_data();
    void int16();
    void ratio_data();
    void ratio();
    void paddedNumbers_data();
    void paddedNumbers();
};

void TestFormats::quantity_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero is an empty box") << 0.0 << "";
    QTest::newRow("one decimal, comma") << 12.25 << "12,3";
    QTest::newRow("rounded down") << 369.926 << "369,9";
    QTest::newRow("whole number") << 50.0 << "50,0";
    QTest::newRow("no thousands separator") << 1109.779 << "1109,8";
    QTest::newRow("small but not zero") << 0.04 << "0,0";
}

void TestFormats::quantity()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(calc::formatQuantity(value), text);
}

void TestFormats::proportion_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("two decimals") << 2.3833 << "2,38";
    QTest::newRow("zero is written") << 0.0 << "0,00";
    QTest::newRow("no thousands separator") << 1234.5 << "1234,50";
}

void TestFormats::proportion()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(calc::formatProportion(value), text);
}

void TestFormats::fullPrecision()
{
    QCOMPARE(calc::formatFull(2387.78144833708), QStringLiteral("2387,78144833708"));
    QCOMPARE(calc::formatFull(35.7 - 1.0), QStringLiteral("34,7"));
    QCOMPARE(calc::formatFull(10.0), QStringLiteral("10"));
}

void TestFormats::int16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("whole");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("20.5 to even 20") << 20.5 << true << 20;
    QTest::newRow("21.5 to even 22") << 21.5 << true << 22;
    QTest::newRow("20.859 up") << 20.859 << true << 21;
    QTest::newRow("20.49 down") << 20.49 << true << 20;
    QTest::newRow("-0.5 to 0") << -0.5 << true << 0;
    QTest::newRow("-1.5 to -2") << -1.5 << true << -2;
    QTest::newRow("largest") << 32767.4 << true << 32767;
    QTest::newRow("rounds past the largest") << 32767.5 << false << 0;
    QTest::newRow("smallest, half to even") << -32768.5 << true << -32768;
    QTest::newRow("below the smallest") << -32769.0 << false << 0;
    QTest::newRow("not a number") << nan << false << 0;
    QTest::newRow("infinite") << inf << false << 0;
}

void TestFormats::int16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, whole);

    const std::optional<qint16> result = calc::toInt16(value);
    QCOMPARE(result.has_value(), fits);
    if (fits) {
        QCOMPARE(int(*result), whole);
    }
}

void TestFormats::ratio_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");

    QTest::newRow("35.705 to 35.7") << 35.70542954675818 << 35.7;
    QTest::newRow("36 stays") << 36.0 << 36.0;
    QTest::newRow("38.96 up") << 38.96 << 39.0;
    QTest::newRow("below one") << 0.44 << 0.4;
}

void TestFormats::ratio()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(calc::roundRatio(value), rounded);
}

void TestFormats::paddedNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");

    QTest::newRow("slump 95") << 95 << 3 << "095";
    QTest::newRow("slump 2") << 2 << 3 << "002";
    QTest::newRow("variant 7") << 7 << 2 << "07";
    QTest::newRow("variant 12") << 12 << 2 << "12";
    QTest::newRow("variant 100 keeps last two digits") << 100 << 2 << "00";
}

void TestFormats::paddedNumbers()
{
    QFETCH(int, number);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(calc::padded(number, width), text);
}

QUENVAR_TEST(TestFormats)
#include "tst_formats.moc"
