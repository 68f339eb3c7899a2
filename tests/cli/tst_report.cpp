// --report: the CSV of the levels, and files that do not load.
#include "mapentries.h"
#include "report.h"
#include "scantext.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesOneRowPerEntryInUtf8();
    void aFileThatDoesNotLoadIsNamed_data();
    void aFileThatDoesNotLoadIsNamed();
    void theProgramNeedsNoDisplay();

private:
    int report(const QStringList &files);

    QTemporaryDir dir;
    QString newest, reference, map;
    QByteArray out, err;
};

void TestReport::init()
{
    using namespace ws::test;
    newest = writeFile(dir, QStringLiteral("newest.scn"), scanText({}));
    ScanShape flat;
    flat.level = [](bool, double) { return 10.0; };
    reference = writeFile(dir, QStringLiteral("reference.scn"), scanText(flat));
    map = writeFile(dir, QStringLiteral("sat.map"),
                    mapFileLine("Caf\xe9", "MPEG2", "10.800", "H") +
                        mapFileLine("Outside", "MPEG2", "13.000", "V"));
    out.clear();
    err.clear();
}

int TestReport::report(const QStringList &files)
{
    ws::cli::CommandLine line;
    line.mode = ws::cli::Mode::Report;
    line.files = files;
    return ws::cli::runReport(
        line,
        [this](const QByteArray &bytes) {
            out += bytes;
            return true;
        },
        [this](const QByteArray &bytes) { err += bytes; });
}

void TestReport::writesOneRowPerEntryInUtf8()
{
    QCOMPARE(report({newest, reference, map}), 0);
    // 10798 to 10802 lie at 4, 5, 6, 0 and 1 of the newest scan's 7-MHz
    // pattern above 10.
    QCOMPARE(out, QByteArray("frequency_mhz,polarisation,name,type,newest,reference,change\n"
                             "10800,H,Caf\xc3\xa9,MPEG2,13.2,10.0,3.2\n"
                             "13000,V,Outside,MPEG2,,,\n"));
    QVERIFY(err.isEmpty());
}

void TestReport::aFileThatDoesNotLoadIsNamed_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("content"); // empty: the file is missing
    QTest::addColumn<QString>("message");
    QTest::newRow("missing newest") << 0 << QByteArray() << "Cancel/Abbruch (does not exist)";
    QTest::newRow("reference of unknown layout")
        << 1 << QByteArray("10700\r\n12750\r\n1044\r\n1044\r\n")
        << "unknown Format, loading cancelled (line 3:";
    QTest::newRow("missing map") << 2 << QByteArray() << "Cancel/Abbruch (does not exist)";
}

void TestReport::aFileThatDoesNotLoadIsNamed()
{
    QFETCH(int, which);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QStringList files = {newest, reference, map};
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    files[which] = dir.filePath(name);
    if (!content.isEmpty())
        ws::test::writeFile(dir, name, content);

    QCOMPARE(report(files), 1);
    QVERIFY(out.isEmpty());
    QVERIFY2(err.startsWith(("wavesift: " + files[which] + ": " + message).toLocal8Bit()),
             err.constData());
    QCOMPARE(err.count('\n'), 1);
}

void TestReport::theProgramNeedsNoDisplay()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(WS_WAVESIFT_BINARY), {"--report", newest, reference, map});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardOutput().count('\n'), 3);
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
