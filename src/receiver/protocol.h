#pragma once

#include <QLatin1String>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <optional>

// The receiver's command language and the rules by which its replies are
// read. Every word and limit of the language is defined here once; the
// rules are plain functions of their arguments, so they can be tried on any
// text without a port or a clock.
namespace ws::receiver {

// ---- Commands ---------------------------------------------------------------

// Every command goes out as two writes: this prefix, then the command.
inline constexpr QLatin1String kCommandPrefix("CBEG");
inline constexpr QLatin1String kTuneLetter("T");
inline constexpr QLatin1String kStatusRequest("X");
inline constexpr QLatin1String kTableSearchRequest("S");
// Two fields of the tune command whose values never change.
inline constexpr QLatin1String kTuneFiveCharacterField("00000");
inline constexpr QLatin1String kTuneOneCharacterField("5");

// The polarisation digit of the tune command. The receiver reads 0 as
// horizontal and any other digit as vertical. Vertical goes out as 1,
// except from a middle-button click into a plot, which has always sent 3.
// Scans have a polarisation type of their own (levellookup.h says why).
enum class Polarisation : char {
    Horizontal = '0',
    Vertical = '1',
    VerticalAsThree = '3',
};

constexpr char wireDigit(Polarisation polarisation) { return char(polarisation); }
// The polarisation a digit text stands for: "0" Horizontal, "3"
// VerticalAsThree, any other text Vertical.
Polarisation polarisationFromDigit(QStringView digit);

// "T", the frequency text unchanged, the two fixed fields, the polarisation
// digit and the LNB-power and DiSEqC texts as typed, without separators.
QString tuneCommand(const QString &frequency, Polarisation polarisation, const QString &lnbPower,
                    const QString &diseqc);

// ---- Status replies ---------------------------------------------------------

// A status reply is gathered behind this lead, so that received character
// k stands at (one-based) position k + 3.
inline constexpr QLatin1String kStatusLead("   ");
// A CR LF completes a reply only from this (one-based) position of the
// gathered text on. The receiver's real replies are longer; a shorter line
// is taken for a fragment and gathering goes on.
inline constexpr qsizetype kReplyEndFromPosition = 17;
// The tuner's "locked" code, at the start of the cut reply.
inline constexpr QLatin1String kLockCode("00 ");
// A reply that holds this anywhere is no lock, lock code or not.
inline constexpr QLatin1String kNoLockMark("Aut");
// The reply that the lock phase assumes when the time-out passes first.
inline constexpr QLatin1String kTimedOutReply("01 ");
// The most a check keeps of one status reply, in received bytes: a real
// reply is one short line, and a flood kept whole would fill the memory.
inline constexpr qsizetype kMaxStatusReplyBytes = 64 * 1024;

bool replyComplete(QStringView gathered);
// The same answer when `gathered` was not complete at `previousLength`
// characters: only the newly added end is searched.
bool replyCompleteSince(QStringView gathered, qsizetype previousLength);

// The gathered text from its first "0" on: the status code stands there,
// whatever noise came before it. A text without any "0" holds no status
// code and gives an empty cut, which reports no lock.
QString cutReply(const QString &gathered);

bool beginsWithLockCode(QStringView cut);
// A lock counts only when the reply does not also hold kNoLockMark.
bool reportsLock(QStringView cut);

// One status reply as it comes in, piece by piece, behind its lead: at
// most kMaxStatusReplyBytes of it are kept.
class StatusReply
{
public:
    StatusReply() { begin(); }
    void begin() { gathered_ = kStatusLead; }
    enum class Gathered { Incomplete, Complete, Flooded };
    // Adds what the line gave: Flooded when more came than is kept and the
    // reply is still not complete.
    Gathered add(const QByteArray &received);
    qsizetype size() const { return gathered_.size() - kStatusLead.size(); }
    QString cut() const { return cutReply(gathered_); }

private:
    QString gathered_;
};

// ---- The level in a status reply ---------------------------------------------

// The most characters a level's number has, its sign and point included:
// a longer one is some other figure (a frequency, a counter).
inline constexpr qsizetype kMaxLevelCharacters = 6;

// The level a cut status reply reports: the first number after its
// two-digit code, digits with an optional sign and one decimal point;
// none when there is no such number or it is too long to be a level.
std::optional<double> replyLevel(QStringView cut);

// How levels are read from replies: by replyLevel(), or by the first
// capture group of a pattern, for a receiver that words them otherwise.
class LevelReading
{
public:
    LevelReading() = default;
    // `pattern` must be valid and have a capture group; see
    // levelPatternProblem().
    explicit LevelReading(const QRegularExpression &pattern) : pattern_(pattern), byPattern_(true) {}
    std::optional<double> of(QStringView cut) const;

private:
    QRegularExpression pattern_;
    bool byPattern_ = false;
};

// Why a pattern cannot read levels ("missing closing parenthesis at
// offset 3", "it has no capture group"); empty when it can.
QString levelPatternProblem(const QRegularExpression &pattern);

// ---- Table search -----------------------------------------------------------

inline constexpr QLatin1String kTableFoundWord("found");
inline constexpr QLatin1String kSearchReadyWord("Ready");
inline constexpr QLatin1String kNoSignalWord("No Signal");
// The most a check keeps of one table search, in received bytes. A real
// search says a few kilobytes; the line at 38400 bit/s carries about 690 KB
// in the search's three minutes, so only a flood can pass this.
inline constexpr qsizetype kMaxSearchBytes = 1024 * 1024;

// ---- The line ----------------------------------------------------------------

// The receiver talks at 38400 bit/s, 8 data bits, no parity, one stop bit,
// without flow control of either kind.
enum class LineParity { None, Even, Odd };
struct LineParameters
{
    qint32 bitsPerSecond;
    int dataBits;
    LineParity parity;
    int stopBits;
    bool flowControl;
};
inline constexpr LineParameters kLineParameters{38400, 8, LineParity::None, 1, false};

// ---- Timing ------------------------------------------------------------------

// The least time between the end of one status reply (or its time-out) and
// the next status request, in milliseconds.
inline constexpr int kRequestGapMs = 40;

// The phases of a check, in whole seconds of a steady clock.
// After the tune command, before its status means anything.
inline constexpr qint64 kSettleSeconds = 2;
// A search that has found no table by then finds none.
inline constexpr qint64 kSearchWithoutTablesSeconds = 60;
// No search runs longer, unless the caller sets a shorter limit (a script
// that cannot wait three minutes): from 1 to this many seconds.
inline constexpr qint64 kSearchLimitSeconds = 180;

// What ended a table search, if anything, judged in the order the rules
// are checked: the limit (three minutes unless set shorter), then one
// minute without "found" (only under a limit above a minute, which leaves
// the receiver that minute), then the receiver's own end of search.
enum class SearchEnd { Running, Cancelled, NoTables, Finished };
SearchEnd searchEnd(qint64 elapsedSeconds, bool sawFound, bool sawEndWord,
                    qint64 limitSeconds = kSearchLimitSeconds);
// The same, over the whole search text.
SearchEnd searchEnd(qint64 elapsedSeconds, QStringView text,
                    qint64 limitSeconds = kSearchLimitSeconds);

// Whether a search text holds the words that matter. Feed it the text as it
// grows; it only looks at what is new, plus enough of the old text to find
// a word split across two reads.
class SearchWords
{
public:
    void scan(QStringView text);
    bool found() const { return found_; }
    bool ended() const { return ended_; }

private:
    qsizetype scanned_ = 0;
    bool found_ = false;
    bool ended_ = false;
};

// ---- The serial port --------------------------------------------------------

// The serial device that a port setting names.
struct PortChoice
{
    // How the log names the port: "comport 2 (/dev/ttyS1)".
    QString label;
    // What to open; empty when the text names no port that can exist.
    QString device;
};

enum class PortSystem { Windows, Unix };

constexpr PortSystem hostPortSystem()
{
#ifdef Q_OS_WIN
    return PortSystem::Windows;
#else
    return PortSystem::Unix;
#endif
}

// A text that starts with a number, and holds no slash, selects port N
// (rounded half to even): "COMN" on Windows, "/dev/ttyS<N-1>" elsewhere, as
// COM1 is ttyS0. Any other non-blank text is taken as the name of a device
// ("ttyUSB0", "/dev/ttyUSB0", "COM10"), so adapters with other names can be
// used. Outside Windows a bare name lives in /dev, and a text with a slash
// is a path ("./ttyV0", "links/receiver"), from the current folder unless
// it begins with one.
PortChoice portFor(const QString &setting, PortSystem system = hostPortSystem());
// Whether the setting names a port by its number (blank counts as port 0)
// rather than by a device name.
bool namesPortByNumber(QStringView setting);

} // namespace ws::receiver
