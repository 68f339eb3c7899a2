#include "app/mainwindow.h"

#include "app/heldinput.h"
#include "app/logpanel.h"
#include "app/receiversettingspanel.h"
#include "app/verdicttile.h"
#include "core/numbers.h"
#include "fullscan/fullscan.h"
#include "receiver/checklog.h"

#include <QShortcut>

using ws::receiver::CheckResult;
using ws::receiver::Polarisation;

namespace {

// The log box as a running check writes it: each check's log replaces what
// the box held (the map listing, an older log) and is kept here byte for
// byte; the box shows it with its CR LF as line breaks.
class WindowCheckLog : public ws::receiver::CheckEvents
{
public:
    WindowCheckLog(LogPanel &log, ws::receiver::PortFailure &portFailure) : logPanel_(log), portFailure_(portFailure)
    {
    }

    void startAfresh() { log_.clear(); }
    void logAppended(const QString &text) override
    {
        log_ += text;
        logPanel_.showWithEndInView(log_);
    }
    void portFailed(const ws::receiver::PortFailure &failure) override { portFailure_ = failure; }
    void waiting() override
    {
        if (onWaiting)
            onWaiting();
    }

    std::function<void()> onWaiting;

private:
    LogPanel &logPanel_;
    ws::receiver::PortFailure &portFailure_;
    QString log_;
};

} // namespace

ws::receiver::Polarisation MainWindow::polarisationForButton(Qt::MouseButton button)
{
    // The buttons have the codes left 1, right 2 and middle 4, and the
    // digit is the last character of 1 minus the code: left gives "0"
    // (horizontal), right "1" and middle "3", which the receiver both reads
    // as vertical.
    const int code = button == Qt::LeftButton    ? 1
                     : button == Qt::RightButton  ? 2
                     : button == Qt::MiddleButton ? 4
                                                  : 0;
    return ws::receiver::polarisationFromDigit(QString::number(1 - code).right(1));
}

void MainWindow::setupReceiver()
{
    auto log = std::make_unique<WindowCheckLog>(*log_, portFailure_);
    log->onWaiting = [this] {
        if (showCheckProgress_)
            showCheckProgress_();
    };
    const auto settings = [this] { return receiverSettings_->settings(); };
    check_ = std::make_unique<ws::receiver::SignalCheck>(*platform_.serial, *platform_.clock,
                                                         settings, *log);
    checkLog_ = std::move(log);
    heldInput_ = new HeldInput(*this, [this](QObject *target, QEvent *) {
        // The key that stops the check; and the log box, which only shows
        // the check's progress and may be scrolled through meanwhile.
        if (target == escapeKey_)
            return true;
        for (QObject *o = target; o; o = o->parent()) {
            if (o == &log_->widget())
                return true;
        }
        return false;
    });
    // Never while a check or a full scan runs.
    if (platform_.ports)
        receiverSettings_->listPorts(*platform_.ports, [this] { return !receiverBusy(); });
}

void MainWindow::checkFrequencyAt(double mhz, Qt::MouseButton button)
{
    if (check_->running())
        return;
    stopWatch();
    // The frequency is the whole MHz nearest to the pointer, halves to even.
    // A position outside the 16-bit range is no frequency; the plot's own
    // scale never gives one, so such a press is simply not a check.
    const std::optional<std::int16_t> frequency = ws::toInt16(mhz);
    if (!frequency)
        return;
    auto job = std::make_unique<ReceiverJob>();
    ReceiverJob *spot = job.get();
    beginJob(std::move(job));
    const QString text = QString::number(*frequency);
    const Polarisation polarisation = polarisationForButton(button);
    const QString where = checkedAt(text, polarisation);
    const qint64 startMs = platform_.clock->milliseconds();
    // The tile counts the seconds of the check, once a second as it looks.
    showCheckProgress_ = [this, where, startMs] {
        verdict_->show(checkingVerdict(where, (platform_.clock->milliseconds() - startMs) / 1000));
    };
    showCheckProgress_();
    checkSignal(text, polarisation, [this, spot, where](const CheckResult &result) {
        showCheckProgress_ = nullptr;
        verdict_->show(checkVerdict(where, result));
        lastCheckLog_ = result.log;
        endJob(spot);
    });
}

void MainWindow::presetReceiverSettings(const ws::receiver::ReceiverSettings &settings)
{
    receiverSettings_->preset(settings);
}

void MainWindow::stopFullScan()
{
    stopRequested_ = true;
}

void MainWindow::stopReceiverWork()
{
    // Every full scan ends at its running row, which keeps the check's log
    // so far; what the user clicked meanwhile was aimed at a check that is
    // no more.
    if (std::any_of(jobs_.begin(), jobs_.end(), [](const auto &job) { return job->scan != nullptr; }))
        stopRequested_ = true;
    heldInput_->dropClicks();
    check_->stop();
}

void MainWindow::checkSignal(const QString &frequency, Polarisation polarisation,
                             std::function<void(const CheckResult &)> done)
{
    static_cast<WindowCheckLog &>(*checkLog_).startAfresh();
    portFailure_ = {};
    heldInput_->hold();
    const QString where = checkedAt(frequency, polarisation);
    check_->start(frequency, polarisation, [this, done, where](const CheckResult &result) {
        // The check has ended and its port is closed; only now may a box
        // keep the user, with the tile already saying what it is about.
        if (portFailure_) {
            showCheckProgress_ = nullptr;
            verdict_->show(checkVerdict(where, result));
            const ws::receiver::PortFailure failure = std::exchange(portFailure_, {});
            platform_.dialogs->message(failure.message, ws::receiver::portFailureAdvice(failure));
        }
        // The job that ran the check takes the result; a full scan's next
        // row waits. A scan file that changed meanwhile loads now, before
        // the next check; then what the user did while the check ran takes
        // its turn, and a full scan waits for whatever that starts.
        endingCheck_ = true;
        done(result);
        endingCheck_ = false;
        reloadDeferredScans();
        heldInput_->release();
        resumeTopJob();
    });
}

void MainWindow::beginJob(std::unique_ptr<ReceiverJob> job)
{
    retiredJobs_.clear();
    jobs_.push_back(std::move(job));
}

void MainWindow::endJob(ReceiverJob *job)
{
    const auto found = std::find_if(jobs_.begin(), jobs_.end(),
                                    [job](const auto &j) { return j.get() == job; });
    if (found == jobs_.end())
        return;
    // Kept until the next job begins: the job ends from inside its own
    // scan's and timer's calls.
    retiredJobs_.push_back(std::move(*found));
    jobs_.erase(found);
    if (!jobs_.empty())
        return;
    for (std::function<void()> &work : std::exchange(afterReceiverWork_, {}))
        whenIdle(std::move(work));
}

void MainWindow::resumeTopJob()
{
    // A full scan waits until what was started between its rows has ended.
    if (check_->running() || jobs_.empty() || !jobs_.back()->parked)
        return;
    ReceiverJob &top = *jobs_.back();
    top.nextRow->start(0);
}

void MainWindow::abandonReceiverWork()
{
    // What the running check had so far belongs to the scan that waits for
    // it, if any.
    const CheckResult cutOff = check_->abandon();
    // The inner scans first, as they would have ended; the outermost one's
    // results are the ones left in the file.
    while (!jobs_.empty()) {
        std::unique_ptr<ReceiverJob> job = std::move(jobs_.back());
        jobs_.pop_back();
        if (job->scan)
            job->scan->abandon(cutOff);
    }
}
