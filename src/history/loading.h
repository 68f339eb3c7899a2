#pragma once

#include "history/history.h"
#include "history/scanfiles.h"
#include "history/scanrow.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <vector>

// Loading a history's scans on all cores: each file is read into a compact
// row on a pool thread and its whole scan dropped at once, so a load of
// thousands keeps no more than one whole scan per core. The pool is the
// history's own: Qt's raster drawing waits on the global pool, and a window
// whose drawing queues behind thousands of parses freezes for the whole load.
namespace ws {

// The pool the history's loads and rankings run on, one thread per core.
QThreadPool &historyPool();
// Lowers the calling thread of the pool below the window's thread, once:
// with every core parsing scans, a window's thread of equal standing gets
// its turn only every few tens of milliseconds.
void yieldToTheWindow();

// One file's outcome: its row, or why it was skipped (`gone` when the file
// does not exist).
struct LoadedScan
{
    std::optional<ScanRow> row;
    SkippedScan skipped;
};
LoadedScan loadRow(const QString &path);

// The files read on the history's pool; the future's results are in the
// files' order, its progress counts the files done, and cancelling it
// leaves the files not yet begun unread.
QFuture<LoadedScan> loadRows(const QStringList &paths);

// scanSources on the history's pool: a folder of thousands of scans takes
// a while to list.
QFuture<ScanSources> listSources(const QStringList &sources);

// Loads files into a history without ever waiting on the thread that runs
// it. Files asked for while a load runs load after it, in one go. A file
// that is gone by the end of its load, its folder deleted meanwhile say,
// joins as gone: it has no row.
class HistoryLoader : public QObject
{
    Q_OBJECT

public:
    explicit HistoryLoader(History &history, QObject *parent = nullptr);
    // Cancels what runs and waits for the files being read.
    ~HistoryLoader() override;

    void load(const QStringList &paths);
    // Stops the running load and drops those waiting; what was read joins the history.
    void cancel();
    // The same, but nothing of them joins the history and no signal tells of them.
    void abandon();
    bool running() const { return watcher_ && watcher_->isRunning(); }

signals:
    void progress(int done, int total);
    // The history has taken what a load read; `cancelled` when stopped early.
    void finished(bool cancelled);

private:
    void startNext();
    void retireWatcher();
    void takeResults(int begin, int end);
    void end();

    History &history_;
    // One per load: a watcher that goes takes the events of its load along.
    std::unique_ptr<QFutureWatcher<LoadedScan>> watcher_;
    QStringList waiting_;
    std::vector<ScanRow> rows_;
    std::vector<SkippedScan> skipped_;
};

} // namespace ws
