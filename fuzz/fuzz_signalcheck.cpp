// The signal check against a receiver that says anything at all: the fuzz
// input is what arrives on the line, cut into the pieces in which reads
// hand it over, while a virtual clock runs on. Whatever arrives, the check
// ends, keeps to its command sequence and leaves a log that starts with the
// frequency it checked. The reply and search-word rules are also tried
// directly on the same text.
#include "core/numbers.h"
#include "fuzzcheck.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"

#include <QByteArrayList>

#include <cstddef>
#include <cstdint>

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
    void waitForData(int maxMilliseconds) override
    {
        WS_FUZZ_REQUIRE(maxMilliseconds > 0 && maxMilliseconds <= 1000);
    }
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

// Runs one virtual second per `pace` readings.
class SteppingClock : public ws::Clock
{
public:
    explicit SteppingClock(int pace) : pace_(pace) {}
    qint64 seconds() override
    {
        WS_FUZZ_REQUIRE(++readings_ < kMaxReadings);
        return readings_ / pace_;
    }
    // The same clock, finer: it too runs on with every reading, so that a
    // pause between polls ends.
    qint64 milliseconds() override
    {
        WS_FUZZ_REQUIRE(++readings_ < kMaxReadings);
        return readings_ * 1000 / pace_;
    }
    QDateTime now() override { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); }

private:
    int pace_;
    qint64 readings_ = 0;
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
    void portFailed(const QString &message) override
    {
        WS_FUZZ_REQUIRE(log.endsWith(message + QLatin1String("\r\n")));
        reports.append(message);
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t settings = data[0];
    const std::uint8_t paceByte = data[1];
    QByteArrayList pieces = piecesOf(data + 2, size - 2);

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
    Events events;
    const auto receiverSettings = [&timeout] {
        return ReceiverSettings{timeout, QStringLiteral("1"), QStringLiteral("0"),
                                QStringLiteral("0")};
    };
    const Polarisation polarisation = kPolarisations[(settings >> 4) % 3];

    SignalCheck check(line, clock, receiverSettings, events);
    const CheckResult result = check.run(QStringLiteral("11778"), polarisation);
    const QString &log = result.log;

    WS_FUZZ_REQUIRE(log == events.log);
    WS_FUZZ_REQUIRE(events.locks <= 1);
    const QLatin1String letter(polarisation == Polarisation::Horizontal ? "h" : "v");
    WS_FUZZ_REQUIRE(log.startsWith(QLatin1String("Checking 11778") + letter));
    WS_FUZZ_REQUIRE(log.endsWith(QLatin1String("\r\n")));
    WS_FUZZ_REQUIRE(!line.isOpen);
    if (line.failOpen) {
        WS_FUZZ_REQUIRE(result.portFailed);
        WS_FUZZ_REQUIRE(line.written.isEmpty() && events.reports.size() == 1);
        return 0;
    }
    if (result.portFailed) {
        // Only a line that stopped working ends a check this way, with one
        // line and one message that say so.
        WS_FUZZ_REQUIRE(line.stopsWhenDrained && events.reports.size() == 1);
        WS_FUZZ_REQUIRE(log.endsWith(QLatin1String(" stopped working: Input/output error\r\n")));
        return 0;
    }
    WS_FUZZ_REQUIRE(events.reports.isEmpty());
    // Every command is the prefix and then the command, tuning first.
    WS_FUZZ_REQUIRE(line.written.size() >= 4 && line.written.size() % 2 == 0);
    for (qsizetype i = 0; i < line.written.size(); i += 2)
        WS_FUZZ_REQUIRE(line.written.at(i) == "CBEG");
    WS_FUZZ_REQUIRE(line.written.at(1)
                    == QByteArray("T11778000005") + wireDigit(polarisation) + "00");
    for (qsizetype i = 3; i < line.written.size(); i += 2) {
        const QByteArray &command = line.written.at(i);
        const bool last = i + 1 == line.written.size();
        WS_FUZZ_REQUIRE(command == "X" || (last && command == "S"));
    }
    // Without a lock code there is no table search, and the log says so.
    if (line.written.last() != "S") {
        WS_FUZZ_REQUIRE(log.endsWith(QLatin1String("nothing found after ") + timeout
                                     + QLatin1String(" Seconds\r\n\r\n")));
    }
    return 0;
}
