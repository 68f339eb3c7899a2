#include "plot/transmissionlevels.h"

#include "core/csv.h"
#include "core/numbers.h"
#include "scan/transmissionlevel.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>
#include <utility>

namespace ws {

namespace {

QString withoutTrailingBlanks(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QLatin1Char(' '))
        --n;
    return text.left(n);
}

QString levelOr(const std::optional<double> &level, const QString &none)
{
    return level ? levelText(*level) : none;
}

// A map field may hold a line feed or a tab; in a table they would break
// the line or the columns.
QString tableCell(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return withoutTrailingBlanks(text);
}

} // namespace

std::optional<double> entryLevel(const ScanData &scan, const MapEntry &entry)
{
    return transmissionLevel(scan, entry.frequency, entry.polarisation);
}

std::vector<TransmissionLevel> transmissionLevels(const ScanData &newest,
                                                  const ScanData &reference,
                                                  const QVector<MapEntry> &entries)
{
    std::vector<TransmissionLevel> levels;
    levels.reserve(size_t(entries.size()));
    for (const MapEntry &entry : entries) {
        TransmissionLevel level{entryLevel(newest, entry), entryLevel(reference, entry), {}};
        if (level.newest && level.reference)
            level.change = *level.newest - *level.reference;
        levels.push_back(level);
    }
    return levels;
}

char *writeTenths(char *to, qint64 tenths)
{
    // A loss too small to show is no loss: "0.0", never "-0.0".
    if (tenths < 0)
        *to++ = '-';
    char digits[24] = {'0'};
    // At least two digits: the tenths and what stands before the point.
    // The magnitude as unsigned, so that the most negative number has one.
    const quint64 magnitude = tenths < 0 ? 0 - quint64(tenths) : quint64(tenths);
    char *end = std::to_chars(digits + 1, digits + sizeof digits, magnitude).ptr;
    const char *begin = end - digits > 2 ? digits + 1 : digits;
    while (begin != end - 1)
        *to++ = *begin++;
    *to++ = '.';
    *to++ = *begin;
    return to;
}

char *writeLevelText(char *to, double value)
{
    // Levels are small numbers, and a report may hold millions: those are
    // written as whole tenths, which is several times faster than the
    // general conversion below and gives the same text. The tenths are the
    // value times ten rounded to the nearest whole number, halves to even;
    // the product is checked against the two halves next to that number
    // with a fused multiply-add, whose one rounding keeps the sign of the
    // exact difference, so that a product rounded across a half is caught.
    if (std::fabs(value) < 1e14) {
        const double tenths = std::nearbyint(value * 10);
        const double below = std::fma(value, 10, -(tenths - 0.5));
        const double above = std::fma(value, 10, -(tenths + 0.5));
        qint64 n = qint64(tenths);
        const bool odd = n % 2 != 0;
        if (below < 0 || (below == 0 && odd))
            n -= 1;
        else if (above > 0 || (above == 0 && odd))
            n += 1;
        return writeTenths(to, n);
    }
    // Not printf: its decimal point follows the locale.
    return std::to_chars(to, to + kMaxLevelText, value, std::chars_format::fixed, 1).ptr;
}

void appendLevelText(QByteArray &out, double value)
{
    char buffer[kMaxLevelText];
    out.append(buffer, writeLevelText(buffer, value) - buffer);
}

QString levelText(double value)
{
    QByteArray text;
    appendLevelText(text, value);
    return QString::fromLatin1(text);
}

QString entryCsvFields(const MapEntry &entry)
{
    return QStringList{csvTextField(entry.frequencyText), csvTextField(entry.polarisation),
                       csvTextField(withoutTrailingBlanks(entry.name)),
                       csvTextField(withoutTrailingBlanks(entry.type))}
        .join(QLatin1Char(','));
}

QString levelsCsv(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels)
{
    QString csv = QStringLiteral("frequency_mhz,polarisation,name,type,newest,reference,change\n");
    for (qsizetype i = 0; i < entries.size() && size_t(i) < levels.size(); ++i) {
        const TransmissionLevel &level = levels[size_t(i)];
        const QStringList fields = {entryCsvFields(entries[i]), levelOr(level.newest, QString()),
                                    levelOr(level.reference, QString()),
                                    levelOr(level.change, QString())};
        csv += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return csv;
}

std::vector<int> largestLossFirst(const std::vector<TransmissionLevel> &levels)
{
    std::vector<int> order(levels.size());
    std::iota(order.begin(), order.end(), 0);
    // A change that is no number (levels of infinity in a broken file) sorts
    // as none, so that the order stays an order.
    const auto changeOf = [&](int i) {
        const std::optional<double> &change = levels[size_t(i)].change;
        return change && !std::isnan(*change) ? change : std::nullopt;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::optional<double> ca = changeOf(a);
        const std::optional<double> cb = changeOf(b);
        return ca && (!cb || *ca < *cb);
    });
    return order;
}

QString levelsTable(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels,
                    const ScanData *newestBefore)
{
    constexpr int kColumns = 8;
    using Row = std::array<QString, kColumns>;
    // The levels are numbers: aligned at the right, like their points.
    constexpr std::array<bool, kColumns> rightAligned = {false, false, false, false,
                                                         true,  true,  true,  true};
    std::vector<Row> rows;
    rows.push_back({QStringLiteral("Freq"), QStringLiteral("Pol"), QStringLiteral("Name"),
                    QStringLiteral("Type"), QStringLiteral("Newest"), QStringLiteral("Reference"),
                    QStringLiteral("Change"), QStringLiteral("since last")});
    const QString none = QStringLiteral("-");
    for (const int i : largestLossFirst(levels)) {
        if (i >= entries.size())
            continue;
        const MapEntry &entry = entries[i];
        const TransmissionLevel &level = levels[size_t(i)];
        QString sinceLast;
        if (newestBefore) {
            const std::optional<double> before = entryLevel(*newestBefore, entry);
            sinceLast = level.newest && before ? levelText(*level.newest - *before) : none;
        }
        rows.push_back({tableCell(entry.frequencyText), tableCell(entry.polarisation),
                        tableCell(entry.name), tableCell(entry.type), levelOr(level.newest, none),
                        levelOr(level.reference, none), levelOr(level.change, none), sinceLast});
    }

    std::array<qsizetype, kColumns> widths{};
    for (const Row &row : rows) {
        for (int c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    QStringList lines;
    for (const Row &row : rows) {
        QString line;
        for (int c = 0; c < kColumns; ++c) {
            if (c > 0)
                line += QLatin1String("  ");
            line += rightAligned[c] ? row[c].rightJustified(widths[c])
                                    : row[c].leftJustified(widths[c]);
        }
        lines << withoutTrailingBlanks(line);
    }
    return lines.join(QLatin1Char('\n'));
}

QString levelsTableHeading(const ScanSource &newest, const ScanSource &reference,
                           const QString &mapPath, const std::optional<ScanSource> &newestBefore)
{
    // Not the desktop's date format: the box's numbers never follow the
    // locale, and this one sorts as it reads.
    const auto time = [](const ScanSource &scan) {
        return QLatin1String(" (") +
            QLocale::c().toString(scan.lastModified, QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
            QLatin1Char(')');
    };
    QString text = QStringLiteral("Newest: ") + tableCell(newest.path) + time(newest) +
        QStringLiteral("  Reference: ") + tableCell(reference.path) + time(reference) +
        QStringLiteral("  Map: ") + tableCell(mapPath);
    // Mostly the same file, written again since.
    if (newestBefore) {
        text += QStringLiteral("  since last:");
        if (newestBefore->path != newest.path)
            text += QLatin1Char(' ') + tableCell(newestBefore->path);
        text += time(*newestBefore);
    }
    return text;
}

const NewestShown::Scan *NewestShown::show(const ScanData &newest, const ScanSource &source)
{
    // What a level is read from; the extremes follow from the levels.
    const auto sameLevels = [](const ScanData &a, const ScanData &b) {
        return a.first == b.first && a.last == b.last && a.layout.code == b.layout.code &&
            a.lnb.code == b.lnb.code && a.levels == b.levels;
    };
    if (!shown_ || !sameLevels(shown_->data, newest))
        before_ = std::exchange(shown_, Scan{newest, source});
    else
        shown_->source = source;
    return before_ ? &*before_ : nullptr;
}

} // namespace ws
