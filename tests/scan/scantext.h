#pragma once

#include "scan/scanfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <memory>

// Writes scan files the way the channel tool does: the header, then for each
// polarisation the low-band and high-band blocks (or the one block of a
// single-band scan), each line "intermediate frequency,level".
namespace ws::test {

struct ScanShape
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

inline QByteArray scanText(const ScanShape &shape)
{
    const ws::LnbType *lnb = ws::findLnb(shape.lnb);
    const ws::ScanLayout *layout = ws::findLayout(shape.layout);
    Q_ASSERT(lnb && layout);
    QByteArray out;
    auto line = [&](const QByteArray &text) { out += text + shape.lineEnd; };
    line(QByteArray::number(shape.start));
    line(QByteArray::number(shape.end));
    line(QByteArray::number(shape.layout));
    line(QByteArray::number(shape.lnb));

    const double w = lnb->switchFrequency;
    const bool inhigh = shape.end > w && lnb->switchFrequency != -1;
    const bool inlow = shape.start < w;
    auto block = [&](bool vertical, double from, double to, int oscillator) {
        for (double f = from; f <= to; ++f) {
            line(QByteArray::number(std::fabs(f - oscillator)) + ','
                 + QByteArray::number(shape.level(vertical, f)));
        }
    };
    for (const bool vertical : {false, true}) {
        if (vertical ? !layout->vertical : !layout->horizontal)
            continue;
        if (inhigh && inlow) {
            block(vertical, shape.start, w, lnb->lowOscillator);
            block(vertical, w, shape.end, lnb->highOscillator);
        } else {
            block(vertical, shape.start, shape.end,
                  inhigh ? lnb->highOscillator : lnb->lowOscillator);
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

// An empty scan behind the LNB of that code, on the heap: a scan holds its
// level tables inline, too large for a test's stack.
inline std::unique_ptr<ScanData> withLnb(int code)
{
    auto scan = std::make_unique<ScanData>();
    const LnbType *lnb = findLnb(code);
    Q_ASSERT(lnb);
    scan->lnb = *lnb;
    return scan;
}

} // namespace ws::test
