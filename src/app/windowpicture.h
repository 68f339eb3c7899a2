#pragma once

#include "core/platform.h"
#include "core/savefile.h"

#include <QList>
#include <QString>

class QImage;
class QWidget;

namespace ws {

// Writes `image` to the checked `target` as a PNG, whatever the name's
// ending, whole or not at all: a file that was there stays as it was when
// writing fails. Returns why it failed, empty when it did not.
QString writePng(const QImage &image, const SaveTarget &target);
// The same after checkSaveTarget(path).
QString writePng(const QImage &image, const QString &path);

// Asks for a file name, offering `lastPath`, and saves `image` there (Ctrl+S);
// a failure is told in a message box.
void savePicture(const QImage &image, UserDialogs &dialogs, QString &lastPath);

// Ctrl+C in one of `boxes` with nothing selected there goes to `window`'s
// shortcut (a copy of its picture): a text box claims the key whenever it
// has the focus.
void leaveCopyKeyTo(QWidget &window, const QList<QWidget *> &boxes);

// Whether `path` names a PNG file: it ends in ".png", in any case.
bool hasPngName(const QString &path);

} // namespace ws
