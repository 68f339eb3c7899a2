#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Numbers in scan files, map files and the settings boxes are read leniently,
// never refused ("10 700" or "10700 MHz" mean 10700), with '.' as the point
// whatever the locale; whole numbers round halves to even, and numbers shown
// are written in plain decimal form.
namespace ws {

// The longest leading decimal number: optional sign, digits, at most one
// '.', optional exponent; blanks and tabs skipped anywhere, inside it too.
// 0 when the text starts with no number.
double readNumber(QStringView text);
double readNumber(const QByteArray &latin1);

// Nearest whole number; x.5 goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// roundHalfEven, then the 16-bit signed range; nothing when the rounded value
// does not fit (or is not a number).
std::optional<std::int16_t> toInt16(double value);

// Plain decimal form: no leading blank, no exponent, no trailing zeros, "-"
// for negatives, 15 significant digits; `decimalPoint` for the user's locale.
QString formatNumber(double value, QChar decimalPoint = QLatin1Char('.'));

// The same for a single-precision value: 7 significant digits, so that
// 0.1f shows as "0.1" and not as its double expansion.
QString formatSingle(float value, QChar decimalPoint = QLatin1Char('.'));

} // namespace ws
