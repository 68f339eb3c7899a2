#include "form1.h"

#include "numbers.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using ws::receiver::Polarisation;

namespace {

// The window as a running check sees it. The check keeps the window's
// thread, so nothing gets painted unless it is asked for: the log box is
// repainted after every addition, the whole window after the lock line.
// The check is the only writer of Text1 while it runs (user input waits
// until it returns), so the log is kept here byte for byte; the box shows
// it with its CR LF as line breaks.
class WindowCheckEvents : public ws::receiver::CheckEvents
{
public:
    WindowCheckEvents(Form1 &form, ws::EventLoop &events, ws::UserDialogs &dialogs)
        : form_(form), events_(events), dialogs_(dialogs)
    {
    }

    void logAppended(const QString &text) override
    {
        // The first line replaces what the box held (the map listing, an
        // older log).
        log_ += text;
        form_.Text1->setPlainText(log_);
        events_.repaintNow(form_.Text1);
    }
    void locked() override { events_.repaintNow(&form_); }
    void waiting() override { events_.keepPainted(); }
    void portFailed(const QString &message) override { dialogs_.message(message); }

private:
    Form1 &form_;
    ws::EventLoop &events_;
    ws::UserDialogs &dialogs_;
    QString log_;
};

// The polarisation of a plot click: the digit is the last character of
// 1 minus the button code, so left (1) gives "0", right (2) "1" and
// middle (4) "3".
Polarisation polarisationForButton(std::int16_t button)
{
    return ws::receiver::polarisationFromDigit(QString::number(1 - int(button)).right(1));
}

} // namespace

void Form1::Picture1_MouseDown(std::int16_t Button, std::int16_t, float X, float)
{
    // A position outside the 16-bit range is no frequency; the plot's own
    // scale never gives one, so such a click is simply not a check.
    const std::optional<std::int16_t> frequency = ws::toInt16(X);
    if (!frequency)
        return;
    lastCheckLog_ = CheckSignal(QString::number(*frequency), polarisationForButton(Button)).log;
}

void Form1::Picture2_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    // Which plot was clicked makes no difference.
    Picture1_MouseDown(Button, Shift, X, Y);
}

void Form1::Command6_Click()
{
    exitnow = true;
    platform_.events->doEvents();
}

ws::receiver::CheckResult Form1::CheckSignal(const QString &frequency, Polarisation polarisation)
{
    Busy busy(*this);
    WindowCheckEvents events(*this, *platform_.events, *platform_.dialogs);
    const auto settings = [this] {
        return ws::receiver::ReceiverSettings{Text5->text(), Text3->text(), Text2->text(),
                                              Text4->text()};
    };
    ws::receiver::SignalCheck check(*platform_.serial, *platform_.clock, settings, events);
    return check.run(frequency, polarisation);
}
