#pragma once

// The process's memory as Linux tells it, for the benchmarks that measure
// a peak.
#include <QByteArray>
#include <QFile>

#include <malloc.h>

namespace ws::bench {

// A field of /proc/self/status ("VmRSS:", "VmHWM:"), in kB.
inline long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).simplified().split(' ').value(0).toLong();
    }
    return -1;
}

// Hands freed memory back to the system and makes the kernel forget the
// highest memory use so far (Linux 4.0 on), so that the next peak is the
// next measurement's own.
inline void resetPeak()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace ws::bench
