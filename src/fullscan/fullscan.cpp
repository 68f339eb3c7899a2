#include "fullscan/fullscan.h"

namespace ws {

receiver::Polarisation polarisationOf(const QString &letter)
{
    return letter.compare(QLatin1String("h"), Qt::CaseInsensitive) == 0
               ? receiver::Polarisation::Horizontal
               : receiver::Polarisation::Vertical;
}

QString summaryLine(const MapScanCounts &counts)
{
    QString line = QStringLiteral("Checked %1 of %2 MPEG entries: %3 locked, %4 with tables found")
                       .arg(counts.checked)
                       .arg(counts.mpegRows)
                       .arg(counts.locked)
                       .arg(counts.withTables);
    if (counts.notConfirmed > 0)
        line += QStringLiteral(", %1 not confirmed").arg(counts.notConfirmed);
    if (counts.noAnswer > 0)
        line += QStringLiteral(", %1 no answer").arg(counts.noAnswer);
    return line;
}

bool notConfirmed(const receiver::CheckResult &check)
{
    return !check.locked && receiver::beginsWithLockCode(check.lastReply) &&
           !receiver::reportsLock(check.lastReply);
}

void MapScan::start(const QVector<MapEntry> &entries, MapScanSteps steps)
{
    entries_ = &entries;
    steps_ = std::move(steps);
    result_ = MapScanResult();
    result_.counts.mpegRows = int(std::count_if(
        entries.begin(), entries.end(), [](const MapEntry &e) { return isMpegRow(e.type); }));
    row_ = 0;
    last_ = int(entries.size());
    running_ = true;
    waiting_ = Wait::Nothing;
    advance();
}

MapScanResult MapScan::abandon(const receiver::CheckResult &cutOff)
{
    if (running_ && waiting_ == Wait::Check)
        take(cutOff);
    running_ = false;
    waiting_ = Wait::Nothing;
    return result_;
}

void MapScan::advance()
{
    advancing_ = true;
    while (running_ && waiting_ == Wait::Nothing) {
        // A port that failed fails the same way for every row, and a check
        // the user stopped stops the scan: both end it after that row.
        if (row_ < last_ && !result_.portFailed && !result_.stopped && steps_.stopRequested &&
            steps_.stopRequested())
            result_.stopRequested = true;
        if (row_ >= last_ || result_.portFailed || result_.stopped || result_.stopRequested) {
            // Whoever hears the end may let go of this scan.
            advancing_ = false;
            end();
            return;
        }
        // A copy, so that what the check is handed stays as it is while the
        // check runs, whatever the map becomes meanwhile.
        const MapEntry entry = row_ < entries_->size() ? (*entries_)[row_] : MapEntry();
        ++row_;
        if (isMpegRow(entry.type)) {
            ++result_.counts.checked;
            waiting_ = Wait::Check;
            steps_.check(entry.frequencyText, polarisationOf(entry.polarisation),
                         [this](const receiver::CheckResult &check) { rowChecked(check); });
            if (waiting_ == Wait::Check)
                break;
        }
        afterRow();
    }
    advancing_ = false;
}

void MapScan::rowChecked(const receiver::CheckResult &check)
{
    if (!running_ || waiting_ != Wait::Check)
        return;
    take(check);
    result_.portFailed = check.portFailed;
    result_.stopped = check.stopped;
    waiting_ = Wait::Nothing;
    // Answered at once, inside advance(): its loop goes on.
    if (advancing_)
        return;
    advancing_ = true;
    afterRow();
    advancing_ = false;
    advance();
}

void MapScan::take(const receiver::CheckResult &check)
{
    result_.results += check.log;
    result_.counts.locked += check.locked ? 1 : 0;
    result_.counts.withTables += check.tablesFound() ? 1 : 0;
    result_.counts.notConfirmed += notConfirmed(check) ? 1 : 0;
    result_.counts.noAnswer += check.silent ? 1 : 0;
    result_.received = result_.received || check.received;
}

void MapScan::afterRow()
{
    if (!steps_.afterRow)
        return;
    waiting_ = Wait::Resume;
    steps_.afterRow([this] { resume(); });
}

void MapScan::resume()
{
    if (!running_ || waiting_ != Wait::Resume)
        return;
    waiting_ = Wait::Nothing;
    if (!advancing_)
        advance();
}

void MapScan::end()
{
    running_ = false;
    if (steps_.finished)
        steps_.finished(result_);
}

} // namespace ws
