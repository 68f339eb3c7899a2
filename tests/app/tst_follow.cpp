#include "app/shownlevels.h"
#include "core/filefollower.h"
#include "plot/transmissionlevels.h"
#include "scan/scantext.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "wording/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTest>

using ws::ScanSlot;
using ws::test::FakeWindow;
using ws::test::mapFileLine;
using ws::test::writeFile;
namespace names = ws::window::names;

Q_DECLARE_METATYPE(ws::ScanSlot)

// Loaded files that change on disk, and F5. The follower's own 300 ms timer runs.
class TestFollow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void changedScanLoadsAgain_data();
    void changedScanLoadsAgain();
    void halfWrittenScanKeepsTheLastOneQuietly();
    void changeDuringACheckLoadsAfterIt();
    void withoutFollowingOnlyF5Reloads();
    void tableOfLevelsFollowsReloads();
    void heldLevelScaleOutlastsReloads();

private:
    // A scan from `first` to 12750 MHz whose levels grow with `version`.
    static QByteArray scan(int version, double first = 10700)
    {
        ws::test::ScanShape shape;
        shape.start = first;
        shape.level = [version](bool v, double f) { return (v ? 20 : 10) + 100 * version + f / 1e4; };
        return ws::test::scanText(shape);
    }
    double maxLevel(ScanSlot slot = ScanSlot::Newest) { return w->scans()[slot]->maxLevel; }
    QString label(const char *name) { return w->element<QLabel>(name)->text(); }

    QTemporaryDir dir;
    std::unique_ptr<FakeWindow> w;
};

void TestFollow::init()
{
    w = std::make_unique<FakeWindow>();
    QVERIFY(w->window->workspace().openFiles(
        {writeFile(dir, "0.scn", scan(1)), writeFile(dir, "1.scn", scan(0))}));
    w->window->plots().zoomAround(11500, 3);
}

void TestFollow::changedScanLoadsAgain_data()
{
    QTest::addColumn<ScanSlot>("slot");
    QTest::addColumn<double>("first");
    QTest::newRow("reference, same range") << ScanSlot::Reference << 10700.0;
    QTest::newRow("newest, wider range") << ScanSlot::Newest << 10650.0;
}

void TestFollow::changedScanLoadsAgain()
{
    QFETCH(ScanSlot, slot);
    QFETCH(double, first);
    const ws::View zoomed = w->window->plots().view();
    const QString path = dir.filePath(slot == ScanSlot::Newest ? "0.scn" : "1.scn");
    // First replaced by a rename, which takes the file out of the system's
    // watch, then rewritten in place, which must still count.
    for (const int version : {5, 6}) {
        const QString top = label(names::levelTopLabel);
        const QByteArray bytes = scan(version, first);
        if (version == 5) {
            QSaveFile save(path);
            QVERIFY(save.open(QIODevice::WriteOnly) && save.write(bytes) > 0 && save.commit());
        } else {
            writeFile(dir, QFileInfo(path).fileName(), bytes);
        }
        QTRY_VERIFY(maxLevel(slot) > 100 * version);
        QVERIFY(label(names::levelTopLabel) != top);
        QVERIFY(w->dialogs.messages.isEmpty());
        // The zoom stays while the whole range does.
        QCOMPARE(w->window->plots().view(), first == 10700 ? zoomed : ws::View({first, 12750}));
    }
}

void TestFollow::halfWrittenScanKeepsTheLastOneQuietly()
{
    QSignalSpy settled(w->window->workspace().findChild<ws::FileFollower *>(), &ws::FileFollower::settled);
    // Cut after a line: a cut line would wait 3 s.
    const QByteArray next = scan(3);
    writeFile(dir, "0.scn", next.left(next.indexOf('\n', next.size() / 2) + 1));
    QTRY_COMPARE(settled.count(), 1);
    QCOMPARE(maxLevel(), 100 + 20 + 12750 / 1e4);
    QVERIFY(w->dialogs.messages.isEmpty());
    // The next change tries again.
    writeFile(dir, "0.scn", next);
    QTRY_VERIFY(maxLevel() > 300);
}

void TestFollow::changeDuringACheckLoadsAfterIt()
{
    // Only the report below loads the file.
    w->window->workspace().setFollowing(false);
    bool loadedDuringCheck = false;
    w->serial.onWrite = [&](const QByteArray &) {
        writeFile(dir, "0.scn", scan(4));
        // What the watcher reports while the check runs.
        emit w->window->workspace().findChild<ws::FileFollower *>()->settled({dir.filePath("0.scn")});
        loadedDuringCheck = loadedDuringCheck || maxLevel() > 400;
    };
    w->clock.step = 1;
    w->window->receiverWork().check(11500, Qt::LeftButton);
    QVERIFY(w->finishReceiverWork());
    QVERIFY(!loadedDuringCheck);
    QVERIFY(maxLevel() > 400);
}

void TestFollow::withoutFollowingOnlyF5Reloads()
{
    w->window->workspace().setFollowing(false);
    QVERIFY(w->window->workspace().loadMapFrom(writeFile(dir, "m", mapFileLine("A", "MPEG2", "11.720", "H"))));
    const ws::View zoomed = w->window->plots().view();
    writeFile(dir, "0.scn", scan(7));
    writeFile(dir, "1.scn", "not a scan");
    writeFile(dir, "m", mapFileLine("B", "MPEG2", "11.778", "V"));
    QTest::qWait(700);
    QVERIFY(maxLevel() < 700);
    w->window->show();
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    QTest::keyClick(w->element<QLineEdit>(names::portBox), Qt::Key_F5);
    QVERIFY(maxLevel() > 700);
    QCOMPARE(maxLevel(ScanSlot::Reference), 20 + 12750 / 1e4);
    QCOMPARE(w->dialogs.messages.size(), 1);
    QVERIFY(w->map().entries.size() == 1 && w->map().listing.startsWith("B "));
    QVERIFY(w->window->plots().view() == zoomed);

    // A slot never loaded is passed over.
    FakeWindow other;
    QVERIFY(other.window->workspace().loadScanFrom(ScanSlot::Newest, dir.filePath("0.scn")));
    other.window->workspace().reloadFiles();
    QVERIFY(other.dialogs.messages.isEmpty() && other.dialogs.shown.empty());
}

void TestFollow::tableOfLevelsFollowsReloads()
{
    auto *logBox = w->element<QPlainTextEdit>(names::logBox);
    const QString map = writeFile(dir, "m", mapFileLine("A", "MPEG2", "11.720", "H"));
    QVERIFY(w->window->workspace().loadMapFrom(map));
    w->window->levels().show();
    QVERIFY(logBox->toPlainText().startsWith("Newest: " + dir.filePath("0.scn") + " ("));
    const ws::ScanData first = *w->scans().newest;
    const auto shownSinceFirst = [&] {
        const auto &entries = w->map().entries;
        return logBox->toPlainText().endsWith(
            "\n" + ws::levelsTable(entries,
                                   ws::transmissionLevels(*w->scans().newest,
                                                          *w->scans().reference, entries),
                                   &first));
    };

    writeFile(dir, "0.scn", scan(2));
    QTRY_VERIFY(maxLevel() > 200);
    QVERIFY(logBox->toPlainText().contains("  since last: ("));
    QVERIFY(shownSinceFirst());
    // The newest scan unchanged: the map as it is now, since the same scan.
    writeFile(dir, "m", mapFileLine("B", "MPEG2", "11.778", "V"));
    w->window->workspace().reloadFiles();
    QVERIFY(w->map().entries[0].name.startsWith("B"));
    QVERIFY(shownSinceFirst());

    // A map picked anew is listed, and the listing stays through reloads.
    QVERIFY(w->window->workspace().loadMapFrom(map));
    const QString listing = logBox->toPlainText();
    writeFile(dir, "0.scn", scan(3));
    QTRY_VERIFY(maxLevel() > 300);
    QCOMPARE(logBox->toPlainText(), listing);
}

void TestFollow::heldLevelScaleOutlastsReloads()
{
    const auto scaleLabels = [this] {
        return QStringList{label(names::levelTopLabel), label(names::levelBottomLabel),
                           label(names::differenceTopLabel), label(names::differenceBottomLabel)};
    };
    const QStringList before = scaleLabels();
    w->window->show();
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    auto *box = w->element<QLineEdit>(names::portBox);
    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(w->window->windowTitle(), "Wavesift" + ws::messages::scaleHeldInTitle());
    writeFile(dir, "0.scn", scan(5));
    QTest::keyClick(box, Qt::Key_F5);
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(maxLevel() > 500 && !w->window->plots().view().zoomed());
    QCOMPARE(scaleLabels(), before);

    // Whoever sets the title, the mark stays at its end until the hold ends.
    const QString progress = QStringLiteral("Wavesift: checking 3 of 12 (11778h)");
    w->window->setWindowTitle(progress);
    QCOMPARE(w->window->windowTitle(), progress + ws::messages::scaleHeldInTitle());
    QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(w->window->windowTitle(), progress);
    QVERIFY(label(names::levelTopLabel).toDouble() > 500);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFollow)
#include "tst_follow.moc"
