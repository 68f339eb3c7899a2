#include "cli/historyreport.h"

#include "wording/messages.h"
#include "cli/commandline.h"
#include "cli/messageline.h"
#include "cli/report.h"
#include "core/csv.h"
#include "core/filenames.h"
#include "core/files.h"
#include "core/numbers.h"
#include "history/scanfiles.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "scan/levellookup.h"
#include "scan/transmissionlevel.h"

#include <QDir>
#include <QList>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace ws::cli {

namespace {

using Sink = std::function<void(const QByteArray &)>;

// One scan's column: the levels along its curve, laid out by sky
// frequency, from which each entry's cell is made as its rows are written;
// or why the scan was left out. The levels are those of the whole scan, as
// --report reads them, not a history's single-precision rows; they are
// kept in single precision only where that is exact (the levels files hold
// are whole numbers), so that ten thousand columns take some 160 MB and not
// the gigabyte their cells' text would.
struct Column
{
    QString path;
    QDateTime modified;
    ScanExtent extent;
    double first = 0;
    // Where every level is a whole number, as files hold them, only their
    // running sums, which give each entry's level in one step; otherwise
    // per polarisation as floats or, where one level would change, as
    // doubles.
    std::optional<LevelSums> sums;
    std::vector<float> floats[2];
    std::vector<double> doubles[2];
    std::optional<SkippedScan> skipped;

    std::optional<double> levelAt(Polarisation pol, double f) const
    {
        const std::vector<float> &narrow = floats[int(pol)];
        const std::vector<double> &wide = doubles[int(pol)];
        const double i = f - first;
        const size_t size = wide.empty() ? narrow.size() : wide.size();
        if (!(i >= 0 && i < double(size)))
            return std::nullopt;
        return wide.empty() ? double(narrow[size_t(i)]) : wide[size_t(i)];
    }
};

Column readColumn(const QString &path)
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
    column.extent = extentOf(scan);
    const FrequencyRange curve = curveRange(scan);
    column.first = curve.first;
    std::vector<double> levels[2];
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        if (!carries(scan, pol))
            continue;
        for (double f = curve.first; f <= curve.last; ++f)
            levels[int(pol)].push_back(levelAt(scan, pol, f).value_or(0));
    }
    column.sums = LevelSums::of(column.extent, column.first, levels);
    if (column.sums)
        return column;
    for (int pol = 0; pol < 2; ++pol) {
        const bool exact = std::all_of(levels[pol].begin(), levels[pol].end(),
                                       [](double v) { return double(float(v)) == v; });
        if (exact)
            column.floats[pol].assign(levels[pol].begin(), levels[pol].end());
        else
            column.doubles[pol] = std::move(levels[pol]);
    }
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

// The rows of `count` entries from `first` on. The levels are found one
// column after another, where each column's levels stay in the cache, and
// then written out row by row.
QByteArray rowsOf(const QVector<MapEntry> &entries, const std::vector<const Column *> &columns,
                  qsizetype first, qsizetype count)
{
    std::vector<double> centres(static_cast<size_t>(count));
    std::vector<std::optional<Polarisation>> pols(static_cast<size_t>(count));
    for (qsizetype r = 0; r < count; ++r) {
        centres[size_t(r)] = roundHalfEven(entries[first + r].frequency);
        pols[size_t(r)] = polarisationOfLetter(entries[first + r].polarisation);
    }
    // Five times each level of the columns with sums, found column by
    // column and kept row by row.
    std::vector<std::int64_t> fives(columns.size() * size_t(count), LevelSums::kNoLevel);
    qsizetype widest = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        const Column &column = *columns[c];
        if (!column.sums) {
            widest += kMaxLevelText + 1;
            continue;
        }
        widest += kMaxTenthsText + 1;
        for (qsizetype r = 0; r < count; ++r)
            fives[size_t(r) * columns.size() + c] =
                column.sums->fiveTimesLevel(centres[size_t(r)], pols[size_t(r)]);
    }
    QByteArray text;
    text.reserve(count * (64 + 8 * qsizetype(columns.size())));
    std::vector<char> line(size_t(widest) + 1);
    for (qsizetype r = 0; r < count; ++r) {
        const MapEntry &entry = entries[first + r];
        text += entryCsvFields(entry).toUtf8();
        char *to = line.data();
        for (size_t c = 0; c < columns.size(); ++c) {
            const Column *column = columns[c];
            *to++ = ',';
            if (column->sums) {
                // A fifth of a whole number has one decimal: its tenths are
                // exactly twice the sum.
                const std::int64_t five = fives[size_t(r) * columns.size() + c];
                if (five != LevelSums::kNoLevel)
                    to = writeTenths(to, 2 * five);
                continue;
            }
            const auto levelAt = [column](Polarisation pol, double f) {
                return column->levelAt(pol, f);
            };
            if (const std::optional<double> level = transmissionLevel(
                    column->extent, levelAt, entry.frequency, entry.polarisation))
                to = writeLevelText(to, *level);
        }
        *to++ = '\n';
        text.append(line.data(), to - line.data());
    }
    return text;
}

} // namespace

int runHistoryReport(const QString &mapPath, const QStringList &scans,
                     const Output &out, const Sink &err)
{
    const QString mapFile = wholePath(mapPath);
    const auto mapBytes = readMapFile(mapFile);
    std::optional<QVector<MapEntry>> entries;
    if (mapBytes.value) {
        const MapData map = parseMap(mapBytes.value->bytes);
        if (holdsNoFrequency(map))
            tell(err, messageLine(messages::mapWithoutFrequency(mapFile), QString()));
        entries = map.entries;
    } else {
        tell(err, messageLine(messages::cancelled(),
                              failureDetail(mapFile, mapBytes.failure.reason)));
    }
    // Every file is tried, so that one run names every file that is wrong.
    const int code = writeHistoryReport(entries, scans, out, err);
    return entries ? code : exitcode::badArguments;
}

int writeHistoryReport(const std::optional<QVector<MapEntry>> &map, const QStringList &scans,
                       const Output &out, const Sink &err)
{
    const QVector<MapEntry> entries = map.value_or(QVector<MapEntry>());
    QStringList whole;
    for (const QString &scan : scans)
        whole << wholePath(scan);
    const ScanSources sources = scanSources(whole);
    for (const SkippedScan &missing : sources.missing)
        tellNotLoaded(err, missing);
    for (const SkippedScan &unlisted : sources.unlisted)
        tellNotLoaded(err, unlisted);
    for (const QString &folder : sources.emptyFolders)
        tell(err, QStringLiteral("wavesift: ") + folder +
                      QStringLiteral(": no scan file (.scn) in this folder\n"));

    // The scans are read on all cores, each into its column at once.
    QList<Column> columns = QtConcurrent::blockingMapped(sources.files, readColumn);
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
    Written written = out(header.toUtf8() + '\n');
    // A map of thousands of entries over thousands of scans makes a
    // gigabyte of text: it goes out a few blocks of rows at a time, each
    // block made on a core of its own, and is never whole in memory. A
    // block holds about half a million cells: each column's levels are
    // then fetched from memory once for hundreds of rows, not once for
    // every few.
    constexpr qsizetype kBlockCells = qsizetype(1) << 19;
    const qsizetype kBlock = std::max<qsizetype>(64, kBlockCells / qsizetype(loaded.size()));
    const qsizetype inFlight = std::max(2, QThread::idealThreadCount()) * 2;
    for (qsizetype first = 0; first < entries.size() && written.ok;
         first += kBlock * inFlight) {
        QList<qsizetype> blocks;
        for (qsizetype b = first; b < entries.size() && b < first + kBlock * inFlight; b += kBlock)
            blocks << b;
        const QList<QByteArray> texts =
            QtConcurrent::blockingMapped(blocks, [&](qsizetype begin) {
                return rowsOf(entries, loaded, begin, std::min(kBlock, entries.size() - begin));
            });
        for (const QByteArray &text : texts) {
            if (written.ok)
                written = out(text);
        }
    }
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
