#include "core/csv.h"

#include <QTest>

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void textThatASpreadsheetWouldRunGetsAnApostrophe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("formula")
            << "=HYPERLINK(\"http://x\")" << "\"'=HYPERLINK(\"\"http://x\"\")\"";
        QTest::newRow("plus") << "+1" << "'+1";
        QTest::newRow("minus") << "-5" << "'-5";
        QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("tab") << "\t=1" << "'\t=1";
        QTest::newRow("CR, quoted") << "\r=1" << "\"'\r=1\"";
        QTest::newRow("comma after =") << "=1,2" << "\"'=1,2\"";
        QTest::newRow("inside") << "a=b-c" << "a=b-c";
        QTest::newRow("empty") << "" << "";
    }
    void textThatASpreadsheetWouldRunGetsAnApostrophe()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(ws::csvTextField(text), field);
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestCsv)
#include "tst_csv.moc"
