#include "history/ranking.h"

#include "history/loading.h"

#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <QtCore/qalgorithms.h>
#include <cmath>

namespace ws {

namespace {

bool has(const std::vector<quint64> &bits, size_t i)
{
    return (bits[i / 64] >> (i % 64)) & 1;
}

} // namespace

QVector<MapEntry> rankingEntries(const QVector<MapEntry> &entries)
{
    QVector<MapEntry> mpeg;
    for (const MapEntry &entry : entries) {
        if (isMpegRow(entry.type))
            mpeg.push_back(entry);
    }
    return mpeg;
}

RankFigures rankFigures(const ScanRow &row, const QVector<MapEntry> &ranking)
{
    RankFigures figures;
    figures.present.assign((size_t(ranking.size()) + 63) / 64, 0);
    for (qsizetype i = 0; i < ranking.size(); ++i) {
        if (const std::optional<double> level = entryLevel(row, ranking[i])) {
            figures.present[size_t(i) / 64] |= quint64(1) << (i % 64);
            figures.sum += *level;
        }
    }
    return figures;
}

Ranking rankByFigures(const std::vector<ScanRow> &rows,
                      const std::vector<const RankFigures *> &figures,
                      const QVector<MapEntry> &ranking)
{
    Ranking result;
    if (rows.empty() || ranking.isEmpty())
        return result;
    const size_t count = size_t(ranking.size());
    // The transmissions with a level in every scan.
    std::vector<quint64> everywhere((count + 63) / 64, ~quint64(0));
    if (count % 64)
        everywhere.back() = (quint64(1) << (count % 64)) - 1;
    for (const RankFigures *f : figures) {
        for (size_t w = 0; w < everywhere.size(); ++w)
            everywhere[w] &= f->present[w];
    }
    for (const quint64 word : everywhere)
        result.transmissions += qPopulationCount(word);
    if (result.transmissions == 0)
        return result;
    for (size_t r = 0; r < rows.size(); ++r) {
        const RankFigures &f = *figures[r];
        // A scan's sum over all it has, less what the others lack; or,
        // where that is more, the sum over those in every scan afresh.
        int extra = 0;
        for (size_t w = 0; w < everywhere.size(); ++w)
            extra += qPopulationCount(f.present[w] & ~everywhere[w]);
        double sum = 0;
        if (extra == 0) {
            sum = f.sum;
        } else if (extra <= result.transmissions) {
            sum = f.sum;
            for (size_t i = 0; i < count; ++i) {
                if (has(f.present, i) && !has(everywhere, i))
                    sum -= entryLevel(rows[r], ranking[qsizetype(i)]).value_or(0);
            }
        } else {
            for (size_t i = 0; i < count; ++i) {
                if (has(everywhere, i))
                    sum += entryLevel(rows[r], ranking[qsizetype(i)]).value_or(0);
            }
        }
        result.places.push_back({int(r), sum / result.transmissions});
    }
    std::stable_sort(result.places.begin(), result.places.end(),
                     [](const Ranking::Place &a, const Ranking::Place &b) {
                         return !std::isnan(a.meanLevel) &&
                                (std::isnan(b.meanLevel) || a.meanLevel > b.meanLevel);
                     });
    return result;
}

Ranking rankScans(const std::vector<ScanRow> &rows, const QVector<MapEntry> &entries)
{
    const QVector<MapEntry> ranking = rankingEntries(entries);
    std::vector<RankFigures> figures;
    figures.reserve(rows.size());
    for (const ScanRow &row : rows)
        figures.push_back(rankFigures(row, ranking));
    std::vector<const RankFigures *> pointers;
    for (const RankFigures &f : figures)
        pointers.push_back(&f);
    return rankByFigures(rows, pointers, ranking);
}

HistoryRanker::HistoryRanker(QObject *parent)
    : QObject(parent)
{
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &HistoryRanker::finished);
}

HistoryRanker::~HistoryRanker()
{
    if (stop_)
        *stop_ = true;
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

void HistoryRanker::setEntries(const QVector<MapEntry> &entries)
{
    entries_ = rankingEntries(entries);
    ++version_;
    figures_.clear();
}

void HistoryRanker::rank(const std::vector<ScanRow> &rows)
{
    waiting_ = rows;
    // What runs is for rows that are no longer the history's.
    if (watcher_.isRunning())
        *stop_ = true;
    else
        startNext();
}

void HistoryRanker::startNext()
{
    if (!waiting_)
        return;
    stop_ = std::make_shared<std::atomic_bool>(false);
    watcher_.setFuture(QtConcurrent::run(&historyPool(), &HistoryRanker::run, std::move(*waiting_),
                                         entries_, figures_, version_, stop_));
    waiting_.reset();
}

HistoryRanker::Outcome HistoryRanker::run(std::vector<ScanRow> rows, QVector<MapEntry> ranking,
                                          Figures known, int version,
                                          std::shared_ptr<std::atomic_bool> stop)
{
    Outcome outcome;
    outcome.version = version;
    std::vector<std::shared_ptr<const RankFigures>> figures(rows.size());
    std::vector<size_t> unmeasured;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto it = known.constFind(rows[i].path);
        if (it != known.cend() && it->modified == rows[i].modified && it->size == rows[i].size)
            figures[i] = it->figures;
        else
            unmeasured.push_back(i);
    }
    // On the other cores as well, the calling thread among them.
    yieldToTheWindow();
    QtConcurrent::blockingMap(&historyPool(), unmeasured, [&](size_t i) {
        yieldToTheWindow();
        if (!*stop)
            figures[i] = std::make_shared<const RankFigures>(rankFigures(rows[i], ranking));
    });
    // Figures measured so far are kept even when the ranking is not made.
    for (size_t i = 0; i < rows.size(); ++i) {
        if (figures[i])
            outcome.figures.insert(rows[i].path, {rows[i].modified, rows[i].size, figures[i]});
    }
    if (*stop)
        return outcome;
    std::vector<const RankFigures *> pointers;
    pointers.reserve(figures.size());
    for (const auto &f : figures)
        pointers.push_back(f.get());
    outcome.ranking = rankByFigures(rows, pointers, ranking);
    return outcome;
}

void HistoryRanker::finished()
{
    Outcome outcome = watcher_.result();
    if (outcome.version == version_)
        figures_ = std::move(outcome.figures);
    if (waiting_) {
        startNext();
        return;
    }
    ranking_ = std::move(outcome.ranking);
    emit ranked();
}

} // namespace ws
