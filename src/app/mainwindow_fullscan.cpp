#include "mainwindow.h"

#include "fullscan.h"
#include "resultsfile.h"

#include <QPlainTextEdit>
#include <QPushButton>

void MainWindow::runFullScan()
{
    Busy busy(*this);
    ++fullScans_;
    skipRestButton->setVisible(true);
    // The first check keeps the window for seconds; show "skip rest" now,
    // not only after it.
    repaintWindow();

    // A port that cannot be opened fails the same way for every row; the
    // scan ends after the first such row. Only this scan's own checks count,
    // not a spot check run while events were let through.
    bool portFailed = false;
    ws::MapScanSteps steps;
    steps.check = [this, &portFailed](const QString &frequency, const QString &polarisation) {
        const QString log = checkSignal(frequency, QStringLiteral("00000"), QStringLiteral("5"),
                                        polarisation);
        portFailed = checkPortFailed_;
        return log;
    };
    // A request to close the window waits for the scan (see Busy); it
    // should not wait for every remaining row, so it ends the scan like
    // "skip rest" does, and what was gathered is still saved.
    steps.stopRequested = [this, &portFailed] {
        return stopRequested_ || portFailed || closePending_;
    };
    steps.afterRow = [this] {
        repaintWindow();
        // Here a "skip rest" click is handled.
        platform_.events->doEvents();
    };
    const QString results = ws::scanMapRows(map_.entries, steps);

    platform_.system->beep();
    const ws::ResultsSave save = ws::saveResultsIn(
        {platform_.system->programFolder(), platform_.system->userDataFolder()}, results);
    platform_.dialogs->message(save.message());

    logBox->setPlainText(results);
    // A scan started from the map strip while another one let events run
    // must not take "skip rest" away from the one that goes on; a stop
    // request made meanwhile stops that one too.
    if (--fullScans_ == 0) {
        stopRequested_ = false;
        skipRestButton->setVisible(false);
    }
}
