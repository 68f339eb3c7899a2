#include "protocol.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>

namespace ws::receiver {

QString tuneCommand(const QString &frequency, const QString &field5, const QString &field1,
                    const QString &polarisation, const QString &lowHigh, const QString &diseqc)
{
    return QLatin1Char('T') + frequency + field5 + field1 + polarisation + lowHigh + diseqc;
}

QString polarisationLetter(const QString &polarisation)
{
    return readNumber(polarisation) == 0 ? QStringLiteral("h") : QStringLiteral("v");
}

bool replyComplete(QStringView gathered)
{
    // Position 17, one-based, is index 16.
    constexpr qsizetype firstIndex = 16;
    return gathered.indexOf(QLatin1String("\r\n"), firstIndex) >= 0;
}

bool replyCompleteSince(QStringView gathered, qsizetype previousLength)
{
    // A CR LF may straddle the old end: start one character before it.
    constexpr qsizetype firstIndex = 16;
    const qsizetype from = std::max(firstIndex, previousLength - 1);
    return gathered.indexOf(QLatin1String("\r\n"), from) >= 0;
}

QString cutReply(const QString &gathered)
{
    const qsizetype zero = gathered.indexOf(QLatin1Char('0'));
    return zero < 0 ? QString() : gathered.mid(zero);
}

bool beginsWithLockCode(QStringView cut)
{
    return cut.startsWith(QLatin1String("00 "));
}

bool reportsLock(QStringView cut)
{
    return beginsWithLockCode(cut) && !cut.contains(QLatin1String("Aut"));
}

SearchEnd searchEnd(qint64 elapsedSeconds, bool sawFound, bool sawEndWord)
{
    if (elapsedSeconds > 180)
        return SearchEnd::Cancelled;
    if (elapsedSeconds > 60 && !sawFound)
        return SearchEnd::NoTables;
    if (sawEndWord)
        return SearchEnd::Finished;
    return SearchEnd::Running;
}

SearchEnd searchEnd(qint64 elapsedSeconds, QStringView text)
{
    SearchWords words;
    words.scan(text);
    return searchEnd(elapsedSeconds, words.found(), words.ended());
}

QString searchEndMessage(SearchEnd end)
{
    switch (end) {
    case SearchEnd::Cancelled:
        return QStringLiteral("Cancelled PAT/SDT after 3 Minutes\r\n\r\n");
    case SearchEnd::NoTables:
        return QStringLiteral("No PAT/SDT found\r\n\r\n");
    case SearchEnd::Running:
    case SearchEnd::Finished:
        break;
    }
    return QString();
}

void SearchWords::scan(QStringView text)
{
    // A word may have begun at the end of the part already looked at; the
    // longest word ("No Signal") needs 8 characters of overlap.
    constexpr qsizetype overlap = 8;
    const qsizetype from = std::max<qsizetype>(0, std::min(scanned_, text.size()) - overlap);
    const QStringView fresh = text.mid(from);
    if (!found_)
        found_ = fresh.contains(QLatin1String("found"));
    if (!ended_)
        ended_ = fresh.contains(QLatin1String("Ready")) || fresh.contains(QLatin1String("No Signal"));
    scanned_ = text.size();
}

namespace {

bool startsWithNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return true; // an empty box reads as port 0
    const QChar c = t.front();
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

} // namespace

PortChoice portFor(const QString &boxText, PortSystem system)
{
    PortChoice choice;
    if (!startsWithNumber(boxText)) {
        const QString name = boxText.trimmed();
        if (system == PortSystem::Windows || name.startsWith(QLatin1Char('/')))
            choice.device = name;
        else
            choice.device = QStringLiteral("/dev/") + name;
        choice.label = QStringLiteral("comport ") + name;
        if (choice.device != name)
            choice.label += QStringLiteral(" (") + choice.device + QLatin1Char(')');
        return choice;
    }

    const double number = roundHalfEven(readNumber(boxText));
    choice.label = QStringLiteral("comport ") + formatNumber(number);
    // Ports count from 1; beyond any real number of ports the name would
    // only be nonsense.
    if (!(number >= 1 && number <= 1e6))
        return choice;
    const qint64 n = qint64(number);
    choice.device = system == PortSystem::Windows ? QStringLiteral("COM%1").arg(n)
                                                  : QStringLiteral("/dev/ttyS%1").arg(n - 1);
    choice.label += QStringLiteral(" (") + choice.device + QLatin1Char(')');
    return choice;
}

} // namespace ws::receiver
