#include "app/mainwindow.h"

#include "app/historywindow.h"
#include "app/plotspanel.h"
#include "app/scanfilespanel.h"

#include <QScreen>

// The history of many scans in a window of its own beside this one: a
// click there loads a scan here.

namespace {

// The size the history window opens at where the screen has room.
constexpr QSize kHistorySize(1000, 640);

// The window's frame around its content, as the window system draws it;
// none before the window was shown.
QSize frameOf(const QWidget &window)
{
    return window.frameGeometry().size() - window.geometry().size();
}

// The content size that fits a window with that frame into `room`.
QSize fitted(QSize wanted, QSize frame, const QRect &room)
{
    return wanted.boundedTo(room.size() - frame).expandedTo(QSize(1, 1));
}

} // namespace

void MainWindow::openHistory()
{
    QString folder;
    if (platform_.dialogs->chooseFolder(QStringLiteral("Folder of scans for the history"), folder))
        showHistory({folder});
}

void MainWindow::holdMap(const QString &path)
{
    heldMap_ = path;
}

HistoryWindow &MainWindow::showHistory(const QStringList &sources)
{
    const bool first = !history_;
    if (first) {
        history_ = new HistoryWindow(*platform_.dialogs, fileClock(), this);
        connect(history_, &HistoryWindow::scanChosen, this,
                [this](const QString &path, ws::ScanSlot slot) {
                    whenIdle([this, path, slot] {
                        loadScanFrom(slot, path);
                        // The map waits for both scans, as one named on the
                        // command line does.
                        if (!heldMap_.isEmpty() && files_->mapLoadEnabled())
                            loadMapFrom(std::exchange(heldMap_, QString()));
                    });
                });
    }
    history_->setFollowing(following_);
    if (plots_->mapShown())
        history_->setMap(map_);
    if (scans_.bothLoaded())
        history_->setView(plots_->view());
    if (first) {
        // Beside this window where the screen holds both, else over it;
        // each fitted to the screen.
        const QRect room = screen() ? screen()->availableGeometry() : QRect(0, 0, 1000, 640);
        // A window not shown yet has no frame: it gets this one's.
        const QSize frame = frameOf(*this);
        resize(fitted(size(), frame, room));
        history_->resize(fitted(kHistorySize, frame, room));
        const QSize mine = size() + frame;
        const QSize other = history_->size() + frame;
        if (mine.width() + other.width() <= room.width() &&
            std::max(mine.height(), other.height()) <= room.height()) {
            const int left = std::clamp(frameGeometry().left(), room.left(),
                                        room.right() + 1 - mine.width() - other.width());
            const int top = std::clamp(frameGeometry().top(), room.top(),
                                       room.bottom() + 1 - std::max(mine.height(), other.height()));
            move(left, top);
            history_->move(left + mine.width(), top);
        } else {
            move(room.topLeft());
            history_->move(room.right() + 1 - other.width(), room.bottom() + 1 - other.height());
        }
    }
    history_->open(sources);
    history_->show();
    history_->raise();
    history_->activateWindow();
    return *history_;
}
