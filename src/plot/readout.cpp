#include "readout.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>

namespace ws {

namespace {

// The frequency of a row as the search compares it: a whole number. Maps
// hold five digits here, which take the fast path; anything else (a short
// line's empty field, a typo like "1x788") is read leniently and rounded, so
// such a row counts as its leading number, 0 when it has none, and the
// search simply goes past it.
double wholeFrequency(const QString &text)
{
    const qsizetype n = text.size();
    if (n > 0 && n <= 9) {
        long value = 0;
        qsizetype i = 0;
        for (; i < n; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            value = value * 10 + (c - u'0');
        }
        if (i == n)
            return double(value);
    }
    return roundHalfEven(readNumber(text));
}

} // namespace

QString frequencyReadout(double x)
{
    return formatNumber(roundHalfEven(x)) + QStringLiteral(" MHz ");
}

int nearestMapRow(const SharedState &state, double x)
{
    const int count = std::min<int>(state.mapcount, kMaxMapEntries);
    if (count <= 0)
        return 0;

    int candidate = 1;
    while (candidate < count && wholeFrequency(state.mapdata[candidate][1]) < x)
        ++candidate;
    if (candidate == 1)
        return 1;

    // The distances read the texts as the lenient number reader does, without
    // rounding.
    const double a = readNumber(state.mapdata[candidate][1]);
    const double b = readNumber(state.mapdata[candidate - 1][1]);
    return std::abs(x - b) < std::abs(x - a) ? candidate - 1 : candidate;
}

QString mapRowText(const SharedState &state, int row)
{
    const auto &cells = state.mapdata[row];
    return cells[1] + cells[4] + QStringLiteral(", ") + cells[2] + QStringLiteral(", ") + cells[3];
}

} // namespace ws
