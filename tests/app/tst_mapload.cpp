#include "app/plotwidget.h"
#include "core/texts.h"
#include "support/fakeplatform.h"
#include "support/plotground.h"
#include "wording/messages.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>

using ws::test::FakeEvents;
using ws::test::FakeWindow;
namespace names = ws::window::names;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0);

QByteArray mapLine(const char *ghz, const char *pol, const char *name = "Station")
{
    return QByteArray(name).leftJustified(16, ' ') + QByteArray(24, '.') + "MPEG2   " + ghz + pol;
}

// Records what the window showed at each forced repaint.
class SnapshotEvents : public FakeEvents
{
public:
    void repaintNow(QWidget *widget) override
    {
        FakeEvents::repaintNow(widget);
        if (window)
            snapshots.push_back(
                {ws::test::element<QLabel>(*window, names::mapLabel)->text(),
                 ws::test::element<PlotWidget>(*window, names::mapStrip)->surface()});
    }
    struct Snapshot
    {
        QString mapLabel;
        QImage strip;
    };
    MainWindow *window = nullptr;
    std::vector<Snapshot> snapshots;
};

} // namespace

class TestMapLoad : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void loadFillsTableListingLabelAndStrip();
    void stripColoursFollowThePolarisation();
    void emptyFileClearsEverything();
    void fileWithoutFrequenciesLoadsAndAsks();
    void secondMapReplacesTheWholeFirst();
    void longFileKeepsEveryEntry();
    void failedLoadsKeepThePreviousMap_data();
    void failedLoadsKeepThePreviousMap();

private:
    QString write(const QString &name, const QByteArray &bytes);
    void load(const QString &path);
    int column(double frequency) const;
    QLabel *mapLabel() const { return w->element<QLabel>(names::mapLabel); }
    QPlainTextEdit *logBox() const { return w->element<QPlainTextEdit>(names::logBox); }
    PlotWidget *mapStrip() const { return w->element<PlotWidget>(names::mapStrip); }
    void setScans(double first, double last)
    {
        ws::ScanData scan;
        scan.first = first;
        scan.last = last;
        w->scans().newest = scan;
        w->scans().reference = scan;
    }

    QTemporaryDir dir;
    std::unique_ptr<FakeWindow> w;
    SnapshotEvents events;
};

void TestMapLoad::init()
{
    w = std::make_unique<FakeWindow>();
    events = SnapshotEvents();
    // The same window, but on events that record each repaint.
    w->window = std::make_unique<MainWindow>(
        ws::Platform{&w->dialogs, &events, &w->clock, &w->system, &w->serial});
    events.window = w->window.get();
    // Two scans of 10700 to 12750 MHz, as drawn before a map can be loaded.
    setScans(10700, 12750);
    w->element<QPushButton>(names::loadMapButton)->setEnabled(true);
}

QString TestMapLoad::write(const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestMapLoad::load(const QString &path)
{
    w->dialogs.pick(path);
    w->element<QPushButton>(names::loadMapButton)->click();
}

int TestMapLoad::column(double frequency) const
{
    return int(std::floor(mapStrip()->toPixel(frequency, 0).x()));
}

void TestMapLoad::loadFillsTableListingLabelAndStrip()
{
    const QByteArray bytes = mapLine("11.778", "H", "Das Erste") + "\r\n" +
                             mapLine("12.188", "v") + "\r\n";
    const QString path = write(QStringLiteral("astra.map"), bytes);
    logBox()->setPlainText(QStringLiteral("an earlier check log"));
    load(path);

    QCOMPARE(w->dialogs.shown.size(), size_t(1));
    QCOMPARE(w->dialogs.shown[0].title, QStringLiteral("Load Sat-Info"));
    QCOMPARE(w->dialogs.shown[0].prefilled, QStringLiteral("c:\\vanto21\\maps\\mymap.map"));
    QVERIFY(w->dialogs.messages.isEmpty());

    const ws::MapData &map = w->map();
    QCOMPARE(map.entries.size(), 2);
    QCOMPARE(map.entries[0].frequencyText, QStringLiteral("11778"));
    QCOMPARE(map.entries[0].name, QStringLiteral("Das Erste       "));
    QCOMPARE(map.entries[1].polarisation, QStringLiteral("v"));
    QCOMPARE(map.listing, ws::fromBytes(bytes));
    QCOMPARE(logBox()->toPlainText(), ws::fromBytes(bytes).replace(QLatin1String("\r\n"), "\n"));
    const QFileInfo info(path);
    QCOMPARE(mapLabel()->text(), path + "  " + ws::generalDateText(info.lastModified()) + "  " +
                                     QString::number(bytes.size()));

    // The caption and the cleared strip show before the file is read, the
    // finished map after.
    QCOMPARE(events.repainted, (QStringList{"Form1", "Form1"}));
    QCOMPARE(events.snapshots[0].mapLabel, ws::messages::loadingMap());
    const QImage &cleared = events.snapshots[0].strip;
    QCOMPARE(cleared.pixelColor(column(11778), 20), ws::test::plotGround());

    // Scale 10700 over 2051 MHz: 11778 lies about half-way.
    QCOMPARE(mapStrip()->scaleLeft(), 10700.0);
    QCOMPARE(mapStrip()->scaleWidth(), 2051.0);
    QCOMPARE(mapStrip()->scaleHeight(), 200.0);
    const int x = column(11778);
    QVERIFY2(x > 300 && x < 340, qPrintable(QString::number(x)));
    const QImage strip = mapStrip()->surface();
    for (int y : {0, 22, strip.height() - 1})
        QCOMPARE(strip.pixelColor(x, y), kRed);
    QCOMPARE(strip.pixelColor(x - 1, 22), ws::test::plotGround());
    QCOMPARE(strip.pixelColor(x + 1, 22), ws::test::plotGround());

    // A second load clears what the first one drew and takes the scale of
    // the scans loaded now.
    setScans(11000, 12750);
    load(write(QStringLiteral("other.map"), mapLine("12.500", "L")));
    QCOMPARE(mapStrip()->scaleLeft(), 11000.0);
    const QImage second = mapStrip()->surface();
    QCOMPARE(second.pixelColor(column(12500), 22), kGreen);
    QCOMPARE(second.pixelColor(column(11778), 22), ws::test::plotGround());
    QCOMPARE(second.pixelColor(column(12188), 22), ws::test::plotGround());
    QCOMPARE(w->dialogs.shown[1].prefilled, path);
}

void TestMapLoad::stripColoursFollowThePolarisation()
{
    struct Entry
    {
        const char *ghz;
        const char *pol;
        QColor colour;
    };
    const Entry entries[] = {
        {"11.000", "H", kRed},    {"11.100", "h", kRed},    {"11.200", "V", kBlue},
        {"11.300", "v", kBlue},   {"11.400", "L", kGreen},  {"11.500", "R", kGreen},
        {"11.600", " ", kGreen},  {"11.700", "", kGreen},   {"12.000", "H", kBlue},
    };
    QByteArray bytes;
    for (const Entry &e : entries)
        bytes += mapLine(e.ghz, e.pol) + "\r\n";
    // Drawn later, so it covers the red line at 12000.
    bytes += mapLine("12.000", "V");
    load(write(QStringLiteral("colours.map"), bytes));

    const QImage strip = mapStrip()->surface();
    for (const Entry &e : entries) {
        const double f = ws::fromBytes(QByteArray(e.ghz).remove(2, 1)).toDouble();
        QCOMPARE(strip.pixelColor(column(f), 10), e.colour);
    }
}

void TestMapLoad::emptyFileClearsEverything()
{
    load(write(QStringLiteral("one.map"), mapLine("11.778", "H")));
    load(write(QStringLiteral("empty.map"), QByteArray()));
    QVERIFY(w->map().entries.isEmpty());
    QVERIFY(w->map().listing.isEmpty());
    QVERIFY(logBox()->toPlainText().isEmpty());
    QVERIFY(mapLabel()->text().endsWith(QLatin1String("  0")));
    QCOMPARE(mapStrip()->surface().pixelColor(column(11778), 10), ws::test::plotGround());
    QVERIFY(w->dialogs.messages.isEmpty());
}

void TestMapLoad::fileWithoutFrequenciesLoadsAndAsks()
{
    const QString path = write(QStringLiteral("README"), "Wavesift\r\n\r\nHelps align a dish.\r\n");
    load(path);
    QCOMPARE(w->map().entries.size(), 3);
    QVERIFY(mapLabel()->text().startsWith(path + "  "));
    QCOMPARE(w->dialogs.messages, QStringList{ws::messages::mapWithoutFrequency(path)});
}

void TestMapLoad::secondMapReplacesTheWholeFirst()
{
    QByteArray twenty;
    for (int i = 0; i < 20; ++i)
        twenty += mapLine("11.700", "H", "old") + "\r\n";
    load(write(QStringLiteral("twenty.map"), twenty));
    QCOMPARE(w->map().entries.size(), 20);

    QByteArray ten;
    for (int i = 0; i < 10; ++i)
        ten += mapLine(QByteArray::number(12.0 + i / 100.0, 'f', 3), "V", "new") + "\r\n";
    load(write(QStringLiteral("ten.map"), ten));
    const ws::MapData &map = w->map();
    QCOMPARE(map.entries.size(), 10);
    QCOMPARE(map.listing, ws::fromBytes(ten));
    QCOMPARE(map.entries[9].frequencyText, QStringLiteral("12090"));
    QCOMPARE(map.entries[9].frequency, 12090.0);
    QCOMPARE(map.entries[9].polarisation, QStringLiteral("V"));
    for (const ws::MapEntry &entry : map.entries)
        QVERIFY(entry.name.startsWith(QLatin1String("new")));
}

void TestMapLoad::longFileKeepsEveryEntry()
{
    QByteArray bytes;
    for (int i = 0; i < 1100; ++i)
        bytes += mapLine(QByteArray::number(10.800 + i / 1000.0, 'f', 3), "H") + "\r\n";
    load(write(QStringLiteral("long.map"), bytes));
    QCOMPARE(w->map().entries.size(), 1100);
    QCOMPARE(w->map().entries[1099].frequencyText, QStringLiteral("11899"));
    QCOMPARE(logBox()->toPlainText().count(QLatin1Char('\n')), 1100);
    QVERIFY(w->dialogs.messages.isEmpty());
}

void TestMapLoad::failedLoadsKeepThePreviousMap_data()
{
    // How the load fails, and what the message box says below its text.
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("detail");
    QTest::newRow("cancelled") << "cancel" << QString();
    QTest::newRow("no such file") << "missing" << "No such file or directory";
    QTest::newRow("unreadable") << "unreadable" << "cannot be read: Input/output error";
    QTest::newRow("a folder") << "folder" << "a folder, not a file";
#ifdef Q_OS_UNIX
    QTest::newRow("an endless device") << "device" << "a device, not an ordinary file";
#endif
    // Valid lines, but far beyond any map; listing it would freeze the
    // window, and the message says so.
    QTest::newRow("too large")
        << "large" << "16777266 bytes, more than the 1048576 bytes (1 MiB) a map may have";
}

void TestMapLoad::failedLoadsKeepThePreviousMap()
{
    QFETCH(QString, how);
    QFETCH(QString, detail);
    load(write(QStringLiteral("good.map"), mapLine("11.778", "H") + "\r\n" + mapLine("12.188", "V")));
    const ws::MapData before = w->map();
    const QString label = mapLabel()->text();
    const QString listing = logBox()->toPlainText();
    const QImage strip = mapStrip()->surface();
    const int repaintedBefore = events.repainted.size();

    QString message = ws::messages::cancelled();
    QString path;
    if (how == QLatin1String("cancel")) {
        w->dialogs.cancel();
        w->element<QPushButton>(names::loadMapButton)->click();
    } else if (how == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("nowhere.map"));
    } else if (how == QLatin1String("folder")) {
        path = dir.path();
    } else if (how == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    } else if (how == QLatin1String("large")) {
        const QByteArray line = mapLine("11.778", "H") + "\r\n";
        path = write(QStringLiteral("huge.map"), line.repeated((16 << 20) / line.size() + 1));
    } else {
        // Opens, but every read fails.
        if (!QFile::exists(QStringLiteral("/proc/self/mem")))
            QSKIP("needs /proc/self/mem");
        path = QStringLiteral("/proc/self/mem");
    }
    if (!path.isEmpty())
        load(path);

    QCOMPARE(w->dialogs.details, QStringList{path.isEmpty() ? QString() : path + ": " + detail});
    QCOMPARE(w->dialogs.messages, QStringList{message});
    QCOMPARE(events.repainted.size(), repaintedBefore);
    const ws::MapData &after = w->map();
    QCOMPARE(after.entries.size(), before.entries.size());
    for (qsizetype i = 0; i < after.entries.size(); ++i)
        QCOMPARE(after.entries[i].line, before.entries[i].line);
    QCOMPARE(after.listing, before.listing);
    QCOMPARE(mapLabel()->text(), label);
    QCOMPARE(logBox()->toPlainText(), listing);
    QCOMPARE(mapStrip()->surface(), strip);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestMapLoad)
#include "tst_mapload.moc"
