#pragma once

#include "map/mapfile.h"
#include "scan/scanfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// How strong each known transmission is in the two scans, in numbers: while
// aligning a dish, what counts is whether the transponders the user watches
// grew stronger or weaker, and by how much, not how the curves look.
namespace ws {

// The level of one map entry in one scan (scan/transmissionlevel.h).
std::optional<double> entryLevel(const ScanData &scan, const MapEntry &entry);

struct TransmissionLevel
{
    std::optional<double> newest;
    std::optional<double> reference;
    // Newest minus reference, where both exist.
    std::optional<double> change;
};

// One per entry, in map order.
std::vector<TransmissionLevel> transmissionLevels(const ScanData &newest,
                                                  const ScanData &reference,
                                                  const QVector<MapEntry> &entries);

// A level as the reports print it: one decimal, as C's "%.1f" prints the
// double in any locale, except that a value that rounds to zero from below
// is "0.0", never "-0.0".
QString levelText(double value);
// The same appended to `out`, and written to `to`, which must have room for
// kMaxLevelText characters; returns the end of what was written. For
// reports of millions of levels.
void appendLevelText(QByteArray &out, double value);
constexpr int kMaxLevelText = 400; // the largest double has 309 digits
char *writeLevelText(char *to, double value);
// The level of `tenths` tenths, as writeLevelText writes it; at most 22
// characters.
constexpr int kMaxTenthsText = 22;
char *writeTenths(char *to, qint64 tenths);

// An entry's first four CSV fields: frequency and letter as the map writes
// them, name and type without trailing blanks, each as csvTextField() writes it.
QString entryCsvFields(const MapEntry &entry);

// The entries as CSV (RFC 4180, LF line ends): a header, then one row per
// entry in map order, an empty field where a level is missing.
QString levelsCsv(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels);

// The entries' indexes, the largest loss first: by change from the most
// negative up, equal changes and then the entries without one in map order.
std::vector<int> largestLossFirst(const std::vector<TransmissionLevel> &levels);

// The same levels as a table of fixed-width columns for the log box, a
// header line first and then one line per entry in largestLossFirst order,
// "-" where a level is missing. Its last column, "since last", is each
// entry's newest level less its level in `newestBefore`, the newest scan
// of the table shown before (see NewestShown); empty without one.
QString levelsTable(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels,
                    const ScanData *newestBefore = nullptr);

// A scan file as a table of levels names it: where it was loaded from and
// when that file had last changed.
struct ScanSource
{
    QString path;
    QDateTime lastModified;
};

// The line above a table of levels: the files it compares with their times,
// so a table rebuilt after a reload shows which scan it is of, and the scan
// "since last" compares with. One line, so the box's few lines still show
// the table's top. Times are local, written the same in every locale.
QString levelsTableHeading(const ScanSource &newest, const ScanSource &reference,
                           const QString &mapPath,
                           const std::optional<ScanSource> &newestBefore = std::nullopt);

// The newest scans tables have shown, for "since last": each table should
// tell what the last move of the dish did, so it compares with the newest
// scan of the last table whose newest scan differed; a table over the same
// newest scan (rewritten unchanged, another reference or map) keeps its pair.
class NewestShown
{
public:
    struct Scan
    {
        ScanData data;
        ScanSource source;
    };

    // Notes `newest` as the newest scan of the table shown now and returns
    // the one to compare it with: nothing until a second, different newest
    // scan has been shown.
    const Scan *show(const ScanData &newest, const ScanSource &source);

private:
    std::optional<Scan> shown_;
    std::optional<Scan> before_;
};

} // namespace ws
