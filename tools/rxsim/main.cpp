// wavesift-rxsim: a pretend satellite receiver on a pseudo-terminal.
//
// Start it, type the device path it prints into the window's "comport" box
// and click into a plot. It serves until it is stopped (Ctrl+C).

#include "rxsim/receiversim.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    ws::rxsim::Script script;
    script.trace = arguments.removeAll(QStringLiteral("--trace")) > 0;
    if (arguments.contains(QStringLiteral("--help"))) {
        std::printf("usage: wavesift-rxsim [options]\n%s  --trace            report every "
                    "command on standard error\n  --help             show this help and exit\n",
                    qPrintable(ws::rxsim::scriptUsage()));
        return 0;
    }
    QString error;
    if (!ws::rxsim::parseScript(arguments, script, error)) {
        std::fprintf(stderr, "wavesift-rxsim: %s\nusage: wavesift-rxsim [options]\n%s",
                     qPrintable(error), qPrintable(ws::rxsim::scriptUsage()));
        return 2;
    }

    int master = -1;
    int slave = -1;
    QString path;
    if (!ws::rxsim::openRawPty(master, slave, path, error)) {
        std::fprintf(stderr, "wavesift-rxsim: %s\n", qPrintable(error));
        return 1;
    }
    // The first line is the device alone, for scripts; then a hint for people.
    std::printf("%s\n", qPrintable(path));
    std::printf("Receiver ready. Enter %s as comport in Wavesift; Ctrl+C ends.\n",
                qPrintable(path));
    std::fflush(stdout);

    // The slave side stays open here, so the program may open and close the
    // port as often as it likes without the line going away in between.
    const int result = ws::rxsim::serve(master, script);
    ::close(slave);
    ::close(master);
    return result;
}
