#include "commandline.h"
#include "headless.h"
#include "mainwindow.h"
#include "messages.h"
#include "qtserialline.h"
#include "realplatform.h"
#include "windowpicture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

namespace cli = ws::cli;

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// What --export shows instead of message boxes: the same texts on standard
// error, each with the file it is about. It never asks for a file.
class StandardErrorDialogs : public ws::UserDialogs
{
public:
    bool openFile(const QString &, QString &) override { return false; }
    bool saveFile(const QString &, QString &) override { return false; }
    void message(const QString &text) override
    {
        const bool named = file.isEmpty() || text.contains(file);
        const QString line = named ? text : file + QStringLiteral(": ") + text;
        print(stderr, QStringLiteral("wavesift: ") + line + QLatin1Char('\n'));
    }
    QString file; // the file being loaded
};

// The desktop's platform but for the dialogs, which differ between the
// window and --export.
struct Desktop
{
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::DesktopServices system;
    ws::QtSerialLine serial;
    ws::SystemPortFinder ports;

    // The window holds both scans' level tables inline, well over a hundred
    // kilobytes: too much for the main thread's stack on some systems.
    std::unique_ptr<MainWindow> window(ws::UserDialogs &dialogs)
    {
        return std::make_unique<MainWindow>(
            ws::Platform{&dialogs, &events, &clock, &system, &serial, &ports});
    }
};

int runWindow(int argc, char *argv[], const cli::CommandLine &line)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    Desktop desktop;
    ws::QtDialogs dialogs;
    const auto window = desktop.window(dialogs);
    dialogs.setParent(window.get());
    window->show();
    bool loaded = true;
    if (!line.files.isEmpty()) {
        // Once the window is up: a message box about a file stands on it.
        QTimer::singleShot(0, window.get(), [&] {
            loaded = line.anyOrder ? window->openFilesByKind(line.files)
                                   : window->openFiles(line.files);
        });
    }
    const int code = app.exec();
    return code != 0 ? code : loaded ? cli::exitcode::success : cli::exitcode::notLoaded;
}

int runExport(int argc, char *argv[], const cli::CommandLine &line)
{
    // A picture needs no screen. Unless the user chose a platform, the
    // window is drawn off-screen, so --export runs over ssh and from
    // scripts; "-platform" on the command line would still win.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    Desktop desktop;
    StandardErrorDialogs dialogs;
    const auto window = desktop.window(dialogs);
    window->show();
    const auto told = [&](const QString &path) { dialogs.file = path; };
    if (!(line.anyOrder ? window->openFilesByKind(line.files, told)
                        : window->openFiles(line.files, told)))
        return cli::exitcode::notLoaded;
    const QString failure = ws::writePng(window->picture(), line.exportPath);
    if (!failure.isEmpty()) {
        print(stderr, QStringLiteral("wavesift: ") +
                          ws::messages::pictureNotSaved(line.exportPath, failure) +
                          QLatin1Char('\n'));
        return cli::exitcode::notLoaded;
    }
    return cli::exitcode::success;
}

} // namespace

int main(int argc, char *argv[])
{
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
        return runExport(argc, argv, line);
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
    return runWindow(argc, argv, line);
}
