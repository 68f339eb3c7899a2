#pragma once

#include "app/heldinput.h"
#include "app/verdict.h"
#include "app/windowplatform.h"
#include "app/windowwatch.h"
#include "fullscan/runner.h"
#include "map/mapfile.h"
#include "receiver/signalcheck.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class DishView;
class QWidget;

// Everything the window does with the receiver: spot checks, watches and
// full scans over the one port, one check at a time. A full scan is a job at
// the bottom of a stack; what the user starts between its rows goes on top
// and runs to its end before the scan goes on. While a check runs the
// window's input is held, so that a click means "check this next".
class ReceiverWork : public QObject
{
    Q_OBJECT

public:
    // `window` is whose input is held; `passes` lets through what must reach
    // it during a check (the key that stops it). `watch` shows a watch.
    // `map` is the one loaded, checked by a full scan.
    ReceiverWork(const ws::Platform &platform, QWidget &window, const ws::MapData &map,
                 ws::receiver::SettingsSource settings, HeldInput::Passes passes,
                 std::unique_ptr<WindowWatch> watch);
    ~ReceiverWork() override;

    // Whether a check or a full scan runs: the port is then the receiver
    // work's, and loads and tables wait.
    bool busy() const { return !jobs_.empty(); }
    bool checking() const { return check_->running(); }
    bool watching() const { return watch_->running(); }
    // Whether "skip rest" was pressed during the full scan that runs.
    bool fullScanStopping() const { return stopRequested_; }

    // One that already runs refuses another.
    void check(double mhz, Qt::MouseButton button);
    void watch(double mhz, Qt::MouseButton button);
    void watch(const QString &frequency, ws::receiver::Polarisation polarisation);
    // The map's entry the readout names at `mhz`.
    void watchMapEntryAt(double mhz);
    void stopWatch(WindowWatch::Ending why = WindowWatch::Ending::Stopped);
    void toggleBeeping() { watch_->setBeeping(!watch_->beeping()); }
    // F11: the dish view of the running watch, which it follows until
    // either ends.
    void openDishView();
    DishView *dishView() const;
    // Every MPEG entry of the map.
    void runFullScan();
    // "skip rest": after the running check.
    void stopFullScan() { stopRequested_ = true; }
    // Escape: a watch ends; else the running check ends at once and a full
    // scan saves what it has. False when there was nothing to stop.
    bool stop();
    // Closing the window: the work ends at once, keeping a full scan's
    // finished rows and what its running check had so far.
    void abandon();
    // Runs `work` now, or once no check or full scan runs any more.
    void whenIdle(std::function<void()> work);

    static ws::receiver::Polarisation polarisationFor(Qt::MouseButton button);

signals:
    // A check began; it has ended (its port closed, its job has its result)
    // and before the input held meanwhile is handed on.
    void checkStarted();
    void checkEnded(const ws::receiver::CheckResult &result);
    void fullScanRunning(bool running);
    // The log box's text, as the check or the full scan writes it.
    void logShown(const QString &text);
    void verdictShown(const Verdict &verdict);
    void titleShown(const QString &title);

private:
    struct Job
    {
        std::unique_ptr<ws::FullScanRunner> scan; // none for a spot check
        QString titleBefore;
        std::function<void()> nextRowWaiting;
        std::unique_ptr<ws::Timer> nextRow;
    };
    class CheckLog;

    void runCheck(const QString &frequency, ws::receiver::Polarisation polarisation,
                  std::function<void(const ws::receiver::CheckResult &)> done);
    void beginJob(std::unique_ptr<Job> job);
    void endJob(Job *job);
    void resumeTopJob();
    void betweenRows(Job *job, std::function<void()> resume);
    void fullScanEnded(Job *job, const ws::FullScanEnd &end);
    bool fullScanLeft() const;
    ws::ResultsPlace resultsPlace() const;

    ws::Platform platform_;
    QWidget &window_;
    const ws::MapData &map_;
    std::unique_ptr<CheckLog> checkLog_;
    std::unique_ptr<ws::receiver::SignalCheck> check_;
    std::unique_ptr<WindowWatch> watch_;
    QPointer<DishView> dish_;
    HeldInput *heldInput_ = nullptr;
    std::vector<std::unique_ptr<Job>> jobs_;
    // Kept until the next job begins: a job ends from inside its own
    // scan's and timer's calls.
    std::vector<std::unique_ptr<Job>> retiredJobs_;
    // A port failure the running check reported, shown once it has ended.
    ws::receiver::PortFailure portFailure_;
    std::function<void()> showCheckProgress_;
    // While the job that ran a check takes its result: what the user did
    // meanwhile comes first, then the job goes on.
    bool endingCheck_ = false;
    std::vector<std::function<void()>> afterWork_;
    bool stopRequested_ = false;
};
