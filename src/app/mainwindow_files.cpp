#include "mainwindow.h"

#include "messages.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

bool MainWindow::openFiles(const QStringList &files,
                           const std::function<void(const QString &path)> &beforeEach)
{
    bool all = true;
    for (qsizetype i = 0; i < files.size() && i < 3; ++i) {
        // A dialog hands over the whole path in the system's form, and the
        // summary lines and later dialogs show it so.
        const QString path = QDir::toNativeSeparators(QFileInfo(files[i]).absoluteFilePath());
        if (beforeEach)
            beforeEach(path);
        bool loaded = false;
        if (i < 2)
            loaded = loadScanFrom(i == 0 ? ws::ScanSlot::Newest : ws::ScanSlot::Reference, path);
        else if (loadMapButton->isEnabled())
            loaded = loadMapFrom(path);
        else
            platform_.dialogs->message(ws::messages::mapNeedsScans(path));
        all = all && loaded;
    }
    return all;
}
