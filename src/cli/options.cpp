#include "cli/options.h"

#include "receiver/protocol.h"
#include "receiver/receiversettings.h"
#include "wording/windowsize.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace ws::cli {

namespace {

constexpr Modes kWindow = modeBit(Mode::Window);
constexpr Modes kExport = modeBit(Mode::Export);
constexpr Modes kCheck = modeBit(Mode::Check);
constexpr Modes kFullScan = modeBit(Mode::FullScan);
constexpr Modes kReport = modeBit(Mode::Report);
constexpr Modes kWatch = modeBit(Mode::Watch);
constexpr Modes kHistory = modeBit(Mode::History);
constexpr Modes kHistoryReport = modeBit(Mode::HistoryReport);
constexpr Modes kPoint = modeBit(Mode::Point);
constexpr Modes kDish = modeBit(Mode::Dish);
// The modes that make the window, shown or drawn into a picture.
constexpr Modes kWindows = kWindow | kExport | kHistory;
// The receiver settings count for a check and fill the window's boxes.
constexpr Modes kSettingsModes = kWindows | kCheck | kFullScan | kWatch | kDish;

using Settings = receiver::ReceiverSettings;
using G = OptionGroup;
using V = ValueHint;
// In the column of the mode an option asks for: none of its own.
constexpr Mode kNone = Mode::Window;

// An option of the application object, which reads it where a window is
// made; the program tells about it nowhere.
constexpr Option toolkit(const char *name, const char *valueName)
{
    return {name, nullptr, valueName, nullptr, nullptr, G::Toolkit, kWindows, kNone, nullptr,
            V::Nothing, nullptr};
}

// ---- The validators: each says what its option takes ----------------------

QString matchesPattern(const Option &option, const QString &value, Mode)
{
    if (QRegularExpression(QLatin1String(option.pattern)).match(value).hasMatch())
        return QString();
    return QStringLiteral("takes ") + QLatin1String(option.patternWords);
}

// A check waits the lock out in one piece; the window's box, which the
// window reads at every check, keeps the rules it always had.
QString timeoutSeconds(const Option &, const QString &value, Mode mode)
{
    const std::optional<double> seconds = decimalSeconds(value);
    if (mode == Mode::Check || mode == Mode::FullScan || mode == Mode::Watch) {
        if (seconds && *seconds <= kMaxCommandLineTimeout)
            return QString();
        return QStringLiteral("takes seconds, from 0 to %1").arg(kMaxCommandLineTimeout);
    }
    return seconds ? QString() : QStringLiteral("takes seconds");
}

QString searchSeconds(const Option &, const QString &value, Mode)
{
    static const QRegularExpression whole(QStringLiteral("^\\d{1,3}$"));
    const int seconds = value.toInt();
    if (whole.match(value).hasMatch() && seconds >= 1 && seconds <= receiver::kSearchLimitSeconds)
        return QString();
    return QStringLiteral("takes whole seconds from 1 to %1").arg(receiver::kSearchLimitSeconds);
}

QString watchSeconds(const Option &, const QString &value, Mode)
{
    if (watchMilliseconds(value))
        return QString();
    return QStringLiteral("takes seconds, from 0.001 to %1").arg(kMaxWatchSeconds);
}

QString windowSize(const Option &, const QString &value, Mode)
{
    if (pictureSize(value))
        return QString();
    return QStringLiteral("takes WIDTHxHEIGHT from %1x%2 to %3x%3 pixels")
        .arg(ws::window::kSize.width())
        .arg(ws::window::kSize.height())
        .arg(kMaxPictureSide);
}

} // namespace

std::optional<double> decimalSeconds(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

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

std::optional<qint64> watchMilliseconds(const QString &text)
{
    const std::optional<double> seconds = decimalSeconds(text);
    if (!seconds || *seconds > kMaxWatchSeconds)
        return std::nullopt;
    // What rounds to no time at all would never end.
    const auto ms = qint64(*seconds * 1000 + 0.5);
    if (ms < 1)
        return std::nullopt;
    return ms;
}

QString Option::synopsis() const
{
    QString text = longName();
    if (shortName)
        text.prepend(QLatin1Char('-') + QLatin1String(shortName) + QStringLiteral(", "));
    if (valueName)
        text += QLatin1Char(' ') + QLatin1String(valueName);
    return text;
}

const std::vector<Option> &options()
{
    // clang-format off
    static const std::vector<Option> table = {
        // name, short name, value name,
        //     description (--help), more (the manual page),
        //     group, modes that use it, mode it asks for, default, completion of its value
        {"help", "h", nullptr,
            "show this text and exit", nullptr,
            G::General, kAllModes, kNone, nullptr, V::Nothing, nullptr},
        {"version", "v", nullptr,
            "show the version and exit", nullptr,
            G::General, kAllModes, kNone, nullptr, V::Nothing, nullptr},
        {"export", nullptr, "FILE.png",
            "load the given files, write a picture of the window as a PNG file, then exit (needs "
            "no display)",
            "Unless a platform is chosen (QT_QPA_PLATFORM or -platform), the window is drawn "
            "off-screen. What the window would show in a message box goes to standard error, and "
            "then no picture is written.",
            G::General, kExport, Mode::Export, nullptr, V::File, "png"},
        {"size", nullptr, "WIDTHxHEIGHT",
            "the size of the window that --export pictures, in pixels, from 763x560 up to "
            "8192x8192",
            "The plots, the map strip and the log box take the room beyond the default size, as "
            "in a window made larger on the screen.",
            G::General, kExport, kNone, "763x560", V::Nothing, nullptr, windowSize},
        {"no-follow", nullptr, nullptr,
            "do not load a scan again when its file changes on disk (F5 in the window still does)",
            "Otherwise a loaded scan whose file is written again, or replaced by a file of the "
            "same name, loads again by itself once the file has stopped changing, keeping the "
            "zoom while the scans' range stays the same.",
            G::General, kWindow | kHistory, kNone, nullptr, V::Nothing, nullptr},
        {"any-order", nullptr, nullptr,
            "the files come in any order, as from a file manager: .scn files are scans (the one "
            "changed last is the newest), any other file is the map",
            "More than two scans or one map load nothing, and the window says so.",
            G::General, kWindow | kExport, kNone, nullptr, V::Nothing, nullptr},
        {"check", nullptr, "FREQ[h|v]",
            "one signal check at FREQ, h horizontal or v vertical, then exit (needs no display); "
            "Ctrl+C ends it at once. FREQ in MHz (11778, 11778.4) or in GHz as the map lists it "
            "(11.778H), 1 to 32767 MHz",
            "The letter may be in either case. FREQ is rounded to whole MHz as a click sends it, "
            "halves to the even neighbour.",
            G::General, kCheck, Mode::Check, nullptr, V::Nothing, nullptr},
        {"history", nullptr, nullptr,
            "open the history window over the scans the files name (a folder for every .scn "
            "file in it, or single scans), beside the main window, which opens empty",
            "The scans are ordered by the time their files were last changed, oldest at the "
            "top; the waterfall shows their levels, the list ranks them by the mean level of "
            "the map's MPEG transmissions. A click on a scan loads it as the newest scan of the "
            "main window, a right click as the reference.",
            G::General, kHistory, Mode::History, nullptr, V::Nothing, nullptr},
        {"map", nullptr, "FILE",
            "the map of known transmissions the history marks and ranks by, or whose nearest "
            "entry the dish view names", nullptr,
            G::General, kHistory | kDish, kNone, nullptr, V::File, nullptr},
        {"history-report", nullptr, "MAP",
            "write the level of every map entry in every scan the files name (folders or "
            "single scans) as CSV to standard output, one column per scan, then exit (needs no "
            "display)",
            "The columns come in the history window's order and are named by the scans' file "
            "names; the levels and the text follow --report's rules. A scan that cannot be "
            "loaded is named on standard error and left out.",
            G::General, kHistoryReport, Mode::HistoryReport, nullptr, V::File, nullptr},
        {"watch", nullptr, "FREQ[h|v]",
            "keep asking the receiver about one transmission, FREQ as --check takes it, and write "
            "one line per reply to standard output as it comes (needs no display), until --for "
            "ends it or Ctrl+C, SIGTERM or SIGHUP",
            "Each line is the local time (HH:MM:SS.mmm), a tab, the state (locked, not "
            "confirmed, no lock, no answer), a tab and the receiver's text after its code, with "
            "control characters and bytes from 0x80 up as \\xNN and a backslash as "
            "\\\\. At the end standard error gets the number of replies, the share of "
            "the time the tuner was locked from its first reply on, the longest lock and, once "
            "a reply gave a level, the best level and when it came.",
            G::General, kWatch, Mode::Watch, nullptr, V::Nothing, nullptr},
        {"for", nullptr, "SECONDS",
            "end the watch after that many seconds", nullptr,
            G::General, kWatch, kNone, nullptr, V::Nothing, nullptr, watchSeconds},
        {"bell", nullptr, nullptr,
            "ring the terminal's bell (a BEL on standard error) whenever the watch sees a lock "
            "after none", nullptr,
            G::General, kWatch, kNone, nullptr, V::Nothing, nullptr},
        {"level-pattern", nullptr, "REGEX",
            "read the level of each reply from the first capture group of REGEX instead of "
            "taking the first number after its code",
            "The pattern is a Perl-compatible regular expression, matched against the reply "
            "from its code on; a reply it does not match, or whose group holds no number, has "
            "no level.",
            G::General, kWatch | kDish, kNone, nullptr, V::Nothing, nullptr},
        {"tone", nullptr, nullptr,
            "play a tone whose pitch follows the level: 300 Hz at the lowest level of the watch "
            "to 1200 Hz at its highest, steady while locked, in pips otherwise",
            "Until two different levels have come the tone is 600 Hz; a reply without a level "
            "sounds at 800 Hz, and no answer is silence. Without a sound device the watch goes "
            "on silently and standard error says so.",
            G::General, kWatch, kNone, nullptr, V::Nothing, nullptr},
        {"dish", nullptr, "FREQ[h|v]",
            "open the dish view on its own: watch one transmission, FREQ as --check takes it, "
            "with the state and the level large enough to read from the dish and a tone that "
            "follows the level, until the view is closed",
            "Escape ends the watch, F11 switches to full screen and back, R clears the best "
            "level's mark and Ctrl+B turns the tone off and on. Closing the view ends the "
            "program: exit status 0, or 3 when the port could not be opened, stopped working "
            "or stayed silent.",
            G::General, kDish, Mode::Dish, nullptr, V::Nothing, nullptr},
        {"full-scan", nullptr, "MAP",
            "check every MPEG entry of the map in map order, save the logs, then exit (needs no "
            "display); Ctrl+C, SIGTERM or SIGHUP skips the rest after the running check and saves "
            "what was checked, a second one ends at once without saving",
            "A map that lists no MPEG entry is refused (exit status 2).",
            G::General, kFullScan, Mode::FullScan, nullptr, V::File, nullptr},
        {"output", nullptr, "FILE",
            "where --full-scan saves the logs, in the current folder unless FILE names another",
            "No other folder is tried. It is checked before the first entry: a missing or "
            "read-only folder, a target that is not an ordinary file, or the map itself end the "
            "scan at once with exit status 4.",
            G::General, kFullScan, kNone, "results.txt", V::File, nullptr},
        {"report", nullptr, nullptr,
            "with three files, NEWEST.scn REFERENCE.scn MAP: write the level of every map entry "
            "in both scans and its change as CSV to standard output, then exit (needs no display)",
            "The level is the mean of the scan's levels from 2 MHz below to 2 MHz above the "
            "entry's frequency, in its polarisation. A field taken from the map that begins with "
            "=, +, -, @, a tab or a CR gets a leading apostrophe, so that a spreadsheet shows it "
            "as text instead of running it as a formula.",
            G::General, kReport, Mode::Report, nullptr, V::Nothing, nullptr},
        {"point", nullptr, "SATLON",
            "print where to point a dish at the geostationary satellite at longitude SATLON from "
            "the --site: true azimuth, elevation, LNB skew and distance, then exit (needs no "
            "display)",
            "Angles are degrees, north and east positive (-80, 51.48), or with their side "
            "(80W, 19.2E, 51.48N). The skew is the turn of the LNB from upright, clockwise or "
            "counter-clockwise as seen from behind the dish looking at the satellite. The "
            "figures are those of a spherical earth, to 0.1 degrees. A satellite below the "
            "horizon there is exit status 1.",
            G::General, kPoint, Mode::Point, nullptr, V::Nothing, nullptr},
        {"site", nullptr, "LAT,LON",
            "where the dish stands, such as 51.48N,0.01W or 51.48,-0.01; the window fills its "
            "pointing panel (Ctrl+P) with it", nullptr,
            G::General, kPoint | kWindow, kNone, nullptr, V::Nothing, nullptr},
        {"declination", nullptr, "D",
            "the magnetic declination at the site, east positive (2.5, 2.5E, 3W): --point adds "
            "the compass bearing", nullptr,
            G::General, kPoint, kNone, nullptr, V::Nothing, nullptr},

        {"port", nullptr, "PORT",
            "serial port: a number (2 is /dev/ttyS1, COM2 on Windows) or a device name such as "
            "ttyUSB0",
            "A lasting name such as /dev/serial/by-id/... is a device name too. --check, "
            "--watch and --full-scan need it.",
            G::Settings, kSettingsModes, kNone, nullptr, V::Port, nullptr, matchesPattern,
            &Settings::port, "\\S", "a port number or name"},
        {"timeout", nullptr, "SECONDS",
            "how long the lock wait lasts, after the tune command and the tuner's 2 seconds "
            "to settle",
            "For --check, --watch and --full-scan it takes 0 to 86400 seconds, fractions "
            "included; for the window any number of seconds, which fills the box.",
            G::Settings, kSettingsModes, kNone, Settings::kDefaultTimeout, V::Nothing, nullptr,
            timeoutSeconds, &Settings::timeout},
        {"search-timeout", nullptr, "SECONDS",
            "how long the table search after a lock may last, 1 to 180 whole seconds; it then "
            "ends as after 180",
            "Its log line then reads \"Cancelled PAT/SDT after SECONDS Seconds\". The receiver "
            "gets a minute to find a table only under a limit above 60.",
            G::General, kCheck | kFullScan, kNone, "180", V::Nothing, nullptr, searchSeconds},
        {"power", nullptr, "0|1",
            "0 V or 12 V switch of the tune command", nullptr,
            G::Settings, kSettingsModes, kNone, Settings::kDefaultLnbPower, V::Words, "0 1",
            matchesPattern, &Settings::lnbPower, "^[01]$", "0 or 1"},
        {"diseqc", nullptr, "0-3",
            "DiSEqC input", nullptr,
            G::Settings, kSettingsModes, kNone, Settings::kDefaultDiseqc, V::Words, "0 1 2 3",
            matchesPattern, &Settings::diseqc, "^[0-3]$", "0 to 3"},

        // Qt's own (-platform offscreen, -style Fusion, ...): the application
        // object's to read, not ours to refuse where a window is made.
        toolkit("platform", "value"), toolkit("platformpluginpath", "value"),
        toolkit("platformtheme", "value"), toolkit("plugin", "value"),
        toolkit("style", "value"), toolkit("stylesheet", "value"),
        toolkit("display", "value"), toolkit("geometry", "value"),
        toolkit("qwindowgeometry", "value"), toolkit("qwindowtitle", "value"),
        toolkit("qwindowicon", "value"), toolkit("session", "value"),
        toolkit("reverse", nullptr), toolkit("widgetcount", nullptr),
        toolkit("nograb", nullptr), toolkit("dograb", nullptr), toolkit("sync", nullptr),
    };
    // clang-format on
    return table;
}

const std::vector<GroupText> &documentedGroups()
{
    static const std::vector<GroupText> groups = {
        {OptionGroup::General, "Options:", "OPTIONS", nullptr},
        {OptionGroup::Settings,
         "Settings, as in the window's boxes; without a check they fill the boxes:", "SETTINGS",
         "The receiver settings, as in the window's boxes: for --check, --watch and --full-scan, "
         "which need --port, or else filled into the boxes when the window opens."},
    };
    return groups;
}

namespace {

// What each mode takes beyond its options: whether it needs a port, and
// which files. The window's form names its options as a whole.
struct ModeForm
{
    Mode mode;
    bool needsPort;
    const char *files;
    ModeFiles kind;
};

constexpr ModeForm kModeForms[] = {
    {Mode::Export, false, "[NEWEST.scn [REFERENCE.scn [MAP]]]", ModeFiles::Any},
    {Mode::Check, true, nullptr, ModeFiles::None},
    {Mode::History, false, "FOLDER|SCAN...", ModeFiles::Scans},
    {Mode::HistoryReport, false, "FOLDER|SCAN...", ModeFiles::Scans},
    {Mode::Watch, true, nullptr, ModeFiles::None},
    {Mode::FullScan, true, nullptr, ModeFiles::None},
    {Mode::Report, false, "NEWEST.scn REFERENCE.scn MAP", ModeFiles::Any},
    {Mode::Point, false, nullptr, ModeFiles::None},
};

UsageWord wordOf(const Option &option, bool optional)
{
    return {option.longName(), option.valueName ? QLatin1String(option.valueName) : QString(),
            optional};
}

} // namespace

ModeFiles filesOf(Mode mode)
{
    for (const ModeForm &form : kModeForms) {
        if (form.mode == mode)
            return form.kind;
    }
    return ModeFiles::Any;
}

std::vector<UsageForm> usageForms()
{
    std::vector<UsageForm> forms{
        {{QString(), QStringLiteral("options"), true},
         {QString(), QStringLiteral("NEWEST.scn [REFERENCE.scn [MAP]]"), true}}};
    for (const Option &asking : options()) {
        const auto form = std::find_if(std::begin(kModeForms), std::end(kModeForms),
                                       [&](const ModeForm &f) { return f.mode == asking.selects; });
        if (asking.selects == Mode::Window || form == std::end(kModeForms))
            continue;
        UsageForm words{wordOf(asking, false)};
        const Modes mode = modeBit(form->mode);
        bool settings = false;
        for (const Option &option : options()) {
            if (!(option.modes & mode) || option.modes == kAllModes ||
                option.selects != Mode::Window || option.group == OptionGroup::Toolkit)
                continue;
            if (option.group != OptionGroup::Settings)
                words.push_back(wordOf(option, true));
            else if (option.setting == &receiver::ReceiverSettings::port && form->needsPort)
                words.insert(words.begin() + 1, wordOf(option, false));
            else
                settings = true;
        }
        if (settings)
            words.push_back({QString(), QStringLiteral("settings"), true});
        if (form->files)
            words.push_back({QString(), QLatin1String(form->files), false});
        forms.push_back(words);
    }
    return forms;
}

namespace {

QString plainWord(const UsageWord &word)
{
    QString text = word.option;
    if (!word.value.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + word.value;
    return word.optional ? QLatin1Char('[') + text + QLatin1Char(']') : text;
}

// --help's lines: an option's synopsis from the third column, its
// description from the 26th, nothing beyond the 79th.
constexpr int kDescriptionColumn = 25;
constexpr int kWidth = 79;

QString helpItem(const Option &option)
{
    const QString indent(kDescriptionColumn, QLatin1Char(' '));
    QString text = QStringLiteral("  ") + option.synopsis();
    if (text.size() < kDescriptionColumn - 1)
        text = text.leftJustified(kDescriptionColumn);
    else
        text += QLatin1Char('\n') + indent;
    QString description = QLatin1String(option.description);
    if (option.defaultValue)
        description += QStringLiteral(" (default %1)").arg(QLatin1String(option.defaultValue));
    qsizetype column = kDescriptionColumn;
    for (const QString &word : description.split(QLatin1Char(' '))) {
        if (column > kDescriptionColumn && column + 1 + word.size() > kWidth) {
            text += QLatin1Char('\n') + indent;
            column = kDescriptionColumn;
        } else if (column > kDescriptionColumn) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += word;
        column += word.size();
    }
    return text + QLatin1Char('\n');
}

} // namespace

QString usageLines()
{
    QString text;
    for (const UsageForm &form : usageForms()) {
        QString line = text.isEmpty() ? QStringLiteral("Usage: wavesift")
                                      : QStringLiteral("       wavesift");
        qsizetype column = line.size();
        for (const UsageWord &word : form) {
            const QString plain = plainWord(word);
            if (column + 1 + plain.size() > kWidth) {
                line += QLatin1Char('\n') + QString(16, QLatin1Char(' '));
                column = 16;
            } else {
                line += QLatin1Char(' ');
                ++column;
            }
            line += plain;
            column += plain.size();
        }
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString optionsHelp()
{
    QString text;
    for (const GroupText &group : documentedGroups()) {
        text += QLatin1Char('\n') + QLatin1String(group.helpHeading) + QLatin1Char('\n');
        for (const Option &option : options()) {
            if (option.group == group.group)
                text += helpItem(option);
        }
    }
    return text;
}

} // namespace ws::cli
