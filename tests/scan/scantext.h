#pragma once

#include "scanfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

// Writes scan files the way the channel tool does: the header, then for each
// polarisation the low-band and high-band blocks (or the one block of a
// single-band scan), each line "intermediate frequency,level".
namespace ws::test {

struct ScanSpec
{
    double start = 10700;
    double end = 12750;
    int layout = 1055;
    int lnb = 1044;
    // Level for a polarisation (true = vertical) at a sky frequency.
    std::function<double(bool, double)> level = [](bool vertical, double f) {
        return (vertical ? 20 : 10) + std::fmod(f, 7);
    };
    QByteArray lineEnd = "\r\n";
};

inline QByteArray scanText(const ScanSpec &spec)
{
    const ws::LnbType *lnb = ws::findLnb(spec.lnb);
    const ws::ScanLayout *layout = ws::findLayout(spec.layout);
    Q_ASSERT(lnb && layout);
    QByteArray out;
    auto line = [&](const QByteArray &text) { out += text + spec.lineEnd; };
    line(QByteArray::number(spec.start));
    line(QByteArray::number(spec.end));
    line(QByteArray::number(spec.layout));
    line(QByteArray::number(spec.lnb));

    const double w = lnb->fswitch;
    const bool inhigh = spec.end > w && lnb->fswitch != -1;
    const bool inlow = spec.start < w;
    auto block = [&](bool vertical, double from, double to, int oscillator) {
        for (double f = from; f <= to; ++f) {
            line(QByteArray::number(std::fabs(f - oscillator)) + ','
                 + QByteArray::number(spec.level(vertical, f)));
        }
    };
    for (const bool vertical : {false, true}) {
        if (vertical ? !layout->vertical : !layout->horizontal)
            continue;
        if (inhigh && inlow) {
            block(vertical, spec.start, w, lnb->lolow);
            block(vertical, w, spec.end, lnb->lohigh);
        } else {
            block(vertical, spec.start, spec.end, inhigh ? lnb->lohigh : lnb->lolow);
        }
    }
    return out;
}

inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace ws::test
