#pragma once

#include "cli/commandline.h"

#include <QString>

class QCommandLineParser;

// --point: where to point a dish, from the angles of the command line.
namespace ws::cli {

// Reads --point, --site and --declination into `line`; returns why not,
// naming the angle, or nothing. --point needs a site and takes no files.
QString readPointingOptions(const QCommandLineParser &parser, CommandLine &line);

// The figures one per line on `out`, exitcode::success; a satellite below
// the horizon is told on `err`, exitcode::noSignal.
int runPointing(const CommandLine &line, QString &out, QString &err);

} // namespace ws::cli
