#include "receiver/reservedterminals.h"

#include <QFile>
#include <QStringList>

namespace ws {

namespace {

// The numbers Linux gives these devices for good (its devices.txt).
constexpr unsigned kVirtualConsoleMajor = 4; // tty0 to tty63; ttyS0 on is minor 64 on
constexpr unsigned kVirtualConsoleMinors = 64;
constexpr unsigned kAuxTerminalMajor = 5;
constexpr unsigned kConsoleMinor = 1; // /dev/console
constexpr unsigned kPtmxMinor = 2;    // /dev/ptmx

// A small sysfs file's text, trimmed; empty when it cannot be read.
QString sysText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.read(4096)).trimmed();
}

} // namespace

QString reservedTerminal(unsigned major, unsigned minor, const QString &sysRoot)
{
    if (major == kAuxTerminalMajor && minor == kPtmxMinor)
        return QStringLiteral("it is the pseudo-terminal multiplexer, not a serial port");
    if (major == kAuxTerminalMajor && minor == kConsoleMinor)
        return QStringLiteral("it is the system console, not a serial port");
    if (major == kVirtualConsoleMajor && minor < kVirtualConsoleMinors)
        return QStringLiteral("it is a virtual console, not a serial port");
    // Each console the kernel writes to, by name; sysfs gives each name's
    // numbers as "major:minor".
    const QString numbers = QStringLiteral("%1:%2").arg(major).arg(minor);
    const QString tty = sysRoot + QStringLiteral("/class/tty/");
    const QStringList consoles =
        sysText(tty + QStringLiteral("console/active")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &name : consoles) {
        if (!name.contains(QLatin1Char('/')) &&
            sysText(tty + name + QStringLiteral("/dev")) == numbers)
            return QStringLiteral("it carries the system console (%1), not the receiver").arg(name);
    }
    return QString();
}

} // namespace ws
