#include "support/testrunner.h"

#include <QTest>

namespace {

// Two test classes as the runner sees them: only their test functions.
class Alpha : public QObject
{
    Q_OBJECT
private slots:
    void init() {}
    void shared_data() {}
    void shared() {}
    void onlyAlpha() {}
};

class Beta : public QObject
{
    Q_OBJECT
private slots:
    void shared() {}
};

} // namespace

class TestRunnerArguments : public QObject
{
    Q_OBJECT

private slots:
    void argumentsSelectClassesAndFunctions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("runs"); // or the start of the error
        QTest::newRow("nothing named") << QStringList() << "Alpha() Beta()";
        QTest::newRow("class") << QStringList{"Beta"} << "Beta()";
        QTest::newRow("function of a class")
            << QStringList{"Alpha::shared:tag"} << "Alpha(shared:tag)";
        QTest::newRow("function of any class")
            << QStringList{"shared", "onlyAlpha"} << "Alpha(shared,onlyAlpha) Beta(shared)";
        QTest::newRow("class left out")
            << QStringList{"-skipclass", "Alpha", "shared"} << "Beta(shared)";
        QTest::newRow("option values are no names")
            << QStringList{"-o", "Beta", "-v2", "Alpha"} << "-o Beta -v2: Alpha()";
        QTest::newRow("no such name") << QStringList{"Gamma"} << "error: Gamma: no test class";
        QTest::newRow("not a test function")
            << QStringList{"Alpha::init"} << "error: Alpha::init: no";
        QTest::newRow("function of another class")
            << QStringList{"Beta::onlyAlpha"} << "error: Beta::";
        QTest::newRow("left out unknown")
            << QStringList{"-skipclass", "Gamma"} << "error: -skipclass";
        QTest::newRow("all left out")
            << QStringList{"-skipclass", "Alpha", "-skipclass", "Beta"} << "error: no test class";
    }
    void argumentsSelectClassesAndFunctions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, runs);
        const ws::test::TestSelection selection =
            ws::test::selectTests(arguments, {&Alpha::staticMetaObject, &Beta::staticMetaObject});
        QString got = selection.error.isEmpty() ? QString() : "error: " + selection.error;
        if (!selection.options.isEmpty())
            got = selection.options.join(' ') + ": ";
        QStringList classes;
        for (const ws::test::TestRun &run : selection.runs)
            classes << QString("%1(%2)").arg(run.test->className(), run.functions.join(','));
        got += classes.join(' ');
        if (runs.startsWith("error: "))
            QVERIFY2(got.startsWith(runs), qPrintable(got));
        else
            QCOMPARE(got, runs);
    }
};

WS_TEST_CLASS(TestRunnerArguments)
#include "tst_testrunner.moc"
