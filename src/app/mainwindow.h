#pragma once

#include "app/windowplatform.h"
#include "app/windowwatch.h"
#include "app/dishview.h"
#include "fullscan/runner.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "plot/view.h"
#include "pointing/pointing.h"
#include "receiver/signalcheck.h"
#include "scan/scans.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ws {
class FileFollower;
}
class HistoryWindow;
class HeldInput;
class LogPanel;
class PointingPanel;
class PlotsPanel;
class ReceiverSettingsPanel;
class ScanFilesPanel;
class VerdictTile;
class QImage;
class QMimeData;
class QPushButton;
class QShortcut;

// The program's one window. It owns the elements, the panels that speak for
// them, and the model (the two scans and the map), and turns the panels'
// events into the actions below.
// Each subsystem's actions live in a mainwindow_<subsystem>.cpp of their own.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const ws::Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // What the user can do, by purpose. The elements' events call these;
    // so do the tests, and so may anything else that drives the window.

    // Asks for a scan file and loads it into the slot ("Load Newest ...",
    // "Load Reference ..."); once both slots hold a scan, draws the plots.
    void loadScan(ws::ScanSlot slot);
    // Asks for a map of known transmissions, lists it in the log box and
    // draws it into the map strip ("Load Map ...").
    void loadMap();
    // The same loads for a file that came another way: all that follows
    // the dialog, which then offers the file as its last choice. True when
    // the file was loaded; otherwise the user has been told, as after a
    // dialog.
    bool loadScanFrom(ws::ScanSlot slot, const QString &path);
    bool loadMapFrom(const QString &path);
    // The files a command line names, in its order: the newest scan, the
    // reference scan, the map; each loads as if picked in its dialog. A map
    // loads only once "Load Map ..." could be clicked, after both scans were
    // drawn; otherwise the user is told. True when every file was loaded.
    // `beforeEach` hears each file's whole path before it loads.
    bool openFiles(const QStringList &files,
                   const std::function<void(const QString &path)> &beforeEach = {});
    // The same files in any order, as a file manager hands them over:
    // sorted as a drop onto the window sorts them (filesByKind). More than
    // the slots take loads nothing, and the user is told.
    bool openFilesByKind(const QStringList &files,
                         const std::function<void(const QString &path)> &beforeEach = {});
    // The window as it is shown, at the screen's pixel ratio.
    QImage picture();
    // Asks for a file name and saves the picture there as a PNG (Ctrl+S).
    void savePicture();
    // Puts the picture on the clipboard (Ctrl+C where no text is selected).
    void copyPicture();
    // The readout for the pointer at `mhz` over a plot or the map strip:
    // the frequency and the nearest entry of the map.
    void showReadoutAt(double mhz);
    // Empties the readout, as the pointer leaves the plots for the bare
    // window.
    void clearReadout();
    // Shows the level of every map entry in both scans and its change in the
    // log box, the largest loss first (Ctrl+R). Needs both scans and a map.
    void showTransmissionLevels();
    // Checks the receiver at `mhz` (a press into the level or difference
    // plot); the button chooses the polarisation. The check runs on from
    // the event loop; one that is already running refuses another.
    void checkFrequencyAt(double mhz, Qt::MouseButton button);
    // Puts the settings into the receiver boxes, as if typed there; an
    // empty one leaves its box as it is.
    void presetReceiverSettings(const ws::receiver::ReceiverSettings &settings);
    // Checks every MPEG entry of the map and saves the results (a press
    // into the map strip); runs on from the event loop.
    void runFullScan();
    // "skip rest": the running full scan stops after its current check.
    void stopFullScan();
    // Escape during a check or a full scan: the running check ends at once,
    // the full scan saves what it has. Clicks that waited for the check are
    // forgotten.
    void stopReceiverWork();
    // Whether a check or a full scan runs.
    bool receiverBusy() const { return !jobs_.empty(); }
    // Watches the receiver at `mhz` (Shift and a press into a plot): tuned
    // once as for a check, it is asked for its status until the watch
    // ends; the button chooses the polarisation as for a check.
    void watchFrequencyAt(double mhz, Qt::MouseButton button);
    // Watches the known transmission that the readout names at `mhz`, in
    // its polarisation (Shift and a press into the map strip); nothing
    // without a map.
    void watchMapEntryAt(double mhz);
    // Ends a running watch at once, the port closed (Escape, closing the
    // window, a press on a plot, the map strip or a button).
    void stopWatch();
    bool watching() const;
    // F11: the dish view of the running watch; none without a watch.
    void openDish();
    DishView *dishView() const;
    // Zooms the frequency axis of all three plots around `mhz`, keeping it
    // in its place: a notch in (positive) shows 4/5 of the width, a notch
    // out 5/4 (the mouse wheel over a plot). Needs both scans drawn.
    void zoomAround(double mhz, int notches);
    // Moves the visible range by a tenth of its width per step, towards
    // the higher frequencies for positive steps (Shift+wheel, a horizontal
    // wheel).
    void panView(int steps);
    // The whole range of the scans again (Escape, Ctrl+0).
    void showWholeRange();
    // Keeps the level scale of both plots and their scale labels as they
    // are through every load until released, so that successive scans
    // compare by eye (Ctrl+L toggles it); the title then ends in
    // " (scale held)".
    void holdLevelScale(bool on);
    bool levelScaleHeld() const;
    // Whether a loaded scan whose file changes on disk loads again by
    // itself, as if picked anew; on unless turned off (--no-follow).
    void setFollowingFiles(bool on);
    // Loads each loaded file again, the scans and then the map, keeping
    // the zoom while the scans' whole range stays the same (F5).
    void reloadFiles();
    // Asks for a folder and shows the history of its scans (Ctrl+H).
    void openHistory();
    // The history window over the scans that `sources` name (folders, for
    // their scan files, or scan files), marked with this window's map and
    // on the range and zoom of its plots once both scans are drawn. A click
    // on a scan there loads it here as the newest scan, a right click as
    // the reference.
    HistoryWindow &showHistory(const QStringList &sources);
    // A map for this window that loads once both scans are drawn, as the
    // history's scans are clicked (--history --map).
    void holdMap(const QString &path);
    // The history window, once one was shown.
    HistoryWindow *historyWindow() const { return history_; }
    // Shows the panel of where to point the dish (Ctrl+P).
    PointingPanel &showPointing();
    // Fills the pointing panel's site, as if typed there (--site).
    void presetSite(const ws::pointing::Site &site);

    // State, for tests and diagnostics. The window's actions are the only
    // ones that change it in the program.
    ws::Scans &scansForTest() { return scans_; }
    ws::MapData &mapForTest() { return map_; }
    // The log of the last spot check as the check wrote it; the log box
    // shows it with its line ends converted.
    const QString &lastCheckLog() const { return lastCheckLog_; }
    // Whether "skip rest" was pressed during the full scan that runs.
    bool fullScanStopRequested() const { return stopRequested_; }
    // The visible part of the frequency axis.
    const ws::View &view() const;
    ws::FileFollower &followerForTest() { return *follower_; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    // Whoever sets the title, a held scale's mark stays at its end.
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Files dropped onto the window (mainwindow_files.cpp).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // Events of the text boxes that are the window's.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawScans();
    void markHeldScaleInTitle();
    // Work with the receiver (mainwindow_receiver.cpp): a spot check or a
    // full scan; one started while another pauses between its rows runs to
    // its end first.
    struct ReceiverJob
    {
        // Empty for a spot check.
        std::unique_ptr<ws::FullScanRunner> scan;
        QString titleBefore;
        // A full scan's next row, waiting for what was started between its
        // rows.
        std::function<void()> parked;
        std::unique_ptr<ws::Timer> nextRow;
    };
    void checkSignal(const QString &frequency, ws::receiver::Polarisation polarisation,
                     std::function<void(const ws::receiver::CheckResult &)> done);
    void beginJob(std::unique_ptr<ReceiverJob> job);
    void endJob(ReceiverJob *job);
    // A full scan whose next row waits goes on, unless a check runs.
    void resumeTopJob();
    void betweenRows(ReceiverJob *job, std::function<void()> resume);
    void fullScanEnded(ReceiverJob *job, const ws::FullScanEnd &end);
    // Where the window's full scans put their results.
    ws::ResultsPlace resultsPlace() const;
    // Closing the window ends the work at once, keeping a full scan's
    // finished rows and what its running check had so far.
    void abandonReceiverWork();
    void setupReceiver();
    void setupWatch();
    // The polarisation a press with `button` checks or watches.
    static ws::receiver::Polarisation polarisationForButton(Qt::MouseButton button);
    void startWatch(const QString &frequency, ws::receiver::Polarisation polarisation);

    // On a screen smaller than the design, `scrolled`: the elements keep
    // their places in a scroll area instead of overlapping.
    void createElements(bool scrolled);
    void wireEvents();
    void setupTabOrder();
    // Makes pending drawing and text changes visible at once.
    void repaintWindow();

    // Files from outside the dialogs, by the slot they load into; an empty
    // path loads nothing. The map loads last, after the scans it needs.
    struct FileSet
    {
        QString newest;
        QString reference;
        QString map;
    };
    bool loadFileSet(const FileSet &files,
                     const std::function<void(const QString &path)> &beforeEach);
    // What a drop of `data` at `at` (window coordinates) would load;
    // nothing when the drop is refused.
    std::optional<FileSet> fileDropAt(const QMimeData *data, QPoint at) const;
    // Files by their names: .scn files are scans, of two the one changed
    // last the newest; any other file is the map. Nothing when more than
    // two scans or one map are given.
    static std::optional<FileSet> filesByKind(const QStringList &paths);
    void setupFileDrops();
    // A drag of files over a text box, handled as over the window.
    bool fileDragOnto(QWidget *box, QEvent *event);
    // Runs `work` now, or when no check or full scan runs any more.
    void whenIdle(std::function<void()> work);
    // The keys of the table (windowkeys.h), each to what it does.
    void setupKeys();
    // Ctrl+C from a text box with nothing selected goes to the window.
    void handCopyKeyToWindow();
    PointingPanel &pointingPanel();
    // The table of levels in the log box, with the files it compares.
    void showLevelsTable();
    // A table of levels shown is rebuilt from the scans and map loaded now.
    void rebuildShownLevels();
    // Following the loaded files (mainwindow_follow.cpp).
    void setupFollowing();
    void scanLoadedFrom(ws::ScanSlot slot, const QString &path, qint64 size,
                        const QDateTime &lastModified);
    QStringList loadedScanFiles() const;
    ws::Clock &fileClock() const;
    void reloadChangedScan(ws::ScanSlot slot);
    void reloadDeferredScans();
    // Ctrl+C in a text box with nothing selected, left to the window.
    bool copyKeyOnto(QWidget *box, QEvent *event);

    // The window's elements by what they are for: windowelements.cpp has
    // all of them, with their objectNames, places and texts; each panel
    // makes and holds the ones it speaks for. The window wires the panels
    // to its actions and to the model.
    ScanFilesPanel *files_ = nullptr;
    ReceiverSettingsPanel *receiverSettings_ = nullptr;
    LogPanel *log_ = nullptr;
    PlotsPanel *plots_ = nullptr;
    QPushButton *skipRestButton = nullptr;
    VerdictTile *verdict_ = nullptr;

    // The receiver's work, one check at a time: the check machine, what
    // the log box hears of it, the jobs begun (a full scan at the bottom,
    // what the user started between its rows above it) and the input that
    // waits while a check runs.
    std::unique_ptr<ws::receiver::CheckEvents> checkLog_;
    std::unique_ptr<ws::receiver::SignalCheck> check_;
    std::unique_ptr<WindowWatch> watch_;
    QPointer<DishView> dish_;
    std::vector<std::unique_ptr<ReceiverJob>> jobs_;
    std::vector<std::unique_ptr<ReceiverJob>> retiredJobs_;
    HeldInput *heldInput_ = nullptr;
    QShortcut *escapeKey_ = nullptr;
    // A port failure the running check reported, shown once it has ended.
    ws::receiver::PortFailure portFailure_;
    // What the verdict tile shows while a spot check runs, as it looks.
    std::function<void()> showCheckProgress_;
    // While the job that ran a check takes its result: what the user did
    // meanwhile comes first, then the job goes on.
    bool endingCheck_ = false;
    // What waits until no check or full scan runs any more: files dropped
    // just before a check began, whose load would show its boxes in the
    // middle of it.
    std::vector<std::function<void()>> afterReceiverWork_;
    // The stop request for the running full scans ("skip rest", Escape).
    bool stopRequested_ = false;

    ws::Platform platform_;
    ws::Scans scans_;
    ws::MapData map_;
    QString lastCheckLog_;
    // The files the slots (newest, reference) and the map were last loaded
    // from, for F5, the follower and the table of levels; empty for what
    // was never loaded.
    ws::ScanSource loadedScans_[2];
    QString loadedMapPath_;
    // The newest scans the tables of levels showed, for "since last".
    ws::NewestShown newestShown_;
    ws::FileFollower *follower_ = nullptr;
    HistoryWindow *history_ = nullptr;
    PointingPanel *pointing_ = nullptr;
    QString heldMap_;
    bool following_ = true;
    // While a reload runs (F5, a followed file): the view stays if the
    // whole range does, and a table of levels shown stays, rebuilt.
    bool reloading_ = false;
    // Slots (bit 0 newest, bit 1 reference) whose files changed during a
    // check, to load once it has ended.
    int deferredReloads_ = 0;
    // Where the last picture was saved, offered for the next.
    QString picturePath_ = QStringLiteral("wavesift.png");
};
