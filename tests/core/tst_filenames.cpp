// File names with bytes that are not UTF-8, as a command line may carry
// them.
#include "filenames.h"
#include "files.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

class TestFileNames : public QObject
{
    Q_OBJECT

private slots:
    void argumentsKeepTheirBytes_data();
    void argumentsKeepTheirBytes();
    void aNameThatIsNotUtf8Opens();
};

void TestFileNames::argumentsKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("ASCII") << QByteArray("new.scn") << true;
    QTest::newRow("umlaut and emoji") << QByteArray("M\xc3\xbcnchen \xf0\x9f\x93\xa1.scn") << true;
#ifdef Q_OS_UNIX
    QTest::newRow("Latin-1 byte") << QByteArray("M\xfcnchen.scn") << false;
    QTest::newRow("cut sequence") << QByteArray("a\xe2\x82.scn") << false;
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf.scn") << false;
    QTest::newRow("encoded surrogate") << QByteArray("a\xed\xa0\x80.scn") << false;
    QTest::newRow("beyond U+10FFFF") << QByteArray("a\xf4\x90\x80\x80.scn") << false;
#endif
}

void TestFileNames::argumentsKeepTheirBytes()
{
    QFETCH(QByteArray, argument);
    QFETCH(bool, utf8);
    const QString text = ws::argumentText(argument.constData());
    QCOMPARE(ws::nativeFileName(text), std::optional<QByteArray>(argument));
    QCOMPARE(ws::qtCanName(text), utf8);
    if (utf8)
        QCOMPARE(text, QString::fromUtf8(argument));
}

void TestFileNames::aNameThatIsNotUtf8Opens()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QByteArray name = QFile::encodeName(dir.path()) + "/M\xfcnchen.scn";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "950\r\n", 5), 5);
    ::close(fd);
    const auto file = ws::readWholeFile(ws::argumentText(name.constData()), 100);
    QVERIFY2(file.value, qPrintable(file.failure.reason.what));
    QCOMPARE(file.value->bytes, QByteArray("950\r\n"));
    // A lone surrogate that stands for no byte names no file.
    QVERIFY(!ws::readWholeFile(QString(QChar(0xDC41)), 100).value);
#else
    QSKIP("Windows names are text");
#endif
}

QTEST_APPLESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
