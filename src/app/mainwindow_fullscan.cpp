#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/verdicttile.h"
#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"
#include "receiver/checklog.h"

#include <QPushButton>

// The window's full scan: one row's check at a time, the user's clicks
// between the rows, the results at the end. A full scan the user starts
// between the rows of another runs to its end before the other goes on.

void MainWindow::runFullScan()
{
    if (check_->running())
        return;
    stopWatch();
    auto owned = std::make_unique<ReceiverJob>();
    ReceiverJob *job = owned.get();
    job->scan = std::make_unique<ws::MapScan>();
    job->titleBefore = windowTitle();
    job->nextRow = platform_.clock->createTimer([this, job] {
        if (std::function<void()> resume = std::exchange(job->parked, nullptr))
            resume();
    });
    beginJob(std::move(owned));
    skipRestButton->setVisible(true);

    ws::MapScanSteps steps;
    steps.check = [this, job](const QString &frequency, ws::receiver::Polarisation polarisation,
                              ws::MapScanSteps::CheckDone done) {
        // Progress counts the MPEG entries, as the command line's does.
        setWindowTitle(QStringLiteral("Wavesift: checking %1 of %2 (%3%4)")
                           .arg(job->scan->counts().checked)
                           .arg(job->scan->counts().mpegRows)
                           .arg(frequency, ws::receiver::logLetter(polarisation)));
        verdict_->show(scanVerdict(job->scan->counts()));
        checkSignal(frequency, polarisation, std::move(done));
    };
    steps.stopRequested = [this] { return stopRequested_; };
    steps.afterRow = [this, job](std::function<void()> resume) {
        betweenRows(job, std::move(resume));
    };
    steps.finished = [this, job](const ws::MapScanResult &result) { fullScanEnded(job, result); };
    job->scan->start(map_.entries, steps);
}

void MainWindow::betweenRows(ReceiverJob *job, std::function<void()> resume)
{
    // Each row lets the user act, the rows passed over too: the next row
    // comes from the event loop, after whatever waits there. Should that
    // start a check or a scan, this scan waits for it to end.
    job->parked = std::move(resume);
    verdict_->show(scanVerdict(job->scan->counts()));
    if (!endingCheck_)
        resumeTopJob();
}

void MainWindow::fullScanEnded(ReceiverJob *job, const ws::MapScanResult &result)
{
    verdict_->show(scanVerdict(result.counts));
    platform_.system->beep();
    saveResults(result, true);
    log_->showWithEndInView(result.results);
    setWindowTitle(job->titleBefore);
    endJob(job);
    // Only the outermost scan ends "skip rest": one pressed in a scan
    // started between the rows of another stops both.
    const bool scanLeft =
        std::any_of(jobs_.begin(), jobs_.end(), [](const auto &j) { return j->scan != nullptr; });
    if (!scanLeft) {
        stopRequested_ = false;
        skipRestButton->setVisible(false);
    }
    resumeTopJob();
}

void MainWindow::saveResults(const ws::MapScanResult &result, bool tell)
{
    ws::ResultsPlace place;
    place.folders = {platform_.system->programFolder(), platform_.system->userDataFolder(),
                     platform_.system->noUserDataFolder()};
    // Installed, the program never writes beside itself, not even as root.
    if (ws::isInstalledFolder(place.folders.program, QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        place.folders.program.clear();
    const ws::ResultsOutcome outcome = ws::finishResults(
        {result.results, result.counts.checked, result.portFailed}, place, platform_.clock->now());
    if (!tell)
        return;
    QStringList detail;
    if (result.stopped)
        detail << ws::receiver::stoppedLine();
    detail << ws::summaryLine(result.counts);
    if (!outcome.pastCopyFailure.isEmpty())
        detail << outcome.pastCopyFailure;
    platform_.dialogs->message(outcome.message, detail.join(QLatin1Char('\n')));
}
