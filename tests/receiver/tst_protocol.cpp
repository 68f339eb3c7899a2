#include "receiver/checklog.h"
#include "receiver/conversation.h"
#include "receiver/protocol.h"
#include "receiver/reservedterminals.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ws::receiver;

class TestProtocol : public QObject
{
    Q_OBJECT

private slots:
    void tuneCommandJoinsItsFieldsUnchanged();
    void replyCompletesAtCrLfFromPosition17_data();
    void replyCompletesAtCrLfFromPosition17();
    void cutStartsAtFirstZero_data();
    void cutStartsAtFirstZero();
    void lockNeedsLockCodeAndNoAut_data();
    void lockNeedsLockCodeAndNoAut();
    void levelIsTheFirstNumberAfterTheCode_data();
    void levelIsTheFirstNumberAfterTheCode();
    void levelPatternNeedsACaptureGroup_data();
    void levelPatternNeedsACaptureGroup();
    void searchRulesApplyInOrder_data();
    void searchRulesApplyInOrder();
    void searchWordsSplitAcrossReadsAreFound();
    void searchWordsAreFoundWhereverAReadEnds_data();
    void searchWordsAreFoundWhereverAReadEnds();
    void portTextNamesTheDevice_data();
    void portTextNamesTheDevice();
    // On device numbers and a made-up sysfs: no test opens a console.
    void onlyASilentPortGetsAdvice();
    void consolesAndThePtyMultiplexerAreRefused_data();
    void consolesAndThePtyMultiplexerAreRefused();
};

void TestProtocol::tuneCommandJoinsItsFieldsUnchanged()
{
    QCOMPARE(tuneCommand("10700", Polarisation::Horizontal, "1", "0"), QString("T10700000005010"));
    // Two-digit settings and a text frequency go in as typed.
    QCOMPARE(tuneCommand("09750", Polarisation::VerticalAsThree, "12", " 3"),
             QString("T09750000005312 3"));
    QCOMPARE(tuneCommand("11000", Polarisation::Vertical, "1", "0"), QString("T11000000005110"));
    QCOMPARE(logLetter(Polarisation::Horizontal), QString("h"));
    QCOMPARE(logLetter(Polarisation::Vertical), QString("v"));
    QCOMPARE(logLetter(Polarisation::VerticalAsThree), QString("v"));
    // Each digit reads back as the polarisation it came from.
    for (Polarisation p : {Polarisation::Horizontal, Polarisation::Vertical,
                           Polarisation::VerticalAsThree})
        QCOMPARE(polarisationFromDigit(QString(QLatin1Char(wireDigit(p)))), p);
    QCOMPARE(polarisationFromDigit(u"2"), Polarisation::Vertical);
    QCOMPARE(polarisationFromDigit(u""), Polarisation::Vertical);
}

void TestProtocol::replyCompletesAtCrLfFromPosition17_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<bool>("complete");
    // Positions count from 1 in the gathered text, which starts with three
    // blanks: received character k stands at position k + 3.
    QTest::newRow("seven characters") << "00 Lock\r\n" << false;
    QTest::newRow("CR at 16") << "00 Locked123\r\n" << false;
    QTest::newRow("CR at 17") << "00 Locked1234\r\n" << true;
    QTest::newRow("CR at 17, LF not yet") << "00 Locked1234\r" << false;
    QTest::newRow("early line then long") << "00 Lock\r\n00 Locked\r\n" << true;
    QTest::newRow("early line only CR later") << "00 Lock\r\n00 Locked\r" << false;
    QTest::newRow("LF CR is no line end") << "00 Locked1234\n\r" << false;
    QTest::newRow("nothing") << "" << false;
}

void TestProtocol::replyCompletesAtCrLfFromPosition17()
{
    QFETCH(QString, received);
    QFETCH(bool, complete);
    const QString gathered = kStatusLead + received;
    QCOMPARE(replyComplete(gathered), complete);
    // Looking only at what each piece added gives the same answer, wherever
    // the pieces were cut (also between CR and LF).
    for (qsizetype cut = 0; cut <= gathered.size(); ++cut) {
        const bool earlier = replyComplete(gathered.left(cut));
        if (!earlier)
            QCOMPARE(replyCompleteSince(gathered, cut), complete);
    }
}

void TestProtocol::cutStartsAtFirstZero_data()
{
    QTest::addColumn<QString>("gathered");
    QTest::addColumn<QString>("cut");
    QTest::newRow("lead dropped") << "   00 Locked 123\r\n" << "00 Locked 123\r\n";
    QTest::newRow("noise before code") << "   xx01 no lock\r\n" << "01 no lock\r\n";
    QTest::newRow("zero inside noise") << "   a0b00 x\r\n" << "0b00 x\r\n";
    QTest::newRow("no zero at all") << "   ABCDEFGHIJKLMN\r\n" << "";
    QTest::newRow("timed out") << "01 " << "01 ";
}

void TestProtocol::cutStartsAtFirstZero()
{
    QFETCH(QString, gathered);
    QFETCH(QString, cut);
    QCOMPARE(cutReply(gathered), cut);
}

void TestProtocol::lockNeedsLockCodeAndNoAut_data()
{
    QTest::addColumn<QString>("cut");
    QTest::addColumn<bool>("code");
    QTest::addColumn<bool>("lock");
    QTest::newRow("locked") << "00 Locked 123\r\n" << true << true;
    QTest::newRow("Aut later") << "00 Locked Auto\r\n" << true << false;
    QTest::newRow("aut lower case") << "00 Locked auto\r\n" << true << true;
    QTest::newRow("no blank") << "00Locked\r\n" << false << false;
    QTest::newRow("not locked") << "01 no lock\r\n" << false << false;
    QTest::newRow("time-out") << "01 " << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestProtocol::lockNeedsLockCodeAndNoAut()
{
    QFETCH(QString, cut);
    QFETCH(bool, code);
    QFETCH(bool, lock);
    QCOMPARE(beginsWithLockCode(cut), code);
    QCOMPARE(reportsLock(cut), lock);
}

void TestProtocol::searchRulesApplyInOrder_data()
{
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("limit"); // the search's limit in seconds
    const int running = int(SearchEnd::Running);
    const int cancelled = int(SearchEnd::Cancelled);
    const int none = int(SearchEnd::NoTables);
    const int finished = int(SearchEnd::Finished);
    QTest::newRow("quiet start") << 0 << "" << running << 180;
    QTest::newRow("found alone runs on") << 30 << "PAT found" << running << 180;
    QTest::newRow("Ready ends") << 30 << "Ready" << finished << 180;
    QTest::newRow("No Signal ends") << 5 << "No Signal" << finished << 180;
    QTest::newRow("60 s is not over 60") << 60 << "searching" << running << 180;
    QTest::newRow("61 s without found") << 61 << "searching" << none << 180;
    QTest::newRow("61 s without found beats Ready") << 61 << "Ready" << none << 180;
    QTest::newRow("found keeps it going") << 120 << "found" << running << 180;
    QTest::newRow("found then Ready") << 120 << "found Ready" << finished << 180;
    QTest::newRow("180 s is not over") << 180 << "found" << running << 180;
    QTest::newRow("181 s cancels") << 181 << "found Ready" << cancelled << 180;
    QTest::newRow("words are case-sensitive") << 61 << "FOUND ready" << none << 180;
    // A shorter limit cancels at its own second, and only one above a
    // minute leaves the receiver that minute to find a table.
    QTest::newRow("5 s limit") << 6 << "found" << cancelled << 5;
    QTest::newRow("5 s limit, not over") << 5 << "searching" << running << 5;
    QTest::newRow("60 s limit, no minute rule") << 60 << "searching" << running << 60;
    QTest::newRow("60 s limit cancels") << 61 << "searching" << cancelled << 60;
    QTest::newRow("61 s limit keeps the minute") << 61 << "searching" << none << 61;
}

void TestProtocol::searchRulesApplyInOrder()
{
    QFETCH(int, elapsed);
    QFETCH(QString, text);
    QFETCH(int, end);
    QFETCH(int, limit);
    QCOMPARE(int(searchEnd(elapsed, text, limit)), end);
}

void TestProtocol::searchWordsSplitAcrossReadsAreFound()
{
    const QString whole = QStringLiteral("PAT fou|nd, SDT ... No Sig|nal");
    SearchWords words;
    QString text;
    const QStringList pieces = whole.split(QLatin1Char('|'));
    text += pieces[0];
    words.scan(text);
    QVERIFY(!words.found());
    text += pieces[1];
    words.scan(text);
    QVERIFY(words.found());
    QVERIFY(!words.ended());
    text += pieces[2];
    words.scan(text);
    QVERIFY(words.ended());
}

// Each word cut at every place a read could end, and the text also grown a
// character at a time: the overlap kept from the earlier reads must hold the
// longest word but its last character.
void TestProtocol::searchWordsAreFoundWhereverAReadEnds_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("found");
    QTest::newRow("found") << "found" << true;
    QTest::newRow("Ready") << "Ready" << false;
    QTest::newRow("No Signal") << "No Signal" << false;
}

void TestProtocol::searchWordsAreFoundWhereverAReadEnds()
{
    QFETCH(QString, word);
    QFETCH(bool, found);
    const QString whole = QStringLiteral("PAT ... ") + word + QStringLiteral(" ...");
    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
        SearchWords words;
        words.scan(QStringView(whole).first(cut));
        words.scan(whole);
        QVERIFY2(words.found() == found && words.ended() == !found,
                 qPrintable(QStringLiteral("cut after %1").arg(cut)));
    }
    SearchWords growing;
    for (qsizetype n = 1; n <= whole.size(); ++n)
        growing.scan(QStringView(whole).first(n));
    QCOMPARE(growing.found(), found);
    QCOMPARE(growing.ended(), !found);
}

void TestProtocol::portTextNamesTheDevice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("label");
    QTest::newRow("2 on Unix") << "2" << false << "/dev/ttyS1" << "comport 2 (/dev/ttyS1)";
    QTest::newRow("2 on Windows") << "2" << true << "COM2" << "comport 2 (COM2)";
    QTest::newRow("1 is the first") << "1" << false << "/dev/ttyS0" << "comport 1 (/dev/ttyS0)";
    QTest::newRow("2.5 rounds to even") << "2.5" << false << "/dev/ttyS1" << "comport 2 (/dev/ttyS1)";
    QTest::newRow("3.5 rounds to even") << "3.5" << true << "COM4" << "comport 4 (COM4)";
    QTest::newRow("leading number") << " 3 x" << false << "/dev/ttyS2" << "comport 3 (/dev/ttyS2)";
    QTest::newRow("empty is 0") << "" << false << "" << "comport 0";
    QTest::newRow("0 is no port") << "0" << true << "" << "comport 0";
    QTest::newRow("negative") << "-1" << false << "" << "comport -1";
    QTest::newRow("beyond any port") << "99999999" << false << "" << "comport 99999999";
    QTest::newRow("device name") << "ttyUSB0" << false << "/dev/ttyUSB0"
                                 << "comport ttyUSB0 (/dev/ttyUSB0)";
    QTest::newRow("device path") << " /dev/pts/5 " << false << "/dev/pts/5" << "comport /dev/pts/5";
    QTest::newRow("path from here") << "./5" << false << "./5" << "comport ./5";
    QTest::newRow("path with a slash") << "links/rx" << false << "links/rx" << "comport links/rx";
    QTest::newRow("Windows name") << "COM10" << true << "COM10" << "comport COM10";
}

void TestProtocol::portTextNamesTheDevice()
{
    QFETCH(QString, text);
    QFETCH(bool, windows);
    QFETCH(QString, device);
    QFETCH(QString, label);
    const PortChoice port = portFor(text, windows ? PortSystem::Windows : PortSystem::Unix);
    QCOMPARE(port.device, device);
    QCOMPARE(port.label, label);
}

void TestProtocol::levelIsTheFirstNumberAfterTheCode_data()
{
    QTest::addColumn<QString>("cut");
    QTest::addColumn<QString>("pattern"); // empty for the rule
    QTest::addColumn<double>("level");    // NaN for none
    const double none = qQNaN();
    QTest::newRow("locked") << "00 Locked   Lvl 75\r\n" << "" << 75.0;
    QTest::newRow("no lock") << "01 No Lock  Lvl 10\r\n" << "" << 10.0;
    QTest::newRow("too long for a level") << "00 LOCK 1234567890\r\n" << "" << none;
    QTest::newRow("six characters") << "00 Lvl -123.5 dB" << "" << -123.5;
    QTest::newRow("seven characters") << "00 Lvl -1234.5 dB" << "" << none;
    QTest::newRow("plus sign") << "00 Lvl +7" << "" << 7.0;
    QTest::newRow("point first") << "01 Lvl .5" << "" << 0.5;
    QTest::newRow("point last") << "01 Lvl 42." << "" << 42.0;
    QTest::newRow("two points") << "01 Lvl 1.2.3" << "" << none;
    QTest::newRow("the first number only") << "00 Q 12 Lvl 75" << "" << 12.0;
    QTest::newRow("the code is no level") << "00 Locked\r\n" << "" << none;
    QTest::newRow("a sign beside the code") << "01-5" << "" << -5.0;
    QTest::newRow("empty") << "" << "" << none;
    QTest::newRow("pattern") << "00 Q 12 Lvl 75" << "Lvl (\\d+)" << 75.0;
    QTest::newRow("pattern, decimals") << "00 snr=-3.25dB" << "snr=([-.\\d]+)" << -3.25;
    QTest::newRow("pattern finds none") << "00 Locked 75" << "Lvl (\\d+)" << none;
    QTest::newRow("pattern takes no number") << "00 Lvl high" << "Lvl (\\w+)" << none;
}

void TestProtocol::levelIsTheFirstNumberAfterTheCode()
{
    QFETCH(QString, cut);
    QFETCH(QString, pattern);
    QFETCH(double, level);
    const LevelReading reading =
        pattern.isEmpty() ? LevelReading() : LevelReading(QRegularExpression(pattern));
    const std::optional<double> read = reading.of(cut);
    QCOMPARE(read.has_value(), !qIsNaN(level));
    if (read)
        QCOMPARE(*read, level);
}

void TestProtocol::levelPatternNeedsACaptureGroup_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("problem");
    QTest::newRow("good") << "Lvl (\\d+)" << "";
    QTest::newRow("no group") << "Lvl \\d+" << "it has no capture group";
    QTest::newRow("invalid") << "Lvl (\\d+" << "missing closing parenthesis at offset 8";
}

void TestProtocol::levelPatternNeedsACaptureGroup()
{
    QFETCH(QString, pattern);
    QFETCH(QString, problem);
    QCOMPARE(levelPatternProblem(QRegularExpression(pattern)), problem);
}

void TestProtocol::onlyASilentPortGetsAdvice()
{
    using Kind = PortFailure::Kind;
    const QString advice = portFailureAdvice({Kind::Silent, QString(), QString()});
    for (const char *what : {"power", "cable", "port", "dialout"})
        QVERIFY2(advice.contains(QLatin1String(what)), what);
    // The kind decides, whatever the message says.
    const QString silentWords = silentPortMessage("comport 2", "2.50");
    for (const Kind other : {Kind::CouldNotOpen, Kind::HungUp, Kind::Flooded, Kind::Error})
        QVERIFY(portFailureAdvice({other, silentWords, silentWords}).isEmpty());
}

void TestProtocol::consolesAndThePtyMultiplexerAreRefused_data()
{
    QTest::addColumn<uint>("major");
    QTest::addColumn<uint>("minor");
    QTest::addColumn<QByteArray>("active"); // the kernel's list of consoles
    QTest::addColumn<QString>("reason");
    const QString console = "it carries the system console (ttyS0), not the receiver";
    QTest::newRow("ttyS0, the console") << 4u << 64u << QByteArray("tty0 ttyS0\n") << console;
    QTest::newRow("ttyS0, console elsewhere") << 4u << 64u << QByteArray("tty0\n") << QString();
    QTest::newRow("ttyS0, no console list") << 4u << 64u << QByteArray() << QString();
    QTest::newRow("ptmx") << 5u << 2u << QByteArray()
                          << "it is the pseudo-terminal multiplexer, not a serial port";
    QTest::newRow("tty63") << 4u << 63u << QByteArray()
                           << "it is a virtual console, not a serial port";
    QTest::newRow("pty slave") << 136u << 3u << QByteArray("ttyS0\n") << QString();
}

void TestProtocol::consolesAndThePtyMultiplexerAreRefused()
{
    QFETCH(uint, major);
    QFETCH(uint, minor);
    QFETCH(QByteArray, active);
    QFETCH(QString, reason);
    QTemporaryDir sys;
    const auto write = [&sys](const QString &folder, const QString &name, const QByteArray &bytes) {
        QFile file(sys.filePath(folder + '/' + name));
        return QDir(sys.path()).mkpath(folder) && file.open(QIODevice::WriteOnly) &&
               file.write(bytes) == bytes.size();
    };
    QVERIFY(write("class/tty/ttyS0", "dev", "4:64\n"));
    QVERIFY(active.isEmpty() || write("class/tty/console", "active", active));
    QCOMPARE(ws::reservedTerminal(major, minor, sys.path()), reason);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestProtocol)
#include "tst_protocol.moc"
