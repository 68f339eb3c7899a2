#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Map files list the known transmissions of a satellite, one per line in
// fixed character columns. Nothing in a line is validated: the fields are
// kept exactly as cut, so that whatever a hand-edited map holds shows up in
// the window as it stands in the file.
namespace ws {

// The entries the window keeps of one map; longer files are still listed
// whole.
constexpr int kMaxMapEntries = 1024;

// A map of known transmissions is some tens of kilobytes; a file of many
// megabytes is far more likely a wrong pick than a map, and is refused
// rather than read.
constexpr qint64 kMaxMapFileBytes = qint64(16) << 20;

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

struct MapData
{
    // The first kMaxMapEntries lines, in file order.
    QVector<MapEntry> entries;
    // Every line of the file, each followed by CR LF; lines beyond the
    // entries are listed too.
    QString listing;
    // All lines of the file, including those the entries had no room for.
    int lineCount = 0;
};

// Lines end at CR LF or at a lone CR; a lone LF is an ordinary character.
// A terminator at the very end starts no further line. Bytes are Latin-1.
MapData parseMap(const QByteArray &bytes);

// Cuts one line into its fields; pieces beyond the end of a short line are
// short or empty.
MapEntry cutMapLine(const QString &line);

} // namespace ws
