#include "support/testrunner.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace ws::test {

namespace {

struct TestClass
{
    const QMetaObject *meta;
    MakeTest make;
};

// Filled by the static initialisers of the test files, before main.
QList<TestClass> &testClasses()
{
    static QList<TestClass> classes;
    return classes;
}

// Qt Test's options that take the next argument as their value, which is
// then no name of a class or function.
bool takesValue(const QString &option)
{
    static const QStringList options = {
        "-o",          "-eventdelay",   "-keydelay",    "-mousedelay", "-maxwarnings", "-repeat",
        "-perfcounter", "-minimumvalue", "-minimumtotal", "-iterations", "-median"};
    return options.contains(option);
}

bool hasTestFunction(const QMetaObject &meta, const QString &name)
{
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (isTestFunction(method) && QString::fromLatin1(method.name()) == name)
            return true;
    }
    return false;
}

const QMetaObject *testNamed(const QList<const QMetaObject *> &tests, const QString &name)
{
    for (const QMetaObject *test : tests) {
        if (QString::fromLatin1(test->className()) == name)
            return test;
    }
    return nullptr;
}

} // namespace

bool addTestClass(const QMetaObject &meta, MakeTest make)
{
    testClasses().append({&meta, make});
    return true;
}

bool isTestFunction(const QMetaMethod &method)
{
    const QByteArray name = method.name();
    return method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Private &&
        !name.endsWith("_data") && name != "init" && name != "cleanup" &&
        name != "initTestCase" && name != "cleanupTestCase";
}

TestSelection selectTests(const QStringList &arguments, const QList<const QMetaObject *> &tests)
{
    TestSelection selection;
    QSet<const QMetaObject *> whole;
    QSet<const QMetaObject *> skipped;
    QHash<const QMetaObject *, QStringList> functions;
    bool named = false;
    const auto refuse = [&](const QString &why) {
        selection.error = why;
        selection.runs.clear();
        return selection;
    };
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("-skipclass")) {
            const QMetaObject *test = testNamed(tests, arguments.value(++i));
            if (!test)
                return refuse(QStringLiteral("-skipclass names no test class of this program"));
            skipped.insert(test);
            continue;
        }
        if (argument.startsWith(QLatin1Char('-'))) {
            selection.options << argument;
            if (takesValue(argument) && i + 1 < arguments.size())
                selection.options << arguments.at(++i);
            continue;
        }
        named = true;
        if (const QMetaObject *test = testNamed(tests, argument)) {
            whole.insert(test);
            continue;
        }
        const QString className = argument.section(QLatin1String("::"), 0, 0);
        const QString function = argument.section(QLatin1String("::"), 1);
        const QString functionName = argument.section(QLatin1String("::"), -1).section(':', 0, 0);
        bool found = false;
        for (const QMetaObject *test : tests) {
            const bool inClass =
                function.isEmpty() || className == QLatin1String(test->className());
            if (inClass && hasTestFunction(*test, functionName)) {
                functions[test] << (function.isEmpty() ? argument : function);
                found = true;
            }
        }
        if (!found)
            return refuse(argument + QStringLiteral(": no test class or test function of this "
                                                    "program has that name"));
    }
    for (const QMetaObject *test : tests) {
        if (skipped.contains(test))
            continue;
        if (!named || whole.contains(test))
            selection.runs.append(TestRun{test, {}});
        else if (functions.contains(test))
            selection.runs.append(TestRun{test, functions.value(test)});
    }
    if (selection.runs.isEmpty())
        return refuse(QStringLiteral("no test class of this program is left to run"));
    return selection;
}

int runTests(int argc, char *argv[], const std::function<void()> &beforeEach)
{
    QList<TestClass> classes = testClasses();
    std::sort(classes.begin(), classes.end(), [](const TestClass &a, const TestClass &b) {
        return qstrcmp(a.meta->className(), b.meta->className()) < 0;
    });
    QList<const QMetaObject *> tests;
    for (const TestClass &test : classes)
        tests << test.meta;

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TestSelection selection = selectTests(arguments, tests);
    const QByteArray program = QByteArray(argv[0]);
    if (!selection.error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\nTest classes:", program.constData(),
                     qPrintable(selection.error));
        for (const QMetaObject *test : tests)
            std::fprintf(stderr, " %s", test->className());
        std::fprintf(stderr, "\n");
        return 1;
    }

    // Qt Test ends the program after listing what one class holds, so the
    // lists of every class are made here.
    if (selection.options.contains(QLatin1String("-functions"))) {
        for (const TestRun &run : selection.runs) {
            for (int i = run.test->methodOffset(); i < run.test->methodCount(); ++i) {
                const QMetaMethod method = run.test->method(i);
                if (isTestFunction(method))
                    std::printf("%s::%s()\n", run.test->className(), method.name().constData());
            }
        }
        return 0;
    }
    if (selection.options.contains(QLatin1String("-datatags")) && selection.runs.size() > 1) {
        std::fprintf(stderr, "%s: -datatags lists the tags of one class: name it\n",
                     program.constData());
        return 1;
    }
    if (selection.options.contains(QLatin1String("-help")) ||
        selection.options.contains(QLatin1String("--help")))
        std::printf(" Names of test classes select them, as Class::function does one function"
                    " of a class;\n -skipclass <class> leaves a class out.\n");

    int failures = 0;
    QStringList failed;
    for (const TestRun &run : selection.runs) {
        const MakeTest make = classes.at(tests.indexOf(run.test)).make;
        if (beforeEach)
            beforeEach();
        const std::unique_ptr<QObject> test(make());
        const QStringList command =
            QStringList(QString::fromLocal8Bit(program)) + selection.options + run.functions;
        const int failuresHere = QTest::qExec(test.get(), command);
        if (failuresHere != 0) {
            failures += qMax(failuresHere, 1);
            failed << QString::fromLatin1(run.test->className());
        }
    }
    if (!failed.isEmpty())
        std::fprintf(stderr, "%s: failures in %s\n", program.constData(),
                     qPrintable(failed.join(QLatin1String(", "))));
    return std::min(failures, 127);
}

} // namespace ws::test
