#include "mainwindow.h"
#include "qtserialline.h"
#include "realplatform.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    ws::QtDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::DesktopServices system;
    ws::QtSerialLine serial;

    // The window holds both scans' level tables inline, well over a hundred
    // kilobytes: too much for the main thread's stack on some systems.
    const auto form = std::make_unique<MainWindow>(ws::Platform{&dialogs, &events, &clock, &system, &serial});
    dialogs.setParent(form.get());
    form->show();
    return app.exec();
}
