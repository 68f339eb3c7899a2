// Ctrl+R shows the levels of the map's entries in the log box.
#include "app/shownlevels.h"
#include "plot/transmissionlevels.h"
#include "support/fakeplatform.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class TestLevelsTable : public QObject
{
    Q_OBJECT

private slots:
    void ctrlRNeedsAMapAndShowsTheTableFromItsTopButNotDuringAFullScan()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        w.system.folder = dir.path();
        w.serial.failOpen = true;
        auto *logBox = w.element<QPlainTextEdit>(ws::window::names::logBox);
        const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");
        QVERIFY(w.window->workspace().openFiles({examples + "newest.scn", examples + "reference.scn"}));
        w.window->show();
        QApplication::setActiveWindow(w.window.get());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(logBox->toPlainText(), QString());

        QVERIFY(w.window->workspace().loadMapFrom(examples + "demo.map"));
        logBox->verticalScrollBar()->setValue(logBox->verticalScrollBar()->maximum());
        QTest::keyClick(w.window.get(), Qt::Key_R, Qt::ControlModifier);
        const auto &entries = w.map().entries;
        const auto levels = ws::transmissionLevels(*w.scans().newest, *w.scans().reference, entries);
        QVERIFY(logBox->toPlainText().endsWith("\n" + ws::levelsTable(entries, levels)));
        QCOMPARE(logBox->verticalScrollBar()->value(), 0);
        QCOMPARE(w.dialogs.messages.size(), 1);

        // Between the rows: the first row's check has told of its port.
        w.window->receiverWork().runFullScan();
        QVERIFY(w.clock.runTimers([&] { return w.dialogs.messages.size() == 2; }));
        QVERIFY(w.window->receiverWork().busy());
        const QString before = logBox->toPlainText();
        w.window->levels().show();
        QCOMPARE(logBox->toPlainText(), before);
        QVERIFY(w.finishReceiverWork());
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestLevelsTable)
#include "tst_levelstable.moc"
