// A full scan through the real serial line, the real clock and the real
// event loop, against the receiver simulator on a pseudo-terminal.

#include "app/realplatform.h"
#include "core/texts.h"
#include "receiver/qtserialline.h"
#include "rxsim/receiversim.h"
#include "support/checklogpattern.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "support/resultsmessages.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The real line, with a record of what went out on it.
class RecordingLine : public ws::SerialLine
{
public:
    void setPortName(const QString &device) override { real.setPortName(device); }
    bool open() override { return real.open(); }
    QString errorString() const override { return real.errorString(); }
    void close() override { real.close(); }
    void write(const QByteArray &bytes) override
    {
        written << bytes;
        real.write(bytes);
    }
    QByteArray read() override { return real.read(); }
    void setActivityHandler(std::function<void()> handler) override
    {
        real.setActivityHandler(std::move(handler));
    }
    QString failure() const override { return real.failure(); }

    ws::QtSerialLine real;
    QByteArrayList written;
};

QString logPattern(const QString &frequency, ws::receiver::Polarisation polarisation)
{
    return ws::test::lockedLogPattern(frequency, polarisation, "00 Locked   Lvl 75\r\n") +
           QRegularExpression::escape(
               "Searching PAT/SDT\r\nPAT found\r\nSDT found: Sim Service 1\r\n") +
           // The search ends as soon as "Ready" is in, which may be before
           // the rest of its line.
           QStringLiteral("Ready(?:\\r\\n|\\r)?\\r\\n");
}

} // namespace

class TestFullScanPty : public QObject
{
    Q_OBJECT

private slots:
    void scansTheMapsMpegRowsOverThePty();
};

void TestFullScanPty::scansTheMapsMpegRowsOverThePty()
{
    ws::rxsim::Script script;
    script.searchLineGapMs = 100;
    ws::rxsim::ForkedReceiver receiver(script);
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    ws::test::FakeDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::test::FakeSystem system;
    system.folder = QDir::toNativeSeparators(dir.path());
    RecordingLine line;
    MainWindow window(ws::Platform{&dialogs, &events, &clock, &system, &line});
    window.show();
    namespace names = ws::window::names;
    ws::test::element<QLineEdit>(window, names::portBox)->setText(receiver.devicePath());

    const char *const rows[][3] = {
        {"10714", "dab   ", "h"},
        {"11012", "mpeg2 ", "h"},
        {"11303", "      ", "v"},
        {"11479", "MPEG4 ", "V"},
    };
    for (int row = 1; row <= 4; ++row) {
        window.workspace().map().entries.push_back(ws::test::mapEntry(
            QString::fromLatin1(rows[row - 1][0]), QString::fromLatin1(rows[row - 1][1]),
            QString::fromLatin1(rows[row - 1][2]),
            QStringLiteral("Programme %1").arg(row).leftJustified(16)));
    }

    window.receiverWork().runFullScan();
    QVERIFY(QTest::qWaitFor([&] { return !window.receiverWork().busy(); }, 60000));

    QByteArrayList tunes;
    for (const QByteArray &bytes : line.written)
        if (bytes.startsWith('T'))
            tunes << bytes;
    QCOMPARE(tunes, QByteArrayList({"T11012000005010", "T11479000005110"}));

    const QString path = QDir::toNativeSeparators(dir.path() + "/results.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString saved = ws::fromBytes(file.readAll());
    using ws::receiver::Polarisation;
    const QRegularExpression whole(QStringLiteral("\\A") +
                                   logPattern("11012", Polarisation::Horizontal) +
                                   logPattern("11479", Polarisation::Vertical) +
                                   QStringLiteral("\\r\\n\\z"));
    QVERIFY2(whole.match(saved).hasMatch(), saved.toLatin1().toPercentEncoding(" :/").constData());
    QCOMPARE(dialogs.messages, QStringList{ws::test::savedResultsMessage(path)});
    QVERIFY(ws::test::element<QPushButton>(window, names::skipRestButton)->isHidden());
    QVERIFY(!window.receiverWork().fullScanStopping());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFullScanPty)
#include "tst_fullscanpty.moc"
