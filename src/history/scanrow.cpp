#include "history/scanrow.h"

#include <algorithm>
#include <cmath>

namespace ws {

std::optional<double> ScanRow::levelAt(Polarisation pol, double f) const
{
    const QList<float> &list = levels(pol);
    const double index = f - firstMhz;
    if (!(index >= 0 && index < double(list.size())))
        return std::nullopt;
    const float level = list[qsizetype(index)];
    if (std::isnan(level))
        return std::nullopt;
    return level;
}

QString ScanRow::fileName() const
{
    return fileNameOf(path);
}

ScanRow compactRow(const QString &path, const ScanFile &file)
{
    const ScanData &scan = file.scan;
    ScanRow row;
    row.path = path;
    row.modified = file.modified;
    row.size = file.size;
    row.extent = extentOf(scan);
    const FrequencyRange curve = curveRange(scan);
    row.firstMhz = curve.first;
    if (!(curve.last >= curve.first))
        return row;
    // Whole frequencies within the lookup's range: the cells follow from
    // them by integer steps, band by band, as levelCell finds them.
    const int first = int(curve.first);
    const int last = int(curve.last);
    const LnbType &lnb = scan.lnb;
    const bool switched = lnb.switchFrequency != -1;
    constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
    float lowest = std::numeric_limits<float>::infinity();
    float highest = -std::numeric_limits<float>::infinity();
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        if (!carries(scan, pol))
            continue;
        const bool h = pol == Polarisation::Horizontal;
        const Levels &low = scan.levels[h ? HLow : VLow];
        const Levels &high = scan.levels[h ? HHigh : VHigh];
        QList<float> &list = h ? row.horizontal : row.vertical;
        // Sized exactly: resize() would round the block up to a power of
        // two, twice the memory for a full universal scan.
        list = QList<float>(last - first + 1);
        float *out = list.data();
        // The switch frequency itself was measured in the low band.
        const int lowEnd = switched ? std::min<int>(last, lnb.switchFrequency) : last;
        const auto band = [&](int from, int to, const Levels &levels, int oscillator) {
            for (int f = from; f <= to; ++f) {
                const int cell = std::abs(oscillator - f);
                const float value = cell <= kMaxIf ? float(levels[size_t(cell)]) : kNone;
                *out++ = value;
                // Levels read from a file are finite, single precision may
                // make them infinite.
                if (std::isfinite(value)) {
                    lowest = std::min(lowest, value);
                    highest = std::max(highest, value);
                }
            }
        };
        band(first, lowEnd, low, lnb.lowOscillator);
        band(std::max(first, lowEnd + 1), last, high, lnb.highOscillator);
    }
    if (lowest <= highest) {
        row.lowest = lowest;
        row.highest = highest;
    }
    return row;
}

std::optional<double> entryLevel(const ScanRow &row, const MapEntry &entry)
{
    return transmissionLevel(
        row.extent, [&](Polarisation pol, double f) { return row.levelAt(pol, f); },
        entry.frequency, entry.polarisation);
}

} // namespace ws
