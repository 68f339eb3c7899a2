#pragma once

#include "cli/commandline.h"
#include "core/platform.h"
#include "core/sound.h"
#include "receiver/signalwatch.h"

#include <QByteArray>

#include <functional>
#include <memory>

// A signal check and a full scan without a window: the same bytes and log
// texts as the window's, the log on standard output, words for the person
// at the terminal on standard error.
namespace ws::cli {

// What a run talks to. The program passes a real serial port, the steady
// clock, its standard output and error and the signal flag; a test passes
// whatever it likes.
struct RunEnvironment
{
    SerialLine &line;
    Clock &clock;
    // The log as it grows, byte for byte as the window's log holds it; the
    // table search's text as the receiver sends it.
    std::function<void(const QByteArray &)> out;
    // Whole lines for the user: progress, failures, results, the summary.
    std::function<void(const QByteArray &)> err;
    // Asked before every row of a full scan, and while a check waits so that
    // the user hears at once that it was noticed: true ends the scan after
    // the running check. May be empty.
    std::function<bool()> stopRequested;
    // The event loop the check runs on: runs it until `ended` holds. The
    // program runs its application's loop, which `finished` then ends; a
    // test runs its clock's timers and needs no `finished`.
    std::function<void(const std::function<bool()> &ended)> runUntil;
    std::function<void()> finished;
    // The user's data folder, where a full scan keeps past results; empty
    // when there is none, and then `noDataFolder` says why.
    QString dataFolder;
    QString noDataFolder;
    // Set by a run that ends on a stop request: called on the event loop as
    // soon as one comes, so that nothing waits to look at `stopRequested`.
    std::function<void()> onStopRequest;
    // Makes the way out for --watch's tone; without it there is no sound.
    std::function<std::unique_ptr<SoundSink>()> sound = nullptr;
};

// One check of line.checkFrequency. Returns exitcode::success when the
// tuner locked and the receiver ended its table search with "Ready",
// exitcode::portFailed when the port could not be opened, stopped
// working or sent nothing during the lock wait, else exitcode::noSignal.
int runCheck(const CommandLine &line, RunEnvironment &env);

// Every MPEG entry of the map at line.mapPath, in map order, as the window's
// full scan runs them; logs go to line.outputPath (without --output, a copy
// to the past results too). Returns the first that applies: badArguments
// (map unreadable or without MPEG entries: nothing checked or written),
// notSaved (results cannot be saved, also checked before the first entry),
// portFailed (the scan ends after that entry and saves what was checked),
// noSignal (a stop request came before the last entry), else success.
int runFullScan(const CommandLine &line, RunEnvironment &env);

// The same on the program's own surroundings (Qt serial port, steady clock,
// standard output and error; for a full scan SIGINT, SIGTERM and SIGHUP as
// the stop request, a second one ending the program). A log that standard
// output refuses stops a full scan after the running check and makes a check
// exitcode::notSaved. They need a QCoreApplication, but no display.
int runCheck(const CommandLine &line);
int runFullScan(const CommandLine &line);

// Watches line.checkFrequency, one line on standard output per reply (see
// watchLine), until line.watchForMs pass or a stop request comes; then the
// summary on standard error. portFailed when the port could not be opened,
// failed or was silent from the start, else success. line.tone plays through
// env.sound once the watch has begun; without sound, standard error says so.
int runWatch(const CommandLine &line, RunEnvironment &env);
int runWatch(const CommandLine &line);

// "14:03:09.125<TAB>locked<TAB>Locked   Lvl 75" and a LF: the local time, the
// state and the receiver's text, control characters and bytes from 0x80 up
// written as \xNN and a backslash as \\.
QByteArray watchLine(const QDateTime &now, receiver::WatchState state, const QString &text);

} // namespace ws::cli
