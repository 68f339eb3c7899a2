#pragma once

#include <QList>
#include <QMetaMethod>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// A test program runs every test class of its folder, one QTest::qExec each,
// under one application object (testmain.cpp). A class joins its program
// with WS_TEST_CLASS at the end of its file.
namespace ws::test {

using MakeTest = QObject *(*)();

bool addTestClass(const QMetaObject &meta, MakeTest make);

// A test function as Qt Test runs it: a private slot other than the
// _data tables and the functions around the tests.
bool isTestFunction(const QMetaMethod &method);

// What a command line asks a program to run: Qt Test's options for every
// class, and the classes with the functions each should run (none: all).
struct TestRun
{
    const QMetaObject *test = nullptr;
    QStringList functions;
};

struct TestSelection
{
    QStringList options;
    QList<TestRun> runs;
    QString error;
};

// Besides Qt Test's own options, the arguments name a class (TestCsv), a
// function of one class (TestCsv::quotes, with :tag as Qt Test reads it) or
// a function of whichever classes have it (quotes); -skipclass <class>
// leaves a class out. No name: every class that is not left out. A name
// that is none of these is an error rather than an empty, passing run.
TestSelection selectTests(const QStringList &arguments, const QList<const QMetaObject *> &tests);

// Runs what the command line selects from the classes added, each after
// `beforeEach`; the number of failures, and which classes had them on
// stderr.
int runTests(int argc, char *argv[], const std::function<void()> &beforeEach = {});

} // namespace ws::test

#define WS_TEST_CLASS(TestObject)                                                             \
    [[maybe_unused]] static const bool wsTestClassAdded = ::ws::test::addTestClass(          \
        TestObject::staticMetaObject, []() -> QObject * { return new TestObject; });
