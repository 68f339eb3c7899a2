#include "plot/waterfall.h"

#include "plot/palette.h"

#include <QColor>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace ws {

namespace {

// A colour in OKLab: lightness, then the green-red and blue-yellow axes.
struct Lab
{
    double l;
    double a;
    double b;
};

struct LinearRgb
{
    double r;
    double g;
    double b;
    bool inGamut() const
    {
        constexpr double e = 1e-9;
        return r >= -e && r <= 1 + e && g >= -e && g <= 1 + e && b >= -e && b <= 1 + e;
    }
};

// From OKLab to linear sRGB, by its published matrices.
LinearRgb toLinearRgb(const Lab &c)
{
    const double l = std::pow(c.l + 0.3963377774 * c.a + 0.2158037573 * c.b, 3);
    const double m = std::pow(c.l - 0.1055613458 * c.a - 0.0638541728 * c.b, 3);
    const double s = std::pow(c.l - 0.0894841775 * c.a - 1.2914855480 * c.b, 3);
    return {+4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

int toSrgbByte(double linear)
{
    const double x = std::clamp(linear, 0.0, 1.0);
    const double encoded = x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1 / 2.4) - 0.055;
    return int(std::lround(255 * encoded));
}

// The hues the colour map passes through, by hue angle (degrees) and
// chroma, evenly spaced along it.
struct Anchor
{
    double hue;
    double chroma;
};
constexpr Anchor kAnchors[] = {{290, 0.13}, {255, 0.12}, {200, 0.10}, {145, 0.15}, {105, 0.17}};
constexpr double kPi = 3.14159265358979323846;
constexpr double kDarkest = 0.27;
constexpr double kLightest = 0.95;

QRgb colourAt(double t)
{
    constexpr int spans = int(std::size(kAnchors)) - 1;
    const double at = t * spans;
    const int k = std::min(spans - 1, int(at));
    const double f = at - k;
    const auto ab = [](const Anchor &p) {
        const double h = p.hue * kPi / 180;
        return std::array<double, 2>{p.chroma * std::cos(h), p.chroma * std::sin(h)};
    };
    const auto from = ab(kAnchors[k]);
    const auto to = ab(kAnchors[k + 1]);
    const double l = kDarkest + (kLightest - kDarkest) * t;
    double a = from[0] + (to[0] - from[0]) * f;
    double b = from[1] + (to[1] - from[1]) * f;
    // Where a colour lies beyond what a screen shows, the chroma gives way
    // and the lightness stays: the lightness is what must stay even.
    LinearRgb rgb = toLinearRgb({l, a, b});
    for (int i = 0; i < 100 && !rgb.inGamut(); ++i) {
        a *= 0.99;
        b *= 0.99;
        rgb = toLinearRgb({l, a, b});
    }
    return qRgb(toSrgbByte(rgb.r), toSrgbByte(rgb.g), toSrgbByte(rgb.b));
}

constexpr int kColours = 256;

const std::array<QRgb, kColours> &colourTable()
{
    static const std::array<QRgb, kColours> table = [] {
        std::array<QRgb, kColours> colours{};
        for (int i = 0; i < kColours; ++i)
            colours[size_t(i)] = colourAt(double(i) / (kColours - 1));
        return colours;
    }();
    return table;
}

const QRgb kNoLevel = QColor(0xF0, 0xF0, 0xF0).rgb();

} // namespace

QRgb levelColour(double fraction)
{
    const double f = std::isnan(fraction) ? 0 : std::clamp(fraction, 0.0, 1.0);
    return colourTable()[size_t(std::lround(f * (kColours - 1)))];
}

WaterfallRows::WaterfallRows(int scans, int pixelRows, int preferred)
    : scans_(std::max(0, scans)), pixelRows_(std::max(0, pixelRows)), preferred_(preferred)
{
}

int WaterfallRows::scanAt(int y) const
{
    if (y < 0 || y >= pixelRows_ || scans_ == 0)
        return -1;
    // The scans the row stands for: from `first` to before `end`.
    const qint64 first = y * scans_ / pixelRows_;
    const qint64 end = std::max(first + 1, (y + 1) * scans_ / pixelRows_);
    if (preferred_ >= first && preferred_ < end)
        return preferred_;
    return int(end - 1);
}

WaterfallRows::Band WaterfallRows::bandOf(int scan) const
{
    if (scan < 0 || scan >= scans_ || pixelRows_ == 0)
        return {0, 0};
    if (scans_ <= pixelRows_) {
        // The rows y with y * scans / pixelRows == scan.
        const auto firstRowOf = [&](qint64 s) {
            return int((s * pixelRows_ + scans_ - 1) / scans_);
        };
        return {firstRowOf(scan), firstRowOf(scan + 1)};
    }
    const int y = int(scan * pixelRows_ / scans_);
    return scanAt(y) == scan ? Band{y, y + 1} : Band{y, y};
}

void drawWaterfall(QImage &image, const QRect &area, const std::vector<WaterfallRow> &rows,
                   const WaterfallRows &layout, const View &view, double lowest, double highest)
{
    const QRect target = area.intersected(image.rect());
    if (target.isEmpty() || image.depth() != 32)
        return;
    // Each pixel column covers the whole MHz from base + from[x] to before
    // base + to[x]: MHz f is drawn from f to f + 1 on the scale, as the
    // plots give the last frequency a column of its own.
    const FrequencyScale scale = view.scale();
    const double base = std::floor(scale.left);
    const int left = target.left() - area.left();
    const int width = target.width();
    std::vector<qint64> from(static_cast<size_t>(width));
    std::vector<qint64> to(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        const double x0 = scale.left + (left + x) * scale.width / area.width();
        const double x1 = scale.left + (left + x + 1) * scale.width / area.width();
        from[size_t(x)] = qint64(std::floor(x0) - base);
        to[size_t(x)] = std::max(from[size_t(x)] + 1, qint64(std::ceil(x1) - base));
    }
    // The most MHz any column covers.
    qint64 most = 1;
    for (int x = 0; x < width; ++x)
        most = std::max(most, to[size_t(x)] - from[size_t(x)]);
    const float low = float(lowest);
    const float toIndex = highest > lowest ? float((kColours - 1) / (highest - lowest)) : 0.f;
    const float flat = highest > lowest ? 0.f : (kColours - 1) / 2.f;
    const std::array<QRgb, kColours> &colours = colourTable();

    // One pixel row of a scan.
    const auto drawRow = [&](QRgb *line, const WaterfallRow &row) {
        // From a column's MHz to the row's index.
        const qint64 shift = qint64(base - row.firstMhz);
        const bool inside = from.front() + shift >= 0 && to.back() + shift <= row.count;
        for (int x = 0; x < width; ++x) {
            // A level that is no number (none there) is never the highest.
            float best = -std::numeric_limits<float>::infinity();
            if (inside) {
                // The same number of reads for every column, the last cell
                // read again where a column has fewer: no branch to guess.
                const float *cells = row.levels + (from[size_t(x)] + shift);
                const qint64 last = to[size_t(x)] - from[size_t(x)] - 1;
                for (qint64 k = 0; k < most; ++k) {
                    const float v = cells[std::min(k, last)];
                    best = v > best ? v : best;
                }
            } else {
                const qint64 begin = std::max<qint64>(from[size_t(x)] + shift, 0);
                const qint64 end = std::min<qint64>(to[size_t(x)] + shift, row.count);
                for (qint64 i = begin; i < end; ++i)
                    best = row.levels[i] > best ? row.levels[i] : best;
            }
            if (best == -std::numeric_limits<float>::infinity()) {
                line[x] = kNoLevel;
                continue;
            }
            const float index = toIndex > 0 ? (best - low) * toIndex + 0.5f : flat + 0.5f;
            line[x] = colours[size_t(std::clamp(index, 0.f, float(kColours - 1)))];
        }
    };
    // Bands of pixel rows are drawn on all cores (a window's worth takes some
    // milliseconds on one); the image is detached here, once, not by each thread.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto drawRows = [&](const std::pair<int, int> &band) {
        int shown = -2;
        const QRgb *previous = nullptr;
        for (int y = band.first; y < band.second; ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(bits + y * stride) + target.left();
            const int scan = layout.scanAt(y - area.top());
            // Rows of one scan are alike: the first is drawn, the rest copied.
            if (scan == shown) {
                std::memcpy(line, previous, size_t(width) * sizeof(QRgb));
                continue;
            }
            shown = scan;
            previous = line;
            if (scan < 0 || size_t(scan) >= rows.size()) {
                std::fill(line, line + width, kNoLevel);
                continue;
            }
            drawRow(line, rows[size_t(scan)]);
        }
    };
    constexpr int kBands = 8;
    std::vector<std::pair<int, int>> bands;
    const int height = target.height();
    for (int b = 0; b < kBands; ++b)
        bands.emplace_back(target.top() + b * height / kBands,
                           target.top() + (b + 1) * height / kBands);
    QtConcurrent::blockingMap(bands, drawRows);
}

void drawTrend(Canvas &canvas, const std::vector<std::optional<double>> &levels, int marked,
               int best)
{
    canvas.erase();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const std::optional<double> &level : levels) {
        if (level && std::isfinite(*level)) {
            low = std::min(low, *level);
            high = std::max(high, *level);
        }
    }
    if (!(low <= high))
        return;
    // A tenth of the span, at least one level unit, above and below.
    const double margin = std::max(1.0, (high - low) / 10);
    const double count = double(std::max<size_t>(levels.size(), 1));
    canvas.setScale(-0.5, high + margin, count, -(high - low + 2 * margin));
    if (best >= 0 && size_t(best) < levels.size() && best != marked) {
        canvas.setForeColor(palette::legendGreen);
        canvas.line(best, low - margin, best, high + margin);
    }
    if (marked >= 0 && size_t(marked) < levels.size()) {
        canvas.setForeColor(palette::grid);
        canvas.line(marked, low - margin, marked, high + margin);
    }
    canvas.setForeColor(palette::verticalNewest);
    bool penDown = false;
    for (size_t i = 0; i < levels.size(); ++i) {
        const std::optional<double> &level = levels[i];
        if (!level || !std::isfinite(*level)) {
            penDown = false;
            continue;
        }
        if (penDown)
            canvas.lineTo(double(i), *level);
        else
            canvas.line(double(i), *level, double(i), *level);
        penDown = true;
    }
}

} // namespace ws
