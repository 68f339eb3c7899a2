#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "wording/messages.h"
#include "app/receiversettingspanel.h"
#include "app/windowpicture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>

QImage MainWindow::picture()
{
    // Rendered from the widgets, not read from the screen: a dialog or
    // another window in front of this one does not show in it.
    return grab().toImage();
}

void MainWindow::savePicture()
{
    // The window as it was when the user asked.
    const QImage image = picture();
    QString path = picturePath_;
    if (!platform_.dialogs->saveFile(QStringLiteral("Save a Picture of the Window"), path) ||
        path.isEmpty())
        return;
    picturePath_ = path;
    const QString failure = ws::writePng(image, path);
    if (!failure.isEmpty())
        platform_.dialogs->message(ws::messages::pictureNotSaved(path, failure));
}

void MainWindow::copyPicture()
{
    QGuiApplication::clipboard()->setImage(picture());
}

void MainWindow::handCopyKeyToWindow()
{
    // A text box claims Ctrl+C for itself whenever it has the focus;
    // copyKeyOnto hands it to the window while nothing is selected there.
    for (QLineEdit *box : receiverSettings_->boxes())
        box->installEventFilter(this);
    log_->widget().installEventFilter(this);
}

bool MainWindow::copyKeyOnto(QWidget *box, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride ||
        !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
        return false;
    bool selected = false;
    if (auto *line = qobject_cast<QLineEdit *>(box))
        selected = line->hasSelectedText();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(box))
        selected = text->textCursor().hasSelection();
    else
        return false;
    if (selected)
        return false; // the box copies its text
    // Not claimed: the window's shortcut takes the key.
    event->ignore();
    return true;
}
