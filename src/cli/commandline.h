#pragma once

#include "pointing/pointing.h"
#include "receiver/protocol.h"
#include "receiver/receiversettings.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do. Reading the arguments needs no
// application object, so the checks and --help run without a display.
namespace ws::cli {

enum class Mode {
    Window,   // the window, with the files given loaded into it
    Help,     // the usage on standard output
    Version,  // the version on standard output
    Export,   // load the files, write a picture of the window, exit
    Check,    // one signal check, then exit
    FullScan, // every MPEG entry of a map, then exit
    Report,   // the levels of every map entry in both scans as CSV, then exit
    Watch,    // the receiver's status at one frequency, reply by reply, until stopped
    History,  // the window and the history window over many scans
    HistoryReport, // the levels of every map entry in many scans as CSV, then exit
    Point,    // where to point a dish at a satellite, then exit
    Dish,     // the dish view of a watch, on its own, until it is closed
    Invalid,  // bad arguments: the usage on standard error
};

// The program's exit codes; a check and a full scan share them.
namespace exitcode {
constexpr int success = 0;      // a signal was found / every entry was checked and saved
constexpr int noSignal = 1;     // no lock, or a full scan stopped early
constexpr int notLoaded = 1;    // the window or --export: a file was not loaded or written
constexpr int badArguments = 2; // also a map that cannot be read
constexpr int portFailed = 3;   // the port could not be opened or stopped working
constexpr int notSaved = 4;     // the results, or a check's log, could not be saved
} // namespace exitcode

struct CommandLine
{
    Mode mode = Mode::Window;
    // Newest scan, reference scan and map, as many as were given.
    QStringList files;
    // The files came in any order (from a file manager): they load by
    // their names as a drop onto the window would sort them.
    bool anyOrder = false;
    QString exportPath;
    QSize exportSize;
    // The window: whether loaded scans load again when their files change.
    bool follow = true;
    // --check, --watch and --dish: whole MHz, as the window sends it, and the polarisation.
    QString checkFrequency;
    bool checkVertical = false;
    // --watch: for how long, in milliseconds (0 until stopped); a bell on
    // every lock.
    qint64 watchForMs = 0;
    bool bell = false;
    bool tone = false;
    // --watch and --dish: a pattern whose first group is a reply's level; empty for the usual rule.
    QString levelPattern;
    // --check and --full-scan: the longest a table search runs, in seconds.
    int searchLimit = int(receiver::kSearchLimitSeconds);
    // --full-scan: the map, and where the results go; --history: the map it
    // marks, if any; --history-report: the map; --dish: the map that names
    // the nearest known transmission, if any.
    QString mapPath;
    QString outputPath;
    // --output was given: no copy is kept in past results.
    bool outputNamed = false;
    receiver::ReceiverSettings receiver;
    // --point: the satellite's longitude and, with --declination, the
    // compass's; --point and the window: where the dish stands.
    double satelliteLongitude = 0;
    std::optional<double> declination;
    std::optional<pointing::Site> site;
    QString error;
};

// `arguments` as the program got them, the program's own name first.
CommandLine parseCommandLine(const QStringList &arguments);

// The arguments of main() as text, before any application object exists.
QStringList argumentsOf(int argc, char *argv[]);

QString usageText();
QString versionText();

} // namespace ws::cli
