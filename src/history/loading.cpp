#include "history/loading.h"

#include <QSet>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

namespace ws {

QThreadPool &historyPool()
{
    static QThreadPool pool;
    return pool;
}

void yieldToTheWindow()
{
#ifdef Q_OS_LINUX
    // Qt's thread priorities do nothing under Linux's ordinary scheduler;
    // a thread's niceness does.
    thread_local bool lowered = false;
    if (!lowered) {
        lowered = true;
        ::setpriority(PRIO_PROCESS, pid_t(::syscall(SYS_gettid)), 5);
    }
#endif
}

LoadedScan loadRow(const QString &path)
{
    LoadedScan loaded;
    const Result<ScanFile, SkippedScan> file = readScan(path);
    if (file.value) {
        loaded.row = compactRow(path, *file.value);
    } else {
        loaded.skipped = file.failure;
        loaded.skipped.gone = !stampOf(path).exists;
    }
    return loaded;
}

QFuture<LoadedScan> loadRows(const QStringList &paths)
{
    return QtConcurrent::mapped(&historyPool(), paths, [](const QString &path) {
        yieldToTheWindow();
        return loadRow(path);
    });
}

QFuture<ScanSources> listSources(const QStringList &sources)
{
    return QtConcurrent::run(&historyPool(), scanSources, sources);
}

HistoryLoader::HistoryLoader(History &history, QObject *parent)
    : QObject(parent), history_(history)
{
}

HistoryLoader::~HistoryLoader()
{
    if (watcher_) {
        watcher_->cancel();
        watcher_->waitForFinished();
    }
}

void HistoryLoader::load(const QStringList &paths)
{
    waiting_ << paths;
    if (!running())
        startNext();
}

void HistoryLoader::cancel()
{
    waiting_.clear();
    if (watcher_)
        watcher_->cancel();
}

void HistoryLoader::abandon()
{
    waiting_.clear();
    if (watcher_) {
        watcher_->cancel();
        watcher_->waitForFinished();
        retireWatcher();
    }
    rows_.clear();
    skipped_.clear();
}

void HistoryLoader::retireWatcher()
{
    // It may be the one whose signal runs now; it goes once that is over,
    // and tells this loader nothing more.
    watcher_->disconnect(this);
    watcher_.release()->deleteLater();
}

void HistoryLoader::startNext()
{
    if (waiting_.isEmpty())
        return;
    const QStringList paths = std::exchange(waiting_, {});
    if (watcher_)
        retireWatcher();
    watcher_ = std::make_unique<QFutureWatcher<LoadedScan>>();
    using Watcher = QFutureWatcher<LoadedScan>;
    connect(watcher_.get(), &Watcher::progressValueChanged, this,
            [this](int done) { emit progress(done, watcher_->progressMaximum()); });
    connect(watcher_.get(), &Watcher::resultsReadyAt, this, &HistoryLoader::takeResults);
    connect(watcher_.get(), &Watcher::finished, this, &HistoryLoader::end);
    emit progress(0, int(paths.size()));
    watcher_->setFuture(loadRows(paths));
}

void HistoryLoader::takeResults(int begin, int end)
{
    // Only the rows stay: each whole scan was dropped on its thread.
    for (int i = begin; i < end; ++i) {
        LoadedScan loaded = watcher_->resultAt(i);
        if (loaded.row)
            rows_.push_back(std::move(*loaded.row));
        else
            skipped_.push_back(std::move(loaded.skipped));
    }
}

void HistoryLoader::end()
{
    const bool cancelled = watcher_->isCanceled();
    // Rows read before their folder was deleted: the follower never tells
    // of them. One look per folder, as a look per file would hold up the
    // window's thread for thousands of scans.
    QHash<QString, bool> folderThere;
    std::vector<ScanRow> kept;
    kept.reserve(rows_.size());
    for (ScanRow &row : rows_) {
        const qsizetype slash = row.path.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash < 0 ? QStringLiteral(".") : row.path.left(slash + 1);
        auto there = folderThere.find(folder);
        if (there == folderThere.end())
            there = folderThere.insert(folder, isFolder(folder));
        if (*there) {
            kept.push_back(std::move(row));
            continue;
        }
        SkippedScan gone;
        gone.path = row.path;
        gone.reason.what = QStringLiteral("No such file or directory");
        gone.gone = true;
        skipped_.push_back(std::move(gone));
    }
    rows_ = std::move(kept);
    history_.add(std::exchange(rows_, {}), std::exchange(skipped_, {}));
    emit finished(cancelled);
    startNext();
}

} // namespace ws
