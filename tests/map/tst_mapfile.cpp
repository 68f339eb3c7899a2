#include "core/texts.h"
#include "map/mapfile.h"

#include <QTemporaryFile>
#include <QTest>

using ws::MapEntry;

namespace {

// A full map line: name, unread filler, type, two unread blanks, the
// frequency in GHz, polarisation and an unread tail.
QByteArray mapLine(const char *name16, const char *type6, const char *ghz, const char *pol)
{
    QByteArray line = QByteArray(name16).leftJustified(16, ' ');
    line += QByteArray("filler not read by us").leftJustified(24, '.');
    line += QByteArray(type6).leftJustified(6, ' ');
    line += "  ";
    line += ghz;
    line += pol;
    line += " tail";
    return line;
}

} // namespace

class TestMapFile : public QObject
{
    Q_OBJECT

private slots:
    void linesEndAtCrLfOrLoneCr_data();
    void linesEndAtCrLfOrLoneCr();
    void fieldsAreCutByColumn_data();
    void fieldsAreCutByColumn();
    void latin1BytesSurvive();
    void everyLineUpToTheLimitIsAnEntry();
    void frequencyColumnsTellAMap_data();
    void frequencyColumnsTellAMap();
    void filesBeyondTheLimitsAreRefused_data();
    void filesBeyondTheLimitsAreRefused();
};

void TestMapFile::linesEndAtCrLfOrLoneCr_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line unterminated") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone lf is a character") << QByteArray("a\nb\r\nc\n")
                                            << QStringList{"a\nb", "c\n"};
    QTest::newRow("lf before cr") << QByteArray("\n\r") << QStringList{"\n"};
    QTest::newRow("empty lines") << QByteArray("\r\na\r\r\n\r\n")
                                 << QStringList{"", "a", "", ""};
}

void TestMapFile::linesEndAtCrLfOrLoneCr()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    const ws::MapData map = ws::parseMap(bytes);
    QCOMPARE(map.entries.size(), lines.size());
    QString listing;
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(map.entries[i].name, lines[i].left(16));
        QCOMPARE(map.entries[i].line, lines[i]);
        listing += lines[i] + QStringLiteral("\r\n");
    }
    QCOMPARE(map.listing, listing);
}

void TestMapFile::fieldsAreCutByColumn_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields"); // frequency, type, name, polarisation
    QTest::addColumn<double>("frequency");

    const QByteArray full = mapLine("Astra Promo", "MPEG2", "12.188", "H");
    QTest::newRow("full") << full << QStringList{"12188", "MPEG2 ", "Astra Promo     ", "H"}
                          << 12188.0;
    QTest::newRow("lower case pol") << mapLine("x", "analog", "11.778", "v")
                                    << QStringList{"11778", "analog", "x               ", "v"}
                                    << 11778.0;
    QTest::newRow("55 characters") << full.left(55)
                                   << QStringList{"12188", "MPEG2 ", "Astra Promo     ", "H"}
                                   << 12188.0;
    QTest::newRow("54 characters") << full.left(54)
                                   << QStringList{"12188", "MPEG2 ", "Astra Promo     ", ""}
                                   << 12188.0;
    QTest::newRow("53 characters") << full.left(53)
                                   << QStringList{"1218", "MPEG2 ", "Astra Promo     ", ""}
                                   << 1218.0;
    QTest::newRow("50 characters") << full.left(50)
                                   << QStringList{"12", "MPEG2 ", "Astra Promo     ", ""} << 12.0;
    QTest::newRow("48 characters") << full.left(48)
                                   << QStringList{"", "MPEG2 ", "Astra Promo     ", ""} << 0.0;
    QTest::newRow("43 characters") << full.left(43)
                                   << QStringList{"", "MPE", "Astra Promo     ", ""} << 0.0;
    QTest::newRow("10 characters") << full.left(10) << QStringList{"", "", "Astra Prom", ""}
                                   << 0.0;
    QTest::newRow("empty") << QByteArray() << QStringList{"", "", "", ""} << 0.0;
    // Nothing is checked or trimmed: the separator column is simply dropped,
    // and the number is whatever the text starts with.
    QTest::newRow("not digits") << mapLine("  padded ", "MPEG2", "1x,788", " ")
                                << QStringList{"1x788", "MPEG2 ", "  padded        ", " "}
                                << 1.0;
}

void TestMapFile::fieldsAreCutByColumn()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);
    QFETCH(double, frequency);

    const MapEntry entry = ws::cutMapLine(QString::fromLatin1(line));
    QCOMPARE((QStringList{entry.frequencyText, entry.type, entry.name, entry.polarisation}),
             fields);
    QCOMPARE(entry.frequency, frequency);
    QCOMPARE(entry.line, QString::fromLatin1(line));
}

void TestMapFile::latin1BytesSurvive()
{
    const QByteArray line = mapLine("M\xfcnchen \xe4\xf6\xdf\xff", "MPEG2", "12.188", "\xe9");
    const ws::MapData map = ws::parseMap(line);
    QCOMPARE(map.entries[0].name, QStringLiteral("M\u00fcnchen \u00e4\u00f6\u00df\u00ff    "));
    QCOMPARE(map.entries[0].polarisation, QStringLiteral("\u00e9"));
    QCOMPARE(ws::toBytes(map.listing), line + "\r\n");
}

void TestMapFile::everyLineUpToTheLimitIsAnEntry()
{
    QByteArray bytes;
    for (int i = 0; i < ws::kMaxMapLines; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    const ws::MapData map = ws::parseMap(bytes);
    QCOMPARE(map.entries.size(), ws::kMaxMapLines);
    QCOMPARE(map.entries.last().name, QStringLiteral("16383"));
    QCOMPARE(map.listing, ws::fromBytes(bytes));
}

void TestMapFile::frequencyColumnsTellAMap_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("looksLikeMap");     // tried where a scan goes
    QTest::addColumn<bool>("holdsNoFrequency"); // loaded as a map
    const QByteArray line = mapLine("One", "MPEG2", "11.012", "H");
    QTest::newRow("map") << "my map\r\n" + line + "\r\n" << true << false;
    // The map reader takes LF for a character, and the columns move.
    QTest::newRow("LF line ends") << "my map\n" + line + "\n" << true << true;
    QTest::newRow("no polarisation") << line.first(54) << false << false;
    QTest::newRow("letter in the frequency")
        << mapLine("One", "MPEG2", "11.0x2", "H") << false << true;
    QTest::newRow("scan") << QByteArray("950\r\n952\r\n1053\r\n1058\r\n950,1\r\n") << false
                          << true;
    QTest::newRow("empty file") << QByteArray() << false << false;
}

void TestMapFile::frequencyColumnsTellAMap()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, looksLikeMap);
    QFETCH(bool, holdsNoFrequency);
    QCOMPARE(ws::looksLikeMap(bytes), looksLikeMap);
    QCOMPARE(ws::holdsNoFrequency(ws::parseMap(bytes)), holdsNoFrequency);
}

void TestMapFile::filesBeyondTheLimitsAreRefused_data()
{
    // The file, and why it is refused; nothing when it loads.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("refused");
    const QByteArray longest(ws::kMaxMapLineLength, 'x');
    const QString tooMany = QStringLiteral("more than the 16384 lines a map may have");
    // 16384 lines of 64 bytes: the most lines and the most bytes at once.
    const QByteArray full = (QByteArray(62, 'x') + "\r\n").repeated(ws::kMaxMapLines);
    QTest::newRow("at the size limit") << full << QString();
    QTest::newRow("a byte more")
        << full + "x"
        << QStringLiteral("1048577 bytes, more than the 1048576 bytes (1 MiB) a map may have");
    QTest::newRow("the longest lines") << (longest + "\r\n").repeated(3) << QString();
    QTest::newRow("a character more")
        << longest + "\r\n" + longest + "y"
        << QStringLiteral("line 2: 4097 characters, more than the 4096 a line of a map may have");
    QTest::newRow("the most lines and an end") << QByteArray(ws::kMaxMapLines, '\r') << QString();
    QTest::newRow("a line more") << QByteArray(ws::kMaxMapLines, '\r') + "x" << tooMany;
    // The list shows a lone LF as a line end too.
    QTest::newRow("a line more, LF") << QByteArray(ws::kMaxMapLines, '\n') + "x" << tooMany;
}

void TestMapFile::filesBeyondTheLimitsAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refused);
    QTemporaryFile file;
    QVERIFY(file.open() && file.write(bytes) == bytes.size() && file.flush());
    const auto read = ws::readMapFile(file.fileName());
    QCOMPARE(read.value ? QString() : ws::failureDetail({}, read.failure.reason).mid(2), refused);
    if (read.value)
        QCOMPARE(read.value->bytes, bytes);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestMapFile)
#include "tst_mapfile.moc"
