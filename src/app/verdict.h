#pragma once

#include "fullscan/fullscan.h"
#include "receiver/signalcheck.h"
#include "receiver/signalwatch.h"

#include <QColor>
#include <QStringList>

#include <optional>

class QPainter;
class QRect;

// What the receiver's work came to, as the verdict tile shows it: the first
// thing a person at the dish reads, at any window size. A word, large, in
// its colour, under a small heading, with a few small lines below.
struct Verdict
{
    QString heading;
    QString word;
    QColor colour;
    QStringList lines;

    bool isEmpty() const { return word.isEmpty(); }
    bool operator==(const Verdict &other) const
    {
        return heading == other.heading && word == other.word && colour == other.colour &&
               lines == other.lines;
    }
    bool operator!=(const Verdict &other) const { return !(*this == other); }
    // All of it in one line, for a screen reader.
    QString spoken() const;
};

// "11778h": the frequency as it went out, and the polarisation's letter.
QString checkedAt(const QString &frequency, ws::receiver::Polarisation polarisation);

Verdict checkingVerdict(const QString &where, qint64 seconds);
// What a check came to: LOCKED (with what the receiver said after its
// code), NO LOCK, NOT CONFIRMED (its lock wait ended on "Aut"), NO ANSWER,
// PORT FAILED, STOPPED.
Verdict checkVerdict(const QString &where, const ws::receiver::CheckResult &check);
Verdict scanVerdict(const ws::MapScanCounts &counts);
// A full scan that has ended: its counts, under STOPPED, PORT FAILED or NO
// ANSWER when it did not run through.
Verdict scanEndedVerdict(const ws::MapScanResult &scan);
// A watch: WATCHING where, the last reply's state and text, and for how long it held.
Verdict watchVerdict(const QString &where, ws::receiver::WatchState state, const QString &text,
                     qint64 heldSeconds);
// A watch the user ended: WATCH ENDED, its last state (none before the
// first reply) and how long ago, in whole minutes from a minute on.
Verdict watchEndedVerdict(const QString &where, std::optional<ws::receiver::WatchState> last,
                          qint64 endedSeconds);
// A watch its port ended: PORT FAILED, or NO ANSWER for a silent receiver.
Verdict watchFailedVerdict(const QString &where, bool silent);

// The receiver's own words made fit for one line of the tile: control
// characters and line ends become blanks, the ends are trimmed.
QString shownReplyText(const QString &text);

// Draws `verdict` into `area`: the heading and the lines in `font`, the
// word as large as fits, bold, wrapped at its blanks where it must; what
// does not fit is cut with an ellipsis.
void paintVerdict(QPainter &painter, const QRect &area, const Verdict &verdict, const QFont &font);
