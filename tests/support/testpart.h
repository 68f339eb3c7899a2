#pragma once

#include "support/testrunner.h"

#include <QByteArray>
#include <QMetaMethod>
#include <QObject>
#include <QTest>

// A long test program runs as several CTest tests side by side, each with
// its share of the test functions (ws_add_test's PARTS): with
// WS_TEST_PART=k/n in the environment, a run keeps the k-th of every n test
// functions in the order they are declared (k from 1), so every function
// runs in exactly one part; without it, all run.
namespace ws::test {

inline bool inThisPart(const QObject &test)
{
    const QByteArray part = qgetenv("WS_TEST_PART");
    if (part.isEmpty())
        return true;
    const QList<QByteArray> numbers = part.split('/');
    const int k = numbers.value(0).toInt();
    const int n = numbers.value(1).toInt();
    if (numbers.size() != 2 || n < 1 || k < 1 || k > n)
        qFatal("WS_TEST_PART is \"%s\", not k/n with 1 <= k <= n", part.constData());

    const QMetaObject *meta = test.metaObject();
    int index = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (!isTestFunction(method))
            continue;
        const QByteArray name = method.name();
        if (name == QTest::currentTestFunction())
            return index % n == k - 1;
        ++index;
    }
    return true;
}

} // namespace ws::test
