#include "fakeplatform.h"
#include "palette.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using ws::test::FakeWindow;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { w = std::make_unique<FakeWindow>(); }
    void cleanup() { w.reset(); }

    void elementsStandWhereTheLayoutPutsThem_data();
    void elementsStandWhereTheLayoutPutsThem();
    void windowStartsAsDescribed();
    void legendIsColouredLikeTheCurves();
    void legendAndDrawingShareThePalette();
    void tabOrderFollowsTheLayout();
    void resizingMovesNothing();
    void dialogsKeepTheirLastChoice();
    void moveOverBareWindowEmptiesTheReadout();
    void moveOverAnElementKeepsTheReadout();

private:
    template <typename T>
    T *element(const char *name)
    {
        auto *found = w->form->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no element %s", name);
        return found;
    }

    std::unique_ptr<FakeWindow> w;
};

void TestMainWindow::elementsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rightAligned");

    struct Row
    {
        const char *name;
        QRect r;
        const char *text;
        bool right;
    };
    const Row rows[] = {
        {"Command5_1", {8, 8, 105, 17}, "Load Newest ...", false},
        {"Scanlabel_1", {120, 8, 633, 17}, "Load your newest scan here", false},
        {"Command5_2", {8, 24, 105, 17}, "Load Reference ...", false},
        {"Scanlabel_2", {120, 24, 641, 17}, "Load an old scan to compare with ", false},
        {"Command4", {8, 40, 105, 17}, "Load Map ...", false},
        {"Label8", {120, 40, 641, 17}, "Load information about known transmissions on Satellite", false},
        {"Picture1", {112, 72, 641, 153}, nullptr, false},
        {"Label9", {32, 72, 65, 17}, "", true},
        {"Label11", {8, 96, 89, 17}, "Signal Strength", false},
        {"Label4_0", {16, 112, 89, 17}, "___ horizontal old", false},
        {"Label4_4", {16, 128, 81, 17}, "___ vertical old", false},
        {"Label4_1", {16, 144, 97, 17}, "___ horizontal new", false},
        {"Label4_5", {16, 160, 81, 17}, "___ vertical new", false},
        {"Label4_9", {16, 176, 89, 17}, "|<--- 100 MHz --->|", false},
        {"Label7", {32, 200, 65, 17}, "", true},
        {"Label5", {112, 240, 73, 17}, "", false},
        {"Label1", {192, 240, 121, 17}, "look for frequency at mouse position here", true},
        {"Label13", {320, 240, 105, 17}, "", true},
        {"Label10", {432, 240, 209, 17}, "", false},
        {"Label6", {664, 240, 89, 17}, "", true},
        {"Picture2", {112, 272, 641, 129}, nullptr, false},
        {"Label2", {32, 280, 65, 17}, "", true},
        {"Label12", {16, 304, 89, 17}, "Strength Diff.", false},
        {"Label4_2", {8, 320, 97, 17}, "___ diff. horizontal ", false},
        {"Label4_3", {8, 336, 89, 17}, "___ diff. vertical", false},
        {"Label4_6", {8, 352, 97, 17}, "___ 0 (no diff.)", false},
        {"Label3", {32, 376, 65, 17}, "", true},
        {"Picture3", {112, 416, 641, 49}, nullptr, false},
        {"Label4_10", {8, 416, 81, 17}, "___ horizontal", false},
        {"Label4_7", {8, 432, 89, 17}, "___ vertical ", false},
        {"Label4_11", {8, 448, 97, 17}, "___ circulary", false},
        {"Label17", {112, 472, 65, 17}, "timeout sec", true},
        {"Text5", {192, 472, 25, 19}, "10", false},
        {"Label15", {240, 472, 65, 17}, "comport", true},
        {"Text3", {320, 472, 25, 19}, "2", false},
        {"Command6", {384, 472, 97, 17}, "skip rest", false},
        {"Label14", {504, 472, 65, 17}, "0V/12V (0/1)", true},
        {"Text2", {584, 472, 25, 19}, "1", false},
        {"Label16", {648, 472, 65, 17}, "disecq (0-3)", true},
        {"Text4", {728, 472, 25, 19}, "0", false},
        {"Text1", {112, 496, 641, 65}, "", false},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.r
                                << (row.text ? QString::fromLatin1(row.text) : QString())
                                << row.right;
}

void TestMainWindow::elementsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, rightAligned);

    auto *widget = w->form->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(bool(label->alignment() & Qt::AlignRight), rightAligned);
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(edit->text(), text);
    } else if (auto *box = qobject_cast<QPlainTextEdit *>(widget)) {
        QCOMPARE(box->toPlainText(), text);
    }
}

void TestMainWindow::windowStartsAsDescribed()
{
    MainWindow &f = *w->form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Wavesift"));
    QCOMPARE(f.size(), QSize(763, 560));
    QVERIFY(!f.windowIcon().isNull());
    QVERIFY(!f.windowIcon().pixmap(16, 16).isNull());

    QVERIFY(!f.Command4->isEnabled());
    QVERIFY(f.Command5[1]->isEnabled() && f.Command5[2]->isEnabled());
    QVERIFY(f.Command6->isHidden());
    QVERIFY(!w->scans().newest && !w->scans().reference);
    QVERIFY(!f.exitnow);

    QCOMPARE(f.Picture1->toolTip(), QStringLiteral("Click mouse left/right for h/v scan "));
    QCOMPARE(f.Picture2->toolTip(), QStringLiteral("Click mouse left/right for h/v scan "));
    QCOMPARE(f.Picture3->toolTip(), QStringLiteral("Click mouse for full scan over map data"));
    QCOMPARE(f.Command6->toolTip(), QStringLiteral("Skips rest of map file"));
    QVERIFY(f.Text1->toolTip().startsWith(QLatin1String("List of known transmissions")));

    QCOMPARE(f.Text1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(f.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(f.Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(QFontInfo(f.Text1->font()).fixedPitch());

    // The indexes that exist are exactly those of the design.
    QVERIFY(!f.Command5[0] && !f.Scanlabel[0] && !f.Label4[8] && !f.CommonDialog[0]);
    QCOMPARE(f.findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Label4_"))).size(), 11);

    // The plots start blank: nothing but the background.
    const QImage blank = f.Picture1->surface();
    QCOMPARE(blank.size(), QSize(637, 149));
    QCOMPARE(blank.pixelColor(300, 70), blank.pixelColor(0, 0));
}

void TestMainWindow::legendIsColouredLikeTheCurves()
{
    const std::pair<const char *, QColor> colours[] = {
        {"Label4_0", QColor(255, 0, 255)}, {"Label4_4", QColor(0, 255, 255)},
        {"Label4_1", QColor(255, 0, 0)},   {"Label4_5", QColor(0, 0, 192)},
        {"Label4_9", QColor(255, 255, 0)}, {"Label4_2", QColor(255, 0, 0)},
        {"Label4_3", QColor(0, 0, 192)},   {"Label4_6", QColor(0, 0, 0)},
        {"Label4_10", QColor(255, 0, 0)},  {"Label4_7", QColor(0, 0, 192)},
        {"Label4_11", QColor(0, 128, 0)},
    };
    for (const auto &[name, colour] : colours)
        QCOMPARE(element<QLabel>(name)->palette().color(QPalette::WindowText), colour);
}

// The legend names each line in the colour it is drawn in, taken from the
// same palette; blue and green text only in the legend's darker shades.
void TestMainWindow::legendAndDrawingShareThePalette()
{
    namespace pal = ws::palette;
    const std::pair<const char *, QColor> colours[] = {
        {"Label4_0", pal::horizontalReference}, {"Label4_4", pal::verticalReference},
        {"Label4_1", pal::horizontalNewest},    {"Label4_5", pal::legendBlue},
        {"Label4_9", pal::grid},                {"Label4_2", pal::horizontalDifference},
        {"Label4_3", pal::legendBlue},          {"Label4_6", pal::zeroLine},
        {"Label4_10", pal::mapHorizontal},      {"Label4_7", pal::legendBlue},
        {"Label4_11", pal::legendGreen},
    };
    for (const auto &[name, colour] : colours)
        QCOMPARE(element<QLabel>(name)->palette().color(QPalette::WindowText), colour);

    for (const QColor &drawn : {pal::verticalNewest, pal::verticalDifference, pal::mapVertical}) {
        QCOMPARE(pal::legendBlue.hue(), drawn.hue());
        QVERIFY(pal::legendBlue.value() < drawn.value());
    }
    QCOMPARE(pal::legendGreen.hue(), pal::mapOther.hue());
    QVERIFY(pal::legendGreen.value() < pal::mapOther.value());
}

void TestMainWindow::tabOrderFollowsTheLayout()
{
    const QStringList expected = {"Picture1", "Picture2", "Command4", "Picture3",
                                  "Command5_1", "Command5_2", "Text1", "Command6",
                                  "Text2", "Text4", "Text3", "Text5"};
    QWidget *current = element<QWidget>("Picture1");
    for (int i = 1; i < expected.size(); ++i) {
        current = current->nextInFocusChain();
        // Skip what cannot take the focus (labels, a viewport).
        while (current->focusPolicy() == Qt::NoFocus || current->parentWidget() != w->form.get())
            current = current->nextInFocusChain();
        QCOMPARE(current->objectName(), expected[i]);
    }
}

void TestMainWindow::resizingMovesNothing()
{
    MainWindow &f = *w->form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QRect before = f.Text1->geometry();
    const QRect picture = f.Picture1->geometry();
    f.resize(1200, 900);
    QCoreApplication::processEvents();
    QCOMPARE(f.Text1->geometry(), before);
    QCOMPARE(f.Picture1->geometry(), picture);
    f.resize(300, 200);
    QCoreApplication::processEvents();
    QCOMPARE(f.Text1->geometry(), before);
}

void TestMainWindow::dialogsKeepTheirLastChoice()
{
    MainWindow &f = *w->form;
    QCOMPARE(f.CommonDialog[1]->title(), QStringLiteral("Select Kanalix Scan File"));
    QCOMPARE(f.CommonDialog[1]->fileName(), QStringLiteral("c:\\vanto21\\Scans\\my_scan.scn"));
    QCOMPARE(f.CommonDialog[2]->title(), QStringLiteral("Load Sat-Info"));
    QCOMPARE(f.CommonDialog[2]->fileName(), QStringLiteral("c:\\vanto21\\Scans\\sat.map"));
    QCOMPARE(f.CommonDialog[3]->title(), QStringLiteral("Load Sat-Info"));
    QCOMPARE(f.CommonDialog[3]->fileName(), QStringLiteral("c:\\vanto21\\maps\\mymap.map"));
    QCOMPARE(f.CommonDialog[3]->objectName(), QStringLiteral("CommonDialog_3"));

    w->dialogs.pick(QStringLiteral("/tmp/a.map"));
    QVERIFY(f.CommonDialog[3]->showOpen());
    w->dialogs.cancel();
    QVERIFY(!f.CommonDialog[3]->showOpen());
    QCOMPARE(f.CommonDialog[3]->fileName(), QStringLiteral("/tmp/a.map"));
    QCOMPARE(w->dialogs.shown.back().prefilled, QStringLiteral("/tmp/a.map"));
    // The other dialogs keep their own names.
    QCOMPARE(f.CommonDialog[1]->fileName(), QStringLiteral("c:\\vanto21\\Scans\\my_scan.scn"));
}

void TestMainWindow::moveOverBareWindowEmptiesTheReadout()
{
    MainWindow &f = *w->form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Label10->setText(QStringLiteral("12188H, MPEG2 , Some Station"));
    f.Label13->setText(QStringLiteral("Next known signal:"));
    // A spot between the legend and the plots that no element covers.
    QTest::mouseMove(&f, QPoint(108, 300));
    QTRY_COMPARE(f.Label1->text(), QString());
    QCOMPARE(f.Label10->text(), QString());
    QCOMPARE(f.Label13->text(), QString());
}

void TestMainWindow::moveOverAnElementKeepsTheReadout()
{
    MainWindow &f = *w->form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Label10->setText(QStringLiteral("kept"));
    for (QWidget *over : {static_cast<QWidget *>(f.Label11), static_cast<QWidget *>(f.Command5[1]),
                          static_cast<QWidget *>(f.Text3)}) {
        QTest::mouseMove(over, QPoint(3, 3));
        QCoreApplication::processEvents();
        QCOMPARE(f.Label10->text(), QStringLiteral("kept"));
        QCOMPARE(f.Label1->text(), QStringLiteral("look for frequency at mouse position here"));
    }
    // Also the readout label's own lower edge, below its one visible line.
    QTest::mouseMove(f.Label1, QPoint(60, 15));
    QCoreApplication::processEvents();
    QCOMPARE(f.Label10->text(), QStringLiteral("kept"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
