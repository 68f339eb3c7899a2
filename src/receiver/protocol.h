#pragma once

#include <QString>
#include <QStringView>

// The receiver's command language and the rules by which its replies are
// read. Everything here is a plain function of its arguments, so the rules
// can be tried on any text without a port or a clock.
namespace ws::receiver {

// Every command goes out as two writes: this prefix, then the command.
inline QString commandPrefix() { return QStringLiteral("CBEG"); }
inline QString statusRequest() { return QStringLiteral("X"); }
inline QString tableSearchRequest() { return QStringLiteral("S"); }

// The tune command: "T", the frequency as given, the five- and one-character
// fields, the polarisation digit and the two box texts, all unchanged and
// without separators.
QString tuneCommand(const QString &frequency, const QString &field5, const QString &field1,
                    const QString &polarisation, const QString &lowHigh, const QString &diseqc);

// "h" when the polarisation digit reads as 0, "v" for anything else.
QString polarisationLetter(const QString &polarisation);

// A status reply is gathered behind this lead, so that received character
// k stands at (one-based) position k + 3.
inline QString statusLead() { return QStringLiteral("   "); }

// True once a CR LF pair begins at position 17 or later of the gathered
// text. The receiver's real replies are longer than that; a shorter line is
// taken for a fragment and gathering goes on.
bool replyComplete(QStringView gathered);
// The same answer when `gathered` was not complete at `previousLength`
// characters: only the newly added end is searched.
bool replyCompleteSince(QStringView gathered, qsizetype previousLength);

// The gathered text from its first "0" on: the status code stands there,
// whatever noise came before it. A text without any "0" holds no status
// code and gives an empty cut, which reports no lock.
QString cutReply(const QString &gathered);

// The reply that the lock phase assumes when the time-out passes first.
inline QString timedOutReply() { return QStringLiteral("01 "); }

// The tuner's "locked" code: the reply starts with "00 ".
bool beginsWithLockCode(QStringView cut);
// A lock counts only when the reply does not also say "Aut" anywhere.
bool reportsLock(QStringView cut);

// The words of the table search.
inline QString tableFoundWord() { return QStringLiteral("found"); }
inline QString searchReadyWord() { return QStringLiteral("Ready"); }
inline QString noSignalWord() { return QStringLiteral("No Signal"); }

// What ended a table search, if anything, judged in the order the rules
// are checked: the three-minute limit, then one minute without "found",
// then the receiver's own end of search.
enum class SearchEnd { Running, Cancelled, NoTables, Finished };
SearchEnd searchEnd(qint64 elapsedSeconds, bool sawFound, bool sawEndWord);
// The same, over the whole search text.
SearchEnd searchEnd(qint64 elapsedSeconds, QStringView text);
// The line appended to the search text when a limit ended the search;
// empty when the receiver ended it.
QString searchEndMessage(SearchEnd end);

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

// The serial device that the "comport" box names.
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

// A text that starts with a number selects port N (rounded half to even):
// "COMN" on Windows, "/dev/ttyS<N-1>" elsewhere, as COM1 is ttyS0. Any other
// non-blank text is taken as the name of a device ("ttyUSB0",
// "/dev/ttyUSB0", "COM10"), so adapters with other names can be used.
PortChoice portFor(const QString &boxText, PortSystem system = hostPortSystem());

} // namespace ws::receiver
