#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/verdicttile.h"
#include "fullscan/runner.h"
#include "receiver/checklog.h"

#include <QPushButton>

// The window's full scan: the runner's rows one at a time, the user's
// clicks between them, and what it reports shown in the title, the tile,
// the log box and a message box. A full scan the user starts between the
// rows of another runs to its end before the other goes on.

namespace {

// "No MPEG entry to check; <results file> left as it was".
QString refusalMessage(const ws::FullScanEnd &end)
{
    if (end.refusal == ws::FullScanEnd::Refusal::NothingToCheck)
        return QStringLiteral("No MPEG entry to check; ") + end.results.message;
    return end.results.message;
}

} // namespace

void MainWindow::runFullScan()
{
    if (check_->running())
        return;
    stopWatch();
    auto runner = std::make_unique<ws::FullScanRunner>(resultsPlace(),
                                                       [this] { return platform_.clock->now(); });
    // A scan that does not begin leaves the log box as it was, the map
    // listing in view.
    if (const std::optional<ws::FullScanEnd> refused = runner->refusal(map_.entries)) {
        platform_.system->beep();
        platform_.dialogs->message(refusalMessage(*refused));
        return;
    }
    auto owned = std::make_unique<ReceiverJob>();
    ReceiverJob *job = owned.get();
    job->scan = std::move(runner);
    job->titleBefore = windowTitle();
    job->nextRow = platform_.clock->createTimer([this, job] {
        if (std::function<void()> resume = std::exchange(job->parked, nullptr))
            resume();
    });
    beginJob(std::move(owned));
    skipRestButton->setVisible(true);

    ws::FullScanRunner::FrontEnd frontEnd;
    frontEnd.rowStarting = [this](const QString &frequency, ws::receiver::Polarisation polarisation,
                                  const ws::MapScanCounts &counts) {
        // Progress counts the MPEG entries, as the command line's does.
        setWindowTitle(QStringLiteral("Wavesift: checking %1 of %2 (%3%4)")
                           .arg(counts.checked)
                           .arg(counts.mpegRows)
                           .arg(frequency, ws::receiver::logLetter(polarisation)));
        verdict_->show(scanVerdict(counts));
    };
    frontEnd.check = [this](const QString &frequency, ws::receiver::Polarisation polarisation,
                            ws::MapScanSteps::CheckDone done) {
        checkSignal(frequency, polarisation, std::move(done));
    };
    frontEnd.stopRequested = [this] { return stopRequested_; };
    frontEnd.afterRow = [this, job](std::function<void()> resume) {
        betweenRows(job, std::move(resume));
    };
    frontEnd.finished = [this, job](const ws::FullScanEnd &end) { fullScanEnded(job, end); };
    job->scan->start(map_.entries, std::move(frontEnd));
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

void MainWindow::fullScanEnded(ReceiverJob *job, const ws::FullScanEnd &end)
{
    const ws::MapScanResult &scan = end.scan;
    verdict_->show(scanEndedVerdict(scan));
    platform_.system->beep();
    QStringList detail;
    if (scan.stopped)
        detail << ws::receiver::stoppedLine();
    detail << end.summary();
    if (!end.results.pastCopyFailure.isEmpty())
        detail << end.results.pastCopyFailure;
    platform_.dialogs->message(end.results.message, detail.join(QLatin1Char('\n')));
    log_->showWithEndInView(scan.results);
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

ws::ResultsPlace MainWindow::resultsPlace() const
{
    ws::ResultsPlace place;
    place.folders = {platform_.system->programFolder(), platform_.system->userDataFolder(),
                     platform_.system->noUserDataFolder()};
    // Installed, the program never writes beside itself, not even as root.
    if (ws::isInstalledFolder(place.folders.program, QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        place.folders.program.clear();
    return place;
}
