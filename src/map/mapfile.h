#pragma once

#include "canvas.h"
#include "levels.h"
#include "sharedstate.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

// Map files list the known transmissions of a satellite, one per line in
// fixed character columns. Nothing in a line is validated: the fields are
// kept exactly as cut, so that whatever a hand-edited map holds shows up in
// the window as it stands in the file.
namespace ws {

struct MapEntry
{
    QString freq; // columns 49-50 and 52-54: the sky frequency in MHz, dot dropped
    QString type; // columns 41-46
    QString name; // columns 1-16
    QString pol;  // column 55
};

struct MapFile
{
    // The first kMaxMapEntries lines, in file order.
    QVector<MapEntry> entries;
    // Every line of the file, each followed by CR LF; lines beyond the table
    // are listed too.
    QString maptext;
    // All lines of the file, including those the table had no room for.
    int lineCount = 0;
};

// Lines end at CR LF or at a lone CR; a lone LF is an ordinary character.
// A terminator at the very end starts no further line. Bytes are Latin-1.
MapFile parseMap(const QByteArray &bytes);

// Cuts one line into its fields; pieces beyond the end of a short line are
// short or empty.
MapEntry cutMapLine(const QString &line);

// Replaces the map of `state` with `map`: rows beyond the new count are
// emptied, so no entry of an earlier map survives.
void storeMap(SharedState &state, const MapFile &map);

// Red for horizontal, blue for vertical, green for anything else (circular
// or unknown); the letter counts in either case.
QColor mapColour(const QString &pol);

// The strip's scale: the plots' frequency scale across, 0 to 200 down.
void setMapStripScale(Canvas &strip, const FrequencyScale &scale);

// One full-height line per entry of rows 1 to mapcount, in file order, on
// the strip's current scale; later entries cover earlier ones.
void drawMapEntries(Canvas &strip, const SharedState &state);

} // namespace ws
