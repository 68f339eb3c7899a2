#pragma once

#include "core/platform.h"
#include "core/savefile.h"

#include <QList>
#include <QString>

class QImage;
class QWidget;

namespace ws {

// Writes `image` to the checked `target` as a PNG whatever the ending, whole
// or not at all. Returns why it failed, empty when it did not.
QString writePng(const QImage &image, const SaveTarget &target);
// The same after checkSaveTarget(path).
QString writePng(const QImage &image, const QString &path);

// Ctrl+S: asks for a file name, offering `lastPath`, and saves `image`; a failure gets a box.
void savePicture(const QImage &image, UserDialogs &dialogs, QString &lastPath);

// Ctrl+C in one of `boxes` with nothing selected there goes to `window`'s
// shortcut (a copy of its picture): a text box claims the key whenever it
// has the focus.
void leaveCopyKeyTo(QWidget &window, const QList<QWidget *> &boxes);

bool hasPngName(const QString &path);

} // namespace ws
