#include "app/windowpicture.h"

#include "wording/messages.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
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

namespace {

class CopyKeyToWindow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        bool selected = true;
        if (auto *line = qobject_cast<QLineEdit *>(watched))
            selected = line->hasSelectedText();
        else if (auto *text = qobject_cast<QPlainTextEdit *>(watched))
            selected = text->textCursor().hasSelection();
        if (selected)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

void leaveCopyKeyTo(QWidget &window, const QList<QWidget *> &boxes)
{
    auto *filter = new CopyKeyToWindow(&window);
    for (QWidget *box : boxes)
        box->installEventFilter(filter);
}

void savePicture(const QImage &image, UserDialogs &dialogs, QString &lastPath)
{
    QString path = lastPath;
    if (!dialogs.saveFile(QStringLiteral("Save a Picture of the Window"), path) || path.isEmpty())
        return;
    lastPath = path;
    const QString failure = writePng(image, path);
    if (!failure.isEmpty())
        dialogs.message(messages::pictureNotSaved(path, failure));
}

} // namespace ws
