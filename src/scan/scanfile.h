#pragma once

#include "core/failure.h"
#include "core/files.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Scan files as the channel tool writes them: four header lines (first and
// last sky frequency, layout code, LNB code), then one "frequency,level" line
// per MHz for each polarisation block. A file is read whole into a scan or
// refused with where it stopped making sense, before the window changes.
namespace ws {

// Levels are stored by intermediate frequency, the receiver's tuning
// frequency behind the LNB: 0 to 2150 MHz, one cell per MHz.
constexpr int kMaxIf = 2150;
constexpr int kLevelCells = kMaxIf + 1;
using Levels = std::array<double, kLevelCells>;

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
    std::int16_t bandStart;
    std::int16_t bandEnd;
    std::int16_t switchFrequency;
    std::int16_t lowOscillator;
    std::int16_t highOscillator;
};

// The code as read from the header; only an exact match counts, so 1044.5
// is no LNB code.
const ScanLayout *findLayout(double code);
const LnbType *findLnb(double code);

enum LevelTableId { HLow, VLow, HHigh, VHigh, LevelTableCount };

struct ScanData
{
    // The sky frequencies of the header, in MHz, as read: not rounded, and
    // the last may lie below the first (then the file has no data lines).
    double first = 0;
    double last = 0;
    // The extremes of the levels read, starting from 0 and 1000: a file of
    // levels between 20 and 60 reports 0 to 60, and one without data lines
    // 0 to 1000.
    double maxLevel = 0;
    double minLevel = 0;
    LnbType lnb{};
    ScanLayout layout{};
    // The header's LNB line as it stands in the file.
    QString lnbCode;

    // Indexed by LevelTableId, then by intermediate frequency.
    std::array<Levels, LevelTableCount> levels{};
    // Cell 0 is the one cell a load does not clear: it keeps the slot's
    // earlier value unless a line of this file wrote it (see Scans::load).
    std::array<bool, LevelTableCount> wroteCellZero{};

    // Whether the range reaches above the LNB's band switch, and whether it
    // starts below it; a scan across the switch has both bands.
    bool inHighBand() const { return lnb.switchFrequency != -1 && last > lnb.switchFrequency; }
    bool inLowBand() const { return first < lnb.switchFrequency; }
};

struct ScanFailure
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
    // The line is 1-based; for a missing line, the line that was expected.
    Failure reason;
};

// A scan file is some tens of kilobytes (a full universal scan is about
// 40 KB); one of megabytes is a wrong pick. It is refused whole even when its
// scan ends before the limit: the line across the limit would be stored cut
// ("987" as "9"), and files no scan tool writes are not worth a special case.
constexpr qint64 kMaxScanFileBytes = qint64(4) << 20;

// A scan file within kMaxScanFileBytes, read whole; otherwise why not.
Result<FileContent, FileFailure> readScanFile(const QString &path);

using ScanParse = Result<ScanData, ScanFailure>;

// Reads a whole scan file. Lines may end in CR LF, LF or a lone CR; text is
// Latin-1. Lines after the last expected block are never looked at.
ScanParse parseScan(const QByteArray &bytes);

// The same reading with every data line taken by the general rules, none by
// the shortcut for the plain lines real files are made of; the two must
// agree on every file, to the byte of every message.
ScanParse parseScanGenerally(const QByteArray &bytes);

// The label text that describes a loaded file: path, date of last change,
// size, LNB and layout names and the frequency range.
QString scanSummary(const QString &path, const QDateTime &lastModified, qint64 size,
                    const ScanData &scan);

} // namespace ws
