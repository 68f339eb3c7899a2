#pragma once

#include "app/waterfallwidget.h"
#include "core/filefollower.h"
#include "core/platform.h"
#include "history/history.h"
#include "history/loading.h"
#include "history/ranking.h"
#include "map/mapfile.h"
#include "plot/view.h"
#include "scan/levellookup.h"
#include "scan/scans.h"

#include <QFutureWatcher>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class Workspace;
class QLabel;
class QListView;
class RankingModel;
class QProgressBar;
class QPushButton;
class TrendWidget;

// The history window's elements by objectName, for automation and tests.
namespace ws::historywindow::names {
inline constexpr char window[] = "historyWindow";
inline constexpr char waterfall[] = "historyWaterfall";
inline constexpr char status[] = "historyStatus";
inline constexpr char progress[] = "historyProgress";
inline constexpr char cancel[] = "historyCancel";
inline constexpr char skipped[] = "historySkipped";
inline constexpr char readout[] = "historyReadout";
inline constexpr char rankingTitle[] = "historyRankingTitle";
inline constexpr char best[] = "historyBest";
inline constexpr char ranking[] = "historyRanking";
inline constexpr char trendTitle[] = "historyTrendTitle";
inline constexpr char trend[] = "historyTrend";
} // namespace ws::historywindow::names

// The window over a history of scans, "Wavesift history", beside the main
// window: the waterfall of every scan, the readout and the trend of the
// transmission nearest the pointer, and the scans ranked by how well they
// receive the map's transmissions. A click on a scan's row (in the
// waterfall or the ranking) asks for it as the newest scan of the main
// window, a right click as the reference; so do Return and Shift+Return
// for the row of the waterfall's row cursor. The scans load on all cores
// while the window stays responsive, and may be followed as they change.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // The followed scans settle on `fileClock`.
    HistoryWindow(ws::UserDialogs &dialogs, ws::Clock &fileClock, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Shows the scans that `sources` name (folders or scan files) in place of
    // what it showed. The sources are listed off the window's thread; one
    // that does not exist or holds no scan file is told in a message box.
    void open(const QStringList &sources);
    // The map that marks and ranks the scans; an empty one for none.
    void setMap(const ws::MapData &map);
    // Reads the map from a file; a file that cannot be read is told as the
    // main window tells it, and the map stays as it was.
    bool loadMapFrom(const QString &path);
    // The range and zoom of the main window's plots; until the window is
    // given one, it shows the whole range of its scans.
    void setView(const ws::View &view);
    // Whether new and changed scans join as they settle (on by default).
    void setFollowing(bool on);
    // Follows the main window's map and following, now and as they change.
    void listenTo(const Workspace &workspace);
    // Opens `sources` over the workspace's files, in the main window's
    // `view` once both scans are loaded there, and brings the window up.
    void openOver(const Workspace &workspace, const ws::View &view, const QStringList &sources);
    // Beside `window` where the screen holds both, else over it; each
    // fitted to the screen.
    void placeBeside(QWidget &window);

    // What the user can do, by purpose; the elements' events call these.
    // Asks for the scan of row `scan` in the main window: as the newest
    // scan for the left button, as the reference for the right.
    void chooseScan(int scan, Qt::MouseButton button);
    // Moves the row cursor `steps` scans on (toward the newest), or onto
    // the newest scan when it is on none; -1 when there is no scan.
    void moveRowCursor(int steps);
    int rowCursor() const { return cursor_; }
    // The readout and trend for the pointer at whole MHz `mhz` on row `scan`.
    void showReadout(int scan, double mhz, ws::Polarisation pol);
    void zoomAround(double mhz, int notches);
    void panView(int steps);
    void showWholeRange();
    // Stops the load that runs; what was read by then is shown.
    void cancelLoading();
    void showSkippedFiles();

    const ws::History &history() const { return history_; }
    const ws::Ranking &ranking() const { return ranking_; }
    const ws::View &view() const { return view_; }
    bool loading() const { return loader_.running(); }
    // Whether every source the last open() named was found with scan files.
    bool openedAll() const { return openedAll_; }
    bool listing() const { return listing_.isRunning(); }
    // Whether the ranking shown is not yet that of the scans shown.
    bool rankingPending() const { return ranker_.pending(); }

signals:
    void scanChosen(const QString &path, ws::ScanSlot slot);
    // The history has taken what a load read, and the scans are ranked.
    void loaded();
    // The sources of open() are listed, and what was wrong with them told.
    void listed();

private:
    void createElements();
    void sourcesListed();
    // Tells the follower which version of each row's file is shown, a few
    // at a time: it watches each file, which takes a while for thousands.
    void markSeen();
    void follow();
    void loadingProgressed(int done, int total);
    void loadingFinished(bool cancelled);
    void rankingArrived();
    // After every change of the rows, the map or the view.
    void refresh();
    void showRanking();
    void showBest();
    void showWaterfall();
    void showStatus();
    void showView(const ws::View &view);
    void rankingPressed(QPoint position, Qt::MouseButton button);
    bool eventFilter(QObject *watched, QEvent *event) override;

    ws::UserDialogs &dialogs_;
    ws::History history_;
    ws::HistoryLoader loader_;
    ws::FileFollower follower_;
    ws::HistoryRanker ranker_;
    // Whether a load's end waits for its ranking to be told.
    bool loadUntold_ = false;
    bool following_ = true;
    QStringList followedFolders_;
    ws::MapData map_;
    // The map's entries marked on each side, horizontal and vertical, in
    // the map's order, and where each stands in the map.
    ws::MapData sideMaps_[2];
    std::shared_ptr<const WaterfallWidget::Marks> marks_;
    std::vector<int> sideEntries_[2];
    ws::Ranking ranking_;
    ws::View view_;
    // Whether the view came from the main window; otherwise it follows the
    // range of the scans.
    bool viewGiven_ = false;
    ws::WheelTurns wheel_;
    bool cancelled_ = false;
    bool openedAll_ = true;
    QFutureWatcher<ws::ScanSources> listing_;
    QStringList followedSingles_;
    std::vector<std::pair<QString, ws::FileStamp>> unseen_;
    QTimer *seeing_ = nullptr;
    struct Pointer
    {
        int scan;
        double mhz;
        ws::Polarisation pol;
    };
    std::optional<Pointer> pointer_;
    // The scan of the waterfall's row cursor, or -1.
    int cursor_ = -1;
    // When each row's scan was taken, in local time, as its labels show.
    std::vector<QDateTime> times_;

    WaterfallWidget *waterfall_ = nullptr;
    QLabel *status_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QPushButton *skipped_ = nullptr;
    QLabel *readout_ = nullptr;
    QLabel *rankingTitle_ = nullptr;
    QListView *rankingList_ = nullptr;
    RankingModel *rankingModel_ = nullptr;
    QLabel *best_ = nullptr;
    QLabel *trendTitle_ = nullptr;
    TrendWidget *trend_ = nullptr;
    const Workspace *workspace_ = nullptr;
};
