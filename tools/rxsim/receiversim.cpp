#include "rxsim/receiversim.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#ifdef Q_OS_MACOS
#include <util.h>
#else
#include <pty.h>
#endif
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace ws::rxsim {

namespace {

// The simulator keeps its own copy of the receiver's words ("CBEG", the
// command letters, the reply and search texts) rather than the program's
// protocol.h: it stands for the device at the far end of the line, whose
// language the program has to match. Were the words shared, a slip on the
// program's side would change the simulator with it, and the tests that
// run the program against it would not notice.
const QByteArray kPrefix = "CBEG";

// What a flood repeats, and how much of it goes out per write: enough to
// fill any buffer at once, little enough to keep the simulator's own
// memory flat.
const QByteArray kStatusFlood = "00 Locked   Lvl 75 ";
const QByteArray kSearchFlood = "SDT found: Sim Service 1\r\n";
constexpr qsizetype kFloodChunkBytes = 4096;

QByteArray searchText(SearchOutcome outcome, int index)
{
    static const char *const found[] = {"Searching PAT/SDT\r\n", "PAT found\r\n",
                                        "SDT found: Sim Service 1\r\n", "Ready\r\n"};
    static const char *const noSignal[] = {"Searching PAT/SDT\r\n", "No Signal\r\n"};
    static const char *const foundNoReady[] = {"Searching PAT/SDT\r\n", "PAT found\r\n"};
    auto pick = [index](const auto &lines) {
        return index < int(std::size(lines)) ? QByteArray(lines[index]) : QByteArray();
    };
    switch (outcome) {
    case SearchOutcome::Found:
        return pick(found);
    case SearchOutcome::NoSignal:
        return pick(noSignal);
    case SearchOutcome::FoundNoReady:
        return pick(foundNoReady);
    case SearchOutcome::Silent:
        break;
    }
    return QByteArray();
}

} // namespace

bool parseScript(const QStringList &arguments, Script &script, QString &error)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        auto number = [&](int &into, int least) {
            bool ok = false;
            const int v = i + 1 < arguments.size() ? arguments.at(i + 1).toInt(&ok) : 0;
            if (!ok || v < least) {
                error = QStringLiteral("%1 needs a whole number of at least %2").arg(a).arg(least);
                return false;
            }
            into = v;
            ++i;
            return true;
        };
        if (a == QLatin1String("--lock-after")) {
            if (!number(script.lockAfterPolls, 1))
                return false;
        } else if (a == QLatin1String("--never-lock")) {
            script.neverLock = true;
        } else if (a == QLatin1String("--aut")) {
            script.autReplies = true;
        } else if (a == QLatin1String("--split")) {
            if (!number(script.pieces, 1))
                return false;
        } else if (a == QLatin1String("--silent")) {
            script.silent = true;
        } else if (a == QLatin1String("--flood")) {
            const QString v = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            if (v == QLatin1String("status"))
                script.flood = Flood::Status;
            else if (v == QLatin1String("search"))
                script.flood = Flood::Search;
            else {
                error = QStringLiteral("--flood takes status or search");
                return false;
            }
        } else if (a == QLatin1String("--sweep")) {
            if (!number(script.sweepSeconds, 1))
                return false;
        } else if (a == QLatin1String("--garbage")) {
            script.garbage = true;
        } else if (a == QLatin1String("--line-gap-ms")) {
            if (!number(script.searchLineGapMs, 0))
                return false;
        } else if (a == QLatin1String("--search")) {
            const QString v = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            if (v == QLatin1String("found"))
                script.search = SearchOutcome::Found;
            else if (v == QLatin1String("nosignal"))
                script.search = SearchOutcome::NoSignal;
            else if (v == QLatin1String("silent"))
                script.search = SearchOutcome::Silent;
            else if (v == QLatin1String("noready"))
                script.search = SearchOutcome::FoundNoReady;
            else {
                error = QStringLiteral("--search takes found, nosignal, silent or noready");
                return false;
            }
        } else {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    return true;
}

QString scriptUsage()
{
    return QStringLiteral(
        "  --lock-after K     report a lock from the K-th status poll on (default 1)\n"
        "  --never-lock       never report a lock\n"
        "  --aut              lock replies carry \"Aut\" (not a lock for the program)\n"
        "  --split N          send every reply in N pieces\n"
        "  --garbage          noise before status codes and between replies\n"
        "  --search WHAT      found (default), nosignal, silent or noready\n"
        "  --line-gap-ms MS   pause before each line of search output (default 500)\n"
        "  --silent           never send anything, as an unplugged receiver\n"
        "  --flood WHERE      send without end from the first status request (status,\n"
        "                     never a line end) or the table search (search)\n"
        "  --sweep SECONDS    a dish that turns: over each period the level rises from\n"
        "                     nothing to its best and falls back, locked around the best\n");
}

void Receiver::receive(const QByteArray &bytes, qint64 nowMs)
{
    if (startMs_ < 0)
        startMs_ = nowMs;
    input_ += bytes;
    for (;;) {
        const qsizetype at = input_.indexOf(kPrefix);
        if (at < 0) {
            // Text that continues a tune command; keep what may be the start
            // of the next prefix.
            const qsizetype keep = qMin<qsizetype>(input_.size(), kPrefix.size() - 1);
            if (tuneOpen_)
                lastTune_ += input_.left(input_.size() - keep);
            input_ = input_.right(keep);
            return;
        }
        if (tuneOpen_)
            lastTune_ += input_.left(at);
        tuneOpen_ = false;
        if (at + kPrefix.size() >= input_.size()) {
            input_ = input_.mid(at); // the command letter is still to come
            return;
        }
        const char letter = input_.at(at + kPrefix.size());
        input_ = input_.mid(at + kPrefix.size() + 1);
        if (letter == 'T') {
            lastTune_ = "T";
            tuneOpen_ = true;
        } else {
            command(letter, nowMs);
        }
    }
}

void Receiver::command(char letter, qint64 nowMs)
{
    if (script_.silent || flooding_)
        return;
    if ((letter == 'X' && script_.flood == Flood::Status) ||
        (letter == 'S' && script_.flood == Flood::Search)) {
        flooding_ = true;
        return;
    }
    // A real receiver takes a moment to answer.
    const qint64 start = qMax(nowMs, busyUntilMs_) + 5;
    if (letter == 'X') {
        ++polls_;
        send(statusReply(start), start);
        if (script_.garbage)
            send("~~ noise ~~\r\n", busyUntilMs_ + 10);
    } else if (letter == 'S') {
        qint64 at = start;
        for (int i = 0;; ++i) {
            const QByteArray line = searchText(script_.search, i);
            if (line.isEmpty())
                break;
            at += script_.searchLineGapMs;
            send(line, at);
        }
    }
}

QByteArray Receiver::statusReply(qint64 nowMs)
{
    QByteArray reply = script_.garbage ? QByteArray("#*") : QByteArray();
    bool locked = !script_.neverLock && polls_ >= script_.lockAfterPolls;
    QByteArray level = locked ? "75" : "12";
    if (script_.sweepSeconds > 0) {
        // Half a sine over each period: 0 at its ends, 100 half-way.
        const qint64 period = qint64(script_.sweepSeconds) * 1000;
        const double phase = double((nowMs - startMs_) % period) / double(period);
        const int best = int(std::lround(100 * std::sin(M_PI * phase)));
        locked = locked && best >= 50;
        level = QByteArray::number(best);
    }
    if (!locked)
        reply += "01 No Lock  Lvl " + level + "\r\n";
    else if (script_.autReplies)
        reply += "00 Locked Aut Lvl " + level + "\r\n";
    else
        reply += "00 Locked   Lvl " + level + "\r\n";
    return reply;
}

void Receiver::send(const QByteArray &bytes, qint64 atMs)
{
    const int pieces = qMax(1, qMin(script_.pieces, int(bytes.size())));
    const qsizetype size = (bytes.size() + pieces - 1) / pieces;
    qint64 at = atMs;
    for (qsizetype from = 0; from < bytes.size(); from += size) {
        out_.push_back({at, bytes.mid(from, size)});
        busyUntilMs_ = at;
        at += script_.pieceGapMs;
    }
}

QByteArray Receiver::takeDue(qint64 nowMs)
{
    QByteArray due;
    while (!out_.empty() && out_.front().dueMs <= nowMs) {
        due += out_.front().bytes;
        out_.pop_front();
    }
    if (flooding_) {
        const QByteArray &pattern = script_.flood == Flood::Status ? kStatusFlood : kSearchFlood;
        while (due.size() < kFloodChunkBytes) {
            due += pattern.mid(floodOffset_);
            floodOffset_ = 0;
        }
        floodOffset_ = (pattern.size() - (due.size() - kFloodChunkBytes)) % pattern.size();
        due.truncate(kFloodChunkBytes);
    }
    return due;
}

qint64 Receiver::nextDueMs() const
{
    if (flooding_)
        return 0;
    return out_.empty() ? -1 : out_.front().dueMs;
}

#ifdef Q_OS_UNIX

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

int serve(int fd, const Script &script, int stopFd)
{
    Receiver receiver(script);
    char buffer[512];
    for (;;) {
        const qint64 due = receiver.nextDueMs();
        const int timeout = due < 0 ? -1 : int(std::clamp<qint64>(due - nowMs(), 0, 60000));
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, stopFd >= 0 ? 2 : 1, timeout);
        if (ready < 0 && errno != EINTR)
            return 1;
        if (stopFd >= 0 && (fds[1].revents & (POLLIN | POLLHUP)))
            return 0;
        if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                return n == 0 ? 0 : 1; // the other side is gone
            if (n > 0) {
                const qsizetype polls = receiver.polls();
                receiver.receive(QByteArray(buffer, n), nowMs());
                if (script.trace) {
                    std::fprintf(stderr, "rxsim: <- %s\n",
                                 QByteArray(buffer, n).toPercentEncoding(" /").constData());
                    if (receiver.polls() != polls)
                        std::fprintf(stderr, "rxsim: status poll %d\n", receiver.polls());
                }
            }
        }
        const QByteArray out = receiver.takeDue(nowMs());
        if (!out.isEmpty() && !writeAll(fd, out))
            return 1;
    }
}

bool openRawPty(int &master, int &slave, QString &path, QString &error)
{
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B38400);
    cfsetospeed(&raw, B38400);
    raw.c_cflag |= CLOCAL | CREAD;
    char name[256] = {};
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) {
        error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    path = QString::fromLocal8Bit(name);
    return true;
}

ForkedReceiver::ForkedReceiver(const Script &script)
{
    if (!openRawPty(master_, slave_, path_, error_))
        return;
    pid_ = ::fork();
    if (pid_ < 0) {
        error_ = QStringLiteral("fork failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (pid_ == 0) {
        // The child serves the master side. It closes its copy of the slave
        // side, so that it sees the line go away when the parent ends.
        // A test framework's crash handler must not report the SIGTERM that
        // ends the child.
        ::signal(SIGTERM, SIG_DFL);
        ::close(slave_);
        ::_exit(serve(master_, script));
    }
    ::close(master_);
    master_ = -1;
}

ForkedReceiver::~ForkedReceiver()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

#endif

} // namespace ws::rxsim
