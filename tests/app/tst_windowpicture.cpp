// Ctrl+S saves a picture of the window, Ctrl+C copies it; the text boxes
// keep Ctrl+C for the text selected in them.
#include "wording/messages.h"
#include "support/fakeplatform.h"

#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using ws::test::FakeWindow;
namespace names = ws::window::names;

class TestWindowPicture : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void ctrlSSavesTheWindowAsShown();
    void aPictureThatCannotBeSavedIsTold();
    void ctrlCCopiesThePictureUnlessTextIsSelected();

private:
    void press(QWidget *target, Qt::Key key)
    {
        QTest::keyClick(target, key, Qt::ControlModifier);
    }

    std::unique_ptr<FakeWindow> w;
    QTemporaryDir dir;
};

void TestWindowPicture::init()
{
    w = std::make_unique<FakeWindow>();
    QVERIFY(w->window->workspace().openFiles({QStringLiteral(WS_EXAMPLES_DIR "/newest.scn"),
                                  QStringLiteral(WS_EXAMPLES_DIR "/reference.scn")}));
    w->window->show();
    QApplication::setActiveWindow(w->window.get());
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
}

void TestWindowPicture::ctrlSSavesTheWindowAsShown()
{
    const QString path = dir.filePath("window.png");
    w->dialogs.pick(path);
    press(w->window.get(), Qt::Key_S);

    QCOMPARE(w->dialogs.shown.size(), size_t(1));
    QVERIFY(w->dialogs.shown[0].save);
    QCOMPARE(w->dialogs.shown[0].prefilled, QStringLiteral("wavesift.png"));
    QVERIFY(w->dialogs.messages.isEmpty());
    QImage saved;
    QVERIFY(saved.load(path, "png"));
    const QImage shown = w->window->picture();
    QCOMPARE(shown.size(), ws::window::kSize * w->window->devicePixelRatio());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             shown.convertToFormat(QImage::Format_RGB32));

    // The next save offers the last name; a cancelled one writes nothing.
    QVERIFY(QFile::remove(path));
    w->dialogs.cancel();
    press(w->element<QLineEdit>(names::portBox), Qt::Key_S);
    QCOMPARE(w->dialogs.shown.size(), size_t(2));
    QCOMPARE(w->dialogs.shown[1].prefilled, path);
    QVERIFY(w->dialogs.messages.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestWindowPicture::aPictureThatCannotBeSavedIsTold()
{
    const QString path = dir.filePath("no folder/window.png");
    w->dialogs.pick(path);
    press(w->window.get(), Qt::Key_S);
    QCOMPARE(w->dialogs.messages.size(), 1);
    QVERIFY2(w->dialogs.messages[0].startsWith(ws::messages::pictureNotSaved(path, QString())) &&
                 w->dialogs.messages[0].size() > path.size() + 32,
             qPrintable(w->dialogs.messages[0]));
}

void TestWindowPicture::ctrlCCopiesThePictureUnlessTextIsSelected()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    auto *portBox = w->element<QLineEdit>(names::portBox);
    portBox->setFocus();
    portBox->selectAll();
    press(portBox, Qt::Key_C);
    QCOMPARE(clipboard->text(), QStringLiteral("2"));
    QVERIFY(clipboard->image().isNull());

    portBox->deselect();
    press(portBox, Qt::Key_C);
    QCOMPARE(clipboard->image().size(), w->window->picture().size());

    auto *logBox = w->element<QPlainTextEdit>(names::logBox);
    logBox->setPlainText(QStringLiteral("log line"));
    logBox->setFocus();
    logBox->selectAll();
    press(logBox, Qt::Key_C);
    QCOMPARE(clipboard->text(), QStringLiteral("log line"));
    clipboard->clear();
    logBox->moveCursor(QTextCursor::End);
    press(logBox, Qt::Key_C);
    QCOMPARE(clipboard->image().size(), w->window->picture().size());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestWindowPicture)
#include "tst_windowpicture.moc"
