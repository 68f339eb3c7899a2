#pragma once

#include <QByteArray>
#include <QString>

#include <deque>

// A stand-in for the satellite receiver: it reads the program's commands
// from a file descriptor (the master side of a pseudo-terminal) and answers
// the way a receiver would, following a small script. People use it to try
// the program without hardware; the tests use it to drive the real serial
// code.
namespace ws::rxsim {

enum class SearchOutcome {
    Found,        // tables found, then "Ready"
    NoSignal,     // "No Signal"
    Silent,       // says nothing at all
    FoundNoReady, // tables found, but the search never ends
};

// Where a receiver that has gone wild starts sending without end.
enum class Flood {
    None,
    Status, // answers the first status request with bytes and never a line end
    Search, // answers the table search with lines that never say "Ready"
};

struct Script
{
    // The status poll that first reports a lock (1 = the first poll).
    int lockAfterPolls = 1;
    bool neverLock = false;
    // Lock replies carry "Aut", which the program must not take as a lock.
    bool autReplies = false;
    // Every reply goes out in this many pieces, `pieceGapMs` apart.
    int pieces = 1;
    int pieceGapMs = 30;
    // Noise before every status code, and junk between requests.
    bool garbage = false;
    SearchOutcome search = SearchOutcome::Found;
    // Pause before each line of the search output.
    int searchLineGapMs = 500;
    // Report every command received on standard error.
    bool trace = false;
    // Says nothing at all, as a line with no receiver on it.
    bool silent = false;
    Flood flood = Flood::None;
    // A dish that turns: over each period of this many seconds (0: none)
    // the signal rises from nothing to its best and falls back, the level
    // in the status replies with it, locked around the best.
    int sweepSeconds = 0;
};

// Reads a script from command-line style options; returns false and sets
// `error` for an unknown option or a bad value.
bool parseScript(const QStringList &arguments, Script &script, QString &error);
QString scriptUsage();

// The receiver's logic, free of any I/O: bytes in, timed bytes out.
class Receiver
{
public:
    struct Output
    {
        qint64 dueMs; // on the clock passed to receive()
        QByteArray bytes;
    };

    explicit Receiver(const Script &script) : script_(script) {}

    // Takes bytes from the line at time `nowMs` and schedules the answers.
    void receive(const QByteArray &bytes, qint64 nowMs);
    // Removes and returns what is due at `nowMs`.
    QByteArray takeDue(qint64 nowMs);
    // When the next output is due; -1 when nothing is waiting.
    qint64 nextDueMs() const;

    int polls() const { return polls_; }
    // Whether a flood has begun: output is due at any moment from then on.
    bool flooding() const { return flooding_; }
    const QByteArray &lastTune() const { return lastTune_; }

private:
    void command(char letter, qint64 nowMs);
    void send(const QByteArray &bytes, qint64 atMs);
    QByteArray statusReply(qint64 nowMs);

    Script script_;
    QByteArray input_;
    QByteArray lastTune_;
    std::deque<Output> out_;
    int polls_ = 0;
    qint64 busyUntilMs_ = 0;
    bool tuneOpen_ = false;
    bool flooding_ = false;
    qsizetype floodOffset_ = 0;
    // When the first byte came: the sweep starts there.
    qint64 startMs_ = -1;
};

#ifdef Q_OS_UNIX
// Serves `fd` until reading from it fails or `stopFd` (when not -1) becomes
// readable. Returns 0 on a normal end.
int serve(int fd, const Script &script, int stopFd = -1);

// A pseudo-terminal with a receiver on its master side, served by a child
// process. The slave side stays open here as long as the object lives, so
// that the port may be opened and closed as often as a test likes.
class ForkedReceiver
{
public:
    explicit ForkedReceiver(const Script &script);
    ~ForkedReceiver();
    ForkedReceiver(const ForkedReceiver &) = delete;
    ForkedReceiver &operator=(const ForkedReceiver &) = delete;

    bool ok() const { return pid_ > 0; }
    // The device to open, e.g. "/dev/pts/5".
    QString devicePath() const { return path_; }
    // Why the set-up failed.
    QString error() const { return error_; }

private:
    int master_ = -1;
    int slave_ = -1;
    int pid_ = -1;
    QString path_;
    QString error_;
};

// Opens a pseudo-terminal in raw mode; returns false with `error` set.
bool openRawPty(int &master, int &slave, QString &path, QString &error);
#endif

} // namespace ws::rxsim
