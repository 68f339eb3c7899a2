#include "app/windowpicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace ws {

QString writePng(const QImage &image, const SaveTarget &target)
{
    if (target.refused())
        return target.refusal;
    // Made in memory first, a few hundred kilobytes at most, so that the
    // file gets it in one piece.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return writer.errorString();
    return writeWhole(target, bytes);
}

QString writePng(const QImage &image, const QString &path)
{
    return writePng(image, checkSaveTarget(path));
}

bool hasPngName(const QString &path)
{
    return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

} // namespace ws
