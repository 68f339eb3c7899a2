#pragma once

#include "sharedstate.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Scan files as the channel tool writes them: four header lines (first and
// last sky frequency, layout code, LNB code) and then one "frequency,level"
// line per MHz for each polarisation block. The reader works on the file's
// bytes and either yields a complete scan or says exactly where the file
// stopped making sense; nothing touches the window's state until the whole
// file has been read.
namespace ws {

// Which polarisation blocks follow the header.
struct ScanLayout
{
    int code;
    const char *name;
    bool horizontal;
    bool vertical;
};

// Band edges, band switch and oscillators of an LNB type, in MHz; -1 where
// the type has none.
struct LnbType
{
    int code;
    const char *name;
    std::int16_t bandstart;
    std::int16_t bandend;
    std::int16_t fswitch;
    std::int16_t lolow;
    std::int16_t lohigh;
};

// The code as read from the header; only an exact match counts, so 1044.5
// is no LNB code.
const ScanLayout *findLayout(double code);
const LnbType *findLnb(double code);

// The four level tables of one scan.
enum LevelTableId { HLow, VLow, HHigh, VHigh, LevelTableCount };

struct ScanData
{
    double fstart = 0;
    double fend = 0;
    double smax = 0;
    double smin = 0;
    std::int16_t bandstart = 0;
    std::int16_t bandend = 0;
    std::int16_t fswitch = 0;
    std::int16_t lolow = 0;
    std::int16_t lohigh = 0;
    QString lnbcode;
    bool hpol = false;
    bool vpol = false;
    bool inhigh = false;
    bool inlow = false;
    QString lnbName;
    QString layoutName;

    // Indexed by LevelTableId, then by intermediate frequency.
    std::array<Levels, LevelTableCount> levels{};
    // Cell 0 is the one cell a load does not clear: it keeps the slot's
    // earlier value unless a line of this file wrote it.
    std::array<bool, LevelTableCount> wroteCellZero{};
};

struct ScanError
{
    enum Kind {
        MissingHeader,     // the file ends before its four header lines
        UnknownLayout,     // line 3
        UnknownLnb,        // line 4
        MissingLine,       // the file ends before the last data line
        NoComma,
        FrequencyOutOfRange,
    };
    Kind kind = MissingHeader;
    int line = 0;   // 1-based; for a missing line, the line that was expected
    QString text;   // the offending line as read

    // What the user is told.
    QString message() const;
};

struct ScanParse
{
    std::optional<ScanData> data;
    ScanError error; // meaningful only without data
};

// Reads a whole scan file. Lines may end in CR LF, LF or a lone CR; text is
// Latin-1. Lines after the last expected block are never looked at.
ScanParse parseScan(const QByteArray &bytes);

// Puts a completely read scan into `slot` (1 or 2) of the shared state,
// together with the load's running extremes.
void commitScan(SharedState &s, int slot, const ScanData &scan);

// The label text that describes a loaded file: path, date of last change,
// size, LNB and layout names and the frequency range.
QString scanSummary(const QString &path, const QDateTime &lastModified, qint64 size,
                    const ScanData &scan);

} // namespace ws
