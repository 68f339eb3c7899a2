#pragma once

#include "map/mapfile.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"

#include <QString>

#include <functional>

// The full scan over the map: which rows, in which order, and what it
// gathers. Its runner hands in the check and what to do between rows.
namespace ws {

// The polarisation to tune for a map letter: horizontal for "h" or "H",
// vertical for everything else (V, the circular L and R, a missing letter).
receiver::Polarisation polarisationOf(const QString &letter);

struct MapScanCounts
{
    // The map's MPEG entries when the scan began.
    int mpegRows = 0;
    int checked = 0;
    // Their logs hold the lock line.
    int locked = 0;
    // The receiver's search output named a table.
    int withTables = 0;
    // A reply with the lock code but "Aut" was the last of the lock wait.
    int notConfirmed = 0;
    // The receiver did not say a thing.
    int noAnswer = 0;
};

// "Checked 46 of 46 MPEG entries: 30 locked, 26 with tables found", and
// ", 2 not confirmed" and ", 1 no answer" where there were any.
QString summaryLine(const MapScanCounts &counts);

// A check whose lock wait ended on a reply with the lock code and "Aut":
// the receiver seemed to lock, but did not say so plainly.
bool notConfirmed(const receiver::CheckResult &check);

struct MapScanResult
{
    // Every check's log in map order, joined without separators.
    QString results;
    MapScanCounts counts;
    // The last check's port could not be opened, failed or stayed silent; the scan ended there.
    bool portFailed = false;
    // The user stopped the last check; the scan ended there.
    bool stopped = false;
    // A stop request ended the scan before a row that was due.
    bool stopRequested = false;
    // A byte came from the receiver during at least one row.
    bool received = false;
};

struct MapScanSteps
{
    using CheckDone = std::function<void(const receiver::CheckResult &)>;
    // Starts the check of one frequency (the map's text); `done` hears its result.
    std::function<void(const QString &frequency, receiver::Polarisation polarisation,
                       CheckDone done)>
        check;
    // Asked before every row; true ends the scan there.
    std::function<bool()> stopRequested;
    // Runs after every row, MPEG or not: the moment the user can act. The
    // scan goes on once `resume` is called, at once or later. Without it
    // the scan goes straight on.
    std::function<void(std::function<void()> resume)> afterRow;
    // The scan has ended by itself (every row, a stop, a failed port).
    std::function<void(const MapScanResult &)> finished;
};

// Runs `check` for every MPEG entry of the map in map order, one at a time.
// `entries` is the runner's own map: the count is read once, before the
// first row, so a map loaded while the scan lets the user act does not
// change how far it goes; each row is read when the scan reaches it, and a
// row the new map does not have counts as empty.
class MapScan
{
public:
    void start(const QVector<MapEntry> &entries, MapScanSteps steps);
    bool running() const { return running_; }
    // How far it has come: the row being checked counts as checked.
    const MapScanCounts &counts() const { return result_.counts; }
    // Ends the scan at once with the rows that were finished and, when the
    // scan waited for its check, `cutOff`: what that check had so far.
    // Nothing more is heard from it. The caller ends the running check.
    MapScanResult abandon(const receiver::CheckResult &cutOff = {});

private:
    // Goes through the rows until one has to wait for its check or for
    // whoever acts after it.
    void advance();
    void rowChecked(const receiver::CheckResult &check);
    void take(const receiver::CheckResult &check);
    void afterRow();
    void resume();
    void end();

    enum class Wait { Nothing, Check, Resume };

    const QVector<MapEntry> *entries_ = nullptr;
    MapScanSteps steps_;
    MapScanResult result_;
    int row_ = 0;
    int last_ = 0;
    bool running_ = false;
    Wait waiting_ = Wait::Nothing;
    // Inside advance(): whoever answers at once is taken up by its loop.
    bool advancing_ = false;
};

} // namespace ws
