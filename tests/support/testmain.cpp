#include "support/testrunner.h"

// The application object of every class in the program, made before any of
// them as QTEST_MAIN makes it.
#ifdef WS_TEST_WIDGETS
#include <QApplication>
#include <QCursor>
#include <QPoint>
#include <QTest>
#include <QWidget>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char *argv[])
{
    TestApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
#ifdef WS_TEST_WIDGETS
    // Every class starts with the mouse as a program starts with it: no
    // button held since an earlier class pressed it (moves would drag), and
    // the pointer where it was (a QTest::mouseMove to where an earlier class
    // left it would move nothing, and so send no event).
    const QPoint pointer = QCursor::pos();
    return ws::test::runTests(argc, argv, [pointer] {
        const Qt::MouseButtons held = QGuiApplication::mouseButtons();
        if (held != Qt::NoButton) {
            QWidget nowhere;
            for (int bit = 0; bit < 32; ++bit) {
                const auto button = Qt::MouseButton(1u << bit);
                if (held.testFlag(button))
                    QTest::mouseRelease(&nowhere, button);
            }
        }
        QCursor::setPos(pointer);
        QCoreApplication::processEvents();
    });
#else
    return ws::test::runTests(argc, argv);
#endif
}
