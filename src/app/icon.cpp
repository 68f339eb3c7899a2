#include "app/icon.h"

#include <QPainter>

namespace ws {

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Dotted grid: every other pixel on every quarter line.
    const int step = size / 4;
    p.setPen(QColor(128, 128, 128));
    for (int g = step; g < size; g += step)
        for (int t = 0; t < size; t += 2) {
            p.drawPoint(g, t);
            p.drawPoint(t, g);
        }

    // Two zig-zag curves across the chart, drawn a little thicker on the
    // large icon so that they stay visible.
    auto zigzag = [&](QColor color, const int (&ys)[6]) {
        QPen pen(color, size >= 32 ? 2 : 1);
        p.setPen(pen);
        QPoint last;
        for (int i = 0; i < 6; ++i) {
            const QPoint pt(i * (size - 1) / 5, ys[i] * (size - 1) / 16);
            if (i)
                p.drawLine(last, pt);
            last = pt;
        }
    };
    zigzag(QColor(255, 0, 0), {12, 5, 9, 3, 10, 6});
    zigzag(QColor(0, 0, 128), {14, 10, 13, 8, 14, 11});
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(drawIcon(16)));
    icon.addPixmap(QPixmap::fromImage(drawIcon(32)));
    return icon;
}

} // namespace ws
