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

// The largest picture --export draws, per side: a window that large takes a
// quarter of a gigabyte, and its picture as much again.
constexpr int kMaxPictureSide = 8192;

// "1280x800": a window from the default size up to the largest picture.
std::optional<QSize> pictureSize(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    const QSize smallest = ws::window::kSize;
    if (size.width() < smallest.width() || size.height() < smallest.height() ||
        size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return std::nullopt;
    return size;
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

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
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
    const auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    const auto typed = [&arguments](const char *name) {
        return typedOption(arguments, QLatin1String(name));
    };
    if (isSet("help"))
        return only(Mode::Help);
    if (isSet("version"))
        return only(Mode::Version);

    // The mode is the one that an option given asks for, or the window.
    CommandLine line;
    const Option *modeOption = nullptr;
    for (const Option &option : options()) {
        if (option.selects == Mode::Window || !isSet(option.name))
            continue;
        if (modeOption)
            return invalid(QStringLiteral("%1 and %2 cannot be combined")
                               .arg(typed(modeOption->name), typed(option.name)));
        modeOption = &option;
        line.mode = option.selects;
    }
    // Whatever the mode would not use is refused rather than left unread:
    // a script that passes --timeout to --report should learn that it does
    // nothing there.
    for (const Option &option : options()) {
        if (isSet(option.name) && !(option.modes & modeBit(line.mode)))
            return invalid(QStringLiteral("%1 goes with %2, not with %3")
                               .arg(typed(option.name), modeNames(option.modes),
                                    modeOption ? typed(modeOption->name)
                                               : QStringLiteral("the window")));
    }

    line.files = parser.positionalArguments();
    line.anyOrder = isSet("any-order");
    line.follow = !isSet("no-follow");
    if (line.mode == Mode::Point || isSet("site")) {
        const QString refusal = readPointingOptions(parser, line);
        if (!refusal.isEmpty())
            return invalid(refusal);
        if (line.mode == Mode::Point)
            return line;
    }
    const bool receiver = line.mode == Mode::Check || line.mode == Mode::FullScan ||
                          line.mode == Mode::Watch || line.mode == Mode::Dish;
    if (receiver && !line.files.isEmpty())
        return invalid(QStringLiteral("a check takes no scan files: ") + line.files.join(' '));
    // In any order the window tells the user what does not fit: a menu
    // entry's failure must not go only to a standard error no one reads.
    if (line.files.size() > 3 && !line.anyOrder && line.mode != Mode::History &&
        line.mode != Mode::HistoryReport)
        return invalid(QStringLiteral("at most three files: newest scan, reference scan, map"));
    if (line.files.contains(QString()))
        return invalid(QStringLiteral("a file name is empty"));
    if (line.mode == Mode::HistoryReport || line.mode == Mode::History) {
        const bool report = line.mode == Mode::HistoryReport;
        line.mapPath = report ? value("history-report") : value("map");
        if (report && line.mapPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a map file").arg(typed("history-report")));
        if (line.files.isEmpty())
            return invalid(QStringLiteral("%1 needs a folder or scan files")
                               .arg(typed(report ? "history-report" : "history")));
        if (report)
            return line;
    }
    if (line.mode == Mode::Report) {
        if (line.files.size() != 3)
            return invalid(QStringLiteral("%1 takes three files: newest scan, reference scan, map")
                               .arg(typed("report")));
        return line;
    }

    // Without a check the settings fill the window's boxes; one not given
    // is what the boxes open with.
    if (receiver && !isSet("port"))
        return invalid(QStringLiteral("a check needs --port"));
    for (const Option &option : options()) {
        if (!option.setting || (!isSet(option.name) && !option.defaultValue))
            continue;
        const QString given = value(option.name).trimmed();
        if (!QRegularExpression(QLatin1String(option.pattern)).match(given).hasMatch())
            return invalid(QStringLiteral("%1 takes %2, not \"%3\"")
                               .arg(typed(option.name), QLatin1String(option.patternWords), given));
        line.receiver.*option.setting = given;
    }

    if (isSet("search-timeout")) {
        static const QRegularExpression whole(QStringLiteral("^\\d{1,3}$"));
        const QString limit = value("search-timeout").trimmed();
        const int seconds = limit.toInt();
        if (!whole.match(limit).hasMatch() || seconds < 1 || seconds > receiver::kSearchLimitSeconds)
            return invalid(QStringLiteral("%1 takes whole seconds from 1 to %2, not \"%3\"")
                               .arg(typed("search-timeout"))
                               .arg(receiver::kSearchLimitSeconds)
                               .arg(limit));
        line.searchLimit = seconds;
    }

    switch (line.mode) {
    case Mode::Export:
        line.exportPath = value("export");
        if (line.exportPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a file name").arg(typed("export")));
        if (!qtCanName(line.exportPath))
            return unnameable(typed("export"), line.exportPath);
        line.exportSize = pictureSize(value("size").trimmed()).value_or(QSize());
        if (!line.exportSize.isValid())
            return invalid(QStringLiteral("%1 takes WIDTHxHEIGHT from %2x%3 to %4x%4 pixels, not "
                                          "\"%5\"")
                               .arg(typed("size"))
                               .arg(ws::window::kSize.width())
                               .arg(ws::window::kSize.height())
                               .arg(kMaxPictureSide)
                               .arg(value("size")));
        break;
    case Mode::Check:
    case Mode::Watch:
    case Mode::Dish: {
        const char *name = line.mode == Mode::Check   ? "check"
                           : line.mode == Mode::Watch ? "watch"
                                                      : "dish";
        if (!readCheckTarget(value(name), line))
            return invalid(QStringLiteral("%1 takes a frequency from 1 to %2 MHz, in MHz (11778, "
                                          "11778.4) or in GHz (11.778), followed by h or v "
                                          "(11.778H), not \"%3\"")
                               .arg(typed(name))
                               .arg(kMaxCheckMegahertz)
                               .arg(value(name)));
        line.bell = isSet("bell");
        line.tone = isSet("tone");
        if (line.mode == Mode::Dish)
            line.mapPath = value("map");
        if (isSet("level-pattern")) {
            const QString given = value("level-pattern");
            const QString problem = receiver::levelPatternProblem(QRegularExpression(given));
            if (!problem.isEmpty())
                return invalid(QStringLiteral("%1 takes a pattern with a capture group, not "
                                              "\"%2\": %3")
                                   .arg(typed("level-pattern"), given, problem));
            line.levelPattern = given;
        }
        if (isSet("for")) {
            static const QRegularExpression seconds(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
            const QString given = value("for").trimmed();
            const double forSeconds = given.toDouble();
            if (!seconds.match(given).hasMatch() || forSeconds <= 0 || forSeconds > 1e7)
                return invalid(QStringLiteral("%1 takes seconds, more than 0, not \"%2\"")
                                   .arg(typed("for"), given));
            line.watchForMs = qint64(forSeconds * 1000 + 0.5);
        }
        break;
    }
    case Mode::FullScan:
        line.mapPath = value("full-scan");
        if (line.mapPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a map file").arg(typed("full-scan")));
        line.outputPath = value("output");
        line.outputNamed = isSet("output");
        if (line.outputPath.isEmpty())
            return invalid(QStringLiteral("%1 needs a file name").arg(typed("output")));
        if (!qtCanName(line.outputPath))
            return unnameable(typed("output"), line.outputPath);
        break;
    default:
        break;
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
               "     otherwise: done\n"
               "  1  --check: no signal (no lock, or the search ended another way);\n"
               "     --full-scan: stopped early; the window, --export or --report: a file\n"
               "     could not be loaded or written; --point: below the horizon\n"
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
