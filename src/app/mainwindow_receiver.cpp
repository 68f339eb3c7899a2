#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/receiversettingspanel.h"
#include "core/numbers.h"
#include "receiver/checklog.h"


using ws::receiver::Polarisation;

namespace {

// The window as a running check sees it. The check keeps the window's
// thread, so nothing gets painted unless it is asked for: the log box is
// repainted after every addition, the whole window after the lock line.
// The check is the only writer of the log box while it runs (user input
// waits until it returns), so the log is kept here byte for byte; the box
// shows it with its CR LF as line breaks.
class WindowCheckEvents : public ws::receiver::CheckEvents
{
public:
    WindowCheckEvents(QWidget &window, LogPanel &log, ws::EventLoop &events,
                      ws::UserDialogs &dialogs)
        : window_(window), logPanel_(log), events_(events), dialogs_(dialogs)
    {
    }

    void logAppended(const QString &text) override
    {
        // The first line replaces what the box held (the map listing, an
        // older log).
        log_ += text;
        logPanel_.showWithEndInView(log_);
        events_.repaintNow(&logPanel_.widget());
    }
    void locked() override { events_.repaintNow(&window_); }
    void waiting() override { events_.keepPainted(); }
    void portFailed(const QString &message) override
    {
        dialogs_.message(message, ws::receiver::silentPortAdvice(message));
    }

private:
    QWidget &window_;
    LogPanel &logPanel_;
    ws::EventLoop &events_;
    ws::UserDialogs &dialogs_;
    QString log_;
};

// The polarisation of a press into a plot. The buttons have the codes
// left 1, right 2 and middle 4, and the digit is the last character of
// 1 minus the code: left gives "0" (horizontal), right "1" and middle "3",
// which the receiver both reads as vertical.
Polarisation polarisationForButton(Qt::MouseButton button)
{
    const int code = button == Qt::LeftButton    ? 1
                     : button == Qt::RightButton  ? 2
                     : button == Qt::MiddleButton ? 4
                                                  : 0;
    return ws::receiver::polarisationFromDigit(QString::number(1 - code).right(1));
}

} // namespace

void MainWindow::setupPortList()
{
    // Never while a check or a full scan runs: a check keeps the window's
    // input waiting, but a full scan lets it through between its rows.
    if (platform_.ports)
        receiverSettings_->listPorts(*platform_.ports, [this] { return busyDepth_ == 0; });
}

void MainWindow::checkFrequencyAt(double mhz, Qt::MouseButton button)
{
    // The frequency is the whole MHz nearest to the pointer, halves to even.
    // A position outside the 16-bit range is no frequency; the plot's own
    // scale never gives one, so such a press is simply not a check.
    const std::optional<std::int16_t> frequency = ws::toInt16(mhz);
    if (!frequency)
        return;
    lastCheckLog_ = checkSignal(QString::number(*frequency), polarisationForButton(button)).log;
}

void MainWindow::presetReceiverSettings(const ws::receiver::ReceiverSettings &settings)
{
    receiverSettings_->preset(settings);
}

void MainWindow::stopFullScan()
{
    stopRequested_ = true;
    platform_.events->doEvents();
}

ws::receiver::CheckResult MainWindow::checkSignal(const QString &frequency,
                                                  Polarisation polarisation)
{
    Busy busy(*this);
    WindowCheckEvents events(*this, *log_, *platform_.events, *platform_.dialogs);
    const auto settings = [this] { return receiverSettings_->settings(); };
    ws::receiver::SignalCheck check(*platform_.serial, *platform_.clock, settings, events);
    return check.run(frequency, polarisation);
}
