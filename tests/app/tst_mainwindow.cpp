#include "app/fileopendialog.h"
#include "app/historywindow.h"
#include "app/plotwidget.h"
#include "app/verdicttile.h"
#include "app/windowelements.h"
#include "app/windowkeys.h"
#include "support/fakeplatform.h"
#include "wording/messages.h"
#include "wording/windowsize.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <set>
#include <typeinfo>

using ws::test::FakeWindow;
using ws::test::placeInWindow;
using ws::window::Element;
using ws::window::ElementKind;
namespace names = ws::window::names;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { w = std::make_unique<FakeWindow>(); }
    void cleanup() { w.reset(); }

    void elementsAreWhatTheTableSays();
    void tableHoldsTheDocumentedLayout_data();
    void tableHoldsTheDocumentedLayout();
    void windowStartsAsDescribed();
    void legendIsColouredLikeTheCurves();
    void tabOrderFollowsTheTable();
    void theWindowIsNeverMadeSmaller();
    void aGrownWindowKeepsEveryElementInItsPlace_data();
    void aGrownWindowKeepsEveryElementInItsPlace();
    void dialogsKeepTheirLastChoice();
    void moveOverBareWindowEmptiesTheReadout();
    void moveOverAPanelOrTheEmptyTileEmptiesTheReadout_data();
    void moveOverAPanelOrTheEmptyTileEmptiesTheReadout();
    void moveOverAnElementKeepsTheReadout();
    void theKeysAreTheTablesAndNoOthers();

private:
    template <typename T>
    T *element(const char *name)
    {
        return w->element<T>(name);
    }

    std::unique_ptr<FakeWindow> w;
};

// Every row of the table stands in the window as it says, and the window
// has no element that is not in the table.
void TestMainWindow::elementsAreWhatTheTableSays()
{
    std::set<QString> tableNames;
    for (const Element &row : ws::window::elements()) {
        const QString name = QLatin1String(row.name);
        QVERIFY2(tableNames.insert(name).second, qPrintable(name + " twice in the table"));
        auto *widget = element<QWidget>(row.name);
        QCOMPARE(placeInWindow(*widget), row.place);
        QCOMPARE(widget->toolTip(), row.toolTip ? QString::fromLatin1(row.toolTip) : QString());
        // The empty verdict tile lets moves through to the window.
        QCOMPARE(widget->testAttribute(Qt::WA_NoMousePropagation),
                 row.kind != ElementKind::VerdictTile);
        const QString text = QString::fromLatin1(row.text);
        switch (row.kind) {
        case ElementKind::Button:
            QCOMPARE(qobject_cast<QPushButton *>(widget)->text(), text);
            break;
        case ElementKind::Label:
        case ElementKind::WholeLinesLabel: {
            auto *label = qobject_cast<QLabel *>(widget);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), text);
            QCOMPARE(label->alignment(), row.alignment | Qt::AlignTop);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            // Only the readout's first hint wraps.
            QCOMPARE(typeid(*label) == typeid(QLabel), row.kind == ElementKind::Label);
            break;
        }
        case ElementKind::TextBox:
            QCOMPARE(qobject_cast<QLineEdit *>(widget)->text(), text);
            break;
        case ElementKind::Plot:
            QVERIFY2(qobject_cast<PlotWidget *>(widget), qPrintable(name));
            QVERIFY(text.isEmpty());
            break;
        case ElementKind::LogBox:
            QCOMPARE(qobject_cast<QPlainTextEdit *>(widget)->toPlainText(), text);
            break;
        case ElementKind::VerdictTile:
            QVERIFY2(qobject_cast<VerdictTile *>(widget), qPrintable(name));
            break;
        }
        if (row.textColour)
            QCOMPARE(widget->palette().color(QPalette::WindowText), *row.textColour);
    }
    // The window holds elements and panels of elements, nothing else.
    for (QWidget *child : w->window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (tableNames.count(child->objectName()))
            continue;
        const auto inPanel = child->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QVERIFY(!inPanel.isEmpty());
        for (QWidget *element : inPanel)
            QVERIFY2(tableNames.count(element->objectName()), qPrintable(element->objectName()));
    }
    QCOMPARE(tableNames.size(), size_t(42));
}

// Spot checks of the documented layout, one or more of each kind, so that
// the table itself cannot drift.
void TestMainWindow::tableHoldsTheDocumentedLayout_data()
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
        {"Scanlabel_2", {120, 24, 641, 17}, "Load an old scan to compare with ", false},
        {"Command4", {8, 40, 105, 17}, "Load Map ...", false},
        {"Picture1", {112, 72, 641, 153}, "", false},
        {"Label1", {192, 240, 121, 17}, "look for frequency at mouse position here", true},
        {"Label6", {664, 240, 89, 17}, "", true},
        {"Label4_9", {16, 176, 89, 17}, "|<--- 100 MHz --->|", false},
        {"Label4_2", {8, 320, 97, 17}, "___ diff. horizontal ", false},
        {"Picture3", {112, 416, 641, 49}, "", false},
        {"Label16", {648, 472, 65, 17}, "disecq (0-3)", true},
        {"Text3", {320, 472, 25, 19}, "2", false},
        {"Command6", {384, 472, 97, 17}, "skip rest", false},
        {"Text1", {112, 496, 641, 65}, "", false},
        {"verdict", {8, 472, 97, 88}, "", false},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.r
                                << QString::fromLatin1(row.text) << row.right;
}

void TestMainWindow::tableHoldsTheDocumentedLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, rightAligned);

    const auto &table = ws::window::elements();
    const auto row = std::find_if(table.begin(), table.end(),
                                  [&](const Element &e) { return name == QLatin1String(e.name); });
    QVERIFY2(row != table.end(), qPrintable(name));
    QCOMPARE(row->place, geometry);
    QCOMPARE(QString::fromLatin1(row->text), text);
    QCOMPARE(bool(row->alignment & Qt::AlignRight), rightAligned);
}

void TestMainWindow::windowStartsAsDescribed()
{
    MainWindow &f = *w->window;
    QCOMPARE(f.objectName(), QStringLiteral("Form1"));
    QCOMPARE(f.windowTitle(), QStringLiteral("Wavesift"));
    QCOMPARE(f.size(), QSize(763, 560));
    QVERIFY(!f.windowIcon().isNull());
    QVERIFY(!f.windowIcon().pixmap(16, 16).isNull());

    QVERIFY(!element<QPushButton>(names::loadMapButton)->isEnabled());
    QVERIFY(element<QPushButton>(names::loadNewestButton)->isEnabled());
    QVERIFY(element<QPushButton>(names::loadReferenceButton)->isEnabled());
    QVERIFY(element<QPushButton>(names::skipRestButton)->isHidden());
    QVERIFY(!w->scans().newest && !w->scans().reference);
    QVERIFY(!f.receiverWork().fullScanStopping());

    QCOMPARE(element<PlotWidget>("Picture1")->toolTip(),
             QStringLiteral("Click mouse left/right for h/v scan "));
    QCOMPARE(element<PlotWidget>("Picture2")->toolTip(),
             QStringLiteral("Click mouse left/right for h/v scan "));
    QCOMPARE(element<PlotWidget>("Picture3")->toolTip(),
             QStringLiteral("Click mouse for full scan over map data"));
    QCOMPARE(element<QPushButton>("Command6")->toolTip(), QStringLiteral("Skips rest of map file"));

    auto *log = element<QPlainTextEdit>("Text1");
    QVERIFY(log->toolTip().startsWith(QLatin1String("List of known transmissions")));
    QCOMPARE(log->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(QFontInfo(log->font()).fixedPitch());

    // The element names with an index are exactly these.
    for (const char *missing : {"Command5_0", "Scanlabel_0", "Label4_8", "CommonDialog_0"})
        QVERIFY2(!f.findChild<QObject *>(QLatin1String(missing)), missing);
    QCOMPARE(f.findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Label4_"))).size(), 11);

    // The plots start blank: nothing but the background.
    const QImage blank = element<PlotWidget>(names::levelPlot)->surface();
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

void TestMainWindow::tabOrderFollowsTheTable()
{
    QStringList expected;
    for (const Element *row : ws::window::tabOrder())
        expected << QLatin1String(row->name);
    // The documented order: the plots first, the settings last, and those
    // not in the order they stand in.
    QCOMPARE(expected.size(), 12);
    QCOMPARE(expected.first(), QStringLiteral("Picture1"));
    QCOMPARE(expected.mid(2, 2), QStringList({"Command4", "Picture3"}));
    QCOMPARE(expected.mid(8), QStringList({"Text2", "Text4", "Text3", "Text5"}));

    const auto isElement = [](const QWidget *widget) {
        const auto &table = ws::window::elements();
        return std::any_of(table.begin(), table.end(), [widget](const Element &row) {
            return widget->objectName() == QLatin1String(row.name);
        });
    };
    QWidget *current = element<QWidget>(names::levelPlot);
    for (int i = 1; i < expected.size(); ++i) {
        current = current->nextInFocusChain();
        // Skip what cannot take the focus (labels, panels) and the parts of
        // an element (a viewport).
        while (current->focusPolicy() == Qt::NoFocus || !isElement(current))
            current = current->nextInFocusChain();
        QCOMPARE(current->objectName(), expected[i]);
    }

    // Whatever takes the focus has its place in the order; no panel does.
    for (const Element &row : ws::window::elements())
        QCOMPARE(element<QWidget>(row.name)->focusPolicy() != Qt::NoFocus,
                 expected.contains(QLatin1String(row.name)));
    for (QWidget *child : w->window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY(isElement(child) || child->focusPolicy() == Qt::NoFocus);

    // The log box passes Tab on as the others do ("skip rest" is hidden).
    auto *log = element<QPlainTextEdit>(names::logBox);
    for (const auto &[modifier, next] :
         {std::pair(Qt::NoModifier, names::lnbPowerBox),
          std::pair(Qt::ShiftModifier, names::loadReferenceButton)}) {
        log->setFocus();
        QTest::keyClick(log, Qt::Key_Tab, modifier);
        QCOMPARE(w->window->focusWidget()->objectName(), QString(next));
    }
    QVERIFY(log->toPlainText().isEmpty());
}

void TestMainWindow::theWindowIsNeverMadeSmaller()
{
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // The test screen has room for it.
    QCOMPARE(f.minimumSize(), ws::window::kSize);
    f.resize(1200, 900);
    f.resize(300, 200);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), ws::window::kSize);
    // Back at the default size, every element stands where it stood.
    for (const Element &row : ws::window::elements())
        QCOMPARE(placeInWindow(*element<QWidget>(row.name)), row.place);
}

void TestMainWindow::aGrownWindowKeepsEveryElementInItsPlace_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("a pixel wider") << ws::window::kSize + QSize(1, 0);
    QTest::newRow("a pixel taller") << ws::window::kSize + QSize(0, 1);
    QTest::newRow("1280x800") << QSize(1280, 800);
    QTest::newRow("full HD") << QSize(1920, 1080);
}

// Inside the window, overlapping nothing it does not overlap at the default
// size, with the plots and the log box grown and the labels beside what
// they label.
void TestMainWindow::aGrownWindowKeepsEveryElementInItsPlace()
{
    QFETCH(QSize, size);
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const auto place = [this](const char *name) { return placeInWindow(*element<QWidget>(name)); };
    const auto &table = ws::window::elements();
    std::vector<QRect> before;
    for (const Element &row : table)
        before.push_back(place(row.name));

    f.resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), size);
    std::vector<QRect> after;
    for (const Element &row : table)
        after.push_back(place(row.name));
    for (size_t i = 0; i < table.size(); ++i) {
        QVERIFY2(f.rect().contains(after[i]), table[i].name);
        for (size_t j = i + 1; j < table.size(); ++j)
            QVERIFY2(!after[i].intersects(after[j]) || before[i].intersects(before[j]),
                     qPrintable(QStringLiteral("%1 over %2").arg(table[i].name, table[j].name)));
    }

    // The plots, the map strip and the log box take all the extra width; the
    // plots and the log box share the extra height, the level plot the most.
    const int wider = size.width() - ws::window::kSize.width();
    const int taller = size.height() - ws::window::kSize.height();
    const QSize level = place(names::levelPlot).size() - QSize(641, 153);
    const QSize difference = place(names::differencePlot).size() - QSize(641, 129);
    const QSize log = place(names::logBox).size() - QSize(641, 64); // without its overhang
    QCOMPARE(place(names::mapStrip).size(), QSize(641 + wider, 49));
    for (const QSize &grown : {level, difference, log})
        QCOMPARE(grown.width(), wider);
    QCOMPARE(level.height() + difference.height() + log.height(), taller);
    QVERIFY(level.height() >= difference.height() && difference.height() >= log.height());
    QVERIFY(log.height() >= (taller - 6) / 6);

    // Each label keeps its distance to the edge of what it labels.
    struct Beside
    {
        const char *label;
        const char *labelled;
        int (QRect::*labelEdge)() const;
        int (QRect::*edge)() const;
    };
    const Beside pairs[] = {
        {names::levelTopLabel, names::levelPlot, &QRect::top, &QRect::top},
        {"Label4_1", names::levelPlot, &QRect::top, &QRect::top},
        {names::levelBottomLabel, names::levelPlot, &QRect::bottom, &QRect::bottom},
        {names::startFrequencyLabel, names::levelPlot, &QRect::top, &QRect::bottom},
        {names::startFrequencyLabel, names::levelPlot, &QRect::left, &QRect::left},
        {names::endFrequencyLabel, names::levelPlot, &QRect::right, &QRect::right},
        {names::pointerFrequencyLabel, names::differencePlot, &QRect::bottom, &QRect::top},
        {names::differenceTopLabel, names::differencePlot, &QRect::top, &QRect::top},
        {"Label4_2", names::differencePlot, &QRect::top, &QRect::top},
        {names::differenceBottomLabel, names::differencePlot, &QRect::bottom, &QRect::bottom},
        {"Label4_10", names::mapStrip, &QRect::top, &QRect::top},
        {names::diseqcBox, names::mapStrip, &QRect::top, &QRect::bottom},
        {names::verdict, names::logBox, &QRect::top, &QRect::top},
        {names::verdict, nullptr, &QRect::bottom, &QRect::bottom}, // the window's
    };
    const auto distance = [&](const Beside &pair, const std::vector<QRect> &places,
                              QSize window) {
        const auto at = [&](const char *name) {
            if (!name)
                return QRect(QPoint(0, 0), window);
            return places[size_t(&ws::window::element(name) - table.data())];
        };
        return (at(pair.label).*pair.labelEdge)() - (at(pair.labelled).*pair.edge)();
    };
    for (const Beside &pair : pairs) {
        QVERIFY2(distance(pair, after, size) == distance(pair, before, ws::window::kSize),
                 pair.label);
    }
}

void TestMainWindow::dialogsKeepTheirLastChoice()
{
    for (const ws::window::FileDialogElement &row : ws::window::fileDialogs()) {
        auto *dialog = element<FileOpenDialog>(row.name);
        QCOMPARE(dialog->title(), QString::fromLatin1(row.title));
        QCOMPARE(dialog->fileName(), QString::fromLatin1(row.fileName));
    }
    auto *newest = element<FileOpenDialog>("CommonDialog_1");
    auto *reference = element<FileOpenDialog>("CommonDialog_2");
    auto *map = element<FileOpenDialog>("CommonDialog_3");
    QCOMPARE(newest->title(), QStringLiteral("Select Kanalix Scan File"));
    QCOMPARE(newest->fileName(), QStringLiteral("c:\\vanto21\\Scans\\my_scan.scn"));
    QCOMPARE(reference->title(), QStringLiteral("Load Sat-Info"));
    QCOMPARE(reference->fileName(), QStringLiteral("c:\\vanto21\\Scans\\sat.map"));
    QCOMPARE(map->title(), QStringLiteral("Load Sat-Info"));
    QCOMPARE(map->fileName(), QStringLiteral("c:\\vanto21\\maps\\mymap.map"));

    w->dialogs.pick(QStringLiteral("/tmp/a.map"));
    QVERIFY(map->showOpen());
    w->dialogs.cancel();
    QVERIFY(!map->showOpen());
    QCOMPARE(map->fileName(), QStringLiteral("/tmp/a.map"));
    QCOMPARE(w->dialogs.shown.back().prefilled, QStringLiteral("/tmp/a.map"));
    // The other dialogs keep their own names.
    QCOMPARE(newest->fileName(), QStringLiteral("c:\\vanto21\\Scans\\my_scan.scn"));
}

void TestMainWindow::moveOverBareWindowEmptiesTheReadout()
{
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto *pointer = element<QLabel>(names::pointerFrequencyLabel);
    auto *title = element<QLabel>(names::nearestTitleLabel);
    auto *entry = element<QLabel>(names::nearestEntryLabel);
    entry->setText(QStringLiteral("12188H, MPEG2 , Some Station"));
    title->setText(ws::messages::nextKnownSignal());
    // A spot between the legend and the plots that no element covers.
    QTest::mouseMove(&f, QPoint(108, 300));
    QTRY_COMPARE(pointer->text(), QString());
    QCOMPARE(entry->text(), QString());
    QCOMPARE(title->text(), QString());
}

void TestMainWindow::moveOverAPanelOrTheEmptyTileEmptiesTheReadout_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::newRow("between a load button and its label") << QPoint(116, 12);
    QTest::newRow("between the level plot and its title") << QPoint(104, 100);
    QTest::newRow("between the receiver boxes") << QPoint(228, 480);
    QTest::newRow("the verdict tile") << QPoint(50, 520);
}

void TestMainWindow::moveOverAPanelOrTheEmptyTileEmptiesTheReadout()
{
    QFETCH(QPoint, at);
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // Not the bare window: a panel, or the tile that the pointer passes.
    QVERIFY(f.childAt(at) || placeInWindow(*element<QWidget>(names::verdict)).contains(at));
    auto *pointer = element<QLabel>(names::pointerFrequencyLabel);
    auto *entry = element<QLabel>(names::nearestEntryLabel);
    entry->setText(QStringLiteral("12188H, MPEG2 , Some Station"));
    pointer->setText(QStringLiteral("12188 MHz"));
    QTest::mouseMove(&f, at);
    QTRY_COMPARE(pointer->text(), QString());
    QCOMPARE(entry->text(), QString());
}

void TestMainWindow::moveOverAnElementKeepsTheReadout()
{
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto *pointer = element<QLabel>(names::pointerFrequencyLabel);
    auto *entry = element<QLabel>(names::nearestEntryLabel);
    entry->setText(QStringLiteral("kept"));
    for (const char *over : {names::levelTitle, names::loadNewestButton, names::portBox}) {
        QTest::mouseMove(element<QWidget>(over), QPoint(3, 3));
        QCoreApplication::processEvents();
        QCOMPARE(entry->text(), QStringLiteral("kept"));
        QCOMPARE(pointer->text(), QStringLiteral("look for frequency at mouse position here"));
    }
    // Also the readout label's own lower edge, below its one visible line.
    QTest::mouseMove(pointer, QPoint(60, 15));
    QCoreApplication::processEvents();
    QCOMPARE(entry->text(), QStringLiteral("kept"));
}

// The keys the window answers are the ones its keys list names, which the
// manual page is written from.
void TestMainWindow::theKeysAreTheTablesAndNoOthers()
{
    const auto keysOf = [](const QList<QShortcut *> &shortcuts) {
        QStringList keys;
        for (const QShortcut *shortcut : shortcuts)
            keys << shortcut->key().toString(QKeySequence::PortableText);
        keys.sort();
        return keys;
    };
    const auto listed = [](ws::KeyWindow window) {
        QStringList keys;
        for (const ws::WindowKey &key : ws::windowKeys()) {
            if (key.window == window)
                keys << QKeySequence::fromString(QLatin1String(key.keys), QKeySequence::PortableText)
                            .toString(QKeySequence::PortableText);
        }
        keys.sort();
        return keys;
    };
    const QStringList main{"Ctrl+0", "Ctrl+B", "Ctrl+C", "Ctrl+H", "Ctrl+L", "Ctrl+P",
                           "Ctrl+R", "Ctrl+S", "Esc",    "F1",     "F11",    "F5"};
    QCOMPARE(keysOf(w->window->findChildren<QShortcut *>(Qt::FindDirectChildrenOnly)), main);
    QCOMPARE(listed(ws::KeyWindow::Main), main);
    QTemporaryDir dir;
    const QWidget &history = w->window->showHistory({dir.path()});
    const QStringList historyKeys{"Ctrl+0", "Down",        "Enter",        "Esc", "F1",
                                  "Return", "Shift+Enter", "Shift+Return", "Up"};
    QCOMPARE(keysOf(history.findChildren<QShortcut *>(Qt::FindDirectChildrenOnly)), historyKeys);
    QCOMPARE(listed(ws::KeyWindow::History), historyKeys);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestMainWindow)
#include "tst_mainwindow.moc"
