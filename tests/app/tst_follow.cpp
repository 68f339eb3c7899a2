#include "fakeplatform.h"
#include "filefollower.h"
#include "mapentries.h"
#include "scantext.h"

#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QtTest>

using ws::ScanSlot;
using ws::test::FakeWindow;
namespace names = ws::window::names;

Q_DECLARE_METATYPE(ws::ScanSlot)

// Loaded files that change on disk, and F5. The follower's own timer runs
// (300 ms), so the tests that wait for it take about that long.
class TestFollow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void changedScanLoadsAgain_data();
    void changedScanLoadsAgain();
    void settlesOnlyOnceTheFileStopsChanging();
    void halfWrittenScanKeepsTheLastOneQuietly();
    void changeDuringACheckLoadsAfterIt();
    void notFollowingLeavesTheScansAlone();
    void f5ReloadsEveryLoadedFile();

private:
    // A scan from `first` to 12750 MHz whose levels grow with `version`.
    static QByteArray scan(int version, double first = 10700)
    {
        ws::test::ScanShape shape;
        shape.start = first;
        shape.level = [version](bool v, double f) { return (v ? 20 : 10) + 100 * version + f / 1e4; };
        return ws::test::scanText(shape);
    }
    QString &path(ScanSlot slot) { return paths[slot == ScanSlot::Newest ? 0 : 1]; }
    void replace(const QString &file, const QByteArray &bytes)
    {
        QSaveFile save(file);
        QVERIFY(save.open(QIODevice::WriteOnly));
        save.write(bytes);
        QVERIFY(save.commit());
    }
    double maxLevel(ScanSlot slot) { return w->scans()[slot]->maxLevel; }
    QString label(const char *name) { return w->element<QLabel>(name)->text(); }

    QTemporaryDir dir;
    QString paths[2];
    std::unique_ptr<FakeWindow> w;
};

void TestFollow::init()
{
    QVERIFY(dir.isValid());
    w = std::make_unique<FakeWindow>();
    path(ScanSlot::Newest) = ws::test::writeFile(dir, "new.scn", scan(1));
    path(ScanSlot::Reference) = ws::test::writeFile(dir, "old.scn", scan(0));
    QVERIFY(w->window->openFiles({path(ScanSlot::Newest), path(ScanSlot::Reference)}));
    w->window->zoomAround(11500, 3);
    QVERIFY(w->window->view().zoomed());
}

void TestFollow::changedScanLoadsAgain_data()
{
    QTest::addColumn<ScanSlot>("slot");
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<double>("first");
    QTest::newRow("rewritten in place") << ScanSlot::Newest << false << 10700.0;
    QTest::newRow("replaced by rename") << ScanSlot::Reference << true << 10700.0;
    QTest::newRow("wider range") << ScanSlot::Newest << true << 10650.0;
}

void TestFollow::changedScanLoadsAgain()
{
    QFETCH(ScanSlot, slot);
    QFETCH(bool, renamed);
    QFETCH(double, first);
    const ws::View zoomed = w->window->view();
    const char *labelName = slot == ScanSlot::Newest ? names::newestLabel : names::referenceLabel;
    // Twice: a rename takes the file out of the system's watch, yet a
    // rewrite after it still counts.
    for (const int version : {5, 6}) {
        const QString top = label(names::levelTopLabel);
        if (renamed && version == 5)
            replace(path(slot), scan(version, first));
        else
            ws::test::writeFile(dir, QFileInfo(path(slot)).fileName(), scan(version, first));
        QTRY_VERIFY(maxLevel(slot) > 100 * version);
        QVERIFY(label(names::levelTopLabel) != top);
        QVERIFY(label(labelName).startsWith(path(slot) + "  "));
        QVERIFY(label(labelName).endsWith(QString(" univ hv %1-12750 MHz").arg(first)));
        QVERIFY(w->dialogs.messages.isEmpty());
        // The zoom stays while the whole range does.
        QCOMPARE(w->window->view() == zoomed, first == 10700);
        QCOMPARE(w->window->view().zoomed(), first == 10700);
    }
}

void TestFollow::settlesOnlyOnceTheFileStopsChanging()
{
    // Its timer never fires here: the test looks when it likes.
    FileFollower follower(3600 * 1000);
    QSignalSpy settled(&follower, &FileFollower::settled);
    const QString file = ws::test::writeFile(dir, "growing.scn", "10700\r\n");
    follower.follow(7, file, FileFollower::Stamp::of(file));
    QFile writer(file);
    QVERIFY(writer.open(QIODevice::Append | QIODevice::Unbuffered));
    writer.write("12750\r\n");
    QTRY_VERIFY(follower.settling());
    writer.write("1055\r\n");
    follower.lookAgain();
    QCOMPARE(settled.count(), 0);
    follower.lookAgain();
    QCOMPARE(settled.count(), 1);
    QCOMPARE(settled.at(0).at(0).toInt(), 7);
    QVERIFY(!follower.settling());
}

void TestFollow::halfWrittenScanKeepsTheLastOneQuietly()
{
    QSignalSpy settled(&w->window->followerForTest(), &FileFollower::settled);
    const QString summary = label(names::newestLabel);
    const QByteArray next = scan(3);
    ws::test::writeFile(dir, "new.scn", next.left(next.size() / 2));
    QTRY_COMPARE(settled.count(), 1);
    QCOMPARE(maxLevel(ScanSlot::Newest), 100 + 12750 / 1e4 + 20);
    QCOMPARE(label(names::newestLabel), summary);
    QVERIFY(w->dialogs.messages.isEmpty());
    // The next change tries again.
    ws::test::writeFile(dir, "new.scn", next);
    QTRY_VERIFY(maxLevel(ScanSlot::Newest) > 300);
}

void TestFollow::changeDuringACheckLoadsAfterIt()
{
    // Only the report below loads the file.
    w->window->setFollowingFiles(false);
    bool changed = false;
    w->serial.onWrite = [&](const QByteArray &) {
        if (changed)
            return;
        changed = true;
        ws::test::writeFile(dir, "new.scn", scan(4));
        // What the watcher reports while the check paints.
        emit w->window->followerForTest().settled(0);
        QVERIFY(maxLevel(ScanSlot::Newest) < 400);
    };
    w->clock.step = 1;
    w->window->checkFrequencyAt(11500, Qt::LeftButton);
    QVERIFY(changed);
    QVERIFY(maxLevel(ScanSlot::Newest) < 400);
    QTRY_VERIFY(maxLevel(ScanSlot::Newest) > 400);
}

void TestFollow::notFollowingLeavesTheScansAlone()
{
    w->window->setFollowingFiles(false);
    ws::test::writeFile(dir, "new.scn", scan(2));
    QTest::qWait(700);
    QVERIFY(maxLevel(ScanSlot::Newest) < 200);
    // Turned on again, it follows from then on.
    w->window->setFollowingFiles(true);
    ws::test::writeFile(dir, "new.scn", scan(3));
    QTRY_VERIFY(maxLevel(ScanSlot::Newest) > 300);
}

void TestFollow::f5ReloadsEveryLoadedFile()
{
    w->window->setFollowingFiles(false);
    const QString map = ws::test::writeFile(
        dir, "sat.map", ws::test::mapFileLine("Station A", "MPEG2", "11.720", "H"));
    QVERIFY(w->window->loadMapFrom(map));
    const ws::View zoomed = w->window->view();
    ws::test::writeFile(dir, "new.scn", scan(7));
    ws::test::writeFile(dir, "old.scn", "not a scan");
    ws::test::writeFile(dir, "sat.map", ws::test::mapFileLine("Station B", "MPEG2", "11.778", "V"));
    w->window->show();
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    QTest::keyClick(w->element<QLineEdit>(names::portBox), Qt::Key_F5);
    QVERIFY(maxLevel(ScanSlot::Newest) > 700);
    QCOMPARE(maxLevel(ScanSlot::Reference), 20 + 12750 / 1e4);
    QCOMPARE(w->dialogs.messages.size(), 1);
    QCOMPARE(w->map().entries.size(), size_t(1));
    QVERIFY(w->map().listing.contains("Station B"));
    QVERIFY(w->window->view() == zoomed);

    // A slot never loaded is passed over.
    FakeWindow fresh;
    fresh.window->reloadFiles();
    QVERIFY(fresh.dialogs.messages.isEmpty() && fresh.dialogs.shown.empty());
}

QTEST_MAIN(TestFollow)
#include "tst_follow.moc"
