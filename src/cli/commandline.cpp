#include "cli/commandline.h"

#include "core/filenames.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

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
    QCommandLineOption noFollow{QStringLiteral("no-follow")};
    QCommandLineOption report{QStringLiteral("report")};
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

// The tune command carries what a click can send: a 16-bit signed frequency.
constexpr int kMaxCheckMegahertz = std::numeric_limits<std::int16_t>::max();

// The frequency as a click would send it: whole MHz, from the decimal text
// itself, so that no binary fraction moves a half (2.0035 GHz is 2003.5 MHz
// and goes to 2004). One or two digits before a point are GHz, as the map
// listing writes them; anything else is MHz. Nothing outside what the tune
// command carries.
std::optional<int> checkMegahertz(QString whole, QString fraction)
{
    if (!fraction.isEmpty() && whole.size() <= 2) {
        whole += fraction.left(3).leftJustified(3, QLatin1Char('0'));
        fraction = fraction.mid(3);
    }
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.size() > 5)
        return std::nullopt;
    int mhz = whole.toInt();
    const QChar first = fraction.isEmpty() ? QLatin1Char('0') : fraction.front();
    const QString rest = fraction.mid(1);
    const bool beyondHalf =
        std::any_of(rest.begin(), rest.end(), [](QChar digit) { return digit != QLatin1Char('0'); });
    if (first > QLatin1Char('5') || (first == QLatin1Char('5') && (beyondHalf || mhz % 2 == 1)))
        ++mhz;
    if (mhz < 1 || mhz > kMaxCheckMegahertz)
        return std::nullopt;
    return mhz;
}

// A name to write to that holds bytes that are not UTF-8 cannot be written
// under that name; writing it under another would be worse.
CommandLine unnameable(const QString &option, const QString &name)
{
    return invalid(QStringLiteral("%1 cannot write to \"%2\": the name is not valid UTF-8")
                       .arg(option, name));
}

// "11778h", "11778.4V", "11.778H"; blanks around the parts are let pass.
bool readCheckTarget(const QString &text, CommandLine &line)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*([0-9]+)(?:\\.([0-9]+))?\\s*([hHvV])\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const std::optional<int> mhz = checkMegahertz(match.captured(1), match.captured(2));
    if (!mhz)
        return false;
    line.checkFrequency = QString::number(*mhz);
    line.checkVertical = match.captured(3).compare(QLatin1String("v"), Qt::CaseInsensitive) == 0;
    return true;
}

// An option as the user wrote it ("-timeout", "--timeout=5" as "--timeout"),
// so that a message names what they typed; the last one, whose value counts.
QString typedOption(const QStringList &arguments, const QString &name)
{
    QString typed = QStringLiteral("--") + name;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        const QString option = arguments[i].section(QLatin1Char('='), 0, 0);
        if (option == QLatin1Char('-') + name || option == QStringLiteral("--") + name)
            typed = option;
    }
    return typed;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    Options o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({o.help, o.version, o.exportTo, o.check, o.fullScan, o.port, o.timeout,
                       o.power, o.diseqc, o.output, o.noFollow, o.report, o.anyOrder});
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
    if (!parser.parse(arguments)) {
        // Qt names an unknown option without its dashes; a missing or
        // unexpected value it names as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return invalid(parser.errorText());
        return invalid(QStringLiteral("unknown option '%1'")
                           .arg(typedOption(arguments, unknown.constFirst())));
    }
    if (parser.isSet(o.help))
        return only(Mode::Help);
    if (parser.isSet(o.version))
        return only(Mode::Version);

    CommandLine line;
    line.files = parser.positionalArguments();
    const bool checking = parser.isSet(o.check);
    const bool scanning = parser.isSet(o.fullScan);
    const bool receiver = checking || scanning;
    const auto typed = [&arguments](const QCommandLineOption &option) {
        return typedOption(arguments, option.names().constLast());
    };
    line.anyOrder = parser.isSet(o.anyOrder);

    if (checking && scanning)
        return invalid(QStringLiteral("%1 and %2 cannot be combined")
                           .arg(typed(o.check), typed(o.fullScan)));
    const bool reporting = parser.isSet(o.report);
    if (reporting && (receiver || parser.isSet(o.exportTo)))
        return invalid(QStringLiteral("%1 cannot be combined with --export or a check")
                           .arg(typed(o.report)));
    if (receiver && parser.isSet(o.exportTo))
        return invalid(QStringLiteral("%1 cannot be combined with a check").arg(typed(o.exportTo)));
    if (receiver && !line.files.isEmpty())
        return invalid(QStringLiteral("a check takes no scan files: ") + line.files.join(' '));
    if (receiver && line.anyOrder)
        return invalid(QStringLiteral("%1 cannot be combined with a check").arg(typed(o.anyOrder)));
    // In any order the window tells the user what does not fit: a menu
    // entry's failure must not go only to a standard error no one reads.
    if (line.files.size() > 3 && !line.anyOrder)
        return invalid(QStringLiteral("at most three files: newest scan, reference scan, map"));
    if (line.files.contains(QString()))
        return invalid(QStringLiteral("a file name is empty"));
    if (!scanning && parser.isSet(o.output))
        return invalid(QStringLiteral("%1 goes with --full-scan").arg(typed(o.output)));
    if (receiver && parser.isSet(o.noFollow))
        return invalid(QStringLiteral("%1 goes with the window").arg(typed(o.noFollow)));
    line.follow = !parser.isSet(o.noFollow);
    if (reporting) {
        if (line.files.size() != 3)
            return invalid(QStringLiteral("%1 takes three files: newest scan, reference scan, map")
                               .arg(typed(o.report)));
        line.mode = Mode::Report;
        return line;
    }

    // Without a check the settings fill the window's boxes; the defaults
    // are the boxes' own first texts.
    ReceiverOptions &settings = line.receiver;
    settings.port = parser.value(o.port).trimmed();
    if (receiver && settings.port.isEmpty())
        return invalid(QStringLiteral("a check needs --port"));
    if (parser.isSet(o.port) && settings.port.isEmpty())
        return invalid(QStringLiteral("%1 needs a port number or name").arg(typed(o.port)));
    if (parser.isSet(o.timeout)) {
        settings.timeout = parser.value(o.timeout).trimmed();
        static const QRegularExpression seconds(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
        if (!seconds.match(settings.timeout).hasMatch())
            return invalid(QStringLiteral("%1 takes seconds, not \"%2\"")
                               .arg(typed(o.timeout), settings.timeout));
    }
    if (parser.isSet(o.power)) {
        settings.lnbPower = parser.value(o.power).trimmed();
        if (settings.lnbPower != QLatin1String("0") && settings.lnbPower != QLatin1String("1"))
            return invalid(QStringLiteral("%1 takes 0 or 1, not \"%2\"")
                               .arg(typed(o.power), settings.lnbPower));
    }
    if (parser.isSet(o.diseqc)) {
        settings.diseqc = parser.value(o.diseqc).trimmed();
        static const QRegularExpression input(QStringLiteral("^[0-3]$"));
        if (!input.match(settings.diseqc).hasMatch())
            return invalid(QStringLiteral("%1 takes 0 to 3, not \"%2\"")
                               .arg(typed(o.diseqc), settings.diseqc));
    }

    if (parser.isSet(o.exportTo)) {
        line.mode = Mode::Export;
        line.exportPath = parser.value(o.exportTo);
        if (line.exportPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a file name").arg(typed(o.exportTo)));
        if (!qtCanName(line.exportPath))
            return unnameable(typed(o.exportTo), line.exportPath);
        return line;
    }
    if (!receiver)
        return line;

    if (checking) {
        line.mode = Mode::Check;
        if (!readCheckTarget(parser.value(o.check), line))
            return invalid(QStringLiteral("%1 takes a frequency from 1 to %2 MHz, in MHz (11778, "
                                          "11778.4) or in GHz (11.778), followed by h or v "
                                          "(11.778H), not \"%3\"")
                               .arg(typed(o.check))
                               .arg(kMaxCheckMegahertz)
                               .arg(parser.value(o.check)));
        return line;
    }
    line.mode = Mode::FullScan;
    line.mapPath = parser.value(o.fullScan);
    if (line.mapPath.isEmpty())
        return invalid(QStringLiteral("%1 needs a map file").arg(typed(o.fullScan)));
    if (parser.isSet(o.output)) {
        line.outputNamed = true;
        line.outputPath = parser.value(o.output);
        if (line.outputPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a file name").arg(typed(o.output)));
        if (!qtCanName(line.outputPath))
            return unnameable(typed(o.output), line.outputPath);
    }
    return line;
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << argumentText(argv[i]);
    return arguments;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: wavesift [options] [NEWEST.scn [REFERENCE.scn [MAP]]]\n"
        "       wavesift --check FREQ[h|v] --port PORT [settings]\n"
        "       wavesift --full-scan MAP --port PORT [settings] [--output FILE]\n"
        "       wavesift --report NEWEST.scn REFERENCE.scn MAP\n"
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
        "  --no-follow            do not load a scan again when its file changes on\n"
        "                         disk (F5 in the window still does)\n"
        "  --any-order            the files come in any order, as from a file manager:\n"
        "                         .scn files are scans (the one changed last is the\n"
        "                         newest), any other file is the map\n"
        "  --check FREQ[h|v]      one signal check at FREQ, h horizontal or\n"
        "                         v vertical, then exit (needs no display); Ctrl+C\n"
        "                         ends it at once. FREQ in MHz (11778, 11778.4) or\n"
        "                         in GHz as the map lists it (11.778H), 1 to 32767 MHz\n"
        "  --full-scan MAP        check every MPEG entry of the map in map order, save\n"
        "                         the logs, then exit (needs no display); Ctrl+C,\n"
        "                         SIGTERM or SIGHUP skips the rest after the running\n"
        "                         check and saves what was checked, a second one ends\n"
        "                         at once without saving\n"
        "  --output FILE          where --full-scan saves the logs (default results.txt\n"
        "                         in the current folder)\n"
        "  --report               write the level of every map entry in both scans and\n"
        "                         its change as CSV to standard output, then exit\n"
        "                         (needs no display)\n"
        "\n"
        "Settings, as in the window's boxes; without a check they fill the boxes:\n"
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
        "     --full-scan: stopped early; the window, --export or --report: a file\n"
        "     could not be loaded or written\n"
        "  2  bad arguments, or a map that cannot be read (nothing is checked)\n"
        "  3  the port could not be opened, stopped working or did not answer (a\n"
        "     full scan ends there and saves what was checked)\n"
        "  4  --full-scan: the results could not be saved (checked before the first\n"
        "     entry too); --check: the log could not be written to standard output\n"
        "A full scan that ends for more than one reason exits with the highest code.\n");
}

QString versionText()
{
    return QStringLiteral("wavesift " WAVESIFT_VERSION "\n");
}

} // namespace ws::cli
