// The window's fixed texts, byte for byte, and its wording where it is more
// than a fixed text. Other tests take these texts from the functions.
#include "wording/messages.h"

#include <QTest>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void fixedTexts_data()
    {
        using namespace ws::messages;
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("wording");
        QTest::newRow("cancelled") << cancelled() << "Cancel/Abbruch";
        QTest::newRow("unknown format") << unknownFormat() << "unknown Format, loading cancelled";
        QTest::newRow("unknown LNB") << unknownLnb() << "unknown lnb-type, loading cancelled";
        QTest::newRow("a map for a scan")
            << scanNotLoadedDetail("/s/a.map", QByteArray(48, ' ') + "11.012H\r\n", {})
            << "/s/a.map looks like a map of transmissions, not a scan";
        QTest::newRow("no frequency") << mapWithoutFrequency("/m/a.map")
                                      << "/m/a.map: no line holds a frequency; is this a map?";
        QTest::newRow("scale held") << scaleHeldInTitle() << " (scale held)";
        QTest::newRow("loading a scan") << loadingScan() << "Loading, please wait";
        QTest::newRow("loading a map") << loadingMap() << "Loading, please wait ...";
        QTest::newRow("map before scans")
            << mapNeedsScans("a.map") << "a.map was not loaded: a map needs both scans loaded first";
        QTest::newRow("picture") << pictureNotSaved("/p.png", "Permission denied")
                                 << "Could not save the picture to /p.png: Permission denied";
        QTest::newRow("readout") << nextKnownSignal() << "Next known signal:";
    }

    void fixedTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, wording);
        QCOMPARE(text, wording);
    }

    void fileListsStopAtTenNames()
    {
        QStringList paths;
        for (int i = 1; i <= 12; ++i)
            paths << QStringLiteral("/f/%1.scn").arg(i);
        const QString ten = paths.first(10).join('\n');
        QCOMPARE(ws::messages::fileList(paths.first(10)), ten);
        QCOMPARE(ws::messages::fileList(paths), ten + "\nand 2 more");
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestMessages)
#include "tst_messages.moc"
