#include "cli/commandline.h"

#include "wording/windowsize.h"
#include "cli/options.h"
#include "cli/pointingmode.h"
#include "core/filenames.h"
#include "receiver/protocol.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace ws::cli {

namespace {

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
QString unnameable(const QString &option, const QString &name)
{
    return QStringLiteral("%1 cannot write to \"%2\": the name is not valid UTF-8").arg(option, name);
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

// The modes of `modes` as a message names them: "the window, --export or
// --check", each by the option that asks for it.
QString modeNames(Modes modes)
{
    QStringList names;
    if (modes & modeBit(Mode::Window))
        names << QStringLiteral("the window");
    for (const Option &option : options()) {
        if (option.selects != Mode::Window && (modes & modeBit(option.selects)))
            names << option.longName();
    }
    const QString last = names.takeLast();
    if (names.isEmpty())
        return last;
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// The arguments as Qt's parser read them, asked by the names of the table.
struct Given
{
    const QStringList &arguments;
    QCommandLineParser parser;

    bool isSet(const char *name) const { return parser.isSet(QLatin1String(name)); }
    QString value(const char *name) const { return parser.value(QLatin1String(name)); }
    // As the user wrote it, for a message.
    QString typed(const char *name) const { return typedOption(arguments, QLatin1String(name)); }
};

// The option given that asks for a mode, or none for the window; two are
// refused.
std::optional<QString> chooseMode(const Given &given, CommandLine &line, const Option *&asked)
{
    for (const Option &option : options()) {
        if (option.selects == Mode::Window || !given.isSet(option.name))
            continue;
        if (asked)
            return QStringLiteral("%1 and %2 cannot be combined")
                .arg(given.typed(asked->name), given.typed(option.name));
        asked = &option;
        line.mode = option.selects;
    }
    return std::nullopt;
}

// Every value by its option's validator, the settings filled in.
std::optional<QString> readValues(const Given &given, CommandLine &line)
{
    for (const Option &option : options()) {
        if (!option.validate || !(option.modes & modeBit(line.mode)) ||
            (!given.isSet(option.name) && !option.defaultValue))
            continue;
        const QString value = given.value(option.name).trimmed();
        const QString why = option.validate(option, value, line.mode);
        if (!why.isEmpty())
            return QStringLiteral("%1 %2, not \"%3\"").arg(given.typed(option.name), why, value);
        if (option.setting)
            line.receiver.*option.setting = value;
    }
    return std::nullopt;
}

std::optional<QString> readFiles(const Given &given, CommandLine &line)
{
    line.files = given.parser.positionalArguments();
    line.anyOrder = given.isSet("any-order");
    line.follow = !given.isSet("no-follow");
    const bool receiver = line.mode == Mode::Check || line.mode == Mode::FullScan ||
                          line.mode == Mode::Watch || line.mode == Mode::Dish;
    if (receiver && !line.files.isEmpty())
        return QStringLiteral("a check takes no scan files: ") + line.files.join(' ');
    // In any order the window tells the user what does not fit: a menu
    // entry's failure must not go only to a standard error no one reads.
    if (line.files.size() > 3 && !line.anyOrder && line.mode != Mode::History &&
        line.mode != Mode::HistoryReport)
        return QStringLiteral("at most three files: newest scan, reference scan, map");
    if (line.files.contains(QString()))
        return QStringLiteral("a file name is empty");
    return std::nullopt;
}

std::optional<QString> readHistory(const Given &given, CommandLine &line)
{
    const bool report = line.mode == Mode::HistoryReport;
    line.mapPath = report ? given.value("history-report") : given.value("map");
    if (report && line.mapPath.isEmpty())
        return QStringLiteral("%1 needs a map file").arg(given.typed("history-report"));
    if (line.files.isEmpty())
        return QStringLiteral("%1 needs a folder or scan files")
            .arg(given.typed(report ? "history-report" : "history"));
    return std::nullopt;
}

std::optional<QString> readReport(const Given &given, const CommandLine &line)
{
    if (line.files.size() != 3)
        return QStringLiteral("%1 takes three files: newest scan, reference scan, map")
            .arg(given.typed("report"));
    return std::nullopt;
}

std::optional<QString> readExport(const Given &given, CommandLine &line)
{
    line.exportPath = given.value("export");
    if (line.exportPath.isEmpty())
        return QStringLiteral("%1 needs a file name").arg(given.typed("export"));
    if (!qtCanName(line.exportPath))
        return unnameable(given.typed("export"), line.exportPath);
    line.exportSize = *pictureSize(given.value("size").trimmed());
    return std::nullopt;
}

// --check and --watch: what to tune to, and for a watch how long.
std::optional<QString> readTarget(const Given &given, CommandLine &line)
{
    const char *name = line.mode == Mode::Check   ? "check"
                       : line.mode == Mode::Watch ? "watch"
                                                  : "dish";
    if (!readCheckTarget(given.value(name), line))
        return QStringLiteral("%1 takes a frequency from 1 to %2 MHz, in MHz (11778, 11778.4) or "
                              "in GHz (11.778), followed by h or v (11.778H), not \"%3\"")
            .arg(given.typed(name))
            .arg(kMaxCheckMegahertz)
            .arg(given.value(name));
    line.bell = given.isSet("bell");
    line.tone = given.isSet("tone");
    if (line.mode == Mode::Dish)
        line.mapPath = given.value("map");
    if (given.isSet("level-pattern")) {
        const QString pattern = given.value("level-pattern");
        const QString problem = receiver::levelPatternProblem(QRegularExpression(pattern));
        if (!problem.isEmpty())
            return QStringLiteral("%1 takes a pattern with a capture group, not \"%2\": %3")
                .arg(given.typed("level-pattern"), pattern, problem);
        line.levelPattern = pattern;
    }
    if (given.isSet("for"))
        line.watchForMs = *watchMilliseconds(given.value("for").trimmed());
    if (given.isSet("search-timeout"))
        line.searchLimit = given.value("search-timeout").trimmed().toInt();
    return std::nullopt;
}

std::optional<QString> readFullScan(const Given &given, CommandLine &line)
{
    line.mapPath = given.value("full-scan");
    if (line.mapPath.isEmpty())
        return QStringLiteral("%1 needs a map file").arg(given.typed("full-scan"));
    line.outputPath = given.value("output");
    line.outputNamed = given.isSet("output");
    if (line.outputPath.isEmpty())
        return QStringLiteral("%1 needs a file name").arg(given.typed("output"));
    if (!qtCanName(line.outputPath))
        return unnameable(given.typed("output"), line.outputPath);
    if (given.isSet("search-timeout"))
        line.searchLimit = given.value("search-timeout").trimmed().toInt();
    return std::nullopt;
}

// What only the mode asked for takes.
std::optional<QString> readForMode(const Given &given, CommandLine &line)
{
    switch (line.mode) {
    case Mode::History:
    case Mode::HistoryReport:
        return readHistory(given, line);
    case Mode::Report:
        return readReport(given, line);
    case Mode::Export:
        return readExport(given, line);
    case Mode::Check:
    case Mode::Watch:
    case Mode::Dish:
        return readTarget(given, line);
    case Mode::FullScan:
        return readFullScan(given, line);
    default:
        return std::nullopt;
    }
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    Given given{arguments, {}};
    QCommandLineParser &parser = given.parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option &option : options()) {
        QStringList names{QLatin1String(option.name)};
        if (option.shortName)
            names.prepend(QLatin1String(option.shortName));
        QCommandLineOption qtOption(names);
        if (option.valueName)
            qtOption.setValueName(QLatin1String(option.valueName));
        if (option.defaultValue)
            qtOption.setDefaultValue(QLatin1String(option.defaultValue));
        parser.addOption(qtOption);
    }
    if (!parser.parse(arguments)) {
        // Qt names an unknown option without its dashes; a missing or
        // unexpected value it names as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return invalid(parser.errorText());
        return invalid(QStringLiteral("unknown option '%1'")
                           .arg(typedOption(arguments, unknown.constFirst())));
    }
    if (given.isSet("help"))
        return only(Mode::Help);
    if (given.isSet("version"))
        return only(Mode::Version);

    CommandLine line;
    const Option *modeOption = nullptr;
    if (const auto why = chooseMode(given, line, modeOption))
        return invalid(*why);
    // Whatever the mode would not use is refused rather than left unread:
    // a script that passes --timeout to --report should learn that it does
    // nothing there.
    for (const Option &option : options()) {
        if (given.isSet(option.name) && !(option.modes & modeBit(line.mode)))
            return invalid(QStringLiteral("%1 goes with %2, not with %3")
                               .arg(given.typed(option.name), modeNames(option.modes),
                                    modeOption ? given.typed(modeOption->name)
                                               : QStringLiteral("the window")));
    }
    if (const auto why = readFiles(given, line))
        return invalid(*why);
    if (line.mode == Mode::Point || given.isSet("site")) {
        const QString refusal = readPointingOptions(given.parser, line);
        if (!refusal.isEmpty())
            return invalid(refusal);
        if (line.mode == Mode::Point)
            return line;
    }
    const bool receiver = line.mode == Mode::Check || line.mode == Mode::FullScan ||
                          line.mode == Mode::Watch || line.mode == Mode::Dish;
    if (receiver && !given.isSet("port"))
        return invalid(line.mode == Mode::Watch ? QStringLiteral("a watch needs --port")
                                                : QStringLiteral("a check needs --port"));
    // Without a check the settings fill the window's boxes; one not given
    // is what the boxes open with.
    if (const auto why = readValues(given, line))
        return invalid(*why);
    if (const auto why = readForMode(given, line))
        return invalid(*why);
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
    return usageLines() +
           QStringLiteral(
               "\n"
               "Compares a newest satellite scan with a reference scan, shows the known\n"
               "transmissions of a map on the same frequency axis, and checks frequencies\n"
               "with a receiver on a serial port. Files given on the command line load as\n"
               "if they were picked in the window's dialogs.\n") +
           optionsHelp() +
           QStringLiteral(
               "\n"
               "The check's log goes to standard output as it grows, as the window shows\n"
               "it; progress, failures and a full scan's summary go to standard error.\n"
               "\n"
               "Exit codes:\n"
               "  0  --check: locked and the table search ended on \"Ready\";\n"
               "     --full-scan: every MPEG entry was checked and the results saved;\n"
               "     --watch: ended by --for, Ctrl+C, SIGTERM or SIGHUP; otherwise: done\n"
               "  1  --check: no signal (no lock, or the search ended another way);\n"
               "     --full-scan: stopped early; the window, --export, --report or\n"
               "     --history-report: a file could not be loaded or written; --point: below\n"
               "     the horizon\n"
               "  2  bad arguments, or a map that cannot be read (nothing is checked)\n"
               "  3  the port could not be opened, stopped working or did not answer (a\n"
               "     full scan ends there and saves what was checked; a watch, when it\n"
               "     got no reply from the start)\n"
               "  4  --full-scan: the results could not be saved (checked before the first\n"
               "     entry too); --check or --watch: the log could not be written to\n"
               "     standard output\n"
               "A full scan that ends for more than one reason exits with the highest code.\n");
}

QString versionText()
{
    return QStringLiteral("wavesift " WAVESIFT_VERSION "\n");
}

} // namespace ws::cli
