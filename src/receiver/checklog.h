#pragma once

#include "receiver/protocol.h"

#include <QDateTime>
#include <QString>

// The texts a signal check writes into its log and shows the user, each
// defined here once. The lines end in CR LF; the messages do not, as they
// are also shown on their own.
namespace ws::receiver {

// "h" for horizontal, "v" for either vertical.
QLatin1String logLetter(Polarisation polarisation);

// The first line: "Checking 10700h for dvb mpeg2 signal".
QString checkingLine(const QString &frequency, Polarisation polarisation);

// "After 3 Sec. Tuner locked at : ", the cut reply (its own CR LF as a
// rule included), the date and time.
QString lockedLine(qint64 seconds, const QString &cutReply, const QDateTime &now);

// "nothing found after 10 Seconds" and an empty line; the time-out as typed.
QString nothingFoundLines(const QString &timeoutText);

// The search text as the log takes it: what the receiver said, the line of
// the limit that ended it (if one did) and an empty line, then one CR LF.
QString searchLines(const QString &searchText, SearchEnd end,
                    qint64 limitSeconds = kSearchLimitSeconds);
// The limit's line and its empty line; empty when the receiver ended it.
// The usual limit is "3 Minutes", a shorter one counts its seconds.
QString searchEndMessage(SearchEnd end, qint64 limitSeconds = kSearchLimitSeconds);

// Why a port could not be opened when the setting names no device.
QString noSuchPortReason();
// "comport 2 (/dev/ttyS1) could not be opened: <reason>".
QString openFailedMessage(const QString &portLabel, const QString &reason);
// "comport 2 (/dev/ttyS1) stopped working: <reason>".
QString stoppedWorkingMessage(const QString &portLabel, const QString &reason);

// Why a flood stopped the check: the status reply or the search grew past its limit.
QString floodedReplyReason();
QString floodedSearchReason();
// "comport 2 (/dev/ttyS1) did not answer: nothing received in 10 s" (time-out as typed).
QString silentPortMessage(const QString &portLabel, const QString &timeoutText);
// What to check for a silent port: power, cable, port, the right to use it.
QString silentPortAdvice();
// That the lock was not confirmed: a reply had the lock code and kNoLockMark.
QString unconfirmedLockMessage(const QString &portLabel);

} // namespace ws::receiver
