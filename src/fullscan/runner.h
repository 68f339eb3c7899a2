#pragma once

#include "core/platform.h"
#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"

#include <QDateTime>

#include <functional>
#include <optional>

// The one full scan that the window and --full-scan both run: which rows,
// their checks one at a time, when it stops, and what becomes of its
// results (the results file, the past copy, the summary). A front end
// hands in how a check runs and what happens between rows, and shows what
// the runner reports.
namespace ws {

struct FullScanEnd
{
    enum class Refusal {
        None,
        // The map has no MPEG entry: nothing is checked or written.
        NothingToCheck,
        // The file the user named cannot take the results: nothing is
        // checked.
        NowhereToSave,
    };
    Refusal refusal = Refusal::None;
    MapScanResult scan;
    ResultsOutcome results;

    // "Checked 3 of 46 MPEG entries: ...".
    QString summary() const { return summaryLine(scan.counts); }
};

class FullScanRunner
{
public:
    struct FrontEnd
    {
        // Runs the check of one row; `done` hears its result.
        std::function<void(const QString &frequency, receiver::Polarisation polarisation,
                           MapScanSteps::CheckDone done)>
            check;
        // Heard as each MPEG entry's check begins, with how far the scan
        // has come: that entry counts as checked.
        std::function<void(const QString &frequency, receiver::Polarisation polarisation,
                           const MapScanCounts &counts)>
            rowStarting;
        // Asked before every row; true ends the scan there.
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
    // Runs every MPEG entry of `entries` (the runner's own map: see MapScan)
    // and finishes the results once the scan ends.
    void start(const QVector<MapEntry> &entries, FrontEnd frontEnd);
    bool running() const { return scan_.running(); }
    const MapScanCounts &counts() const { return scan_.counts(); }
    // Ends the scan at once and finishes its results quietly: the rows that
    // were finished and `cutOff`, what the running check had so far.
    // Nothing more is heard from it. The caller ends the running check.
    FullScanEnd abandon(const receiver::CheckResult &cutOff = {});

private:
    FullScanEnd finish(const MapScanResult &scan) const;

    ResultsPlace place_;
    std::function<QDateTime()> now_;
    MapScan scan_;
};

} // namespace ws
