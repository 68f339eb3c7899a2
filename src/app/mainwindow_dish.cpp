#include "app/mainwindow.h"

#include "app/dishview.h"


// The dish view of the window's watch: F11 opens it while a watch runs and
// does nothing otherwise. The view follows the watch until either ends.

void MainWindow::openDish()
{
    if (!watching())
        return;
    if (dish_) {
        dish_->raise();
        dish_->activateWindow();
        return;
    }
    auto *view = new DishView(*platform_.clock, platform_.sound, this);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setNameOf([this](double mhz) { return nearestTransmissionName(map_, mhz); });
    view->onEnd = [this] { stopWatch(); };
    view->onToggleSound = [this] { watch_->setBeeping(!watch_->beeping()); };
    view->setWatch(&watch_->signalWatch());
    connect(view, &QObject::destroyed, this, [this] { watch_->setFollower(nullptr); });
    dish_ = view;
    // The tone is on as the view opens, and the beep with it.
    watch_->setBeeping(true);
    watch_->setFollower(view);
    view->show();
    view->activateWindow();
}

DishView *MainWindow::dishView() const
{
    return dish_;
}
