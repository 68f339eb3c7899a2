#pragma once

#include "core/texts.h"
#include "receiver/checklog.h"

#include <QDateTime>
#include <QRegularExpression>

// Patterns of a check's log built from the log's own lines, for checks
// against a real clock.
namespace ws::test {

// The line of a lock: the seconds to it are `seconds` (a pattern), the date
// and time any, and captured.
inline QString lockedLinePattern(const QString &reply, const QString &seconds = "[01]")
{
    const qint64 anySeconds = 987654321;
    const QDateTime anyTime(QDate(2001, 2, 3), QTime(4, 5, 6));
    return QRegularExpression::escape(receiver::lockedLine(anySeconds, reply, anyTime))
        .replace(QString::number(anySeconds), seconds)
        .replace(QRegularExpression::escape(generalDateText(anyTime)), "([^\\r\\n]+)");
}

// The first lines of a check that locked.
inline QString lockedLogPattern(const QString &frequency, receiver::Polarisation polarisation,
                                const QString &reply, const QString &seconds = "[01]")
{
    return QRegularExpression::escape(receiver::checkingLine(frequency, polarisation)) +
           lockedLinePattern(reply, seconds);
}

} // namespace ws::test
