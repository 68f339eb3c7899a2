#include "commandline.h"
#include "headless.h"
#include "mainwindow.h"
#include "qtserialline.h"
#include "realplatform.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int runWindow(int argc, char *argv[])
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
    const auto window = std::make_unique<MainWindow>(
        ws::Platform{&dialogs, &events, &clock, &system, &serial});
    dialogs.setParent(window.get());
    window->show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    namespace cli = ws::cli;
    // Read before any application object exists: what was asked decides
    // whether the program needs a display at all.
    const cli::CommandLine line = cli::parseCommandLine(cli::argumentsOf(argc, argv));
    switch (line.mode) {
    case cli::Mode::Help:
        print(stdout, cli::usageText());
        return cli::exitcode::success;
    case cli::Mode::Version:
        print(stdout, cli::versionText());
        return cli::exitcode::success;
    case cli::Mode::Invalid:
        print(stderr, QStringLiteral("wavesift: ") + line.error + QStringLiteral("\n\n") +
                          cli::usageText());
        return cli::exitcode::badArguments;
    case cli::Mode::Export:
        print(stderr, QStringLiteral("wavesift: --export is not built yet\n"));
        return cli::exitcode::badArguments;
    case cli::Mode::Check:
    case cli::Mode::FullScan: {
        // No display is needed, nor may one be assumed: these run from
        // scripts, over ssh and from timers.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Wavesift"));
        return line.mode == cli::Mode::Check ? cli::runCheck(line) : cli::runFullScan(line);
    }
    case cli::Mode::Window:
        break;
    }
    return runWindow(argc, argv);
}
