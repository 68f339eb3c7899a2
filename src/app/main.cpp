#include "app/dishmode.h"
#include "app/historywindow.h"
#include "app/mainwindow.h"
#include "app/pointingpanel.h"
#include "app/workspace.h"
#include "wording/messages.h"
#include "app/realplatform.h"
#include "app/windowpicture.h"
#include "cli/commandline.h"
#include "cli/headless.h"
#include "cli/historyreport.h"
#include "cli/messageline.h"
#include "cli/pointingmode.h"
#include "cli/options.h"
#include "cli/report.h"
#include "core/filenames.h"
#include "core/systemsound.h"
#include "receiver/qtserialline.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QtMath>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

namespace cli = ws::cli;

void print(std::FILE *stream, const QString &text)
{
    std::fputs(ws::terminalText(text).constData(), stream);
    std::fflush(stream);
}

// In the command-line modes standard error is the program's own: scripts
// read it, and the toolkit's remarks (a missing XDG_RUNTIME_DIR, a plugin's
// notes) would read as failures. Only a fatal one still goes out.
void dropToolkitMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg)
        print(stderr, QStringLiteral("wavesift: ") + text + QLatin1Char('\n'));
}

void printMessage(const QString &text, const QString &detail, const QString &file)
{
    print(stderr, cli::messageLine(text, detail, file));
}

// What --export shows instead of message boxes: the same texts on standard
// error. It never asks for a file.
class StandardErrorDialogs : public ws::UserDialogs
{
public:
    bool openFile(const QString &, QString &) override { return false; }
    bool saveFile(const QString &, QString &) override { return false; }
    void message(const QString &text, const QString &detail) override
    {
        printMessage(text, detail, file);
    }
    QString file; // the file being loaded
};

// The window's dialogs, which also tell standard error while the command
// line's files load: a terminal or script learns there why a file did not.
class CommandLineDialogs : public ws::QtDialogs
{
public:
    void message(const QString &text, const QString &detail) override
    {
        if (loading)
            printMessage(text, detail, file);
        QtDialogs::message(text, detail);
    }
    bool loading = false;
    QString file;
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
            ws::Platform{&dialogs, &events, &clock, &system, &serial, &ports, nullptr,
                         ws::systemSoundSink});
    }
};

int runWindow(int argc, char *argv[], const cli::CommandLine &line)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    Desktop desktop;
    CommandLineDialogs dialogs;
    const auto window = desktop.window(dialogs);
    dialogs.setParent(window.get());
    window->presetReceiverSettings(line.receiver);
    window->workspace().setFollowing(line.follow);
    if (line.site)
        PointingPanel::of(window.get()).setSite(*line.site);
    window->show();
    bool loaded = true;
    if (line.mode == cli::Mode::History) {
        // The main window opens empty for the history to load into; what
        // cannot be found is told on standard error too, once listed.
        QTimer::singleShot(0, window.get(), [&] {
            dialogs.loading = true;
            dialogs.file.clear();
            HistoryWindow &history = window->showHistory(line.files);
            QObject::connect(&history, &HistoryWindow::listed, window.get(),
                             [&] { dialogs.loading = false; }, Qt::SingleShotConnection);
            if (!line.mapPath.isEmpty()) {
                dialogs.file = line.mapPath;
                if (history.loadMapFrom(line.mapPath))
                    window->workspace().holdMap(ws::absoluteFileName(line.mapPath));
                else
                    loaded = false;
                dialogs.file.clear();
            }
        });
    } else if (!line.files.isEmpty()) {
        // Once the window is up: a message box about a file stands on it.
        QTimer::singleShot(0, window.get(), [&] {
            dialogs.loading = true;
            const auto told = [&](const QString &path) { dialogs.file = path; };
            loaded = line.anyOrder ? window->workspace().openFilesByKind(line.files, told)
                                   : window->workspace().openFiles(line.files, told);
            dialogs.loading = false;
        });
    }
    const int code = app.exec();
    // A source of the history that is missing or holds no scan fails the
    // run, once the user has seen what there is.
    if (line.mode == cli::Mode::History && window->historyWindow() &&
        !window->historyWindow()->openedAll())
        loaded = false;
    return code != 0 ? code : loaded ? cli::exitcode::success : cli::exitcode::notLoaded;
}

// Where --export may write: a PNG name, an acceptable target, and never
// one of the files the picture shows.
ws::SaveTarget exportTarget(const cli::CommandLine &line)
{
    if (!ws::hasPngName(line.exportPath))
        return {QString(), QStringLiteral("the name does not end in .png")};
    ws::SaveTarget target = ws::checkSaveTarget(line.exportPath);
    for (const QString &file : line.files) {
        if (!target.refused() && ws::isSameFile(target, file))
            target.refusal = QStringLiteral("it is one of the files being loaded");
    }
    return target;
}

int runExport(int argc, char *argv[], const cli::CommandLine &line)
{
    // Checked before anything loads, and resolved once: the picture goes
    // where the check looked.
    const ws::SaveTarget target = exportTarget(line);
    if (target.refused()) {
        print(stderr, QStringLiteral("wavesift: ") +
                          ws::messages::pictureNotSaved(line.exportPath, target.refusal) +
                          QLatin1Char('\n'));
        return cli::exitcode::notLoaded;
    }
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
    // The cap on the picture bounds its memory, so it counts what a scaled
    // screen (QT_SCALE_FACTOR) multiplies the pixels by.
    const qreal ratio = window->devicePixelRatioF();
    const QSize device(qCeil(line.exportSize.width() * ratio),
                       qCeil(line.exportSize.height() * ratio));
    if (device.width() > cli::kMaxPictureSide || device.height() > cli::kMaxPictureSide) {
        const QChar times(0x00D7);
        print(stderr, QStringLiteral("wavesift: ") +
                          ws::messages::pictureNotSaved(
                              line.exportPath,
                              QStringLiteral("the picture would be %1%2%3 device pixels, more "
                                             "than %4%2%4")
                                  .arg(device.width())
                                  .arg(times)
                                  .arg(device.height())
                                  .arg(cli::kMaxPictureSide)) +
                          QLatin1Char('\n'));
        return cli::exitcode::notLoaded;
    }
    window->presetReceiverSettings(line.receiver);
    window->resize(line.exportSize);
    window->show();
    // A window system may keep a window smaller than asked; the picture
    // would not be the one asked for.
    if (window->size() != line.exportSize) {
        print(stderr, QStringLiteral("wavesift: ") +
                          ws::messages::pictureNotSaved(
                              line.exportPath,
                              QStringLiteral("the window could not be made %1x%2")
                                  .arg(line.exportSize.width())
                                  .arg(line.exportSize.height())) +
                          QLatin1Char('\n'));
        return cli::exitcode::notLoaded;
    }
    const auto told = [&](const QString &path) { dialogs.file = path; };
    if (!(line.anyOrder ? window->workspace().openFilesByKind(line.files, told)
                        : window->workspace().openFiles(line.files, told)))
        return cli::exitcode::notLoaded;
    // On a screen smaller than the window's design the window scrolls; its
    // scroll bars go once the layouts hear of the size the picture asks for.
    QCoreApplication::sendPostedEvents();
    const QString failure = ws::writePng(window->picture(), target);
    if (!failure.isEmpty()) {
        print(stderr, QStringLiteral("wavesift: ") +
                          ws::messages::pictureNotSaved(line.exportPath, failure) +
                          QLatin1Char('\n'));
        return cli::exitcode::notLoaded;
    }
    return cli::exitcode::success;
}

#ifdef Q_OS_UNIX
// A standard stream the program was started without (`>&-`) would become
// the first file it opens, an event descriptor or the serial port, and the
// log would go there. The read end of a pipe holds the place instead:
// writing to it fails, for the true reason.
void holdClosedStandardStreams()
{
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        int ends[2];
        if (::pipe(ends) != 0)
            return;
        if (ends[0] != stream) {
            ::dup2(ends[0], stream);
            ::close(ends[0]);
        }
        if (ends[1] != stream)
            ::close(ends[1]);
    }
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    holdClosedStandardStreams();
#endif
    // Read before any application object exists: what was asked decides
    // whether the program needs a display at all.
    const cli::CommandLine line = cli::parseCommandLine(cli::argumentsOf(argc, argv));
    if (line.mode != cli::Mode::Window)
        qInstallMessageHandler(dropToolkitMessages);
    switch (line.mode) {
    case cli::Mode::Help:
        print(stdout, cli::usageText());
        return cli::exitcode::success;
    case cli::Mode::Version:
        print(stdout, cli::versionText());
        return cli::exitcode::success;
    case cli::Mode::Invalid:
        print(stderr, QStringLiteral("wavesift: ") + line.error +
                          QStringLiteral("\nTry 'wavesift --help' for more information.\n"));
        return cli::exitcode::badArguments;
    case cli::Mode::Export:
        return runExport(argc, argv, line);
    case cli::Mode::Check:
    case cli::Mode::FullScan:
    case cli::Mode::Watch: {
        // No display is needed, nor may one be assumed: these run from
        // scripts, over ssh and from timers.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Wavesift"));
        if (line.mode == cli::Mode::Watch)
            return cli::runWatch(line);
        return line.mode == cli::Mode::Check ? cli::runCheck(line) : cli::runFullScan(line);
    }
    case cli::Mode::Report: {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Wavesift"));
        return cli::runReport(line);
    }
    case cli::Mode::HistoryReport: {
        // The scans are read on all cores, with no display needed.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Wavesift"));
        return cli::runHistoryReport(line.mapPath, line.files);
    }
    case cli::Mode::Point: {
        QString out;
        QString err;
        const int code = cli::runPointing(line, out, err);
        print(stdout, out);
        print(stderr, err);
        return code;
    }
    case cli::Mode::Dish:
        return runDish(argc, argv, line);
    case cli::Mode::History:
    case cli::Mode::Window:
        break;
    }
    return runWindow(argc, argv, line);
}
