#pragma once

#include "cli/commandline.h"
#include "receiver/receiversettings.h"

#include <QSize>
#include <QString>

#include <optional>
#include <vector>

// Every option in one table: name, value, description and modes. The parser,
// --help, the refusal of an option a mode does not use, the manual page and
// the bash completion are all made from it, so they cannot disagree.
namespace ws::cli {

// A set of modes, one bit per mode.
using Modes = unsigned;
constexpr Modes modeBit(Mode mode)
{
    return 1u << unsigned(mode);
}
constexpr Modes kAllModes = ~0u;

// Where an option is told about.
enum class OptionGroup {
    General,  // --help's "Options", the manual's OPTIONS
    Settings, // the receiver settings, which also fill the window's boxes
    Toolkit,  // the options every Qt program takes, read by the application
              // object; accepted where a window is made, told about nowhere
};

// What the bash completion offers for an option's value.
enum class ValueHint {
    Nothing, // free text, such as a frequency
    File,    // files and folders; `hintWords` names an ending if any
    Port,    // the serial ports that exist
    Words,   // one of `hintWords`, separated by blanks
};

struct Option;

// Why `value` is refused for `option` in `mode`, as the words after the
// option's name in the message ("takes 0 or 1"), or nothing when it is
// taken. The value is given trimmed.
using Validator = QString (*)(const Option &option, const QString &value, Mode mode);

struct Option
{
    const char *name;      // the long name, without dashes
    const char *shortName; // a one-letter name, or nullptr
    // What --help calls the value ("SECONDS"); nullptr for a switch.
    const char *valueName;
    // What it does, as --help says it: no capital at the start, no full stop.
    const char *description;
    // What the manual page says beyond the description, in whole
    // sentences; nullptr for nothing more.
    const char *more;
    OptionGroup group;
    Modes modes;       // the modes that use it; any other refuses it
    Mode selects;      // the mode it asks for; Mode::Window for none
    // The value when it is not given, named in --help; nullptr for none.
    const char *defaultValue;
    ValueHint hint;
    const char *hintWords;
    // Checks a value given or defaulted; nullptr for one taken as it is.
    Validator validate = nullptr;
    // A receiver setting: the one it fills (a window's box too), the
    // pattern its value must match and what the pattern asks for in words
    // ("seconds"), for a message.
    QString receiver::ReceiverSettings::*setting = nullptr;
    const char *pattern = nullptr;
    const char *patternWords = nullptr;

    QString longName() const { return QStringLiteral("--") + QLatin1String(name); }
    // What --help shows in the option's column: "-h, --help", "--port PORT".
    QString synopsis() const;
};

const std::vector<Option> &options();

// "2.5", "7", ".5", "7.": seconds as a decimal number, no sign or exponent.
std::optional<double> decimalSeconds(const QString &text);
// --export's window, "1280x800", from the default size up to the largest
// picture; and --for in whole milliseconds, from 1.
std::optional<QSize> pictureSize(const QString &text);
std::optional<qint64> watchMilliseconds(const QString &text);
// The largest picture --export draws, per side, in device pixels: a window
// that large takes a quarter of a gigabyte, and its picture as much again.
inline constexpr int kMaxPictureSide = 8192;
// --timeout for a check, a full scan or a watch: up to a day. The window's
// box has rules of its own.
inline constexpr int kMaxCommandLineTimeout = 86400;
// --for: some four months, far beyond any alignment.
inline constexpr qint64 kMaxWatchSeconds = 10000000;

struct GroupText
{
    OptionGroup group;
    const char *helpHeading;
    const char *manualSection;
    const char *manualIntro; // a paragraph before the items; nullptr for none
};

const std::vector<GroupText> &documentedGroups();

// One word of a form of use: an option with its value, or with no option a
// placeholder ("settings", "FOLDER|SCAN..."); optional ones are bracketed.
struct UsageWord
{
    QString option;
    QString value;
    bool optional = false;
};
using UsageForm = std::vector<UsageWord>;

// A form of use for every mode, the window's first: what --help's usage and
// the manual's SYNOPSIS show.
std::vector<UsageForm> usageForms();

// What files the mode that `asking` asks for takes, as the completion offers
// them: none, scans and folders of them, or any files.
enum class ModeFiles { None, Scans, Any };
ModeFiles filesOf(Mode mode);

// The forms as --help's first lines: "Usage: wavesift ...", then one line
// per form, wrapped within 79 columns.
QString usageLines();

// The options as --help lists them, each documented group under its heading.
QString optionsHelp();

} // namespace ws::cli
