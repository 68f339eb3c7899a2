#pragma once

#include "history/scanrow.h"
#include "map/mapfile.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QVector>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

// The best position of the dish: each scan's mean level over the map's MPEG
// transmissions that have a level in every scan, the best first (ties, and
// a mean that is no number last, in row order). Thousands of entries over
// thousands of scans are tens of millions of look-ups, so each scan's
// figures are measured once on the history's pool and kept while the scan
// and the map stay, and a new or changed scan costs only its own.
namespace ws {

struct Ranking
{
    struct Place
    {
        int row;
        double meanLevel;
    };
    // Empty when no MPEG transmission has a level in every scan.
    std::vector<Place> places;
    // How many transmissions the means are taken over.
    int transmissions = 0;
};

QVector<MapEntry> rankingEntries(const QVector<MapEntry> &entries);

// What one scan gives the ranking, over rankingEntries in their order:
// which have a level in it, one bit each, and the sum of those levels.
struct RankFigures
{
    std::vector<quint64> present;
    double sum = 0;
};
RankFigures rankFigures(const ScanRow &row, const QVector<MapEntry> &ranking);

Ranking rankByFigures(const std::vector<ScanRow> &rows,
                      const std::vector<const RankFigures *> &figures,
                      const QVector<MapEntry> &ranking);

// All at once, on the calling thread.
Ranking rankScans(const std::vector<ScanRow> &rows, const QVector<MapEntry> &entries);

// Ranks rows off the thread that asks, one ranking at a time: rows asked
// for while one runs are ranked after it, and only the last rows asked for
// are told of.
class HistoryRanker : public QObject
{
    Q_OBJECT

public:
    explicit HistoryRanker(QObject *parent = nullptr);
    ~HistoryRanker() override;

    // The map's entries; every scan is measured again.
    void setEntries(const QVector<MapEntry> &entries);
    // Ranks copies of the rows (which share their levels with them).
    void rank(const std::vector<ScanRow> &rows);
    // Whether the ranking is not yet that of the rows last asked for.
    bool pending() const { return watcher_.isRunning() || waiting_.has_value(); }
    const Ranking &ranking() const { return ranking_; }

signals:
    void ranked();

private:
    struct Measured
    {
        QDateTime modified;
        qint64 size;
        std::shared_ptr<const RankFigures> figures;
    };
    using Figures = QHash<QString, Measured>;
    struct Outcome
    {
        Ranking ranking;
        Figures figures;
        int version = 0;
    };
    static Outcome run(std::vector<ScanRow> rows, QVector<MapEntry> ranking, Figures known,
                       int version, std::shared_ptr<std::atomic_bool> stop);
    void startNext();
    void finished();

    QFutureWatcher<Outcome> watcher_;
    std::optional<std::vector<ScanRow>> waiting_;
    QVector<MapEntry> entries_;
    // Counts the maps, so that figures measured for an earlier one are dropped.
    int version_ = 0;
    Figures figures_;
    Ranking ranking_;
    std::shared_ptr<std::atomic_bool> stop_;
};

} // namespace ws
