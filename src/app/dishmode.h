#pragma once

#include "cli/commandline.h"

// `wavesift --dish`: the dish view on its own, watching until it is closed.
// Returns exitcode::success, exitcode::portFailed when the port could not
// be opened, stopped working or stayed silent, exitcode::badArguments for
// a map that cannot be read.
int runDish(int argc, char *argv[], const ws::cli::CommandLine &line);
