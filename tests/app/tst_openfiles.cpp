// Files that come from outside the dialogs: named on the command line or
// dropped onto the window.
#include "wording/messages.h"
#include "app/plotwidget.h"
#include "app/realplatform.h"
#include "core/filenames.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

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

QString copyOf(const QTemporaryDir &dir, const QString &example, const QString &name,
               const QDateTime &modified)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!QFile::copy(examples + example, path) || !file.open(QIODevice::Append) ||
        !file.setFileTime(modified, QFileDevice::FileModificationTime))
        qFatal("cannot copy %s", qPrintable(path));
    return path;
}

QList<QUrl> urls(const QStringList &paths)
{
    QList<QUrl> out;
    for (const QString &path : paths)
        out << QUrl::fromLocalFile(path);
    return out;
}

// Drags `urls` over `receiver` at `at` and, when the drag is taken, drops
// them there; the loads follow the drop. Whether the drag was taken.
bool dragAndDrop(QWidget *receiver, QPoint at, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &enter);
    if (!enter.isAccepted())
        return false;
    // Never a move: the file manager would delete the file.
    if (enter.dropAction() != Qt::CopyAction)
        qFatal("the drag was taken as another action than a copy");
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

} // namespace

class TestOpenFiles : public QObject
{
    Q_OBJECT

private slots:
    void commandLineFilesLoadAsIfPicked();
    void commandLineFailuresAreTold();
    void aCommandLineNameThatIsNotUtf8Loads();
    void filesInAnyOrderSortAsADrop();
    void aFolderOfFilesNotLoadedFitsTheScreen();
    void dropOntoALoadButtonOrItsLabel();
    void dropElsewhereTellsScansFromTheMap();
    void dropsThatAreRefused();
    void filesDroppedOntoTextBoxesAreTheWindows();
    void dropsWaitForACheckOrAFullScan();

private:
    // A drop onto the middle of the element named `name`.
    static bool dropOnto(FakeWindow &w, const char *name, const QStringList &paths)
    {
        const QPoint middle = ws::test::placeInWindow(*w.element<QWidget>(name)).center();
        return dragAndDrop(w.window.get(), middle, urls(paths));
    }
    static QString label(FakeWindow &w, const char *name)
    {
        return w.element<QLabel>(name)->text();
    }
};

void TestOpenFiles::commandLineFilesLoadAsIfPicked()
{
    FakeWindow picked;
    for (const char *file : {"newest.scn", "reference.scn"})
        picked.dialogs.pick(examples + QLatin1String(file));
    picked.window->workspace().loadScan(ws::ScanSlot::Newest);
    picked.window->workspace().loadScan(ws::ScanSlot::Reference);
    picked.dialogs.pick(examples + QStringLiteral("demo.map"));
    picked.window->workspace().loadMap();
    QVERIFY(picked.dialogs.messages.isEmpty());

    // Relative to where the program was started, as a shell passes them.
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(examples));
    FakeWindow named;
    QStringList heard;
    const bool loaded = named.window->workspace().openFiles({"newest.scn", "./reference.scn", "demo.map"},
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
    named.window->workspace().loadScan(ws::ScanSlot::Newest);
    named.window->workspace().loadScan(ws::ScanSlot::Reference);
    named.window->workspace().loadMap();
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
        QVERIFY(!w.window->workspace().openFiles({missing, examples + "reference.scn", map},
                                     [&](const QString &path) { heard << path; }));
        QCOMPARE(heard, QStringList({missing, examples + "reference.scn", map}));
        QCOMPARE(w.dialogs.messages,
                 QStringList({ws::messages::cancelled(), ws::messages::mapNeedsScans(map)}));
        QVERIFY(!w.scans().newest);
        QVERIFY(w.scans().reference);
        QVERIFY(w.map().entries.isEmpty());
        QVERIFY(!w.element<QPushButton>(names::loadMapButton)->isEnabled());
    }
    {
        FakeWindow w;
        QVERIFY(!w.window->workspace().openFiles(
            {examples + "newest.scn", examples + "reference.scn", dir.filePath("missing.map")}));
        QCOMPARE(w.dialogs.messages, QStringList{ws::messages::cancelled()});
        QVERIFY(w.scans().bothLoaded());
    }
}

void TestOpenFiles::aCommandLineNameThatIsNotUtf8Loads()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    // Named and removed by hand: Qt can do neither. The reference is the
    // older file, which --any-order (the menu entry's way) must tell.
    const char *latin1 = "M\xfcnchen.scn";
    const char *older = "alt\xfc.scn";
    copyOf(dir, "reference.scn", "old.scn", QDateTime(QDate(2020, 5, 1), QTime(12, 0)));
    const bool made = ::rename("old.scn", older) == 0 &&
                      QFile::copy(examples + "newest.scn", "copy.scn") &&
                      ::rename("copy.scn", latin1) == 0;
    FakeWindow w;
    const bool loaded =
        made && w.window->workspace().openFiles({ws::argumentText(latin1)}) && w.scans().newest &&
        w.window->workspace().openFilesByKind({ws::argumentText(older), ws::argumentText(latin1)}) &&
        label(w, names::referenceLabel)
            .startsWith(QDir::currentPath() + '/' + ws::argumentText(older));
    std::remove(latin1);
    std::remove(older);
    QDir::setCurrent(started);
    QVERIFY2(loaded, qPrintable(w.dialogs.details.join('|')));
#else
    QSKIP("Windows names are text");
#endif
}

void TestOpenFiles::filesInAnyOrderSortAsADrop()
{
    QTemporaryDir dir;
    const QDateTime noon(QDate(2026, 5, 1), QTime(12, 0));
    const QString older = copyOf(dir, "newest.scn", "older.scn", noon);
    const QString newer = copyOf(dir, "reference.scn", "newer.SCN", noon.addSecs(60));
    const QString map = copyOf(dir, "demo.map", "demo.txt", noon);
    FakeWindow w;
    // Unlike a drop, which is refused, the window tells what does not fit.
    QVERIFY(!w.window->workspace().openFilesByKind({older, newer, older}));
    QVERIFY(!w.window->workspace().openFilesByKind({map}));
    QCOMPARE(w.dialogs.messages, QStringList({ws::messages::tooManyFiles({older, newer, older}),
                                              ws::messages::mapNeedsScans(map)}));
    QVERIFY(!w.scans().newest);
    QVERIFY(w.window->workspace().openFilesByKind({map, older, newer}));
    QVERIFY(label(w, names::newestLabel).startsWith(newer + "  "));
    QVERIFY(label(w, names::referenceLabel).startsWith(older + "  "));
    QVERIFY(label(w, names::mapLabel).startsWith(map + "  "));
    QCOMPARE(w.dialogs.messages.size(), 2);
}

void TestOpenFiles::aFolderOfFilesNotLoadedFitsTheScreen()
{
    QStringList paths;
    for (int i = 0; i < 300; ++i)
        paths << QStringLiteral("/home/someone/Pictures/By the sea 2026/IMG_%1.jpg").arg(i);
    const auto box = ws::QtDialogs().messageBox(ws::messages::tooManyFiles(paths), {});
    box->show();
    // A screen 768 pixels high, less a panel and the box's title bar.
    QVERIFY2(box->height() <= 768 - 100, qPrintable(QString::number(box->height())));
}

void TestOpenFiles::dropOntoALoadButtonOrItsLabel()
{
    const QString newest = examples + "newest.scn", reference = examples + "reference.scn",
                  map = examples + "demo.map";
    FakeWindow w;
    // Into the slot whatever the name says.
    QVERIFY(dropOnto(w, names::loadReferenceButton, {newest}));
    QVERIFY(label(w, names::referenceLabel).startsWith(newest + "  "));
    QVERIFY(!w.scans().newest);
    // "Load Map ..." is not yet enabled, so neither it nor its label takes a drop.
    QVERIFY(!dropOnto(w, names::loadMapButton, {map}));
    QVERIFY(!dropOnto(w, names::mapLabel, {map}));
    QVERIFY(dropOnto(w, names::newestLabel, {reference}));
    QVERIFY(label(w, names::newestLabel).startsWith(reference + "  "));
    QVERIFY(dropOnto(w, names::loadNewestButton, {newest}));
    QVERIFY(dropOnto(w, names::referenceLabel, {reference}));
    QVERIFY(label(w, names::newestLabel).startsWith(newest + "  "));
    QVERIFY(label(w, names::referenceLabel).startsWith(reference + "  "));
    QVERIFY(w.element<QPushButton>(names::loadMapButton)->isEnabled());
    QVERIFY(dropOnto(w, names::mapLabel, {map}));
    QVERIFY(label(w, names::mapLabel).startsWith(map + "  "));
    QVERIFY(dropOnto(w, names::loadMapButton, {map}));
    QVERIFY(w.dialogs.messages.isEmpty());
    QVERIFY(w.dialogs.shown.empty());
    // One file per slot.
    QVERIFY(!dropOnto(w, names::loadNewestButton, {newest, reference}));

    // A file that does not load is told as after the dialog, which then
    // offers it.
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.scn");
    QVERIFY(dropOnto(w, names::loadNewestButton, {missing}));
    QCOMPARE(w.dialogs.messages, QStringList{ws::messages::cancelled()});
    w.dialogs.cancel();
    w.window->workspace().loadScan(ws::ScanSlot::Newest);
    QCOMPARE(w.dialogs.shown.at(0).prefilled, missing);
}

void TestOpenFiles::dropElsewhereTellsScansFromTheMap()
{
    QTemporaryDir dir;
    const QDateTime noon(QDate(2026, 5, 1), QTime(12, 0));
    const QString older = copyOf(dir, "newest.scn", "older.SCN", noon);
    const QString newer = copyOf(dir, "reference.scn", "newer.scn", noon.addSecs(60));
    const QString map = copyOf(dir, "demo.map", "demo.txt", noon);

    // The newer scan is the newest, in whatever order the two come.
    FakeWindow w;
    QVERIFY(dropOnto(w, names::levelPlot, {newer, map, older}));
    QVERIFY(label(w, names::newestLabel).startsWith(newer + "  "));
    QVERIFY(label(w, names::referenceLabel).startsWith(older + "  "));
    QVERIFY(label(w, names::mapLabel).startsWith(map + "  "));
    QVERIFY(w.dialogs.messages.isEmpty());

    // One scan is the newest; a map alone goes into the map.
    QVERIFY(dropOnto(w, names::mapStrip, {older}));
    QVERIFY(label(w, names::newestLabel).startsWith(older + "  "));
    const QString other = copyOf(dir, "demo.map", "other.map", noon);
    QVERIFY(dragAndDrop(w.window.get(), QPoint(2, 300), urls({other})));
    QVERIFY(label(w, names::mapLabel).startsWith(other + "  "));

    // With the reference there, one scan and a map make a whole set.
    FakeWindow half;
    QVERIFY(dropOnto(half, names::loadReferenceButton, {older}));
    QVERIFY(dropOnto(half, names::differencePlot, {map, newer}));
    QVERIFY(half.scans().bothLoaded());
    QVERIFY(label(half, names::mapLabel).startsWith(map + "  "));

    // A scan that fails leaves the map unloaded, and the user is told.
    FakeWindow failing;
    QVERIFY(dropOnto(failing, names::levelPlot, {dir.filePath("gone.scn"), older, map}));
    QCOMPARE(failing.dialogs.messages,
             QStringList({ws::messages::cancelled(), ws::messages::mapNeedsScans(map)}));
}

void TestOpenFiles::dropsThatAreRefused()
{
    QTemporaryDir dir;
    const QString scan = examples + "newest.scn", map = examples + "demo.map";
    const QString scan2 = examples + "reference.scn";
    FakeWindow w;
    const QPoint bare(2, 300);
    QVERIFY(!dragAndDrop(w.window.get(), bare, {QUrl("https://example.org/newest.scn")}));
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({scan}) << QUrl("https://example.org/a.scn")));
    QVERIFY(!dragAndDrop(w.window.get(), bare, {}));
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({dir.path()})));
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({scan, scan2, scan})));
    // A map needs both scans drawn by the end of the drop.
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({map})));
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({scan, map})));
    QVERIFY(dragAndDrop(w.window.get(), bare, urls({scan, scan2})));
    QVERIFY(!dragAndDrop(w.window.get(), bare, urls({map, map})));
    QVERIFY(w.map().entries.isEmpty());
    QVERIFY(w.dialogs.messages.isEmpty());

    // Text is no file.
    QMimeData text;
    text.setText(scan);
    QDragEnterEvent enter(bare, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.window.get(), &enter);
    QVERIFY(!enter.isAccepted());
}

void TestOpenFiles::filesDroppedOntoTextBoxesAreTheWindows()
{
    FakeWindow w;
    const QString scan = examples + "newest.scn";
    auto *logBox = w.element<QPlainTextEdit>(names::logBox);
    QVERIFY(dragAndDrop(logBox->viewport(), QPoint(5, 5), urls({scan})));
    QVERIFY(label(w, names::newestLabel).startsWith(scan + "  "));
    QVERIFY(logBox->toPlainText().isEmpty());
    auto *portBox = w.element<QLineEdit>(names::portBox);
    QVERIFY(dragAndDrop(portBox, QPoint(3, 3), urls({examples + "reference.scn"})));
    QVERIFY(label(w, names::newestLabel).startsWith(examples + "reference.scn  "));
    QCOMPARE(portBox->text(), QStringLiteral("2"));

    // Text still goes into the box.
    QMimeData text;
    text.setText(QStringLiteral("ttyUSB0"));
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(portBox, &enter);
    QVERIFY(enter.isAccepted());
}

void TestOpenFiles::dropsWaitForACheckOrAFullScan()
{
    FakeWindow w;
    w.clock.step = 1;
    w.element<QLineEdit>(names::timeoutBox)->setText("0");
    QMimeData data;
    data.setUrls(urls({examples + "newest.scn"}));
    const QPoint at(2, 300);
    int tries = 0, taken = 0;
    const auto tryDrops = [&] { taken += dragAndDrop(w.window.get(), at, data.urls()); ++tries; };
    w.serial.onWrite = [&](const QByteArray &) {
        if (w.serial.written.size() == 1)
            tryDrops();
    };
    w.window->receiverWork().check(10700, Qt::LeftButton);
    QVERIFY(w.finishReceiverWork());
    // Between the rows of a full scan as well.
    QTemporaryDir dir;
    w.system.folder = dir.path();
    w.map().entries = {ws::test::mapEntry("10700", "MPEG2 ", "H"),
                       ws::test::mapEntry("10800", "DATA  ", "H")};
    w.serial.onWrite = {};
    w.window->receiverWork().runFullScan();
    QVERIFY(w.clock.runTimers([&] { return w.serial.isOpen; }));
    QVERIFY(w.clock.runTimers([&] { return !w.serial.isOpen; }));
    tryDrops();
    QVERIFY(w.window->receiverWork().busy());
    QVERIFY(w.finishReceiverWork());
    QCOMPARE(tries, 2);
    QCOMPARE(taken, 0);

    // Taken once the work has ended. A click waiting behind the drop starts
    // a check before the load, whose wait lets timers run: the load follows it.
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.window.get(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.window.get(), &drop);
    QVERIFY(drop.isAccepted());
    bool loadedDuringCheck = false;
    w.serial.onWrite = [&](const QByteArray &) {
        QCoreApplication::processEvents();
        loadedDuringCheck = loadedDuringCheck || w.scans().newest;
    };
    w.window->receiverWork().check(10700, Qt::LeftButton);
    QVERIFY(w.finishReceiverWork());
    QVERIFY(!loadedDuringCheck);
    QTRY_VERIFY(w.scans().newest);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestOpenFiles)
#include "tst_openfiles.moc"
