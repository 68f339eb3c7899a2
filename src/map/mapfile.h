#pragma once

#include "core/files.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <vector>

// Map files list the known transmissions of a satellite, one per line in
// fixed character columns. Nothing in a line is validated: the fields are
// kept exactly as cut, so that whatever a hand-edited map holds shows up in
// the window as it stands in the file.
namespace ws {

// A map of known transmissions is some tens of kilobytes, some thousand
// lines of about 60 characters. The window lists the whole file, and the
// list box takes time and memory for every line it holds and, for the lines
// it shows, for every character: a million lines, or one line of millions
// of characters, would freeze the window for many seconds and take hundreds
// of megabytes. A file beyond these limits is far more likely a wrong pick
// than a map, and is refused rather than read; within them the list takes
// well under a second and some tens of megabytes.
constexpr qint64 kMaxMapFileBytes = qint64(1) << 20;
// Lines as the list shows them: a CR LF, a lone CR and a lone LF each end
// one.
constexpr int kMaxMapLines = 16384;
constexpr int kMaxMapLineLength = 4096;

struct MapEntry
{
    QString name;          // columns 1-16
    QString type;          // columns 41-46
    // Columns 49-50 and 52-54: the frequency in GHz with its dot dropped,
    // which makes it MHz. Shown and sent to the receiver as cut.
    QString frequencyText;
    // The text read as a number ("1x788" is 1, an empty text 0), once, for
    // the readout and the map strip.
    double frequency = 0;
    QString polarisation;  // column 55; may be empty
    QString line;          // the whole line
};

// What the readout (plot/readout.h) keeps to search a map without walking
// it: the running maximum of the entries' rounded frequencies, in file
// order. It holds a copy of the entries it was made for, which shares their
// storage: any change to the map's entries then copies them, and the search
// sees that it is out of date by their address alone. So code that only
// reads the entries reads them through const access (at(), a const
// reference), which copies nothing.
struct MapSearch
{
    QVector<MapEntry> madeFor;
    std::vector<double> runningMaximum;
};

struct MapData
{
    // One per line of the file, in file order: the strip, the readout, the
    // listing, the full scan and the report all see every line.
    QVector<MapEntry> entries;
    // Every line of the file, each followed by CR LF.
    QString listing;
    // Made on the readout's first search of these entries; the readout
    // runs on the window's thread only.
    mutable MapSearch search;
};

// Lines end at CR LF or at a lone CR; a lone LF is an ordinary character.
// A terminator at the very end starts no further line. Bytes are Latin-1.
MapData parseMap(const QByteArray &bytes);

// A map file within the limits above, read whole; otherwise the path's
// failure names the limit it passed.
Result<FileContent, FileFailure> readMapFile(const QString &path);

// Whether an entry of this type is a digital TV transmission: its type field
// begins with "mpeg" in any case; the rest of the field (the MPEG version,
// blanks) does not matter. The full scan checks these entries, and the
// history ranks scans by them.
bool isMpegRow(const QString &type);

// Cuts one line into its fields; pieces beyond the end of a short line are
// short or empty.
MapEntry cutMapLine(const QString &line);

// Whether the entry's frequency columns (49-50 and 52-54) hold five digits,
// as they do in every line of a real map.
bool holdsFrequency(const MapEntry &entry);

// Whether a file picked for something else is most likely a map: one of its
// lines, ended by CR or LF, runs to the polarisation column (55) and holds a
// frequency. No scan line comes near that length.
bool looksLikeMap(const QByteArray &bytes);

// Whether a map that loaded has lines, yet none that holds a frequency: the
// file is most likely no map at all (a README picked by mistake). False for
// an empty file, which is a map without entries.
bool holdsNoFrequency(const MapData &map);

} // namespace ws
