#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Text in this program is single-byte: files, receiver replies and
// results.txt are read and written as Latin-1 so that every byte survives a
// round trip, whatever the system's code page.
namespace ws {

inline const QString crlf() { return QStringLiteral("\r\n"); }

inline QString fromBytes(const QByteArray &bytes) { return QString::fromLatin1(bytes); }

// Characters above U+00FF cannot come from our inputs; should one be typed
// into a box it goes out as '?', never as a multi-byte sequence.
QByteArray toBytes(const QString &text);

// The system's general date form: short date, a blank and the long time,
// the time left out when it is exactly midnight.
QString generalDateText(const QDateTime &when);

} // namespace ws
