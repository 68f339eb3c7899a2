#include "fullscan/runner.h"

#include <algorithm>
#include <utility>

namespace ws {

FullScanRunner::FullScanRunner(ResultsPlace place, std::function<QDateTime()> now)
    : place_(std::move(place)), now_(std::move(now))
{
}

std::optional<FullScanEnd> FullScanRunner::refusal(const QVector<MapEntry> &entries) const
{
    FullScanEnd end;
    if (std::none_of(entries.begin(), entries.end(),
                     [](const MapEntry &e) { return isMpegRow(e.type); })) {
        // One stray click on an empty map strip must not replace the last
        // results with an empty file.
        end.refusal = FullScanEnd::Refusal::NothingToCheck;
        end.results.leftAsItWas = true;
        end.results.message = untouchedResultsMessage(place_);
        return end;
    }
    if (place_.file.isEmpty())
        return std::nullopt;
    // Where a named file goes is checked before the first tune: a scan of
    // minutes must not end with nowhere to put its results.
    const SaveTarget target = checkResultsTarget(place_.file, place_.map);
    if (!target.refused())
        return std::nullopt;
    ResultsSave refused;
    refused.failedPaths << shownResultsPath(place_.file);
    refused.reasons << target.refusal;
    end.refusal = FullScanEnd::Refusal::NowhereToSave;
    end.results.message = refused.message();
    return end;
}

void FullScanRunner::start(const QVector<MapEntry> &entries, FrontEnd frontEnd)
{
    MapScanSteps steps;
    steps.check = [this, rowStarting = std::move(frontEnd.rowStarting),
                   check = std::move(frontEnd.check)](const QString &frequency,
                                                      receiver::Polarisation polarisation,
                                                      MapScanSteps::CheckDone done) {
        if (rowStarting)
            rowStarting(frequency, polarisation, scan_.counts());
        check(frequency, polarisation, std::move(done));
    };
    steps.stopRequested = std::move(frontEnd.stopRequested);
    steps.afterRow = std::move(frontEnd.afterRow);
    steps.finished = [this, finished = std::move(frontEnd.finished)](const MapScanResult &result) {
        // Written first, then announced: what the front end says is on the
        // disk.
        const FullScanEnd end = finish(result);
        if (finished)
            finished(end);
    };
    scan_.start(entries, std::move(steps));
}

FullScanEnd FullScanRunner::abandon(const receiver::CheckResult &cutOff)
{
    if (!scan_.running())
        return {};
    return finish(scan_.abandon(cutOff));
}

FullScanEnd FullScanRunner::finish(const MapScanResult &scan) const
{
    FullScanEnd end;
    end.scan = scan;
    end.results = finishResults({scan.results, scan.received}, place_, now_());
    return end;
}

} // namespace ws
