#include "cli/report.h"

#include "wording/messages.h"
#include "cli/messageline.h"
#include "core/filenames.h"
#include "core/files.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "scan/scanfile.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <optional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace ws::cli {

namespace {

using Sink = std::function<void(const QByteArray &)>;

// What the window's message box would say, in the form --export uses:
// the file, why, and the box's own text.
void tell(const Sink &err, const QString &message, const QString &detail = QString())
{
    if (err)
        err(terminalText(messageLine(message, detail)));
}

std::optional<ScanData> loadScan(const QString &path, const Sink &err)
{
    const auto file = readScanFile(path);
    if (!file.value) {
        tell(err, messages::cancelled(), failureDetail(path, file.failure.reason));
        return std::nullopt;
    }
    ScanParse parse = parseScan(file.value->bytes);
    if (!parse.value) {
        tell(err, messages::scanNotLoaded(parse.failure.kind),
             messages::scanNotLoadedDetail(path, file.value->bytes, parse.failure.reason));
        return std::nullopt;
    }
    return std::move(parse.value);
}

std::optional<MapData> loadMap(const QString &path, const Sink &err)
{
    const auto file = readMapFile(path);
    if (!file.value) {
        tell(err, messages::cancelled(), failureDetail(path, file.failure.reason));
        return std::nullopt;
    }
    MapData map = parseMap(file.value->bytes);
    if (holdsNoFrequency(map))
        tell(err, messages::mapWithoutFrequency(path));
    return map;
}

} // namespace

int runReport(const CommandLine &line, const Output &out,
              const Sink &err)
{
    // Named as the window names them, whole and in the system's form.
    QString paths[3];
    for (qsizetype i = 0; i < 3 && i < line.files.size(); ++i)
        paths[i] = QDir::toNativeSeparators(absoluteFileName(line.files[i]));
    // Every file is tried, so that one run names every file that is wrong.
    const std::optional<ScanData> newest = loadScan(paths[0], err);
    const std::optional<ScanData> reference = loadScan(paths[1], err);
    const std::optional<MapData> map = loadMap(paths[2], err);
    if (!newest || !reference || !map)
        return exitcode::notLoaded;
    const QString csv =
        levelsCsv(map->entries, transmissionLevels(*newest, *reference, map->entries));
    if (const Written written = out(csv.toUtf8()); !written.ok) {
        if (err)
            err(reportNotWritten(written));
        return exitcode::notLoaded;
    }
    return exitcode::success;
}

int runReport(const CommandLine &line)
{
    const StandardStreams streams = standardStreams();
    return runReport(line, streams.out, streams.err);
}

QByteArray reportNotWritten(const Written &written)
{
    QString line = QStringLiteral("wavesift: the report could not be written to standard output");
    if (!written.reason.isEmpty())
        line += QStringLiteral(": ") + written.reason;
    return terminalText(line + QLatin1Char('\n'));
}

StandardStreams standardStreams()
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const auto write = [](std::FILE *stream, const QByteArray &bytes) -> Written {
        const bool written =
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
        if (std::fflush(stream) == 0 && written)
            return true;
        return Written::failed(qt_error_string(errno));
    };
    return {[=](const QByteArray &bytes) { return write(stdout, bytes); },
            [=](const QByteArray &bytes) { write(stderr, bytes); }};
}

} // namespace ws::cli
