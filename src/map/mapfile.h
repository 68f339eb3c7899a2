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

// A map is some thousand lines of about 60 characters. The window's list box
// pays time and memory per line and per shown character: a million lines, or
// one line of millions, would freeze it for seconds and take hundreds of
// megabytes. A file beyond these limits is more likely a wrong pick than a
// map and is refused; within them the list takes well under a second.
constexpr qint64 kMaxMapFileBytes = qint64(1) << 20;
// Lines as the list shows them: CR LF, a lone CR and a lone LF each end one.
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
// it: the running maximum of the rounded frequencies, in file order. Its copy
// of the entries shares their storage, so any change to them copies them and
// the search sees it is stale by address alone; readers use const access.
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

// Whether the entry is a digital TV transmission: its type begins with "mpeg"
// in any case. The full scan checks these, and the history ranks by them.
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
