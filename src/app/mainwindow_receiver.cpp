#include "mainwindow.h"

#include "numbers.h"
#include "signalcheck.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// The window as the signal check sees it. The check is the only writer of
// the log box while it runs (user input waits until it returns), so the log
// is kept here byte for byte; the box shows it with its CR LF as line
// breaks.
class WindowHost : public ws::receiver::CheckHost
{
public:
    struct Settings
    {
        QLineEdit *timeout;
        QLineEdit *port;
        QLineEdit *lnbPower;
        QLineEdit *diseqc;
    };

    WindowHost(QWidget &window, QPlainTextEdit &logBox, const Settings &settings,
               ws::EventLoop &events, ws::UserDialogs &dialogs)
        : window_(window), logBox_(logBox), settings_(settings), events_(events),
          dialogs_(dialogs)
    {
    }

    // The check asks for its settings by the numbers of their boxes.
    QString boxText(int box) override
    {
        switch (box) {
        case 2:
            return settings_.lnbPower->text();
        case 3:
            return settings_.port->text();
        case 4:
            return settings_.diseqc->text();
        case 5:
            return settings_.timeout->text();
        }
        return QString();
    }
    QString log() override { return log_; }
    void setLog(const QString &text) override
    {
        log_ = text;
        logBox_.setPlainText(log_);
    }
    void appendLog(const QString &text) override { setLog(log_ + text); }
    void repaintLog() override { events_.repaintNow(&logBox_); }
    void repaintWindow() override { events_.repaintNow(&window_); }
    void keepPainted() override { events_.keepPainted(); }
    void report(const QString &message) override { dialogs_.message(message); }

private:
    QWidget &window_;
    QPlainTextEdit &logBox_;
    Settings settings_;
    ws::EventLoop &events_;
    ws::UserDialogs &dialogs_;
    QString log_;
};

// The polarisation digit of a press into a plot. The buttons have the codes
// left 1, right 2 and middle 4, and the digit is the last character of
// 1 minus the code: left gives "0" (horizontal), right "1" and middle "3",
// which the receiver both reads as vertical.
QString polarisationDigit(Qt::MouseButton button)
{
    const int code = button == Qt::LeftButton    ? 1
                     : button == Qt::RightButton  ? 2
                     : button == Qt::MiddleButton ? 4
                                                  : 0;
    return QString::number(1 - code).right(1);
}

} // namespace

void MainWindow::checkFrequencyAt(double mhz, Qt::MouseButton button)
{
    // The frequency is the whole MHz nearest to the pointer, halves to even.
    // A position outside the 16-bit range is no frequency; the plot's own
    // scale never gives one, so such a press is simply not a check.
    const std::optional<std::int16_t> frequency = ws::toInt16(mhz);
    if (!frequency)
        return;
    lastCheckLog_ = checkSignal(QString::number(*frequency), QStringLiteral("00000"),
                                QStringLiteral("5"), polarisationDigit(button));
}

void MainWindow::stopFullScan()
{
    stopRequested_ = true;
    platform_.events->doEvents();
}

QString MainWindow::checkSignal(const QString &frequency, const QString &field5,
                                const QString &field1, const QString &polarisation)
{
    Busy busy(*this);
    WindowHost host(*this, *logBox, {timeoutBox, portBox, lnbPowerBox, diseqcBox},
                    *platform_.events, *platform_.dialogs);
    ws::receiver::SignalCheck check(*platform_.serial, *platform_.clock, host);
    const QString log = check.run(frequency, field5, field1, polarisation);
    checkPortFailed_ = check.portFailed();
    return log;
}
