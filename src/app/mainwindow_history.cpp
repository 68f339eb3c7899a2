#include "app/mainwindow.h"

#include "app/historywindow.h"
#include "app/plotspanel.h"

// The history of many scans in a window of its own beside this one: a
// click there loads a scan here.

void MainWindow::openHistory()
{
    QString folder;
    if (platform_.dialogs->chooseFolder(QStringLiteral("Folder of scans for the history"), folder))
        showHistory({folder});
}

HistoryWindow &MainWindow::showHistory(const QStringList &sources)
{
    if (!history_) {
        history_ = new HistoryWindow(*platform_.dialogs, fileClock(), this);
        connect(history_, &HistoryWindow::scanChosen, this,
                [this](const QString &path, ws::ScanSlot slot) {
                    whenIdle([this, path, slot] { loadScanFrom(slot, path); });
                });
    }
    history_->setFollowing(following_);
    if (plots_->mapShown())
        history_->setMap(map_);
    if (scans_.bothLoaded())
        history_->setView(plots_->view());
    history_->open(sources);
    history_->show();
    history_->raise();
    history_->activateWindow();
    return *history_;
}
