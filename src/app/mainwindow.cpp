#include "app/mainwindow.h"

#include "app/filedrops.h"
#include "app/growinglayout.h"
#include "app/heldscale.h"
#include "app/historywindow.h"
#include "app/icon.h"
#include "app/keyswindow.h"
#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "app/pointingpanel.h"
#include "app/receiversettingspanel.h"
#include "app/receiverwork.h"
#include "app/scanfilespanel.h"
#include "app/shownlevels.h"
#include "app/verdicttile.h"
#include "app/windowelements.h"
#include "app/windowfonts.h"
#include "app/windowkeys.h"
#include "app/windowpanel.h"
#include "app/windowpicture.h"
#include "app/workspace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <functional>
#include <map>

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
    chainTabOrder(*this);
    createParts(setupKeys());
    wireEvents();
}

MainWindow::~MainWindow()
{
    // Before the panels and the tile that a watch shows on.
    delete work_;
}

void MainWindow::createElements(bool scrolled)
{
    QWidget *content = scrolled ? scrolledContent(*this) : this;
    files_ = new ScanFilesPanel(*platform_.dialogs, content);
    workspace_ = new Workspace(platform_, *files_, this);
    plots_ = new PlotsPanel(workspace_->scans(), workspace_->map(), content);
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
    // Only while a full scan runs.
    receiverSettings_->skipRestButton()->setVisible(false);
}

void MainWindow::createParts(const QObject *stopKey)
{
    const auto settings = [this] { return receiverSettings_->settings(); };
    auto watch = std::make_unique<WindowWatch>(WindowWatch::Needs{
        *platform_.serial, *platform_.clock, settings, *platform_.dialogs, *platform_.system,
        *verdict_, *log_, [this](const QString &title) { setWindowTitle(title); }});
    // Through held input pass the key that stops the check and the log box,
    // which shows its progress and may be scrolled meanwhile.
    work_ = new ReceiverWork(platform_, *this, workspace_->map(), settings,
                             HeldInput::within({stopKey, &log_->widget()}), std::move(watch));
    levels_ = new ShownLevels(*workspace_, *plots_, *log_, *platform_.dialogs,
                              [this] { return work_->busy(); }, this);
    if (platform_.ports)
        receiverSettings_->listPorts(*platform_.ports, [this] { return !work_->busy(); });

    // The text boxes take drops of text as they always have, and leave
    // Ctrl+C to the window while nothing is selected in them.
    QList<QWidget *> boxes;
    for (QLineEdit *box : receiverSettings_->boxes())
        boxes << box;
    ws::leaveCopyKeyTo(*this, boxes + QList<QWidget *>{&log_->widget()});
    boxes << log_->widget().viewport();
    auto *drops = new FileDrops(*this, *files_,
                                {[this] { return work_->busy(); },
                                 [this] { return workspace_->scans().reference.has_value(); }},
                                boxes);
    // Should a check have started since the drop, the files load once it
    // has ended.
    connect(drops, &FileDrops::dropped, this, [this](const FileSet &files) {
        work_->whenIdle([this, files] { workspace_->loadFiles(files); });
    });
}

void MainWindow::wireEvents()
{
    connect(files_, &ScanFilesPanel::loadClicked, this, [this](ScanFilesPanel::Target target) {
        if (target == ScanFilesPanel::Target::Map)
            workspace_->loadMap();
        else
            workspace_->loadScan(target == ScanFilesPanel::Target::NewestScan
                                     ? ws::ScanSlot::Newest
                                     : ws::ScanSlot::Reference);
    });
    connect(receiverSettings_->skipRestButton(), &QPushButton::clicked, work_,
            &ReceiverWork::stopFullScan);
    // Shift watches what a plain press would check.
    connect(plots_, &PlotsPanel::plotPressed, this,
            [this](double mhz, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                if (modifiers & Qt::ShiftModifier)
                    work_->watch(mhz, button);
                else
                    work_->check(mhz, button);
            });
    connect(plots_, &PlotsPanel::mapStripPressed, this,
            [this](double mhz, Qt::KeyboardModifiers modifiers) {
                if (modifiers & Qt::ShiftModifier)
                    work_->watchMapEntryAt(mhz);
                else
                    work_->runFullScan();
            });

    connect(workspace_, &Workspace::showNow, this, [this] { platform_.events->repaintNow(this); });
    // Every load of a scan shows the whole range of the scans now loaded;
    // only a reload that left that range as it was keeps the zoom.
    connect(workspace_, &Workspace::scansChanged, this, [this](bool reloaded) {
        plots_->showScans(reloaded);
        levels_->rebuild();
        platform_.events->repaintNow(this);
    });
    connect(workspace_, &Workspace::mapReplacing, plots_, &PlotsPanel::clearMapStrip);
    // F5 rebuilds a table of levels shown for the map as it is now; a map
    // picked anew is listed.
    connect(workspace_, &Workspace::mapChanged, this, [this](bool reloaded) {
        plots_->showMap();
        if (reloaded && log_->showsLevels())
            levels_->rebuild();
        else
            log_->show(workspace_->map().listing);
    });

    connect(work_, &ReceiverWork::checkStarted, workspace_, &Workspace::holdReloads);
    connect(work_, &ReceiverWork::checkEnded, workspace_, &Workspace::releaseReloads);
    connect(work_, &ReceiverWork::logShown, log_, &LogPanel::showWithEndInView);
    connect(work_, &ReceiverWork::verdictShown, verdict_, &VerdictTile::show);
    connect(work_, &ReceiverWork::titleShown, this, &QWidget::setWindowTitle);
    connect(work_, &ReceiverWork::fullScanRunning, receiverSettings_->skipRestButton(),
            &QWidget::setVisible);
}

const QObject *MainWindow::setupKeys()
{
    using ws::KeyAction;
    auto *heldScale = new HeldScale(*this, *plots_);
    const std::map<KeyAction, std::function<void()>> actions{
        // The receiver's work first, as the key that stops it.
        {KeyAction::StopOrWholeRange,
         [this] {
             if (!work_->stop())
                 plots_->showWholeRange();
         }},
        {KeyAction::WholeRange, [this] { plots_->showWholeRange(); }},
        {KeyAction::ToggleBeep, [this] { work_->toggleBeeping(); }},
        {KeyAction::LevelsTable, [this] { levels_->show(); }},
        {KeyAction::HoldLevelScale,
         [this, heldScale] {
             heldScale->toggle();
             platform_.events->repaintNow(this);
         }},
        {KeyAction::ReloadFiles, [this] { workspace_->reloadFiles(); }},
        {KeyAction::OpenHistory,
         [this] {
             QString folder;
             if (platform_.dialogs->chooseFolder(QStringLiteral("Folder of scans for the history"),
                                                 folder))
                 showHistory({folder});
         }},
        {KeyAction::OpenPointing, [this] { PointingPanel::showFor(this); }},
        {KeyAction::OpenDishView, [this] { work_->openDishView(); }},
        {KeyAction::SavePicture,
         [this] { ws::savePicture(picture(), *platform_.dialogs, picturePath_); }},
        {KeyAction::CopyPicture, [this] { QGuiApplication::clipboard()->setImage(picture()); }},
        {KeyAction::ShowKeys, [this] { KeysWindow::showFor(this, ws::KeyWindow::Main); }},
    };
    const auto shortcuts = ws::makeShortcuts(this, ws::KeyWindow::Main, [actions](KeyAction key) {
        if (const auto found = actions.find(key); found != actions.end())
            found->second();
    });
    return shortcuts.at(KeyAction::StopOrWholeRange);
}

QImage MainWindow::picture()
{
    // Rendered from the widgets, not read from the screen: a dialog or
    // another window in front of this one does not show in it.
    return grab().toImage();
}

void MainWindow::presetReceiverSettings(const ws::receiver::ReceiverSettings &settings)
{
    receiverSettings_->preset(settings);
}

HistoryWindow &MainWindow::showHistory(const QStringList &sources)
{
    if (!history_) {
        history_ = new HistoryWindow(*platform_.dialogs, workspace_->fileClock(), this);
        history_->placeBeside(*this);
        connect(history_, &HistoryWindow::scanChosen, this,
                [this](const QString &path, ws::ScanSlot slot) {
                    work_->whenIdle([this, path, slot] {
                        workspace_->loadScanFrom(slot, path);
                        workspace_->loadHeldMap();
                    });
                });
    }
    history_->openOver(*workspace_, plots_->view(), sources);
    return *history_;
}

void MainWindow::mouseMoveEvent(QMouseEvent *)
{
    // Only moves over the bare window arrive here, also over a panel's empty
    // area and the empty verdict tile (see createElement).
    plots_->clearReadout();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A check, a full scan or a watch ends with the window, at once: the
    // port is closed and a full scan's finished rows are saved.
    work_->abandon();
    // The history is this window's: it goes with it.
    if (history_)
        history_->close();
    QWidget::closeEvent(event);
}
