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
    // scan ends after the first such row.
    bool portFailed = false;
    ws::MapScanSteps steps;
    steps.check = [this, &portFailed](const QString &frequency,
                                      ws::receiver::Polarisation polarisation) {
        const ws::receiver::CheckResult check = checkSignal(frequency, polarisation);
        portFailed = check.portFailed;
        return check.log;
    };
    // A noted close ends the scan like "skip rest" (see the guards in
    // mainwindow.h).
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
    ws::ResultsFolders folders{platform_.system->programFolder(),
                               platform_.system->userDataFolder(),
                               platform_.system->noUserDataFolder()};
    // Installed, the program never writes beside itself, not even as root.
    if (ws::isInstalledFolder(folders.program, QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        folders.program.clear();
    const ws::ResultsSave save = ws::saveResultsIn(folders, results);
    platform_.dialogs->message(save.message());

    logBox->setPlainText(results);
    // Only the outermost scan ends "skip rest" (see the guards in
    // mainwindow.h).
    if (--fullScans_ == 0) {
        stopRequested_ = false;
        skipRestButton->setVisible(false);
    }
}
