#pragma once

#include "core/platform.h"
#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"

#include <QDateTime>

#include <functional>
#include <optional>

// The one full scan the window and --full-scan both run: the rows, their
// checks, the stop, and the results (file, past copy, summary). A front end
// hands in the check and what happens between rows, and shows the reports.
namespace ws {

struct FullScanEnd
{
    enum class Refusal {
        None,
        // The map has no MPEG entry: nothing is checked or written.
        NothingToCheck,
        // The file the user named cannot take the results: nothing is checked.
        NowhereToSave,
    };
    Refusal refusal = Refusal::None;
    MapScanResult scan;
    ResultsOutcome results;

    QString summary() const { return summaryLine(scan.counts); }
};

class FullScanRunner
{
public:
    struct FrontEnd
    {
        std::function<void(const QString &frequency, receiver::Polarisation polarisation,
                           MapScanSteps::CheckDone done)>
            check;
        // Heard as each MPEG entry's check begins; that entry counts as checked.
        std::function<void(const QString &frequency, receiver::Polarisation polarisation,
                           const MapScanCounts &counts)>
            rowStarting;
        std::function<bool()> stopRequested;
        // As MapScanSteps::afterRow: the moment the user can act.
        std::function<void(std::function<void()> resume)> afterRow;
        // The scan has ended by itself and its results are where they go.
        std::function<void(const FullScanEnd &)> finished;
    };

    // `now` names the past copy at the end.
    FullScanRunner(ResultsPlace place, std::function<QDateTime()> now);

    // Why a scan of `entries` cannot begin; nothing when it can. start()
    // must not be called then.
    std::optional<FullScanEnd> refusal(const QVector<MapEntry> &entries) const;
    // Runs every MPEG entry (the runner's own map: see MapScan), then finishes the results.
    void start(const QVector<MapEntry> &entries, FrontEnd frontEnd);
    bool running() const { return scan_.running(); }
    const MapScanCounts &counts() const { return scan_.counts(); }
    // Ends the scan at once and quietly finishes its results with the rows
    // finished and `cutOff`. The caller ends the running check.
    FullScanEnd abandon(const receiver::CheckResult &cutOff = {});

private:
    FullScanEnd finish(const MapScanResult &scan) const;

    ResultsPlace place_;
    std::function<QDateTime()> now_;
    MapScan scan_;
};

} // namespace ws
