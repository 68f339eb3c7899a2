#include "cli/historyreport.h"

#include "wording/messages.h"
#include "cli/commandline.h"
#include "cli/messageline.h"
#include "cli/report.h"
#include "core/csv.h"
#include "core/filenames.h"
#include "core/files.h"
#include "history/scanfiles.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "scan/levellookup.h"
#include "scan/transmissionlevel.h"

#include <QDir>
#include <QList>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace ws::cli {

namespace {

using Sink = std::function<void(const QByteArray &)>;

// One scan's column: the cell of every map entry as the CSV writes it, with
// the comma before it, one after another, and where each ends; or why the
// scan was left out. The
// levels are read from the whole scan, as --report reads them, not from a
// history's single-precision rows; and the cells are written on the scan's
// thread, as a map of thousands of entries makes formatting the numbers as
// costly as reading the scans.
struct Column
{
    QString path;
    QDateTime modified;
    QByteArray cells;
    QList<quint32> ends;
    std::optional<SkippedScan> skipped;
};

Column readColumn(const QString &path, const QVector<MapEntry> &entries)
{
    Column column;
    column.path = path;
    const Result<ScanFile, SkippedScan> file = readScan(path);
    if (!file.value) {
        column.skipped = file.failure;
        return column;
    }
    const ScanData &scan = file.value->scan;
    column.modified = file.value->modified;
    // The levels along the scan's curve, laid out by sky frequency: each
    // entry then reads five neighbours instead of looking up five cells.
    const FrequencyRange curve = curveRange(scan);
    std::vector<double> strips[2];
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        if (!carries(scan, pol))
            continue;
        for (double f = curve.first; f <= curve.last; ++f)
            strips[int(pol)].push_back(levelAt(scan, pol, f).value_or(0));
    }
    const auto stripAt = [&](Polarisation pol, double f) -> std::optional<double> {
        const std::vector<double> &strip = strips[int(pol)];
        const double i = f - curve.first;
        if (!(i >= 0 && i < double(strip.size())))
            return std::nullopt;
        return strip[size_t(i)];
    };
    const ScanExtent extent = extentOf(scan);
    column.ends.reserve(entries.size());
    // Written straight into the column, with room for the longest cell.
    qsizetype used = 0;
    for (const MapEntry &entry : entries) {
        if (column.cells.size() - used < kMaxLevelText + 1)
            column.cells.resize(std::max<qsizetype>(2 * column.cells.size(), 4096));
        char *to = column.cells.data() + used;
        *to++ = ',';
        const std::optional<double> level =
            transmissionLevel(extent, stripAt, entry.frequency, entry.polarisation);
        if (level)
            to = writeLevelText(to, *level);
        used = to - column.cells.constData();
        column.ends.push_back(quint32(used));
    }
    column.cells.truncate(used);
    return column;
}

void tell(const Sink &err, const QString &line)
{
    if (err)
        err(terminalText(line));
}

// What the window would say about the file, as --report says it.
void tellNotLoaded(const Sink &err, const SkippedScan &skipped)
{
    const QString message =
        skipped.kind ? messages::scanNotLoaded(*skipped.kind) : messages::cancelled();
    tell(err, messageLine(message, failureDetail(skipped.path, skipped.reason)));
}

// Named as the window names files, whole.
QString wholePath(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// The rows of `count` entries from `first` on. Each column holds its cells
// one after another; a row takes one cell from each of thousands of columns.
// Reading a column at a time for a block of rows, and writing each cell into
// its row's place, keeps to a few places in memory at a time instead of
// jumping across all the columns for every row.
QByteArray rowsOf(const QVector<MapEntry> &entries, const std::vector<const Column *> &columns,
                  qsizetype first, qsizetype count)
{
    const auto cellStart = [](const Column *column, qsizetype i) {
        return i > 0 ? column->ends[i - 1] : 0u;
    };
    std::vector<QByteArray> fields;
    std::vector<qsizetype> at(size_t(count) + 1, 0);
    for (qsizetype r = 0; r < count; ++r) {
        fields.push_back(entryCsvFields(entries[first + r]).toUtf8());
        at[size_t(r) + 1] = fields.back().size() + 1; // the line end
    }
    for (const Column *column : columns) {
        for (qsizetype r = 0; r < count; ++r)
            at[size_t(r) + 1] += column->ends[first + r] - cellStart(column, first + r);
    }
    for (size_t r = 1; r < at.size(); ++r)
        at[r] += at[r - 1];
    QByteArray rows(at.back(), Qt::Uninitialized);
    char *to = rows.data();
    for (size_t r = 0; r < fields.size(); ++r) {
        std::memcpy(to + at[r], fields[r].constData(), size_t(fields[r].size()));
        at[r] += fields[r].size();
    }
    for (const Column *column : columns) {
        const char *cells = column->cells.constData();
        for (qsizetype r = 0; r < count; ++r) {
            const quint32 begin = cellStart(column, first + r);
            const quint32 end = column->ends[first + r];
            for (quint32 c = begin; c < end; ++c)
                to[at[size_t(r)]++] = cells[c];
        }
    }
    for (qsizetype r = 0; r < count; ++r)
        to[at[size_t(r)]] = '\n';
    return rows;
}

} // namespace

int runHistoryReport(const QString &mapPath, const QStringList &scans,
                     const Output &out, const Sink &err)
{
    const QString mapFile = wholePath(mapPath);
    const auto mapBytes = readMapFile(mapFile);
    std::optional<QVector<MapEntry>> entries;
    if (mapBytes.value)
        entries = parseMap(mapBytes.value->bytes).entries;
    else
        tell(err, messageLine(messages::cancelled(),
                              failureDetail(mapFile, mapBytes.failure.reason)));
    // Every file is tried, so that one run names every file that is wrong.
    return writeHistoryReport(entries, scans, out, err);
}

int writeHistoryReport(const std::optional<QVector<MapEntry>> &map, const QStringList &scans,
                       const Output &out, const Sink &err)
{
    const QVector<MapEntry> entries = map.value_or(QVector<MapEntry>());
    QStringList whole;
    for (const QString &scan : scans)
        whole << wholePath(scan);
    const ScanSources sources = scanSources(whole);
    for (const SkippedScan &unlisted : sources.unlisted)
        tellNotLoaded(err, unlisted);
    for (const QString &folder : sources.emptyFolders)
        tell(err, QStringLiteral("wavesift: ") + folder +
                      QStringLiteral(": no scan file (.scn) in this folder\n"));

    // The scans are read on all cores, each into its column at once.
    QList<Column> columns =
        QtConcurrent::blockingMapped(sources.files, [&entries](const QString &path) {
            return readColumn(path, entries);
        });
    std::vector<const Column *> loaded;
    for (const Column &column : columns) {
        if (column.skipped)
            tellNotLoaded(err, *column.skipped);
        else
            loaded.push_back(&column);
    }
    if (!map || loaded.empty())
        return exitcode::notLoaded;
    std::stable_sort(loaded.begin(), loaded.end(), [](const Column *a, const Column *b) {
        return readEarlier(a->modified, a->path, b->modified, b->path);
    });

    QString header = QStringLiteral("frequency_mhz,polarisation,name,type");
    for (const Column *column : loaded)
        header += QLatin1Char(',') + csvTextField(readableName(fileNameOf(column->path)));
    // Written in pieces: a map of thousands of entries over thousands of
    // scans makes some hundred megabytes of text.
    QByteArray csv = header.toUtf8() + '\n';
    Written written;
    constexpr qsizetype kBlock = 64;
    for (qsizetype first = 0; first < entries.size() && written.ok; first += kBlock) {
        const qsizetype count = std::min(kBlock, entries.size() - first);
        csv += rowsOf(entries, loaded, first, count);
        if (csv.size() >= (qsizetype(1) << 20) || first + count == entries.size()) {
            written = out(csv);
            csv.clear();
        }
    }
    if (written.ok && entries.isEmpty())
        written = out(csv);
    if (!written.ok) {
        if (err)
            err(reportNotWritten(written));
        return exitcode::notLoaded;
    }
    return exitcode::success;
}

int runHistoryReport(const QString &mapPath, const QStringList &scans)
{
    const StandardStreams streams = standardStreams();
    return runHistoryReport(mapPath, scans, streams.out, streams.err);
}

} // namespace ws::cli
