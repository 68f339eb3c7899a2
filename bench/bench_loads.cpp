// The worst scan and map files within the size limits, loaded into the
// window as a user's pick would be: read, parsed, shown (the map's listing
// laid out and painted). Each file is loaded by a fresh process of this
// program, which prints the time the load took (wall clock and processor)
// and the highest memory it used above the idle window; the targets are
// under 1 s and under 100 MB. Files beyond the limits are shown refused.
//
// With no arguments it makes the files in a temporary folder and runs one
// process per file. "--one scan|map FILE [NEWEST REFERENCE]" is one load.

#include "app/mainwindow.h"
#include "app/receiverwork.h"
#include "app/plotspanel.h"
#include "app/workspace.h"
#include "app/realplatform.h"
#include "map/mapfile.h"
#include "scan/scanfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "benchsupport.h"
#include "processmemory.h"

#include <cstdio>
#include <ctime>

namespace {

using ws::bench::resetPeak;
using ws::bench::statusKb;

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

int loadOne(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool map = qstrcmp(argv[2], "map") == 0;
    const QString path = QString::fromLocal8Bit(argv[3]);

    ws::bench::QuietPlatform quiet;
    ws::QtEventLoop events; // paints for real
    ws::Platform platform = quiet.platform();
    platform.events = &events;
    const auto window = std::make_unique<MainWindow>(platform);
    window->show();
    if (map) {
        window->workspace().loadScanFrom(ws::ScanSlot::Newest, QString::fromLocal8Bit(argv[4]));
        window->workspace().loadScanFrom(ws::ScanSlot::Reference, QString::fromLocal8Bit(argv[5]));
    }
    for (int i = 0; i < 10; ++i)
        app.processEvents();

    const long idleKb = statusKb("VmRSS:");
    resetPeak();
    const double cpu = cpuMs();
    QElapsedTimer wall;
    wall.start();
    const bool loaded = map ? window->workspace().loadMapFrom(path)
                            : window->workspace().loadScanFrom(ws::ScanSlot::Newest, path);
    // Until it is on the screen.
    app.processEvents();
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpuUsed = cpuMs() - cpu;
    const long peakKb = statusKb("VmHWM:");
    std::printf("%s %.0f %.0f %.1f\n", loaded ? "loaded" : "refused", wallMs, cpuUsed,
                double(peakKb - idleKb) / 1024);
    return 0;
}

struct Case
{
    const char *what;
    bool map;
    QByteArray bytes;
    qint64 sparseSize = 0; // a hole of this size instead of bytes
};

QByteArray scanHeader(int first, int last)
{
    return QByteArray::number(first) + "\r\n" + QByteArray::number(last) + "\r\n1053\r\n1058\r\n";
}

// Fills up to `size` with `piece` repeated.
QByteArray filled(QByteArray start, const QByteArray &piece, qint64 size)
{
    while (start.size() + piece.size() <= size)
        start += piece;
    return start;
}

QByteArray mapLine(int i)
{
    const QByteArray ghz = QByteArray::number(10.7 + (i % 2000) / 1000.0, 'f', 3);
    const QByteArray line = QByteArray("Station ").append(QByteArray::number(i)).leftJustified(16, ' ') +
                            QByteArray(24, '.') + "MPEG2   " + ghz + (i % 2 ? "H" : "V");
    return line.leftJustified(62, ' ');
}

std::vector<Case> cases()
{
    const qint64 scanLimit = ws::kMaxScanFileBytes;
    const qint64 mapLimit = ws::kMaxMapFileBytes;
    const int lines = ws::kMaxMapLines;
    const int width = ws::kMaxMapLineLength;
    std::vector<Case> out;

    QByteArray real = scanHeader(950, 2150);
    for (int f = 950; f <= 2150; ++f)
        real += QByteArray::number(f) + "," + QByteArray::number(f % 97) + "\r\n";
    out.push_back({"scan: a real l-band scan", false, real});
    QByteArray longField = scanHeader(950, 950) + "950,";
    longField += QByteArray(scanLimit - longField.size(), '7');
    out.push_back({"scan: one level field of the whole limit", false, longField});
    QByteArray longHeader = QByteArray(scanLimit - 64, '1') + "\r\n1\r\n1053\r\n1058\r\n";
    out.push_back({"scan: a first header line of the whole limit", false, longHeader});
    const qint64 shortest = (scanLimit - 40) / 2;
    out.push_back({"scan: the most data lines (\",\" LF)", false,
                   filled(scanHeader(0, int(shortest) - 1), ",\n", scanLimit)});
    out.push_back({"scan: 1 GiB (refused)", false, {}, qint64(1) << 30});

    QByteArray realMap;
    for (int i = 0; i < 1700; ++i)
        realMap += mapLine(i) + "\r\n";
    out.push_back({"map: a real map (1700 lines)", true, realMap});
    out.push_back({"map: the most lines, each empty (CR)", true, QByteArray(lines, '\r')});
    QByteArray full;
    for (int i = 0; full.size() + 64 <= mapLimit && i < lines; ++i)
        full += mapLine(i) + "\r\n";
    out.push_back({"map: 1 MiB of map lines", true, full});
    for (const auto &[name, fill] :
         {std::pair{"map: the longest lines, letters", QByteArray(1, 'x')},
          std::pair{"map: the longest lines, tabs", QByteArray(1, '\t')},
          std::pair{"map: the longest lines, bytes 128-255", QByteArray()}}) {
        QByteArray line;
        if (fill.isEmpty()) {
            for (int i = 0; i < width; ++i)
                line += char(0x80 + i % 128);
        } else {
            line = fill.repeated(width);
        }
        out.push_back({name, true, filled({}, line + "\r", mapLimit)});
    }
    out.push_back({"map: 16 MiB of CR (refused)", true, QByteArray(16 << 20, '\r')});
    out.push_back({"map: 32768 CR (refused)", true, QByteArray(2 * lines, '\r')});
    out.push_back({"map: one line of 1 MiB (refused)", true, QByteArray(mapLimit, 'x')});
    return out;
}

int runAll(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes, qint64 sparse = 0) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            (sparse && !file.resize(sparse)))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    };
    const QByteArray small = filled(scanHeader(950, 2150), "1,1\r\n", 40 + 1201 * 5);
    const QString newest = write(QStringLiteral("newest.scn"), small);
    const QString reference = write(QStringLiteral("reference.scn"), small);

    std::printf("%-48s %9s %8s %8s %9s  %s\n", "file", "bytes", "wall ms", "cpu ms",
                "peak MB", "outcome");
    int n = 0;
    for (const Case &c : cases()) {
        const QString path = write(QStringLiteral("case%1").arg(++n), c.bytes, c.sparseSize);
        QStringList args{QStringLiteral("--one"), c.map ? QStringLiteral("map")
                                                        : QStringLiteral("scan"),
                         path};
        if (c.map)
            args << newest << reference;
        QProcess one;
        one.start(QCoreApplication::applicationFilePath(), args);
        if (!one.waitForFinished(600000)) {
            std::printf("%-48s did not finish\n", c.what);
            continue;
        }
        const QList<QByteArray> f = one.readAllStandardOutput().trimmed().split(' ');
        if (f.size() != 4) {
            std::printf("%-48s failed: %s\n", c.what, one.readAllStandardError().constData());
            continue;
        }
        std::printf("%-48s %9lld %8s %8s %9s  %s\n", c.what,
                    c.sparseSize ? c.sparseSize : qint64(c.bytes.size()), f[1].constData(),
                    f[2].constData(), f[3].constData(), f[0].constData());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 4 && qstrcmp(argv[1], "--one") == 0)
        return loadOne(argc, argv);
    return runAll(argc, argv);
}
