// File names with bytes that are not UTF-8, as a command line may carry them.
#include "core/filenames.h"
#include "core/files.h"

#include <QTest>

#include <cstdio>

class TestFileNames : public QObject
{
    Q_OBJECT

private slots:
    void argumentsKeepTheirBytes_data();
    void argumentsKeepTheirBytes();
    void aLoneSurrogateNamesNoFile();
};

void TestFileNames::argumentsKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<bool>("utf8");
    // As a list or a report shows the name.
    QTest::addColumn<QString>("shown");
    QTest::newRow("ASCII") << QByteArray("new.scn") << true << QStringLiteral("new.scn");
    QTest::newRow("umlaut and emoji") << QByteArray("M\xc3\xbcnchen \xf0\x9f\x93\xa1.scn") << true
                                      << QString::fromUtf8("M\xc3\xbcnchen \xf0\x9f\x93\xa1.scn");
#ifdef Q_OS_UNIX
    QTest::newRow("line end") << QByteArray("a\nb.scn") << true << QStringLiteral("a\\x0Ab.scn");
    QTest::newRow("Latin-1 byte") << QByteArray("M\xfcnchen.scn") << false << QStringLiteral("M\\xFCnchen.scn");
    QTest::newRow("cut sequence") << QByteArray("a\xe2\x82.scn") << false << QStringLiteral("a\\xE2\\x82.scn");
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf.scn") << false << QStringLiteral("a\\xC0\\xAF.scn");
    QTest::newRow("encoded surrogate") << QByteArray("a\xed\xa0\x80.scn") << false
                                       << QStringLiteral("a\\xED\\xA0\\x80.scn");
    QTest::newRow("beyond U+10FFFF") << QByteArray("a\xf4\x90\x80\x80.scn") << false
                                     << QStringLiteral("a\\xF4\\x90\\x80\\x80.scn");
#endif
}

void TestFileNames::argumentsKeepTheirBytes()
{
    QFETCH(QByteArray, argument);
    QFETCH(bool, utf8);
    QFETCH(QString, shown);
    const QString text = ws::argumentText(argument.constData());
    QCOMPARE(ws::nativeFileName(text), std::optional<QByteArray>(argument));
    QCOMPARE(ws::qtCanName(text), utf8);
    QCOMPARE(ws::readableName(text), shown);
    if (utf8)
        QCOMPARE(text, QString::fromUtf8(argument));
#ifdef Q_OS_UNIX
    // And the file of that name opens.
    QTemporaryDir dir;
    const QByteArray name = QFile::encodeName(dir.path()) + '/' + argument;
    std::FILE *raw = std::fopen(name.constData(), "wb");
    const auto removed = qScopeGuard([&] { std::remove(name.constData()); }); // Qt cannot
    QVERIFY(raw && std::fputs("950\r\n", raw) >= 0 && std::fclose(raw) == 0);
    const auto file = ws::readWholeFile(ws::argumentText(name.constData()), 100);
    QVERIFY2(file.value, qPrintable(file.failure.reason.what));
    QCOMPARE(file.value->bytes, QByteArray("950\r\n"));
#endif
}

void TestFileNames::aLoneSurrogateNamesNoFile()
{
    QVERIFY(!ws::readWholeFile(QString(QChar(0xDC41)), 100).value);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFileNames)
#include "tst_filenames.moc"
