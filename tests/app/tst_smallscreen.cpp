// The window on a screen smaller than its design, as a scaled screen makes
// it (QT_SCALE_FACTOR=2 on 1280x800): its own test, on such a screen.
#include "app/windowelements.h"
#include "support/fakeplatform.h"
#include "wording/windowsize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

class TestSmallScreen : public QObject
{
    Q_OBJECT

private slots:
    void theElementsKeepTheirPlacesAndTheWindowScrolls()
    {
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        if (screen.width() >= ws::window::kSize.width() &&
            screen.height() >= ws::window::kSize.height())
            QSKIP("needs a screen smaller than the window (see tests/app/CMakeLists.txt)");
        ws::test::FakeWindow w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QCOMPARE(w.window->size(), ws::window::kSize.boundedTo(screen));
        auto *scroll = w.window->findChild<QScrollArea *>();
        QVERIFY(scroll);
        const QWidget *content = scroll->widget();
        for (const ws::window::Element &row : ws::window::elements()) {
            const auto *widget = w.element<QWidget>(row.name);
            QCOMPARE(QRect(widget->mapTo(content, QPoint(0, 0)), widget->size()), row.place);
        }
        // Whatever does not fit is a scroll away.
        QVERIFY(scroll->horizontalScrollBar()->maximum() > 0 ||
                scroll->verticalScrollBar()->maximum() > 0);
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestSmallScreen)
#include "tst_smallscreen.moc"
