// The signal check against a receiver that says anything at all: the fuzz
// input is what arrives on the line, cut into the pieces in which reads
// hand it over, while a virtual clock and its timers run on. Whatever
// arrives, and wherever the user stops it, the check ends, keeps to its
// command sequence and leaves a log that starts with the frequency it
// checked and ends in what ended it. The reply and search-word rules are
// also tried directly on the same text.
#include "core/numbers.h"
#include "fuzzcheck.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"

#include <QByteArrayList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

using namespace ws::receiver;

namespace {

// Time-outs as a user might type them; all short, so that every check ends
// within a few hundred virtual seconds. An input may also bring its own.
const char *const kTimeouts[] = {"", "0", "1", "3", "10", "25", "-5", "2.5",
                                 " 7 s", "1e1", "abc", "0x10", "4,5", ".", "+2", "12"};
const Polarisation kPolarisations[] = {Polarisation::Horizontal, Polarisation::Vertical,
                                       Polarisation::VerticalAsThree};

// Enough for the longest check many times over; a check still running by
// then never ends.
constexpr qint64 kMaxReadings = 1'000'000;
constexpr double kLongestTimeout = 60;

class ReplayLine : public ws::SerialLine
{
public:
    explicit ReplayLine(QByteArrayList pieces) : pieces_(std::move(pieces)) {}

    void setPortName(const QString &device) override { WS_FUZZ_REQUIRE(!device.isEmpty()); }
    bool open() override
    {
        WS_FUZZ_REQUIRE(!isOpen);
        isOpen = !failOpen;
        return isOpen;
    }
    QString errorString() const override { return QStringLiteral("Permission denied"); }
    void close() override { isOpen = false; }
    void write(const QByteArray &bytes) override
    {
        WS_FUZZ_REQUIRE(isOpen);
        written.append(bytes);
    }
    QByteArray read() override
    {
        WS_FUZZ_REQUIRE(isOpen);
        return next_ < pieces_.size() ? pieces_.at(next_++) : QByteArray();
    }
    // The check polls the line on its timers; it needs no word of new data.
    void setActivityHandler(std::function<void()>) override {}
    // With stopsWhenDrained the line fails once every piece has been read,
    // as an adapter pulled out in the middle of a check.
    QString failure() const override
    {
        return stopsWhenDrained && next_ >= pieces_.size() ? QStringLiteral("Input/output error")
                                                           : QString();
    }

    bool failOpen = false;
    bool stopsWhenDrained = false;
    bool isOpen = false;
    QByteArrayList written;

private:
    QByteArrayList pieces_;
    qsizetype next_ = 0;
};

// Runs one virtual second per `pace` readings of the seconds; its
// milliseconds run with its timers, which run() fires in the order of their
// deadlines, as an event loop would.
class SteppingClock : public ws::Clock
{
public:
    explicit SteppingClock(int pace) : pace_(pace) {}
    qint64 seconds() override
    {
        WS_FUZZ_REQUIRE(++readings_ < kMaxReadings);
        return readings_ / pace_;
    }
    qint64 milliseconds() override { return ms_; }
    int millisecondsToNextSecond() override { return 20; }
    QDateTime now() override { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); }
    std::unique_ptr<ws::Timer> createTimer(std::function<void()> handler) override
    {
        return std::make_unique<SteppedTimer>(*this, std::move(handler));
    }

    // Fires timers until none is left or `until` holds; `each` runs before
    // every one, with how many fired before it.
    void run(const std::function<bool()> &until, const std::function<void(int)> &each)
    {
        for (int fired = 0; !until(); ++fired) {
            const auto next = std::min_element(timers_.begin(), timers_.end(), [](auto *a, auto *b) {
                return std::make_tuple(!a->active, a->due, a->order) <
                       std::make_tuple(!b->active, b->due, b->order);
            });
            if (next == timers_.end() || !(*next)->active)
                return;
            WS_FUZZ_REQUIRE(fired < kMaxReadings);
            each(fired);
            // Stopping may have stopped this very timer.
            if (!(*next)->active)
                continue;
            ms_ = std::max(ms_, (*next)->due);
            (*next)->active = false;
            (*next)->handler();
        }
    }

private:
    struct SteppedTimer : ws::Timer
    {
        SteppedTimer(SteppingClock &c, std::function<void()> h) : clock(c), handler(std::move(h))
        {
            clock.timers_.push_back(this);
        }
        ~SteppedTimer() override
        {
            clock.timers_.erase(std::find(clock.timers_.begin(), clock.timers_.end(), this));
        }
        void start(int milliseconds) override
        {
            WS_FUZZ_REQUIRE(milliseconds >= 0 && milliseconds <= 1000);
            due = clock.ms_ + milliseconds;
            order = ++clock.starts_;
            active = true;
        }
        void stop() override { active = false; }

        SteppingClock &clock;
        std::function<void()> handler;
        qint64 due = 0;
        quint64 order = 0;
        bool active = false;
    };

    int pace_;
    qint64 readings_ = 0;
    qint64 ms_ = 0;
    quint64 starts_ = 0;
    std::vector<SteppedTimer *> timers_;
};

// Keeps the log as the events report it, and checks that they come in an
// order a front end can rely on.
class Events : public CheckEvents
{
public:
    void logAppended(const QString &text) override
    {
        WS_FUZZ_REQUIRE(!text.isEmpty() && reports.isEmpty());
        log += text;
    }
    void locked() override
    {
        WS_FUZZ_REQUIRE(log.contains(QLatin1String(" Sec. Tuner locked at : ")));
        ++locks;
    }
    // Once the check has ended: a line that failed has the message at the
    // end of the log; a silent one keeps the log of a check without a lock.
    void portFailed(const PortFailure &failure) override
    {
        WS_FUZZ_REQUIRE(failure.kind != PortFailure::Kind::None);
        WS_FUZZ_REQUIRE(failure.kind == PortFailure::Kind::Silent
                            ? log.endsWith(QLatin1String(" Seconds\r\n\r\n"))
                            : log.endsWith(failure.message + QLatin1String("\r\n")));
        reports.append(failure.message);
    }

    QString log;
    QStringList reports;
    int locks = 0;
};

// The input after its two settings bytes is a run of pieces, each a length
// byte and that many bytes (up to 63; a 0 is a read that found nothing).
QByteArrayList piecesOf(const std::uint8_t *data, std::size_t size)
{
    QByteArrayList pieces;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t length = std::min<std::size_t>(data[i] % 64, size - i - 1);
        pieces.append(QByteArray(reinterpret_cast<const char *>(data + i + 1), qsizetype(length)));
        i += 1 + length;
    }
    return pieces;
}

void checkRules(const QByteArrayList &pieces, std::uint8_t elapsedByte)
{
    QString text;
    SearchWords words;
    for (const QByteArray &piece : pieces) {
        text += QString::fromLatin1(piece);
        words.scan(text);
    }
    // Looking at the text piece by piece finds what looking at it whole
    // does, and so does looking at it as it grows by single characters,
    // which splits every word in every possible place.
    const bool found = text.contains(kTableFoundWord);
    const bool ended = text.contains(kSearchReadyWord) || text.contains(kNoSignalWord);
    WS_FUZZ_REQUIRE(words.found() == found && words.ended() == ended);
    SearchWords byCharacter;
    for (qsizetype n = 1; n <= text.size(); ++n)
        byCharacter.scan(QStringView(text).first(n));
    WS_FUZZ_REQUIRE(byCharacter.found() == found && byCharacter.ended() == ended);

    const qint64 elapsed = elapsedByte;
    const SearchEnd end = searchEnd(elapsed, text);
    WS_FUZZ_REQUIRE(end == searchEnd(elapsed, words.found(), words.ended()));
    WS_FUZZ_REQUIRE((end == SearchEnd::Cancelled) == (elapsed > 180));
    WS_FUZZ_REQUIRE(searchEndMessage(end).isEmpty()
                    == (end == SearchEnd::Running || end == SearchEnd::Finished));
    // A shorter limit cancels at its own second and leaves no minute
    // without tables under it.
    const qint64 limit = 1 + elapsedByte % 120;
    const SearchEnd limited = searchEnd(elapsed, words.found(), words.ended(), limit);
    WS_FUZZ_REQUIRE((limited == SearchEnd::Cancelled) == (elapsed > limit));
    WS_FUZZ_REQUIRE(limited != SearchEnd::NoTables || limit > 60);

    const QString gathered = kStatusLead + text;
    if (replyComplete(gathered))
        WS_FUZZ_REQUIRE(gathered.size() >= 18);
    const QString cut = cutReply(gathered);
    WS_FUZZ_REQUIRE(cut.isEmpty() == !gathered.contains(QLatin1Char('0')));
    WS_FUZZ_REQUIRE(cut.isEmpty() || (cut.startsWith(QLatin1Char('0')) && gathered.endsWith(cut)));
    if (reportsLock(cut))
        WS_FUZZ_REQUIRE(beginsWithLockCode(cut) && !cut.contains(kNoLockMark));
}

} // namespace

// The input begins with three settings bytes: the time-out's choice, the
// polarisation, a port that will not open and a typed time-out; the
// clock's pace, when the user stops the check and whether the line fails
// once drained; the table search's limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t settings = data[0];
    const std::uint8_t paceByte = data[1];
    const std::uint8_t limitByte = data[2];
    QByteArrayList pieces = piecesOf(data + 3, size - 3);

    QString timeout = QString::fromLatin1(kTimeouts[settings % 16]);
    // With the top bit set the first piece is the time-out box's text, if it
    // reads as a short enough time.
    if ((settings & 0x80) && !pieces.isEmpty()) {
        const QString typed = QString::fromLatin1(pieces.takeFirst());
        if (ws::readNumber(typed) <= kLongestTimeout)
            timeout = typed;
    }

    checkRules(pieces, paceByte);

    ReplayLine line(pieces);
    line.failOpen = (settings & 0x40) != 0;
    line.stopsWhenDrained = (paceByte & 0x80) != 0;
    SteppingClock clock(1 + paceByte % 4);
    // 0: never; otherwise the user stops the check after that many wakes.
    const int stopAfter = ((paceByte >> 2) & 0x1f) * 7;
    const qint64 searchLimit = limitByte == 0 ? kSearchLimitSeconds : 1 + limitByte % 180;
    Events events;
    const auto receiverSettings = [&timeout] {
        return ReceiverSettings{timeout, QStringLiteral("1"), QStringLiteral("0"),
                                QStringLiteral("0")};
    };
    const Polarisation polarisation = kPolarisations[(settings >> 4) % 3];

    SignalCheck check(line, clock, receiverSettings, events);
    check.setSearchLimit(searchLimit);
    std::optional<CheckResult> ended;
    check.start(QStringLiteral("11778"), polarisation,
                [&ended](const CheckResult &r) { ended = r; });
    clock.run([&ended] { return ended.has_value(); }, [&](int fired) {
        if (stopAfter > 0 && fired == stopAfter)
            check.stop();
    });
    WS_FUZZ_REQUIRE(ended.has_value() && !check.running());
    const CheckResult &result = *ended;
    const QString &log = result.log;

    WS_FUZZ_REQUIRE(log == events.log);
    WS_FUZZ_REQUIRE(events.locks <= 1);
    const QLatin1String letter(polarisation == Polarisation::Horizontal ? "h" : "v");
    WS_FUZZ_REQUIRE(log.startsWith(QLatin1String("Checking 11778") + letter));
    WS_FUZZ_REQUIRE(log.endsWith(QLatin1String("\r\n")));
    WS_FUZZ_REQUIRE(!line.isOpen);
    if (line.failOpen) {
        WS_FUZZ_REQUIRE(result.portFailed && !result.stopped);
        WS_FUZZ_REQUIRE(line.written.isEmpty() && events.reports.size() == 1);
        return 0;
    }
    // Every command is the prefix and then the command, tuning first.
    WS_FUZZ_REQUIRE(line.written.size() >= 2 && line.written.size() % 2 == 0);
    for (qsizetype i = 0; i < line.written.size(); i += 2)
        WS_FUZZ_REQUIRE(line.written.at(i) == "CBEG");
    WS_FUZZ_REQUIRE(line.written.at(1)
                    == QByteArray("T11778000005") + wireDigit(polarisation) + "00");
    for (qsizetype i = 3; i < line.written.size(); i += 2) {
        const QByteArray &command = line.written.at(i);
        const bool last = i + 1 == line.written.size();
        WS_FUZZ_REQUIRE(command == "X" || (last && command == "S"));
    }
    const bool searched = line.written.last() == "S";
    if (result.stopped) {
        // The user's stop ends the log with the line that says so and tells
        // of no port; a search stopped keeps what it gathered.
        WS_FUZZ_REQUIRE(log.endsWith(stoppedLine() + QLatin1String("\r\n")));
        WS_FUZZ_REQUIRE(events.reports.isEmpty() && !result.portFailed);
        WS_FUZZ_REQUIRE(!searched || log.contains(result.searchText + QLatin1String("\r\n")));
        return 0;
    }
    if (result.portFailed && !result.silent) {
        // A line that stopped working ends a check with one line and one
        // message that say so.
        WS_FUZZ_REQUIRE(line.stopsWhenDrained && events.reports.size() == 1);
        WS_FUZZ_REQUIRE(log.endsWith(QLatin1String(" stopped working: Input/output error\r\n")));
        return 0;
    }
    // Otherwise the lock wait asked at least once. A receiver that never
    // sent a byte after the first request is told of as silent; one that
    // did, is not.
    WS_FUZZ_REQUIRE(line.written.size() >= 4);
    WS_FUZZ_REQUIRE(events.reports.size() == (result.silent ? 1 : 0));
    if (!searched) {
        // Without a lock code there is no table search, and the log says so.
        WS_FUZZ_REQUIRE(log.endsWith(QLatin1String("nothing found after ") + timeout
                                     + QLatin1String(" Seconds\r\n\r\n")));
        return 0;
    }
    WS_FUZZ_REQUIRE(!result.silent);
    // A search ends in what ended it; a shorter limit says its seconds.
    WS_FUZZ_REQUIRE(log.endsWith(searchLines(result.searchText, result.searchEnd, searchLimit)));
    WS_FUZZ_REQUIRE(result.searchEnd != SearchEnd::NoTables || searchLimit > 60);
    return 0;
}
