// Files that come from outside the dialogs: named on the command line.
#include "fakeplatform.h"
#include "messages.h"
#include "plotwidget.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using ws::test::FakeWindow;
namespace names = ws::window::names;

namespace {

const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");

// Everything a load shows, element by element.
QStringList shown(FakeWindow &w)
{
    QStringList out;
    for (const char *name : {names::newestLabel, names::referenceLabel, names::mapLabel,
                             names::startFrequencyLabel, names::endFrequencyLabel,
                             names::levelTopLabel, names::levelBottomLabel,
                             names::differenceTopLabel, names::differenceBottomLabel})
        out << w.element<QLabel>(name)->text();
    out << w.element<QPlainTextEdit>(names::logBox)->toPlainText();
    out << QString::number(w.element<QPushButton>(names::loadMapButton)->isEnabled());
    return out;
}

bool sameDrawing(FakeWindow &a, FakeWindow &b)
{
    for (const char *name : {names::levelPlot, names::differencePlot, names::mapStrip})
        if (a.element<PlotWidget>(name)->surface() != b.element<PlotWidget>(name)->surface())
            return false;
    return true;
}

} // namespace

class TestOpenFiles : public QObject
{
    Q_OBJECT

private slots:
    void commandLineFilesLoadAsIfPicked();
    void commandLineFailuresAreTold();
};

void TestOpenFiles::commandLineFilesLoadAsIfPicked()
{
    FakeWindow picked;
    for (const char *file : {"newest.scn", "reference.scn"})
        picked.dialogs.pick(examples + QLatin1String(file));
    picked.window->loadScan(ws::ScanSlot::Newest);
    picked.window->loadScan(ws::ScanSlot::Reference);
    picked.dialogs.pick(examples + QStringLiteral("demo.map"));
    picked.window->loadMap();
    QVERIFY(picked.dialogs.messages.isEmpty());

    // Relative to where the program was started, as a shell passes them.
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(examples));
    FakeWindow named;
    QStringList heard;
    const bool loaded = named.window->openFiles({"newest.scn", "./reference.scn", "demo.map"},
                                                [&](const QString &path) { heard << path; });
    QDir::setCurrent(started);

    QVERIFY(loaded);
    QVERIFY(named.dialogs.messages.isEmpty());
    QVERIFY(named.dialogs.shown.empty());
    const QStringList paths{examples + "newest.scn", examples + "reference.scn",
                            examples + "demo.map"};
    QCOMPARE(heard, paths);
    QCOMPARE(shown(named), shown(picked));
    QVERIFY(shown(named)[0].startsWith(paths[0] + "  "));
    QVERIFY(sameDrawing(named, picked));
    QCOMPARE(named.events.repainted, picked.events.repainted);
    QCOMPARE(named.map().entries.size(), picked.map().entries.size());

    // The dialogs offer them next.
    for (int i = 0; i < 3; ++i)
        named.dialogs.cancel();
    named.window->loadScan(ws::ScanSlot::Newest);
    named.window->loadScan(ws::ScanSlot::Reference);
    named.window->loadMap();
    QCOMPARE(named.dialogs.shown.size(), size_t(3));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(named.dialogs.shown[i].prefilled, paths[i]);
}

void TestOpenFiles::commandLineFailuresAreTold()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.scn");
    const QString map = examples + "demo.map";
    {
        // The reference still loads, as it would when picked after a
        // failed newest; the map cannot, "Load Map ..." being disabled.
        FakeWindow w;
        QStringList heard;
        QVERIFY(!w.window->openFiles({missing, examples + "reference.scn", map},
                                     [&](const QString &path) { heard << path; }));
        QCOMPARE(heard, QStringList({missing, examples + "reference.scn", map}));
        QCOMPARE(w.dialogs.messages,
                 QStringList({ws::messages::cancelled(), ws::messages::mapNeedsScans(map)}));
        QCOMPARE(w.dialogs.messages[1],
                 map + " was not loaded: a map needs both scans loaded first");
        QVERIFY(!w.scans().newest);
        QVERIFY(w.scans().reference);
        QVERIFY(w.map().entries.isEmpty());
        QVERIFY(!w.element<QPushButton>(names::loadMapButton)->isEnabled());
    }
    {
        FakeWindow w;
        QVERIFY(!w.window->openFiles(
            {examples + "newest.scn", examples + "reference.scn", dir.filePath("missing.map")}));
        QCOMPARE(w.dialogs.messages, QStringList{ws::messages::cancelled()});
        QVERIFY(w.scans().bothLoaded());
    }
}

QTEST_MAIN(TestOpenFiles)
#include "tst_openfiles.moc"
