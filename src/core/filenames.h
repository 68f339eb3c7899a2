#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// File names as the system has them. On Unix a name is any bytes; Qt turns
// bytes that are not UTF-8 into U+FFFD, after which the file cannot be found
// again. A name from the command line keeps each such byte as a lone low
// surrogate, U+DC80 plus the byte, which no decoded text holds.
namespace ws {

// An argument of main() as text: UTF-8 with its stray bytes kept as above
// on Unix, the local encoding elsewhere.
QString argumentText(const char *argument);

// A name in bytes from the system's folder listing, stray bytes kept the same way.
QString nameText(QByteArrayView name);

// A name as the user reads it: each stray byte and control character as
// \xNN (upper case), so names that differ in them read differently and stay
// on one line. Such a text names no file.
QString readableName(const QString &name);

// The bytes that name the file on this system; nothing when the text holds
// a lone surrogate that stands for no byte.
std::optional<QByteArray> nativeFileName(const QString &name);

// Whether Qt's own file classes reach the file that `name` names: false
// for a name that keeps stray bytes.
bool qtCanName(const QString &name);

// `name` made whole against the current folder, stray bytes of either kept
// where QFileInfo would turn them into U+FFFD.
QString absoluteFileName(const QString &name);

// Text for a terminal: the local encoding, with the stray bytes of a name
// from the command line as they came.
QByteArray terminalText(const QString &text);

// Whether the program runs from `installedBinFolder`, the folder an install
// puts it in, rather than from a build.
bool isInstalledFolder(const QString &programFolder, const QString &installedBinFolder);

} // namespace ws
