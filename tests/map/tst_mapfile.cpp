#include "mapfile.h"
#include "texts.h"

#include <QtTest>

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
    void onlyTheFirst1024LinesFillTheTable();
    void storingReplacesTheWholeTable();
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

    const ws::MapFile map = ws::parseMap(bytes);
    QCOMPARE(map.lineCount, lines.size());
    QCOMPARE(map.entries.size(), lines.size());
    QString listing;
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(map.entries[i].name, lines[i].left(16));
        listing += lines[i] + QStringLiteral("\r\n");
    }
    QCOMPARE(map.maptext, listing);
}

void TestMapFile::fieldsAreCutByColumn_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields"); // freq, type, name, pol

    const QByteArray full = mapLine("Astra Promo", "MPEG2", "12.188", "H");
    QTest::newRow("full") << full << QStringList{"12188", "MPEG2 ", "Astra Promo     ", "H"};
    QTest::newRow("lower case pol") << mapLine("x", "analog", "11.778", "v")
                                    << QStringList{"11778", "analog", "x               ", "v"};
    QTest::newRow("55 characters") << full.left(55)
                                   << QStringList{"12188", "MPEG2 ", "Astra Promo     ", "H"};
    QTest::newRow("54 characters") << full.left(54)
                                   << QStringList{"12188", "MPEG2 ", "Astra Promo     ", ""};
    QTest::newRow("53 characters") << full.left(53)
                                   << QStringList{"1218", "MPEG2 ", "Astra Promo     ", ""};
    QTest::newRow("50 characters") << full.left(50)
                                   << QStringList{"12", "MPEG2 ", "Astra Promo     ", ""};
    QTest::newRow("48 characters") << full.left(48)
                                   << QStringList{"", "MPEG2 ", "Astra Promo     ", ""};
    QTest::newRow("43 characters") << full.left(43)
                                   << QStringList{"", "MPE", "Astra Promo     ", ""};
    QTest::newRow("10 characters") << full.left(10) << QStringList{"", "", "Astra Prom", ""};
    QTest::newRow("empty") << QByteArray() << QStringList{"", "", "", ""};
    // Nothing is checked or trimmed: the separator column is simply dropped.
    QTest::newRow("not digits") << mapLine("  padded ", "MPEG2", "1x,788", " ")
                                << QStringList{"1x788", "MPEG2 ", "  padded        ", " "};
}

void TestMapFile::fieldsAreCutByColumn()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);

    const MapEntry entry = ws::cutMapLine(QString::fromLatin1(line));
    QCOMPARE((QStringList{entry.freq, entry.type, entry.name, entry.pol}), fields);
}

void TestMapFile::latin1BytesSurvive()
{
    const QByteArray line = mapLine("M\xfcnchen \xe4\xf6\xdf\xff", "MPEG2", "12.188", "\xe9");
    const ws::MapFile map = ws::parseMap(line);
    QCOMPARE(map.entries[0].name, QStringLiteral("M\u00fcnchen \u00e4\u00f6\u00df\u00ff    "));
    QCOMPARE(map.entries[0].pol, QStringLiteral("\u00e9"));
    QCOMPARE(ws::toBytes(map.maptext), line + "\r\n");
}

void TestMapFile::onlyTheFirst1024LinesFillTheTable()
{
    QByteArray bytes;
    for (int i = 0; i < 1030; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    const ws::MapFile map = ws::parseMap(bytes);
    QCOMPARE(map.lineCount, 1030);
    QCOMPARE(map.entries.size(), 1024);
    QCOMPARE(map.entries.last().name, QStringLiteral("1023"));
    QCOMPARE(map.maptext, ws::fromBytes(bytes));
}

void TestMapFile::storingReplacesTheWholeTable()
{
    ws::SharedState state;
    QByteArray twenty;
    for (int i = 0; i < 20; ++i)
        twenty += mapLine("old", "MPEG2", "11.700", "H") + "\r\n";
    ws::storeMap(state, ws::parseMap(twenty));
    state.mapdata[15][6] = QStringLiteral("left over");
    QCOMPARE(int(state.mapcount), 20);

    QByteArray ten;
    for (int i = 0; i < 10; ++i)
        ten += mapLine("new", "DVB-S2", QByteArray::number(12.0 + i / 100.0, 'f', 3), "V") + "\r\n";
    ws::storeMap(state, ws::parseMap(ten));
    QCOMPARE(int(state.mapcount), 10);
    QCOMPARE(state.maptext, ws::fromBytes(ten));
    QCOMPARE(state.mapdata[10][1], QStringLiteral("12090"));
    QCOMPARE(state.mapdata[10][2], QStringLiteral("DVB-S2"));
    QCOMPARE(state.mapdata[10][4], QStringLiteral("V"));
    for (int row = 11; row <= 20; ++row)
        for (const QString &cell : state.mapdata[row])
            QVERIFY(cell.isEmpty());
    for (const QString &cell : state.mapdata[0])
        QVERIFY(cell.isEmpty());
}

QTEST_APPLESS_MAIN(TestMapFile)
#include "tst_mapfile.moc"
