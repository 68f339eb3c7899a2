#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// File names as the system has them. On Unix a name is any string of bytes;
// Qt turns names into text as UTF-8 and bytes that are not UTF-8 into U+FFFD,
// after which the file cannot be found again. A name typed on the command
// line keeps such bytes instead: each becomes a lone low surrogate, U+DC80
// plus the byte, which no decoded text holds and which goes back to the
// same byte when the name is opened.
namespace ws {

// An argument of main() as text: UTF-8 with its stray bytes kept as above
// on Unix, the local encoding elsewhere.
QString argumentText(const char *argument);

// A name as the system's folder listing gives it, in bytes, as text that
// keeps its stray bytes the same way.
QString nameText(QByteArrayView name);

// A name as the user reads it, in a list or a report: each stray byte, and
// each control character, shown as \xNN (upper case), so that two names
// that differ in such bytes read differently and a name stays on one line.
// Such a text names no file.
QString readableName(const QString &name);

// The bytes that name the file on this system; nothing when the text holds
// a lone surrogate that stands for no byte.
std::optional<QByteArray> nativeFileName(const QString &name);

// Whether Qt's own file classes reach the file that `name` names: false
// for a name that keeps stray bytes.
bool qtCanName(const QString &name);

// `name` made whole against the current folder, both as the system has
// them: the bytes of either that are not UTF-8 are kept as above, where
// QFileInfo would turn them into U+FFFD.
QString absoluteFileName(const QString &name);

// Text for a terminal: the local encoding, with the stray bytes of a name
// from the command line as they came.
QByteArray terminalText(const QString &text);

} // namespace ws
