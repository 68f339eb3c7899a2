#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/plotwidget.h"
#include "app/receiversettingspanel.h"
#include "app/verdicttile.h"
#include "core/numbers.h"
#include "plot/readout.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMouseEvent>

// Watching one transmission while the dish turns. The watch keeps the port
// open and asks on until something ends it; a press on a plot, the map strip
// or a button is such an end, and is then handled as it would be without a
// watch. Loads, drops and F5 go on beside it.

namespace {

class PressEndsWatch : public QObject
{
public:
    PressEndsWatch(MainWindow &window) : QObject(&window), window_(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PressEndsWatch() override
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && window_.watching() &&
            (qobject_cast<PlotWidget *>(watched) || qobject_cast<QAbstractButton *>(watched)) &&
            static_cast<QWidget *>(watched)->window() == &window_)
            window_.stopWatch();
        return false;
    }

private:
    MainWindow &window_;
};

} // namespace

void MainWindow::setupWatch()
{
    watch_ = std::make_unique<WindowWatch>(WindowWatch::Surroundings{
        *platform_.serial, *platform_.clock, [this] { return receiverSettings_->settings(); },
        *platform_.dialogs, *platform_.system, *verdict_, *log_,
        [this](const QString &title) { setWindowTitle(title); }});
    new PressEndsWatch(*this);
}

bool MainWindow::watching() const
{
    return watch_->running();
}

void MainWindow::stopWatch()
{
    watch_->stop();
}

void MainWindow::watchFrequencyAt(double mhz, Qt::MouseButton button)
{
    if (const std::optional<std::int16_t> frequency = ws::toInt16(mhz))
        startWatch(QString::number(*frequency), polarisationForButton(button));
}

void MainWindow::watchMapEntryAt(double mhz)
{
    const int entry = ws::nearestMapEntry(map_, mhz);
    if (entry < 0)
        return;
    const ws::MapEntry &named = map_.entries.at(entry);
    startWatch(named.frequencyText, ws::polarisationOf(named.polarisation));
}

void MainWindow::startWatch(const QString &frequency, ws::receiver::Polarisation polarisation)
{
    // The port is the receiver's, one user at a time.
    if (receiverBusy())
        return;
    watch_->stop();
    watch_->start(frequency, polarisation);
}
