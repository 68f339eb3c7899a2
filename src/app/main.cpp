#include "form1.h"
#include "qtserialline.h"
#include "realplatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    ws::QtDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::DesktopServices system;
    ws::QtSerialLine serial;

    Form1 form(ws::Platform{&dialogs, &events, &clock, &system, &serial});
    dialogs.setParent(&form);
    form.show();
    return app.exec();
}
