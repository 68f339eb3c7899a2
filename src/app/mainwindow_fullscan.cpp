#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"
#include "receiver/checklog.h"

#include <QPushButton>

#include <algorithm>

void MainWindow::runFullScan()
{
    Busy busy(*this);
    ++fullScans_;
    // A scan started between the rows of another shows its own progress,
    // then gives the title back to the one it interrupted.
    const QString titleBefore = windowTitle();
    skipRestButton->setVisible(true);
    // The first check keeps the window for seconds; show "skip rest" now,
    // not only after it.
    repaintWindow();

    // A port that cannot be opened fails the same way for every row; the
    // scan ends after the first such row.
    bool portFailed = false;
    // Progress counts the MPEG entries, as the command line's does.
    const auto mpegRows = std::count_if(map_.entries.begin(), map_.entries.end(),
                                        [](const ws::MapEntry &e) { return ws::isMpegRow(e.type); });
    int checked = 0;
    ws::MapScanSteps steps;
    steps.check = [&](const QString &frequency, ws::receiver::Polarisation polarisation) {
        setWindowTitle(QStringLiteral("Wavesift: checking %1 of %2 (%3%4)")
                           .arg(++checked)
                           .arg(mpegRows)
                           .arg(frequency, ws::receiver::logLetter(polarisation)));
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
    ws::ResultsPlace place;
    place.folders = {platform_.system->programFolder(), platform_.system->userDataFolder(),
                     platform_.system->noUserDataFolder()};
    // Installed, the program never writes beside itself, not even as root.
    if (ws::isInstalledFolder(place.folders.program, QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        place.folders.program.clear();
    const ws::ResultsOutcome outcome =
        ws::finishResults({results, checked, portFailed}, place, platform_.clock->now());
    platform_.dialogs->message(outcome.message, outcome.pastCopyFailure);

    log_->showWithEndInView(results);
    setWindowTitle(titleBefore);
    // Only the outermost scan ends "skip rest" (see the guards in
    // mainwindow.h).
    if (--fullScans_ == 0) {
        stopRequested_ = false;
        skipRestButton->setVisible(false);
    }
}
