#include "cli/historyreport.h"

#include "app/messages.h"
#include "cli/commandline.h"
#include "cli/messageline.h"
#include "cli/report.h"
#include "core/filenames.h"
#include "core/files.h"
#include "history/scanfiles.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "scan/transmissionlevel.h"

#include <QBitArray>
#include <QDir>
#include <QList>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <optional>
#include <vector>

namespace ws::cli {

namespace {

using Sink = std::function<void(const QByteArray &)>;

// One scan's column: the level of every map entry, read from the whole
// scan as --report reads it (not from a history's single-precision row),
// or why the scan was left out.
struct Column
{
    QString path;
    QDateTime modified;
    QList<double> levels;
    QBitArray present;
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
    column.levels.resize(entries.size());
    column.present.resize(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<double> level =
            transmissionLevel(scan, entries[i].frequency, entries[i].polarisation);
        column.levels[i] = level.value_or(0);
        column.present.setBit(i, level.has_value());
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

} // namespace

int runHistoryReport(const QString &mapPath, const QStringList &scans,
                     const std::function<bool(const QByteArray &)> &out, const Sink &err)
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
                       const std::function<bool(const QByteArray &)> &out, const Sink &err)
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
        header += QLatin1Char(',') + csvField(readableName(fileNameOf(column->path)));
    QByteArray csv = header.toUtf8() + '\n';
    // Written in pieces: a map of thousands of entries over thousands of
    // scans makes some hundred megabytes of text.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    bool written = true;
    for (qsizetype i = 0; i < entries.size() && written; ++i) {
        csv += entryCsvFields(entries[i]).toUtf8();
        for (const Column *column : loaded) {
            csv += ',';
            if (column->present.testBit(i))
                appendLevelText(csv, column->levels[i]);
        }
        csv += '\n';
        if (csv.size() >= kPiece) {
            written = out(csv);
            csv.clear();
        }
    }
    if (written && !csv.isEmpty())
        written = out(csv);
    if (!written) {
        tell(err, QStringLiteral("wavesift: the report could not be written to standard output\n"));
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
