// The keys window: its list against the table of keys and mouse actions,
// F1 in either window, and what About Wavesift says.
#include "app/historywindow.h"
#include "app/keyswindow.h"
#include "cli/commandline.h"
#include "support/fakeplatform.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace names = ws::keyswindow::names;

Q_DECLARE_METATYPE(ws::KeyWindow)

namespace {

// The list's rows as "keys: words".
QStringList rowsOf(const QWidget &window)
{
    const auto *list = window.findChild<QTableWidget *>(names::list);
    QStringList rows;
    for (int row = 0; list && row < list->rowCount(); ++row)
        rows << list->item(row, 0)->text() + QStringLiteral(": ") + list->item(row, 1)->text();
    return rows;
}

void pressF1(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F1);
}

} // namespace

class TestKeysWindow : public QObject
{
    Q_OBJECT

private slots:
    void theListHoldsEachKeyAndMouseActionOfItsWindowOnce_data()
    {
        QTest::addColumn<ws::KeyWindow>("window");
        QTest::newRow("main") << ws::KeyWindow::Main;
        QTest::newRow("history") << ws::KeyWindow::History;
    }

    void theListHoldsEachKeyAndMouseActionOfItsWindowOnce()
    {
        QFETCH(ws::KeyWindow, window);
        QStringList keys;
        QStringList mouse;
        for (const ws::WindowKey &key : ws::windowKeys()) {
            if (key.window == window)
                keys << QLatin1String(key.keys) + QStringLiteral(": ") + QLatin1String(key.words);
        }
        for (const ws::WindowMouse &action : ws::windowMouse()) {
            if (action.window == window)
                mouse << QLatin1String(action.what) + QStringLiteral(": ") +
                             QLatin1String(action.words);
        }
        QVERIFY(!mouse.isEmpty());
        const KeysWindow list(window, nullptr);
        const QStringList rows = rowsOf(list);
        // The keys as the table orders them, then the mouse, nothing twice
        // and nothing of the other window.
        QCOMPARE(rows, keys + mouse);
        QCOMPARE(QSet<QString>(rows.begin(), rows.end()).size(), rows.size());
        QCOMPARE(rows.filter(QRegularExpression(QStringLiteral("^F1: "))).size(), 1);
    }

    void f1OpensTheListOfEitherWindow()
    {
        ws::test::FakeWindow w;
        pressF1(w.window.get());
        auto *keys =
            w.window->findChild<KeysWindow *>(names::window, Qt::FindDirectChildrenOnly);
        QVERIFY(keys && keys->isVisible());
        // The title names which window's list it is.
        QCOMPARE(keys->windowTitle(), "Wavesift keys");
        // Once more: the same list, raised.
        QTest::keyClick(w.window.get(), Qt::Key_F1);
        QCOMPARE(w.window->findChildren<KeysWindow *>().size(), 1);

        QTemporaryDir dir;
        HistoryWindow &history = w.window->showHistory({dir.path()});
        pressF1(&history);
        auto *historyKeys =
            history.findChild<KeysWindow *>(names::window, Qt::FindDirectChildrenOnly);
        QVERIFY(historyKeys && historyKeys->isVisible());
        QCOMPARE(historyKeys->windowTitle(), "Wavesift history keys");
    }

    void theListNamesTheGuideAndAboutGivesTheVersionAndTheLicence()
    {
        KeysWindow keys(ws::KeyWindow::Main, nullptr);
        keys.show();
        const QString guide = keys.findChild<QLabel *>(names::guide)->text();
        // Run from the build, the guide of the checkout.
        QVERIFY2(guide.contains(QStringLiteral("/docs/guide.md,")), qPrintable(guide));
        auto *about = keys.findChild<QLabel *>(names::about);
        QVERIFY(!about->isVisible());
        QTest::mouseClick(keys.findChild<QPushButton *>(names::aboutButton), Qt::LeftButton);
        QVERIFY(about->isVisible());
        // What --version says, and the licence by its name.
        QVERIFY2(about->text().startsWith(ws::cli::versionText().trimmed() + QLatin1Char('\n')),
                 qPrintable(about->text()));
        QVERIFY(about->text().contains(QStringLiteral("GPL-3.0-or-later")));
        QTest::mouseClick(keys.findChild<QPushButton *>(names::close), Qt::LeftButton);
        QVERIFY(!keys.isVisible());
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestKeysWindow)
#include "tst_keyswindow.moc"
