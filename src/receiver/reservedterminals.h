#pragma once

#include <QString>

// Terminal devices that look like serial ports to every other test but must
// never carry the receiver's commands.
namespace ws {

// Why the Linux character device with these numbers must not be opened as
// the receiver's port, or an empty text when it may be: the pseudo-terminal
// multiplexer (opening it makes a new terminal), a virtual console, the
// console device, and whichever device the kernel writes its console to
// (named in <sysRoot>/class/tty/console/active, a serial port as often as
// not). `sysRoot` is where sysfs is mounted.
QString reservedTerminal(unsigned major, unsigned minor,
                         const QString &sysRoot = QStringLiteral("/sys"));

} // namespace ws
