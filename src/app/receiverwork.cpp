#include "app/receiverwork.h"

#include "app/dishview.h"
#include "app/plotwidget.h"
#include "core/files.h"
#include "core/numbers.h"
#include "fullscan/fullscan.h"
#include "plot/readout.h"
#include "receiver/checklog.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QWidget>

#include <algorithm>

using ws::receiver::CheckResult;
using ws::receiver::Polarisation;

// Each check's log replaces what the log box held (the map listing, an older
// log); the box shows it with its CR LF as line breaks.
class ReceiverWork::CheckLog : public ws::receiver::CheckEvents
{
public:
    explicit CheckLog(ReceiverWork &work) : work_(work) {}

    void startAfresh() { log_.clear(); }
    void logAppended(const QString &text) override
    {
        log_ += text;
        emit work_.logShown(log_);
    }
    void portFailed(const ws::receiver::PortFailure &failure) override
    {
        work_.portFailure_ = failure;
    }
    void waiting() override
    {
        if (work_.showCheckProgress_)
            work_.showCheckProgress_();
    }

private:
    ReceiverWork &work_;
    QString log_;
};

namespace {

// During a watch a press on a plot, the map strip or a button ends it, and
// is then handled as it would be without a watch.
class PressEndsWatch : public QObject
{
public:
    PressEndsWatch(QWidget &window, ReceiverWork &work)
        : QObject(&work), window_(window), work_(work)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PressEndsWatch() override
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && work_.watching() &&
            (qobject_cast<PlotWidget *>(watched) || qobject_cast<QAbstractButton *>(watched)) &&
            static_cast<QWidget *>(watched)->window() == &window_)
            work_.stopWatch();
        return false;
    }

private:
    QWidget &window_;
    ReceiverWork &work_;
};

// "No MPEG entry to check; <results file> left as it was".
QString refusalMessage(const ws::FullScanEnd &end)
{
    if (end.refusal == ws::FullScanEnd::Refusal::NothingToCheck)
        return QStringLiteral("No MPEG entry to check; ") + end.results.message;
    return end.results.message;
}

} // namespace

ReceiverWork::ReceiverWork(const ws::Platform &platform, QWidget &window,
                           const ws::MapData &map, ws::receiver::SettingsSource settings,
                           HeldInput::Passes passes, std::unique_ptr<WindowWatch> watch)
    : QObject(&window), platform_(platform), window_(window), map_(map),
      checkLog_(std::make_unique<CheckLog>(*this)),
      check_(std::make_unique<ws::receiver::SignalCheck>(*platform_.serial, *platform_.clock,
                                                         std::move(settings), *checkLog_)),
      watch_(std::move(watch)), heldInput_(new HeldInput(window, std::move(passes)))
{
    // Held input and the watch's presses go with the work, not the window.
    heldInput_->setParent(this);
    new PressEndsWatch(window, *this);
}

ReceiverWork::~ReceiverWork()
{
    // Before the watch it follows goes.
    delete dish_.data();
}

void ReceiverWork::openDishView()
{
    if (!watching())
        return;
    if (dish_) {
        dish_->raise();
        dish_->activateWindow();
        return;
    }
    auto *view = new DishView(*platform_.clock, platform_.sound, &window_);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setNameOf([this](double mhz) { return nearestTransmissionName(map_, mhz); });
    view->onEnd = [this] { stopWatch(); };
    view->onToggleSound = [this] { toggleBeeping(); };
    view->setWatch(&watch_->signalWatch());
    connect(view, &QObject::destroyed, this, [this] { watch_->setFollower(nullptr); });
    dish_ = view;
    // The tone is on as the view opens, and the beep with it.
    watch_->setBeeping(true);
    watch_->setFollower(view);
    view->show();
    view->activateWindow();
}

DishView *ReceiverWork::dishView() const
{
    return dish_;
}

Polarisation ReceiverWork::polarisationFor(Qt::MouseButton button)
{
    // Button codes are left 1, right 2, middle 4, and the digit is the last
    // character of 1 minus the code: left "0" (horizontal), right "1" and
    // middle "3", both of which the receiver reads as vertical.
    const int code = button == Qt::LeftButton    ? 1
                     : button == Qt::RightButton  ? 2
                     : button == Qt::MiddleButton ? 4
                                                  : 0;
    return ws::receiver::polarisationFromDigit(QString::number(1 - code).right(1));
}

void ReceiverWork::check(double mhz, Qt::MouseButton button)
{
    if (checking())
        return;
    stopWatch();
    // The frequency is the whole MHz nearest to the pointer, halves to even.
    // A position outside the 16-bit range is no frequency; the plot's own
    // scale never gives one, so such a press is simply not a check.
    const std::optional<std::int16_t> frequency = ws::toInt16(mhz);
    if (!frequency)
        return;
    auto job = std::make_unique<Job>();
    Job *spot = job.get();
    beginJob(std::move(job));
    const QString text = QString::number(*frequency);
    const Polarisation polarisation = polarisationFor(button);
    const QString where = checkedAt(text, polarisation);
    const qint64 startMs = platform_.clock->milliseconds();
    // The tile counts the seconds of the check, once a second as it looks.
    showCheckProgress_ = [this, where, startMs] {
        emit verdictShown(
            checkingVerdict(where, (platform_.clock->milliseconds() - startMs) / 1000));
    };
    showCheckProgress_();
    runCheck(text, polarisation, [this, spot, where](const CheckResult &result) {
        showCheckProgress_ = nullptr;
        emit verdictShown(checkVerdict(where, result));
        endJob(spot);
    });
}

void ReceiverWork::watch(double mhz, Qt::MouseButton button)
{
    if (const std::optional<std::int16_t> frequency = ws::toInt16(mhz))
        watch(QString::number(*frequency), polarisationFor(button));
}

void ReceiverWork::watch(const QString &frequency, Polarisation polarisation)
{
    // The port is the receiver's, one user at a time.
    if (busy())
        return;
    watch_->stop();
    watch_->start(frequency, polarisation);
}

void ReceiverWork::watchMapEntryAt(double mhz)
{
    const int entry = ws::nearestMapEntry(map_, mhz);
    if (entry >= 0)
        watch(map_.entries.at(entry).frequencyText,
              ws::polarisationOf(map_.entries.at(entry).polarisation));
}

void ReceiverWork::stopWatch(WindowWatch::Ending why)
{
    watch_->stop(why);
}

bool ReceiverWork::stop()
{
    if (watching()) {
        stopWatch();
        return true;
    }
    if (!busy())
        return false;
    // Every full scan ends at its running row, keeping the check's log so
    // far; clicks meanwhile were aimed at a check that is no more.
    if (fullScanLeft())
        stopRequested_ = true;
    heldInput_->dropClicks();
    check_->stop();
    return true;
}

void ReceiverWork::abandon()
{
    watch_->stop(WindowWatch::Ending::WindowClosed);
    if (!busy())
        return;
    // What the running check had so far belongs to the scan that waits for
    // it, if any; the inner scans end first, so the outermost one's results
    // are the ones left in the file.
    const CheckResult cutOff = check_->abandon();
    while (!jobs_.empty()) {
        std::unique_ptr<Job> job = std::move(jobs_.back());
        jobs_.pop_back();
        if (job->scan)
            job->scan->abandon(cutOff);
    }
}

void ReceiverWork::whenIdle(std::function<void()> work)
{
    if (!busy()) {
        work();
        return;
    }
    afterWork_.push_back(std::move(work));
}

void ReceiverWork::runCheck(const QString &frequency, Polarisation polarisation,
                            std::function<void(const CheckResult &)> done)
{
    checkLog_->startAfresh();
    portFailure_ = {};
    heldInput_->hold();
    emit checkStarted();
    const QString where = checkedAt(frequency, polarisation);
    check_->start(frequency, polarisation, [this, done, where](const CheckResult &result) {
        // The check has ended and its port is closed; only now may a box
        // keep the user, with the tile already saying what it is about.
        if (portFailure_) {
            showCheckProgress_ = nullptr;
            emit verdictShown(checkVerdict(where, result));
            const ws::receiver::PortFailure failure = std::exchange(portFailure_, {});
            platform_.dialogs->message(failure.message, ws::receiver::portFailureAdvice(failure));
        }
        // The job takes the result; a full scan's next row waits. What
        // waited for the check's end comes next, then what the user did
        // meanwhile, and a full scan waits for whatever that starts.
        endingCheck_ = true;
        done(result);
        endingCheck_ = false;
        emit checkEnded(result);
        heldInput_->release();
        resumeTopJob();
    });
}

void ReceiverWork::beginJob(std::unique_ptr<Job> job)
{
    retiredJobs_.clear();
    jobs_.push_back(std::move(job));
}

void ReceiverWork::endJob(Job *job)
{
    const auto found = std::find_if(jobs_.begin(), jobs_.end(),
                                    [job](const auto &j) { return j.get() == job; });
    if (found == jobs_.end())
        return;
    retiredJobs_.push_back(std::move(*found));
    jobs_.erase(found);
    if (!jobs_.empty())
        return;
    for (std::function<void()> &work : std::exchange(afterWork_, {}))
        whenIdle(std::move(work));
}

void ReceiverWork::resumeTopJob()
{
    // A full scan waits until what was started between its rows has ended.
    if (checking() || jobs_.empty() || !jobs_.back()->nextRowWaiting)
        return;
    jobs_.back()->nextRow->start(0);
}

bool ReceiverWork::fullScanLeft() const
{
    return std::any_of(jobs_.begin(), jobs_.end(),
                       [](const auto &j) { return j->scan != nullptr; });
}

void ReceiverWork::runFullScan()
{
    const QVector<ws::MapEntry> &entries = map_.entries;
    if (checking())
        return;
    stopWatch();
    auto runner = std::make_unique<ws::FullScanRunner>(resultsPlace(),
                                                       [this] { return platform_.clock->now(); });
    // A scan that does not begin leaves the log box as it was, the map
    // listing in view.
    if (const std::optional<ws::FullScanEnd> refused = runner->refusal(entries)) {
        platform_.system->beep();
        platform_.dialogs->message(refusalMessage(*refused));
        return;
    }
    auto owned = std::make_unique<Job>();
    Job *job = owned.get();
    job->scan = std::move(runner);
    job->titleBefore = window_.windowTitle();
    job->nextRow = platform_.clock->createTimer([job] {
        if (std::function<void()> resume = std::exchange(job->nextRowWaiting, nullptr))
            resume();
    });
    beginJob(std::move(owned));
    emit fullScanRunning(true);

    ws::FullScanRunner::FrontEnd frontEnd;
    frontEnd.rowStarting = [this](const QString &frequency, Polarisation polarisation,
                                  const ws::MapScanCounts &counts) {
        // Progress counts the MPEG entries, as the command line's does.
        emit titleShown(QStringLiteral("Wavesift: checking %1 of %2 (%3%4)")
                            .arg(counts.checked)
                            .arg(counts.mpegRows)
                            .arg(frequency, ws::receiver::logLetter(polarisation)));
        emit verdictShown(scanVerdict(counts));
    };
    frontEnd.check = [this](const QString &frequency, Polarisation polarisation,
                            ws::MapScanSteps::CheckDone done) {
        runCheck(frequency, polarisation, std::move(done));
    };
    frontEnd.stopRequested = [this] { return stopRequested_; };
    frontEnd.afterRow = [this, job](std::function<void()> resume) {
        betweenRows(job, std::move(resume));
    };
    frontEnd.finished = [this, job](const ws::FullScanEnd &end) { fullScanEnded(job, end); };
    job->scan->start(entries, std::move(frontEnd));
}

void ReceiverWork::betweenRows(Job *job, std::function<void()> resume)
{
    // Each row lets the user act, the rows passed over too: the next row
    // comes from the event loop, after whatever waits there.
    job->nextRowWaiting = std::move(resume);
    emit verdictShown(scanVerdict(job->scan->counts()));
    if (!endingCheck_)
        resumeTopJob();
}

void ReceiverWork::fullScanEnded(Job *job, const ws::FullScanEnd &end)
{
    const ws::MapScanResult &scan = end.scan;
    emit verdictShown(scanEndedVerdict(scan));
    platform_.system->beep();
    QStringList detail;
    if (scan.stopped)
        detail << ws::receiver::stoppedLine();
    detail << end.summary();
    if (!end.results.pastCopyFailure.isEmpty())
        detail << end.results.pastCopyFailure;
    platform_.dialogs->message(end.results.message, detail.join(QLatin1Char('\n')));
    emit logShown(scan.results);
    emit titleShown(job->titleBefore);
    endJob(job);
    // Only the outermost scan ends "skip rest": one pressed in a scan
    // started between the rows of another stops both.
    if (!fullScanLeft()) {
        stopRequested_ = false;
        emit fullScanRunning(false);
    }
    resumeTopJob();
}

ws::ResultsPlace ReceiverWork::resultsPlace() const
{
    ws::ResultsPlace place;
    place.folders = {platform_.system->programFolder(), platform_.system->userDataFolder(),
                     platform_.system->noUserDataFolder()};
    // Installed, the program never writes beside itself, not even as root.
    if (ws::isInstalledFolder(place.folders.program, QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        place.folders.program.clear();
    return place;
}
