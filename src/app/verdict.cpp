#include "app/verdict.h"

#include "plot/palette.h"
#include "receiver/checklog.h"

#include <QFontMetrics>
#include <QPainter>

namespace palette = ws::palette;
using ws::receiver::WatchState;

QString Verdict::spoken() const
{
    QStringList all{heading, word};
    all += lines;
    all.removeAll(QString());
    return all.join(QStringLiteral(", "));
}

QString checkedAt(const QString &frequency, ws::receiver::Polarisation polarisation)
{
    return frequency + ws::receiver::logLetter(polarisation);
}

QString shownReplyText(const QString &text)
{
    QString shown = text;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return shown.simplified();
}

namespace {

QString seconds(qint64 s)
{
    return QStringLiteral("%1 s").arg(s);
}

struct Word
{
    const char *text;
    QColor colour;
};

Word wordOf(WatchState state)
{
    switch (state) {
    case WatchState::Locked:
        return {"LOCKED", palette::verdictLocked};
    case WatchState::NotConfirmed:
        return {"NOT CONFIRMED", palette::verdictNotConfirmed};
    case WatchState::NoAnswer:
        return {"NO ANSWER", palette::verdictFailed};
    case WatchState::NoLock:
        break;
    }
    return {"NO LOCK", palette::verdictNoLock};
}

// A port that failed, or, `silent`, one that never said a thing.
Word failureWord(bool silent)
{
    return silent ? wordOf(WatchState::NoAnswer) : Word{"PORT FAILED", palette::verdictFailed};
}

const Word kStopped{"STOPPED", palette::verdictNoLock};

} // namespace

Verdict checkingVerdict(const QString &where, qint64 elapsed)
{
    return {QString(), QStringLiteral("CHECKING"), palette::verdictWorking,
            {where, seconds(elapsed)}};
}

Verdict checkVerdict(const QString &where, const ws::receiver::CheckResult &check)
{
    Word word = wordOf(WatchState::NoLock);
    QStringList lines{where};
    if (check.stopped) {
        word = kStopped;
    } else if (check.portFailed) {
        word = failureWord(check.silent);
    } else if (check.locked) {
        word = wordOf(WatchState::Locked);
        lines << shownReplyText(ws::receiver::replyText(check.lastReply));
    } else if (ws::notConfirmed(check)) {
        word = wordOf(WatchState::NotConfirmed);
    }
    return {QString(), QLatin1String(word.text), word.colour, lines};
}

namespace {

QStringList foundSoFar(const ws::MapScanCounts &counts)
{
    QStringList lines{QStringLiteral("%1 locked").arg(counts.locked),
                      QStringLiteral("%1 with tables").arg(counts.withTables)};
    if (counts.notConfirmed > 0)
        lines << QStringLiteral("%1 not confirmed").arg(counts.notConfirmed);
    if (counts.noAnswer > 0)
        lines << QStringLiteral("%1 no answer").arg(counts.noAnswer);
    return lines;
}

QString howFar(const ws::MapScanCounts &counts)
{
    return QStringLiteral("%1 of %2").arg(counts.checked).arg(counts.mpegRows);
}

} // namespace

Verdict scanVerdict(const ws::MapScanCounts &counts)
{
    return {QStringLiteral("FULL SCAN"), howFar(counts), palette::verdictWorking,
            foundSoFar(counts)};
}

Verdict scanEndedVerdict(const ws::MapScanResult &scan)
{
    Word word{nullptr, palette::verdictWorking};
    if (scan.stopped || scan.stopRequested)
        word = kStopped;
    else if (scan.portFailed)
        // A port that stays silent ends the scan: only the last row can be
        // the one that did not answer.
        word = failureWord(scan.counts.noAnswer > 0);
    if (!word.text)
        return scanVerdict(scan.counts);
    return {QStringLiteral("FULL SCAN"), QLatin1String(word.text), word.colour,
            QStringList{howFar(scan.counts)} + foundSoFar(scan.counts)};
}

Verdict watchVerdict(const QString &where, WatchState state, const QString &text,
                     qint64 heldSeconds)
{
    const Word word = wordOf(state);
    QStringList lines;
    if (const QString said = shownReplyText(text); !said.isEmpty())
        lines << said;
    lines << QStringLiteral("for %1").arg(seconds(heldSeconds));
    return {QStringLiteral("WATCHING ") + where, QLatin1String(word.text), word.colour, lines};
}

Verdict watchEndedVerdict(const QString &where, std::optional<WatchState> last,
                          qint64 endedSeconds)
{
    QStringList lines;
    if (last)
        lines << QStringLiteral("last: ") + QLatin1String(wordOf(*last).text);
    lines << (endedSeconds < 60 ? QStringLiteral("ended %1 ago").arg(seconds(endedSeconds))
                                : QStringLiteral("ended %1 min ago").arg(endedSeconds / 60));
    return {where, QStringLiteral("WATCH ENDED"), palette::verdictNoLock, lines};
}

Verdict watchFailedVerdict(const QString &where, bool silent)
{
    const Word word = failureWord(silent);
    return {where, QLatin1String(word.text), word.colour, {QStringLiteral("watch ended")}};
}

void paintVerdict(QPainter &painter, const QRect &area, const Verdict &verdict, const QFont &font)
{
    if (verdict.isEmpty())
        return;
    const QFontMetrics small(font);
    const int lineHeight = small.height();
    QRect room = area.adjusted(2, 2, -2, -2);

    painter.save();
    painter.setPen(palette::verdictNoLock);
    painter.setFont(font);
    if (!verdict.heading.isEmpty()) {
        // "WATCHING 11778h" may take two lines of a narrow tile.
        const QRect heading = small.boundingRect(room, Qt::TextWordWrap, verdict.heading);
        painter.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, verdict.heading);
        room.setTop(room.top() + std::min(heading.height(), 2 * lineHeight));
    }

    // The word takes what the small lines leave, as large as fits: on one
    // line if it can, else on two.
    const int wordHeight =
        std::max(lineHeight, room.height() - int(verdict.lines.size()) * lineHeight);
    QFont large = font;
    large.setBold(true);
    QRect wordArea(room.left(), room.top(), room.width(), wordHeight);
    QString word = verdict.word;
    for (qreal size = std::min<qreal>(wordHeight * 0.6, 48); size >= font.pointSizeF(); size -= 0.5) {
        large.setPointSizeF(size);
        const QFontMetrics metrics(large);
        const QRect needed = metrics.boundingRect(wordArea, Qt::TextWordWrap, word);
        if (needed.width() <= wordArea.width() && needed.height() <= wordArea.height())
            break;
    }
    painter.setFont(large);
    painter.setPen(verdict.colour);
    const QRect drawn = painter.boundingRect(wordArea, Qt::TextWordWrap | Qt::AlignLeft, word);
    painter.drawText(wordArea, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, word);

    painter.setFont(font);
    painter.setPen(palette::verdictNoLock.darker(150));
    int y = std::min(drawn.bottom(), wordArea.bottom()) + 1 + small.ascent();
    for (const QString &line : verdict.lines) {
        if (y > area.bottom())
            break;
        painter.drawText(room.left(), y, small.elidedText(line, Qt::ElideRight, room.width()));
        y += lineHeight;
    }
    painter.restore();
}
