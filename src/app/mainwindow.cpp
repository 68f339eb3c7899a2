#include "app/mainwindow.h"

#include "app/fileopendialog.h"
#include "app/historywindow.h"
#include "app/growinglayout.h"
#include "app/icon.h"
#include "app/keyswindow.h"
#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "app/receiversettingspanel.h"
#include "app/scanfilespanel.h"
#include "app/verdicttile.h"
#include "app/windowelements.h"
#include "app/windowfonts.h"
#include "app/windowkeys.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

MainWindow::MainWindow(const ws::Platform &platform, QWidget *parent)
    : QWidget(parent), platform_(platform)
{
    Q_ASSERT(platform_.dialogs && platform_.events && platform_.clock && platform_.system &&
             platform_.serial);
    setObjectName(QLatin1String(ws::window::names::window));
    setWindowTitle(QStringLiteral("Wavesift"));
    setWindowIcon(ws::appIcon());

    setFont(ws::windowFont());

    // Only the bare window reports moves; the elements stop theirs from
    // reaching it (see createElement).
    setMouseTracking(true);
    // The window grows, but is never made smaller than it opens, unless the
    // screen is.
    QSize smallest = ws::window::kSize;
    if (const QScreen *shownOn = screen())
        smallest = smallest.boundedTo(shownOn->availableSize());
    resize(smallest);
    setMinimumSize(smallest);

    createElements(smallest != ws::window::kSize);
    wireEvents();
    setupTabOrder();
    setupFileDrops();
    handCopyKeyToWindow();
    setupKeys();
    setupReceiver();
    setupWatch();
    setupFollowing();
}

MainWindow::~MainWindow()
{
    // Before the watch it follows goes.
    delete dish_.data();
}

void MainWindow::createElements(bool scrolled)
{
    QWidget *content = this;
    if (scrolled) {
        auto *scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        content = new QWidget;
        content->setMinimumSize(ws::window::kSize);
        // Moves over its bare area go on to the window, as over the window's.
        content->setMouseTracking(true);
        scroll->setWidget(content);
        auto *whole = new QVBoxLayout(this);
        whole->setContentsMargins(0, 0, 0, 0);
        whole->addWidget(scroll);
    }
    // The panels make their elements; the window places the panels and the
    // verdict tile.
    files_ = new ScanFilesPanel(*platform_.dialogs, content);
    plots_ = new PlotsPanel(scans_, map_, content);
    receiverSettings_ = new ReceiverSettingsPanel(content);
    log_ = new LogPanel(content);
    const ws::window::Element &tile = ws::window::element(ws::window::names::verdict);
    verdict_ = static_cast<VerdictTile *>(createElement(tile, content));

    auto *layout = new GrowingLayout(content);
    layout->setDesign(QRect(QPoint(0, 0), ws::window::kSize), ws::window::kWindowGrowth);
    WindowPanel *const panels[] = {files_, plots_, receiverSettings_, log_};
    for (WindowPanel *panel : panels)
        layout->place(panel, panel->designPlace(), panel->growth());
    layout->place(verdict_, tile.place, tile.growth);
    // Every element stands in its place before the window is first shown:
    // a picture or a test may look at one that never is.
    layout->activate();

    skipRestButton = receiverSettings_->skipRestButton();
    // Only while a full scan runs.
    skipRestButton->setVisible(false);
}

void MainWindow::wireEvents()
{
    connect(files_, &ScanFilesPanel::loadClicked, this, [this](ScanFilesPanel::Target target) {
        if (target == ScanFilesPanel::Target::Map)
            loadMap();
        else
            loadScan(target == ScanFilesPanel::Target::NewestScan ? ws::ScanSlot::Newest
                                                                  : ws::ScanSlot::Reference);
    });
    connect(skipRestButton, &QPushButton::clicked, this, [this] { stopFullScan(); });
    // Shift watches what a plain press would check.
    connect(plots_, &PlotsPanel::plotPressed, this,
            [this](double mhz, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                if (modifiers & Qt::ShiftModifier)
                    watchFrequencyAt(mhz, button);
                else
                    checkFrequencyAt(mhz, button);
            });
    connect(plots_, &PlotsPanel::mapStripPressed, this,
            [this](double mhz, Qt::KeyboardModifiers modifiers) {
                if (modifiers & Qt::ShiftModifier)
                    watchMapEntryAt(mhz);
                else
                    runFullScan();
            });
    connect(plots_, &PlotsPanel::pointerMoved, this, &MainWindow::showReadoutAt);
}

void MainWindow::setupKeys()
{
    using ws::KeyAction;
    const auto shortcuts = ws::makeShortcuts(this, ws::KeyWindow::Main, [this](KeyAction action) {
        switch (action) {
        case KeyAction::StopOrWholeRange:
            if (watching())
                stopWatch();
            else if (receiverBusy())
                stopReceiverWork();
            else
                showWholeRange();
            break;
        case KeyAction::WholeRange:
            showWholeRange();
            break;
        case KeyAction::ToggleBeep:
            watch_->setBeeping(!watch_->beeping());
            break;
        case KeyAction::LevelsTable:
            showTransmissionLevels();
            break;
        case KeyAction::HoldLevelScale:
            holdLevelScale(!levelScaleHeld());
            break;
        case KeyAction::ReloadFiles:
            reloadFiles();
            break;
        case KeyAction::OpenHistory:
            openHistory();
            break;
        case KeyAction::OpenPointing:
            showPointing();
            break;
        case KeyAction::OpenDishView:
            openDish();
            break;
        case KeyAction::SavePicture:
            savePicture();
            break;
        case KeyAction::CopyPicture:
            copyPicture();
            break;
        case KeyAction::ShowKeys:
            KeysWindow::showFor(this, ws::KeyWindow::Main);
            break;
        default: // the other windows' actions
            break;
        }
    });
    // The key that stops the check gets through while input is held.
    escapeKey_ = shortcuts.at(KeyAction::StopOrWholeRange);
}

void MainWindow::setupTabOrder()
{
    // Across the panels, as the table says.
    const auto named = [this](const ws::window::Element *row) {
        auto *element = findChild<QWidget *>(QLatin1String(row->name));
        Q_ASSERT_X(element, "MainWindow", row->name);
        return element;
    };
    const std::vector<const ws::window::Element *> order = ws::window::tabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(named(order[i - 1]), named(order[i]));
}

void MainWindow::repaintWindow()
{
    platform_.events->repaintNow(this);
}

void MainWindow::mouseMoveEvent(QMouseEvent *)
{
    // Only moves over the bare window arrive here, also over a panel's empty
    // area and the empty verdict tile (see createElement).
    clearReadout();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched->isWidgetType()) {
        auto *box = static_cast<QWidget *>(watched);
        if (fileDragOnto(box, event) || copyKeyOnto(box, event))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A check, a full scan or a watch ends with the window, at once: the
    // port is closed and a full scan's finished rows are saved.
    watch_->stop(WindowWatch::Ending::WindowClosed);
    if (receiverBusy())
        abandonReceiverWork();
    // The history is this window's: it goes with it.
    if (history_)
        history_->close();
    QWidget::closeEvent(event);
}
