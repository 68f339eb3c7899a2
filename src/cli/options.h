#pragma once

#include "cli/commandline.h"
#include "receiver/receiversettings.h"

#include <QString>

#include <vector>

// Every option of the program in one table: what it is called, what it
// takes, what it does and in which modes. The parser, --help, the refusal
// of an option a mode does not use, and (when the program is built) the
// manual page's option sections and the bash completion are all made from
// it, so they cannot disagree. A new option is one row here and its
// handling in parseCommandLine().
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

// How a documented group is introduced.
struct GroupText
{
    OptionGroup group;
    const char *helpHeading;
    const char *manualSection;
    const char *manualIntro; // a paragraph before the items; nullptr for none
};

const std::vector<GroupText> &documentedGroups();

// The options as --help lists them: each documented group after a blank
// line and its heading.
QString optionsHelp();

} // namespace ws::cli
