// Ctrl+R shows the levels of the map's entries in the log box.
#include "fakeplatform.h"
#include "transmissionlevels.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using ws::test::FakeWindow;
namespace names = ws::window::names;

class TestLevelsTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void ctrlRShowsTheTableFromItsTopUntilTheNextCheck();
    void needsAMap();
    void notDuringAFullScan();

private:
    void open(const QStringList &names)
    {
        QStringList files;
        for (const QString &name : names)
            files << QStringLiteral(WS_EXAMPLES_DIR "/") + name;
        QVERIFY(w->window->openFiles(files));
    }
    QString logText() { return w->element<QPlainTextEdit>(names::logBox)->toPlainText(); }

    std::unique_ptr<FakeWindow> w;
    QTemporaryDir dir;
};

void TestLevelsTable::init()
{
    w = std::make_unique<FakeWindow>();
    w->system.folder = dir.path();
    w->serial.failOpen = true;
    w->window->show();
    QApplication::setActiveWindow(w->window.get());
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
}

void TestLevelsTable::ctrlRShowsTheTableFromItsTopUntilTheNextCheck()
{
    open({"newest.scn", "reference.scn", "demo.map"});
    auto *logBox = w->element<QPlainTextEdit>(names::logBox);
    logBox->verticalScrollBar()->setValue(logBox->verticalScrollBar()->maximum());

    QTest::keyClick(w->window.get(), Qt::Key_R, Qt::ControlModifier);

    const ws::Scans &scans = w->scans();
    QCOMPARE(logText(), ws::levelsTable(w->map().entries,
                                        ws::transmissionLevels(*scans.newest, *scans.reference,
                                                               w->map().entries)));
    QCOMPARE(logText().count('\n'), w->map().entries.size());
    QCOMPARE(logBox->verticalScrollBar()->value(), 0);
    QVERIFY(w->dialogs.messages.isEmpty());

    w->window->checkFrequencyAt(11000, Qt::LeftButton);
    QVERIFY2(logText().startsWith(QLatin1String("Checking 11000h")), qPrintable(logText()));
}

void TestLevelsTable::needsAMap()
{
    open({"newest.scn", "reference.scn"});
    const QString before = logText();
    QTest::keyClick(w->window.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w->dialogs.messages.size(), 1);
    QCOMPARE(logText(), before);
}

void TestLevelsTable::notDuringAFullScan()
{
    open({"newest.scn", "reference.scn", "demo.map"});
    QStringList shownBetweenRows;
    w->events.onDoEvents = [&] {
        w->window->showTransmissionLevels();
        shownBetweenRows << logText().section('\n', 0, 0);
    };
    w->window->runFullScan();
    QVERIFY(!shownBetweenRows.isEmpty());
    for (const QString &first : shownBetweenRows)
        QVERIFY2(!first.startsWith(QLatin1String("Freq")), qPrintable(first));
}

QTEST_MAIN(TestLevelsTable)
#include "tst_levelstable.moc"
