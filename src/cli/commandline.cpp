#include "commandline.h"

#include "numbers.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace ws::cli {

namespace {

struct Options
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption exportTo{QStringLiteral("export"), QString(), QStringLiteral("FILE")};
    QCommandLineOption check{QStringLiteral("check"), QString(), QStringLiteral("FREQ")};
    QCommandLineOption fullScan{QStringLiteral("full-scan"), QString(), QStringLiteral("MAP")};
    QCommandLineOption port{QStringLiteral("port"), QString(), QStringLiteral("PORT")};
    QCommandLineOption timeout{QStringLiteral("timeout"), QString(), QStringLiteral("SECONDS")};
    QCommandLineOption power{QStringLiteral("power"), QString(), QStringLiteral("0|1")};
    QCommandLineOption diseqc{QStringLiteral("diseqc"), QString(), QStringLiteral("0-3")};
    QCommandLineOption output{QStringLiteral("output"), QString(), QStringLiteral("FILE")};
    QCommandLineOption anyOrder{QStringLiteral("any-order")};
};

CommandLine only(Mode mode)
{
    CommandLine line;
    line.mode = mode;
    return line;
}

CommandLine invalid(const QString &why)
{
    CommandLine line = only(Mode::Invalid);
    line.error = why;
    return line;
}

// "11778h", "11778.5 V": the frequency as a click would send it, rounded
// half to even, and the polarisation letter.
bool readCheckTarget(const QString &text, CommandLine &line)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d+(?:\\.\\d*)?|\\.\\d+)\\s*([hHvV])\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const std::optional<std::int16_t> mhz = toInt16(readNumber(match.captured(1)));
    if (!mhz || *mhz <= 0)
        return false;
    line.checkFrequency = QString::number(*mhz);
    line.checkVertical = match.captured(2).compare(QLatin1String("v"), Qt::CaseInsensitive) == 0;
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    Options o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({o.help, o.version, o.exportTo, o.check, o.fullScan, o.port, o.timeout,
                       o.power, o.diseqc, o.output, o.anyOrder});
    // The options every Qt program takes (-platform offscreen, -style
    // Fusion, ...) are the application object's to read, not ours to
    // refuse.
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style",
                             "stylesheet", "display", "geometry", "qwindowgeometry", "qwindowtitle",
                             "qwindowicon", "session"})
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    if (!parser.parse(arguments))
        return invalid(parser.errorText());
    if (parser.isSet(o.help))
        return only(Mode::Help);
    if (parser.isSet(o.version))
        return only(Mode::Version);

    CommandLine line;
    line.files = parser.positionalArguments();
    const bool checking = parser.isSet(o.check);
    const bool scanning = parser.isSet(o.fullScan);
    const bool receiver = checking || scanning;
    line.anyOrder = parser.isSet(o.anyOrder);

    if (checking && scanning)
        return invalid(QStringLiteral("--check and --full-scan cannot be combined"));
    if (receiver && parser.isSet(o.exportTo))
        return invalid(QStringLiteral("--export cannot be combined with a check"));
    if (receiver && !line.files.isEmpty())
        return invalid(QStringLiteral("a check takes no scan files: ") + line.files.join(' '));
    if (receiver && line.anyOrder)
        return invalid(QStringLiteral("--any-order cannot be combined with a check"));
    // In any order the window tells the user what does not fit: a menu
    // entry's failure must not go only to a standard error no one reads.
    if (line.files.size() > 3 && !line.anyOrder)
        return invalid(QStringLiteral("at most three files: newest scan, reference scan, map"));
    if (line.files.contains(QString()))
        return invalid(QStringLiteral("a file name is empty"));
    for (const QCommandLineOption *setting : {&o.port, &o.timeout, &o.power, &o.diseqc}) {
        if (!receiver && parser.isSet(*setting))
            return invalid(QStringLiteral("--%1 goes with --check or --full-scan")
                               .arg(setting->names().constLast()));
    }
    if (!scanning && parser.isSet(o.output))
        return invalid(QStringLiteral("--output goes with --full-scan"));

    if (parser.isSet(o.exportTo)) {
        line.mode = Mode::Export;
        line.exportPath = parser.value(o.exportTo);
        if (line.exportPath.isEmpty())
            return invalid(QStringLiteral("--export needs a file name"));
        return line;
    }
    if (!receiver)
        return line;

    ReceiverOptions &settings = line.receiver;
    settings.port = parser.value(o.port).trimmed();
    if (settings.port.isEmpty())
        return invalid(QStringLiteral("a check needs --port"));
    if (parser.isSet(o.timeout)) {
        settings.timeout = parser.value(o.timeout).trimmed();
        static const QRegularExpression seconds(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
        if (!seconds.match(settings.timeout).hasMatch())
            return invalid(
                QStringLiteral("--timeout takes seconds, not \"%1\"").arg(settings.timeout));
    }
    if (parser.isSet(o.power)) {
        settings.lnbPower = parser.value(o.power).trimmed();
        if (settings.lnbPower != QLatin1String("0") && settings.lnbPower != QLatin1String("1"))
            return invalid(
                QStringLiteral("--power takes 0 or 1, not \"%1\"").arg(settings.lnbPower));
    }
    if (parser.isSet(o.diseqc)) {
        settings.diseqc = parser.value(o.diseqc).trimmed();
        static const QRegularExpression input(QStringLiteral("^[0-3]$"));
        if (!input.match(settings.diseqc).hasMatch())
            return invalid(
                QStringLiteral("--diseqc takes 0 to 3, not \"%1\"").arg(settings.diseqc));
    }

    if (checking) {
        line.mode = Mode::Check;
        if (!readCheckTarget(parser.value(o.check), line))
            return invalid(QStringLiteral("--check takes a frequency in MHz followed by h or v, "
                                          "not \"%1\"")
                               .arg(parser.value(o.check)));
        return line;
    }
    line.mode = Mode::FullScan;
    line.mapPath = parser.value(o.fullScan);
    if (line.mapPath.isEmpty())
        return invalid(QStringLiteral("--full-scan needs a map file"));
    if (parser.isSet(o.output)) {
        line.outputPath = parser.value(o.output);
        if (line.outputPath.isEmpty())
            return invalid(QStringLiteral("--output needs a file name"));
    }
    return line;
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: wavesift [options] [NEWEST.scn [REFERENCE.scn [MAP]]]\n"
        "       wavesift --check FREQ[h|v] --port PORT [settings]\n"
        "       wavesift --full-scan MAP --port PORT [settings] [--output FILE]\n"
        "\n"
        "Compares a newest satellite scan with a reference scan, shows the known\n"
        "transmissions of a map on the same frequency axis, and checks frequencies\n"
        "with a receiver on a serial port. Files given on the command line load as\n"
        "if they were picked in the window's dialogs.\n"
        "\n"
        "Options:\n"
        "  -h, --help             show this text and exit\n"
        "  -v, --version          show the version and exit\n"
        "  --export FILE.png      load the given files, write a picture of the window,\n"
        "                         exit (needs no display)\n"
        "  --any-order            the files come in any order, as from a file manager:\n"
        "                         .scn files are scans (the one changed last is the\n"
        "                         newest), any other file is the map\n"
        "  --check FREQ[h|v]      one signal check at FREQ MHz, h horizontal or\n"
        "                         v vertical, then exit (needs no display); Ctrl+C\n"
        "                         ends it at once\n"
        "  --full-scan MAP        check every MPEG entry of the map in map order, save\n"
        "                         the logs, then exit (needs no display); Ctrl+C or\n"
        "                         SIGTERM skips the rest after the running check and\n"
        "                         saves what was checked, a second Ctrl+C ends at once\n"
        "  --output FILE          where --full-scan saves the logs (default results.txt\n"
        "                         in the current folder)\n"
        "\n"
        "Settings, as in the window's boxes:\n"
        "  --port PORT            serial port: a number (2 is /dev/ttyS1, COM2 on\n"
        "                         Windows) or a device name such as ttyUSB0\n"
        "  --timeout SECONDS      how long to wait for a lock (default 10)\n"
        "  --power 0|1            0 V or 12 V switch of the tune command (default 1)\n"
        "  --diseqc 0-3           DiSEqC input (default 0)\n"
        "\n"
        "The check's log goes to standard output as it grows, as the window shows\n"
        "it; progress, failures and a full scan's summary go to standard error.\n"
        "\n"
        "Exit codes:\n"
        "  0  --check: locked and the table search ended on \"Ready\";\n"
        "     --full-scan: every MPEG entry was checked and the results saved;\n"
        "     otherwise: done\n"
        "  1  --check: no signal (no lock, or the search ended another way);\n"
        "     --full-scan: stopped early; the window or --export: a file could not\n"
        "     be loaded or written\n"
        "  2  bad arguments, or a map that cannot be read (nothing is checked)\n"
        "  3  the port could not be opened or stopped working (a full scan ends\n"
        "     there and saves what was checked)\n"
        "  4  the results could not be saved\n"
        "A full scan that ends for more than one reason exits with the highest code.\n");
}

QString versionText()
{
    return QStringLiteral("wavesift " WAVESIFT_VERSION "\n");
}

} // namespace ws::cli
