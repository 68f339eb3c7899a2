#include "form1.h"
#include "realplatform.h"

#include <QApplication>

namespace {

// Stands in for the serial line until the receiver code is wired in.
class NoSerialLine : public ws::SerialLine
{
public:
    void setPortName(const QString &) override {}
    bool open() override { return false; }
    QString errorString() const override { return QStringLiteral("no serial support"); }
    void close() override {}
    void write(const QByteArray &) override {}
    QByteArray read() override { return {}; }
    void waitForData(int) override {}
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    ws::QtDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::DesktopServices system;
    NoSerialLine serial;

    Form1 form(ws::Platform{&dialogs, &events, &clock, &system, &serial});
    dialogs.setParent(&form);
    form.show();
    return app.exec();
}
