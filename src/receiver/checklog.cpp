#include "receiver/checklog.h"

#include "core/texts.h"

namespace ws::receiver {

QLatin1String logLetter(Polarisation polarisation)
{
    return polarisation == Polarisation::Horizontal ? QLatin1String("h") : QLatin1String("v");
}

QString checkingLine(const QString &frequency, Polarisation polarisation)
{
    return QStringLiteral("Checking ") + frequency + logLetter(polarisation) +
           QStringLiteral(" for dvb mpeg2 signal") + crlf();
}

QString lockedLine(qint64 seconds, const QString &cutReply, const QDateTime &now)
{
    return QStringLiteral("After ") + QString::number(seconds) +
           QStringLiteral(" Sec. Tuner locked at : ") + cutReply + generalDateText(now) + crlf();
}

QString nothingFoundLines(const QString &timeoutText)
{
    return QStringLiteral("nothing found after ") + timeoutText + QStringLiteral(" Seconds") +
           crlf() + crlf();
}

QString searchLines(const QString &searchText, SearchEnd end, qint64 limitSeconds)
{
    return searchText + searchEndMessage(end, limitSeconds) + crlf();
}

QString searchEndMessage(SearchEnd end, qint64 limitSeconds)
{
    switch (end) {
    case SearchEnd::Cancelled:
        if (limitSeconds != kSearchLimitSeconds)
            return QStringLiteral("Cancelled PAT/SDT after %1 Seconds").arg(limitSeconds) +
                   crlf() + crlf();
        return QStringLiteral("Cancelled PAT/SDT after 3 Minutes") + crlf() + crlf();
    case SearchEnd::NoTables:
        return QStringLiteral("No PAT/SDT found") + crlf() + crlf();
    case SearchEnd::Running:
    case SearchEnd::Finished:
        break;
    }
    return QString();
}

QString noSuchPortReason()
{
    return QStringLiteral("there is no such port");
}

QString openFailedMessage(const QString &portLabel, const QString &reason)
{
    return portLabel + QStringLiteral(" could not be opened: ") + reason;
}

QString stoppedWorkingMessage(const QString &portLabel, const QString &reason)
{
    return portLabel + QStringLiteral(" stopped working: ") + reason;
}

QString floodedReplyReason()
{
    return QStringLiteral("the receiver sent more than %1 bytes without ending its reply")
        .arg(kMaxStatusReplyBytes);
}

QString floodedSearchReason()
{
    return QStringLiteral("the receiver sent more than %1 bytes in its table search")
        .arg(kMaxSearchBytes);
}

QString silentPortMessage(const QString &portLabel, const QString &timeoutText)
{
    return portLabel + QStringLiteral(" did not answer: nothing received in ") + timeoutText +
           QStringLiteral(" s");
}

QString silentPortAdvice()
{
    return QStringLiteral("Check that the receiver is switched on and has power, that the serial "
                          "cable sits at both ends, that this is the port the adapter got, and "
                          "that you may use it (on Linux your user must be in the group "
                          "dialout).");
}

QString unconfirmedLockMessage(const QString &portLabel)
{
    return portLabel + QStringLiteral(": the receiver reported a lock marked \"") + kNoLockMark +
           QStringLiteral("\"; the lock was not confirmed");
}

} // namespace ws::receiver
