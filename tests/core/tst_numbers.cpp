#include "core/numbers.h"
#include "core/texts.h"
#include "support/commalocale.h"

#include <QTest>

using namespace ws;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void readsTheLongestLeadingNumber_data();
    void readsTheLongestLeadingNumber();
    void readsTheSameUnderACommaLocale_data() { readsTheLongestLeadingNumber_data(); }
    void readsTheSameUnderACommaLocale();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void int16RefusesWhatDoesNotFit();
    void writesPlainDecimal_data();
    void writesPlainDecimal();
    void singlePrecisionShowsItsOwnDigits();
    void latin1BytesSurviveARoundTrip();
    void generalDateLeavesOutMidnight();
};

void TestNumbers::readsTheLongestLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("inner blank") << "10 700" << 10700.0;
    QTest::newRow("trailing unit") << "10700 MHz" << 10700.0;
    QTest::newRow("fraction") << "1044.5" << 1044.5;
    QTest::newRow("exponent then junk") << "-3e2x" << -300.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("tabs and blanks anywhere") << " \t1\t2 .5" << 12.5;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("exponent without digits is not one") << "7e" << 7.0;
    QTest::newRow("exponent sign without digits") << "7e-x" << 7.0;
    QTest::newRow("plus sign") << "+42" << 42.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("comma ends it") << "12,5" << 12.0;
    QTest::newRow("digits after letters ignored") << "x12" << 0.0;
    QTest::newRow("huge exponent saturates") << "1e999" << 1.7976931348623157e308;
}

void TestNumbers::readsTheLongestLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readNumber(text), value);
    QCOMPARE(readNumber(text.toLatin1()), value);
}

// The application object has handed the C library the desktop's locale, as
// in the program; a German one must change nothing, neither in reading nor
// in writing.
void TestNumbers::readsTheSameUnderACommaLocale()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QVERIFY(QCoreApplication::instance());
    const ws::test::CommaLocaleScope comma;
    QVERIFY2(comma.error().isEmpty(), qPrintable(comma.error()));
    QCOMPARE(readNumber(text), value);
    QCOMPARE(readNumber(text.toLatin1()), value);
    QCOMPARE(formatNumber(10700.25), QStringLiteral("10700.25"));
}

void TestNumbers::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-3.5") << -3.5 << -4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("107.5") << 107.5 << 108.0;
    QTest::newRow("106.5") << 106.5 << 106.0;
    QTest::newRow("just above half") << 2.5000001 << 3.0;
    QTest::newRow("just below half") << 3.4999999 << 3.0;
    QTest::newRow("negative fraction") << -0.7 << -1.0;
}

void TestNumbers::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

void TestNumbers::int16RefusesWhatDoesNotFit()
{
    QCOMPARE(toInt16(32767.4).value(), std::int16_t(32767));
    QCOMPARE(toInt16(-32768.5).value(), std::int16_t(-32768));
    QVERIFY(!toInt16(32767.5).has_value());
    QVERIFY(!toInt16(-32769).has_value());
    QVERIFY(!toInt16(std::nan("")).has_value());
    QCOMPARE(toInt16(11777.5).value(), std::int16_t(11778));
}

void TestNumbers::writesPlainDecimal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 12750.0 << "12750";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative") << -55.0 << "-55";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("no float noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("no exponent for large") << 1e20 << "100000000000000000000";
    QTest::newRow("no binary noise beyond the precision") << 1e23 << "100000000000000000000000";
    QTest::newRow("rounded to 15 digits") << 123456789012345678.0 << "123456789012346000";
    QTest::newRow("largest double stays finite text") << 1.7976931348623157e308
                                                     << "17976931348623200" + QString(292, QLatin1Char('0'));
    QTest::newRow("tiny") << 1.5e-20 << "0.000000000000000000015";
    QTest::newRow("negative fraction") << -0.25 << "-0.25";
    QTest::newRow("rounding carries into a new digit") << 9.9999999999999999 << "10";
    QTest::newRow("no exponent for small") << 0.00001 << "0.00001";
    QTest::newRow("fraction kept") << 10700.25 << "10700.25";
}

void TestNumbers::writesPlainDecimal()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(formatNumber(value), text);
}

void TestNumbers::singlePrecisionShowsItsOwnDigits()
{
    QCOMPARE(formatSingle(0.1f), QStringLiteral("0.1"));
    QCOMPARE(formatSingle(55.0f), QStringLiteral("55"));
    QCOMPARE(formatSingle(-55.0f), QStringLiteral("-55"));
    QCOMPARE(formatSingle(1234.567f), QStringLiteral("1234.567"));
    QCOMPARE(formatNumber(2.5, QLatin1Char(',')), QStringLiteral("2,5"));
}

void TestNumbers::latin1BytesSurviveARoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(toBytes(fromBytes(all)), all);
    QCOMPARE(toBytes(QString(QChar(0x20AC))), QByteArray("?"));
}

void TestNumbers::generalDateLeavesOutMidnight()
{
    const QDate day(2026, 3, 4);
    const QString midnight = generalDateText(QDateTime(day, QTime(0, 0)));
    const QString later = generalDateText(QDateTime(day, QTime(13, 5, 9)));
    QVERIFY(!midnight.isEmpty());
    QVERIFY(later.startsWith(midnight + QLatin1Char(' ')));
    QVERIFY2(later.contains(QLatin1String("05")), qPrintable(later));
    // Milliseconds past midnight still count as midnight.
    QCOMPARE(generalDateText(QDateTime(day, QTime(0, 0, 0, 400))), midnight);
    QVERIFY(generalDateText(QDateTime(day, QTime(0, 0, 1))) != midnight);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestNumbers)
#include "tst_numbers.moc"
