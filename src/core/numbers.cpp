#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace ws {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Collects the number's characters into `out` with the blanks dropped, so
// that from_chars can do the exact decimal-to-binary conversion.
void scanNumber(QStringView text, std::string &out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        out += char(text[i].unicode());
        ++i;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        skipBlanks();
        if (i >= n)
            break;
        const QChar c = text[i];
        if (isDigit(c)) {
            out += char(c.unicode());
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            out += '.';
            seenPoint = true;
        } else {
            break;
        }
        ++i;
    }
    if (!anyDigit) {
        out.clear();
        return;
    }

    // An exponent only counts when at least one digit follows its letter.
    skipBlanks();
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        auto skipBlanksAt = [&] {
            while (j < n && isBlank(text[j]))
                ++j;
        };
        skipBlanksAt();
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            exponent += char(text[j].unicode());
            ++j;
        }
        bool expDigit = false;
        for (;;) {
            skipBlanksAt();
            if (j >= n || !isDigit(text[j]))
                break;
            exponent += char(text[j].unicode());
            expDigit = true;
            ++j;
        }
        if (expDigit)
            out += exponent;
    }
}

QString formatSignificant(double value, int significant, QChar decimalPoint)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0)
        return QStringLiteral("0");

    // Round to the wanted significant digits in scientific form, then move
    // the decimal point by hand: plain decimal form never has an exponent,
    // and digits beyond the precision are zeros, not binary noise.
    const QString scientific = QString::number(std::fabs(value), 'e', significant - 1);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    QString digits = scientific.left(e);
    digits.remove(QLatin1Char('.'));
    const int exponent = scientific.mid(e + 1).toInt();

    QString whole;
    QString fraction;
    const int pointAt = exponent + 1; // digits before the decimal point
    if (pointAt <= 0) {
        whole = QStringLiteral("0");
        fraction = QString(-pointAt, QLatin1Char('0')) + digits;
    } else if (pointAt >= digits.size()) {
        whole = digits + QString(pointAt - digits.size(), QLatin1Char('0'));
    } else {
        whole = digits.left(pointAt);
        fraction = digits.mid(pointAt);
    }
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += whole;
    if (!fraction.isEmpty())
        text += decimalPoint + fraction;
    return text;
}

// Whether a number collected by scanNumber that does not fit a double is
// too large (rather than too small): the power of ten of its first
// significant digit, exponent included, is above 0. Numbers that do not fit
// lie beyond 1e308 or below 1e-323, far from where this estimate could be
// off by one.
bool beyondLargest(const std::string &number)
{
    long long position = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (!afterPoint) {
            if (significant || c != '0') {
                ++position;
                significant = true;
            }
        } else if (!significant) {
            --position;
            significant = c != '0';
        }
    }
    if (position > 0)
        --position; // the first digit before the point stands for 10^0
    long long exponent = 0;
    bool negative = false;
    if (i < number.size()) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            negative = number[i++] == '-';
        // Saturates: a thousand digits of exponent are still just huge.
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000LL);
    }
    return position + (negative ? -exponent : exponent) > 0;
}

} // namespace

double readNumber(QStringView text)
{
    std::string number;
    scanNumber(text, number);
    if (number.empty())
        return 0;
    // Not strtod: it follows LC_NUMERIC, which the application object takes
    // from the user's environment, and under a German locale "951.5" would
    // read as 951. Files and boxes always use '.'; from_chars never looks
    // at the locale. It takes no plus sign.
    const char *first = number.data();
    const char *const last = first + number.size();
    if (*first == '+')
        ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
        // Too large saturates at the largest finite value, too small is a
        // zero, both with their sign, so that a silly number in a file still
        // draws and compares like any other.
        const bool negative = *first == '-';
        if (beyondLargest(number))
            return negative ? -std::numeric_limits<double>::max()
                            : std::numeric_limits<double>::max();
        return negative ? -0.0 : 0.0;
    }
    return value;
}

double readNumber(const QByteArray &latin1)
{
    return readNumber(QString::fromLatin1(latin1));
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::optional<std::int16_t> toInt16(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return std::int16_t(rounded);
}

QString formatNumber(double value, QChar decimalPoint)
{
    return formatSignificant(value, 15, decimalPoint);
}

QString formatSingle(float value, QChar decimalPoint)
{
    return formatSignificant(double(value), 7, decimalPoint);
}

} // namespace ws
