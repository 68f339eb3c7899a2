// The window's wording where it is more than a fixed text.
#include "wording/messages.h"

#include <QTest>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
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
