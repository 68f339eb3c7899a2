#include "app/historywindow.h"
#include "app/namedwidget.h"

#include "app/bestposition.h"
#include "app/icon.h"
#include "app/keyswindow.h"
#include "app/windowkeys.h"
#include "app/workspace.h"
#include "wording/messages.h"
#include "app/trendwidget.h"
#include "app/waterfallwidget.h"
#include "core/filenames.h"
#include "core/numbers.h"
#include "core/texts.h"
#include "plot/readout.h"
#include "plot/transmissionlevels.h"
#include "plot/waterfall.h"

#include <QAbstractListModel>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace names = ws::historywindow::names;

namespace {

using ws::named;

QString scanCount(size_t count)
{
    return count == 1 ? QStringLiteral("1 scan") : QStringLiteral("%1 scans").arg(count);
}

QString fileCount(size_t count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

} // namespace

// The ranking as the list shows it: each place's text made only when it is
// drawn, as thousands of items made at once hold the window up. The places
// name rows of the history, which shows a ranking anew whenever they change.
class RankingModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void show(const std::vector<ws::ScanRow> &rows, const ws::Ranking &ranking)
    {
        beginResetModel();
        rows_ = &rows;
        places_ = ranking.places;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(places_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || size_t(index.row()) >= places_.size())
            return {};
        const ws::Ranking::Place &place = places_[size_t(index.row())];
        const ws::ScanRow &row = (*rows_)[size_t(place.row)];
        switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1  %2  %3")
                .arg(index.row() + 1)
                .arg(ws::readableName(row.fileName()), ws::levelText(place.meanLevel));
        case Qt::ToolTipRole:
            return ws::readableName(row.path);
        case Qt::FontRole:
            if (index.row() == 0) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::UserRole:
            return place.row;
        default:
            return {};
        }
    }

private:
    const std::vector<ws::ScanRow> *rows_ = nullptr;
    std::vector<ws::Ranking::Place> places_;
};

HistoryWindow::HistoryWindow(ws::UserDialogs &dialogs, ws::Clock &fileClock, QWidget *parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), loader_(history_), follower_(fileClock)
{
    setObjectName(QLatin1String(names::window));
    setWindowTitle(QStringLiteral("Wavesift history"));
    setWindowIcon(ws::appIcon());
    createElements();
    resize(1000, 640);

    connect(&loader_, &ws::HistoryLoader::progress, this, &HistoryWindow::loadingProgressed);
    connect(&loader_, &ws::HistoryLoader::finished, this, &HistoryWindow::loadingFinished);
    connect(&ranker_, &ws::HistoryRanker::ranked, this, &HistoryWindow::rankingArrived);
    connect(&listing_, &QFutureWatcher<ws::ScanSources>::finished, this,
            &HistoryWindow::sourcesListed);
    seeing_ = new QTimer(this);
    seeing_->setInterval(0);
    connect(seeing_, &QTimer::timeout, this, &HistoryWindow::markSeen);
    connect(&follower_, &ws::FileFollower::settled, this,
            [this](const QStringList &paths) { loader_.load(paths); });
    // Window-wide, as in the main window.
    ws::makeShortcuts(this, ws::KeyWindow::History, [this](ws::KeyAction action) {
        switch (action) {
        case ws::KeyAction::ShowKeys:
            KeysWindow::showFor(this, ws::KeyWindow::History);
            break;
        case ws::KeyAction::WholeRange:
            showWholeRange();
            break;
        case ws::KeyAction::RowCursorUp:
            moveRowCursor(-1);
            break;
        case ws::KeyAction::RowCursorDown:
            moveRowCursor(1);
            break;
        case ws::KeyAction::LoadCursorNewest:
            chooseScan(cursor_, Qt::LeftButton);
            break;
        case ws::KeyAction::LoadCursorReference:
            chooseScan(cursor_, Qt::RightButton);
            break;
        default: // the main window's
            break;
        }
    });
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::createElements()
{
    waterfall_ = named(new WaterfallWidget(this), names::waterfall);
    status_ = named(new QLabel(this), names::status);
    progress_ = named(new QProgressBar(this), names::progress);
    cancel_ = named(new QPushButton(QStringLiteral("Cancel"), this), names::cancel);
    skipped_ = named(new QPushButton(this), names::skipped);
    readout_ = named(new QLabel(this), names::readout);
    rankingTitle_ = named(new QLabel(this), names::rankingTitle);
    rankingList_ = named(new QListView(this), names::ranking);
    rankingModel_ = new RankingModel(rankingList_);
    rankingList_->setModel(rankingModel_);
    rankingList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Thousands of places are measured a few hundred in a turn of the loop.
    rankingList_->setLayoutMode(QListView::Batched);
    rankingList_->setBatchSize(200);
    best_ = named(new QLabel(this), names::best);
    trendTitle_ = named(new QLabel(this), names::trendTitle);
    trend_ = named(new TrendWidget(this), names::trend);

    for (QLabel *label : {status_, readout_, rankingTitle_, best_, trendTitle_})
        label->setTextFormat(Qt::PlainText);
    rankingTitle_->setWordWrap(true);
    best_->setWordWrap(true);
    best_->setVisible(false);
    trendTitle_->setWordWrap(true);
    // Long texts are cut rather than widen the window past a small screen.
    for (QWidget *widget : {static_cast<QWidget *>(readout_), static_cast<QWidget *>(status_),
                            static_cast<QWidget *>(progress_)})
        widget->setMinimumWidth(1);
    skipped_->setToolTip(QStringLiteral("Show the files that were skipped and why"));
    rankingList_->setToolTip(QStringLiteral("Click: load as newest scan, right click: as "
                                            "reference"));
    waterfall_->setToolTip(rankingList_->toolTip());
    rankingList_->viewport()->installEventFilter(this);
    trend_->setMinimumHeight(170);
    progress_->setVisible(false);
    cancel_->setVisible(false);
    skipped_->setVisible(false);

    auto *top = new QHBoxLayout;
    top->addWidget(status_, 1);
    top->addWidget(progress_, 2);
    top->addWidget(cancel_);
    top->addWidget(skipped_);
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(waterfall_, 1);
    left->addWidget(readout_);
    auto *right = new QVBoxLayout;
    right->addWidget(rankingTitle_);
    right->addWidget(rankingList_, 1);
    right->addWidget(best_);
    right->addWidget(trendTitle_);
    right->addWidget(trend_);
    auto *side = new QWidget(this);
    side->setLayout(right);
    side->setFixedWidth(260);
    auto *all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addWidget(side);

    connect(cancel_, &QPushButton::clicked, this, &HistoryWindow::cancelLoading);
    connect(skipped_, &QPushButton::clicked, this, &HistoryWindow::showSkippedFiles);
    connect(waterfall_, &WaterfallWidget::pointerAt, this, &HistoryWindow::showReadout);
    connect(waterfall_, &WaterfallWidget::pressed, this, &HistoryWindow::chooseScan);
    connect(waterfall_, &WaterfallWidget::wheelTurned, this,
            [this](double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
                showView(wheel_.turned(view_, mhz, angleDelta.x(), angleDelta.y(),
                                       modifiers & Qt::ShiftModifier));
            });
}

void HistoryWindow::open(const QStringList &sources)
{
    loader_.abandon();
    history_.clear();
    pointer_.reset();
    cursor_ = -1;
    waterfall_->setCursorRow(-1);
    readout_->clear();
    cancelled_ = false;
    followedFolders_.clear();
    followedSingles_.clear();
    follow();
    // Whole paths, so that a file is one row however it was named; done
    // on the text, as a name may keep bytes that Qt's file classes lose.
    QStringList whole;
    for (const QString &source : sources)
        whole << QDir::cleanPath(QDir::current().absoluteFilePath(source));
    // A listing of sources no longer shown is not waited for.
    listing_.setFuture(ws::listSources(whole));
    refresh();
}

void HistoryWindow::sourcesListed()
{
    const ws::ScanSources found = listing_.result();
    followedFolders_ = found.folders;
    followedSingles_ = found.singles;
    history_.add({}, found.unlisted);
    follow();
    loader_.load(found.files);
    refresh();
    // Said once the window shows what it has, each as a scan that did not load.
    bool all = true;
    for (const std::vector<ws::SkippedScan> *skipped : {&found.missing, &found.unlisted}) {
        for (const ws::SkippedScan &s : *skipped) {
            dialogs_.message(ws::messages::cancelled(),
                             ws::failureDetail(ws::readableName(s.path), s.reason));
            all = false;
        }
    }
    for (const QString &folder : found.emptyFolders) {
        dialogs_.message(ws::messages::cancelled(),
                         ws::readableName(folder) +
                             QStringLiteral(": no scan file (.scn) in this folder"));
        all = false;
    }
    openedAll_ = all;
    emit listed();
}

void HistoryWindow::setMap(const ws::MapData &map)
{
    map_ = map;
    for (const ws::Polarisation pol : {ws::Polarisation::Horizontal, ws::Polarisation::Vertical}) {
        ws::MapData &side = sideMaps_[int(pol)];
        side = {};
        sideEntries_[int(pol)].clear();
        for (qsizetype i = 0; i < map.entries.size(); ++i) {
            if (WaterfallWidget::marksOn(map.entries[i], pol)) {
                side.entries.push_back(map.entries[i]);
                sideEntries_[int(pol)].push_back(int(i));
            }
        }
    }
    marks_ = WaterfallWidget::marksOf(map.entries);
    ranker_.setEntries(map.entries);
    refresh();
}

bool HistoryWindow::loadMapFrom(const QString &path)
{
    const auto file = ws::readMapFile(path);
    if (!file.value) {
        dialogs_.message(ws::messages::cancelled(), ws::failureDetail(path, file.failure.reason));
        return false;
    }
    setMap(ws::parseMap(file.value->bytes));
    if (ws::holdsNoFrequency(map_))
        dialogs_.message(ws::messages::mapWithoutFrequency(path));
    return true;
}

void HistoryWindow::listenTo(const Workspace &workspace)
{
    setFollowing(workspace.following());
    if (!workspace.mapPath().isEmpty())
        setMap(workspace.map());
    if (std::exchange(workspace_, &workspace) == &workspace)
        return;
    connect(&workspace, &Workspace::followingChanged, this, &HistoryWindow::setFollowing);
    connect(&workspace, &Workspace::mapChanged, this,
            [this] { setMap(workspace_->map()); });
}

void HistoryWindow::openOver(const Workspace &workspace, const ws::View &view,
                             const QStringList &sources)
{
    listenTo(workspace);
    if (workspace.scans().bothLoaded())
        setView(view);
    open(sources);
    show();
    raise();
    activateWindow();
}

namespace {

// The size the history window opens at where the screen has room.
constexpr QSize kHistorySize(1000, 640);

// The window's frame around its content, as the window system draws it;
// none before the window was shown.
QSize frameOf(const QWidget &window)
{
    return window.frameGeometry().size() - window.geometry().size();
}

// The content size that fits a window with that frame into `room`.
QSize fitted(QSize wanted, QSize frame, const QRect &room)
{
    return wanted.boundedTo(room.size() - frame).expandedTo(QSize(1, 1));
}

} // namespace

void HistoryWindow::placeBeside(QWidget &window)
{
    const QRect room =
        window.screen() ? window.screen()->availableGeometry() : QRect(0, 0, 1000, 640);
    // A window not shown yet has no frame: it gets the other's.
    const QSize frame = frameOf(window);
    window.resize(fitted(window.size(), frame, room));
    resize(fitted(kHistorySize, frame, room));
    const QSize mine = window.size() + frame;
    const QSize other = size() + frame;
    if (mine.width() + other.width() <= room.width() &&
        std::max(mine.height(), other.height()) <= room.height()) {
        const int left = std::clamp(window.frameGeometry().left(), room.left(),
                                    room.right() + 1 - mine.width() - other.width());
        const int top = std::clamp(window.frameGeometry().top(), room.top(),
                                   room.bottom() + 1 - std::max(mine.height(), other.height()));
        window.move(left, top);
        move(left + mine.width(), top);
    } else {
        window.move(room.topLeft());
        move(room.right() + 1 - other.width(), room.bottom() + 1 - other.height());
    }
}

void HistoryWindow::setView(const ws::View &view)
{
    viewGiven_ = true;
    wheel_.forget();
    showView(view);
}

void HistoryWindow::setFollowing(bool on)
{
    if (on == following_)
        return;
    following_ = on;
    follow();
}

void HistoryWindow::follow()
{
    if (!following_) {
        follower_.stop();
        return;
    }
    follower_.follow(followedSingles_, followedFolders_, [](const QString &folder) {
        return ws::scanFilesIn(folder).value.value_or(QStringList());
    });
    // Only a later version of a file than the one shown is a change.
    unseen_.clear();
    for (const ws::ScanRow &row : history_.rows())
        unseen_.push_back({row.path, {true, row.size, row.modified}});
    seeing_->start();
}

void HistoryWindow::markSeen()
{
    // Each file watched costs more than the one before: a turn of the
    // event loop takes what fits in a few milliseconds.
    QElapsedTimer turn;
    turn.start();
    while (!unseen_.empty() && turn.elapsed() < 5) {
        follower_.seen(unseen_.back().first, unseen_.back().second);
        unseen_.pop_back();
    }
    if (unseen_.empty())
        seeing_->stop();
}

void HistoryWindow::loadingProgressed(int done, int total)
{
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(done);
    progress_->setVisible(true);
    cancel_->setVisible(true);
    status_->setText(QStringLiteral("Loading %1 of %2 ...").arg(done).arg(total));
}

void HistoryWindow::loadingFinished(bool cancelled)
{
    cancelled_ = cancelled_ || cancelled;
    loadUntold_ = true;
    if (following_) {
        for (const ws::ScanRow &row : history_.rows())
            unseen_.push_back({row.path, {true, row.size, row.modified}});
        seeing_->start();
    }
    refresh();
}

void HistoryWindow::rankingArrived()
{
    ranking_ = ranker_.ranking();
    showRanking();
    showWaterfall();
    // The trend marks the best position.
    if (pointer_ && size_t(pointer_->scan) < history_.rows().size())
        showReadout(pointer_->scan, pointer_->mhz, pointer_->pol);
    if (loadUntold_ && !loader_.running()) {
        loadUntold_ = false;
        emit loaded();
    }
}

void HistoryWindow::cancelLoading()
{
    loader_.cancel();
}

void HistoryWindow::refresh()
{
    const bool busy = loader_.running();
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
    // A view of the scans' own range follows it while not zoomed in.
    const std::optional<ws::FrequencyRange> range = history_.range();
    if (!viewGiven_ && range && !view_.zoomed() &&
        (range->first != view_.full().first || range->last != view_.full().last)) {
        view_ = ws::View(*range);
        wheel_.forget();
    }
    // Until the ranking of these rows arrives, none is shown: the places
    // of the last one are rows that may have moved.
    ranking_ = {};
    ranker_.rank(history_.rows());
    // The local wall-clock times, held as UTC's, which read without a look-up
    // of the time zone at every paint of thousands of rows.
    times_.clear();
    for (const ws::ScanRow &row : history_.rows()) {
        const QDateTime local = row.modified.toLocalTime();
        times_.push_back(QDateTime(local.date(), local.time(), Qt::UTC));
    }
    if (cursor_ >= int(history_.rows().size())) {
        cursor_ = int(history_.rows().size()) - 1;
        waterfall_->setCursorRow(cursor_);
    }
    showStatus();
    showRanking();
    showWaterfall();
    if (pointer_ && size_t(pointer_->scan) < history_.rows().size())
        showReadout(pointer_->scan, pointer_->mhz, pointer_->pol);
}

void HistoryWindow::showStatus()
{
    if (!loader_.running()) {
        QString text = scanCount(history_.rows().size());
        if (cancelled_)
            text += QStringLiteral(" (loading cancelled)");
        status_->setText(text);
    }
    const size_t skipped = history_.skipped().size();
    skipped_->setVisible(skipped > 0);
    skipped_->setText(fileCount(skipped) + QStringLiteral(" skipped ..."));
}

void HistoryWindow::showRanking()
{
    rankingModel_->show(history_.rows(), {});
    showBest();
    if (history_.rows().empty() && !loader_.running() && !listing_.isRunning()) {
        rankingTitle_->setText(QStringLiteral("No scan loaded"));
        return;
    }
    if (map_.entries.isEmpty()) {
        rankingTitle_->setText(QStringLiteral("Best position: load a map to rank the scans by "
                                              "its MPEG transmissions"));
        return;
    }
    if (ranker_.pending() || loader_.running()) {
        rankingTitle_->setText(QStringLiteral("Best position: ranking the scans ..."));
        return;
    }
    if (ranking_.places.empty()) {
        rankingTitle_->setText(QStringLiteral("Best position: no MPEG transmission of the map "
                                              "has a level in every scan"));
        return;
    }
    rankingTitle_->setText(QStringLiteral("Best position: mean level of %1 MPEG "
                                          "transmissions, best first")
                               .arg(ranking_.transmissions));
    rankingModel_->show(history_.rows(), ranking_);
}

void HistoryWindow::showBest()
{
    const QString words = ranker_.pending() || loader_.running()
                              ? QString()
                              : ws::bestPositionWords(history_.rows(), ranking_);
    best_->setText(words);
    best_->setVisible(!words.isEmpty());
}

void HistoryWindow::showWaterfall()
{
    WaterfallWidget::Picture picture;
    for (const ws::ScanRow &row : history_.rows()) {
        picture.horizontal.push_back(
            {row.firstMhz, row.horizontal.constData(), row.horizontal.size()});
        picture.vertical.push_back({row.firstMhz, row.vertical.constData(), row.vertical.size()});
    }
    if (const auto span = history_.levelSpan()) {
        picture.lowest = span->lowest;
        picture.highest = span->highest;
    }
    picture.best = ranking_.places.empty() ? -1 : ranking_.places.front().row;
    picture.marks = marks_;
    picture.times = times_;
    waterfall_->showPicture(std::move(picture), view_);
}

void HistoryWindow::showView(const ws::View &view)
{
    if (view == view_)
        return;
    view_ = view;
    showWaterfall();
}

void HistoryWindow::zoomAround(double mhz, int notches)
{
    ws::View view = view_;
    view.zoomAt(mhz, notches);
    showView(view);
}

void HistoryWindow::panView(int steps)
{
    ws::View view = view_;
    view.pan(steps);
    showView(view);
}

void HistoryWindow::showWholeRange()
{
    ws::View view = view_;
    view.reset();
    showView(view);
}

void HistoryWindow::showReadout(int scan, double mhz, ws::Polarisation pol)
{
    if (scan < 0 || size_t(scan) >= history_.rows().size())
        return;
    pointer_ = Pointer{scan, mhz, pol};
    const ws::ScanRow &row = history_.rows()[size_t(scan)];
    const bool horizontal = pol == ws::Polarisation::Horizontal;
    const std::optional<double> level = row.levelAt(pol, mhz);
    readout_->setText(ws::readableName(row.fileName()) + QStringLiteral("  ") +
                      ws::generalDateText(row.modified) + QStringLiteral("  ") +
                      ws::frequencyReadout(mhz) + (horizontal ? QStringLiteral("H  ")
                                                              : QStringLiteral("V  ")) +
                      (level ? QStringLiteral("level ") + ws::formatSingle(float(*level))
                             : QStringLiteral("no level")));

    // Of the transmissions sent in the polarisation under the pointer.
    const int onSide = ws::nearestMapEntry(sideMaps_[int(pol)], mhz);
    const int nearest = onSide < 0 ? -1 : sideEntries_[int(pol)][size_t(onSide)];
    if (nearest < 0) {
        trendTitle_->setText(QStringLiteral("Trend: load a map to follow a transmission"));
        trend_->clear();
        return;
    }
    const ws::MapEntry &entry = map_.entries.at(nearest);
    const std::vector<std::optional<double>> trend = ws::trendOf(history_.rows(), entry);
    const std::optional<double> here = trend[size_t(scan)];
    trendTitle_->setText(QStringLiteral("Trend of %1 (%2%3 %4): %5")
                             .arg(entry.name.trimmed(), entry.frequencyText, entry.polarisation,
                                  entry.type.trimmed(),
                                  here ? ws::levelText(*here) + QStringLiteral(" in this scan")
                                       : QStringLiteral("no level in this scan")));
    trend_->showTrend(trend, times_, scan,
                      ranking_.places.empty() ? -1 : ranking_.places.front().row);
}

void HistoryWindow::chooseScan(int scan, Qt::MouseButton button)
{
    if (scan < 0 || size_t(scan) >= history_.rows().size())
        return;
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    emit scanChosen(history_.rows()[size_t(scan)].path,
                    button == Qt::LeftButton ? ws::ScanSlot::Newest : ws::ScanSlot::Reference);
}

void HistoryWindow::moveRowCursor(int steps)
{
    const int count = int(history_.rows().size());
    if (count == 0) {
        cursor_ = -1;
    } else if (cursor_ < 0) {
        cursor_ = count - 1;
    } else {
        cursor_ = std::clamp(cursor_ + steps, 0, count - 1);
    }
    waterfall_->setCursorRow(cursor_);
    // What the pointer looked at, in the scan of the cursor.
    if (cursor_ >= 0 && pointer_)
        showReadout(cursor_, pointer_->mhz, pointer_->pol);
}

void HistoryWindow::showSkippedFiles()
{
    QStringList lines;
    for (const ws::SkippedScan &skipped : history_.skipped()) {
        const QString message =
            skipped.kind ? ws::messages::scanNotLoaded(*skipped.kind) : ws::messages::cancelled();
        lines << ws::failureDetail(ws::readableName(skipped.path), skipped.reason) +
                     QStringLiteral(" (") + message + QLatin1Char(')');
    }
    lines.sort();
    dialogs_.message(fileCount(size_t(lines.size())) +
                         QStringLiteral(" skipped: no scans, or not readable"),
                     ws::messages::fileList(lines));
}

void HistoryWindow::rankingPressed(QPoint position, Qt::MouseButton button)
{
    const QModelIndex place = rankingList_->indexAt(position);
    if (place.isValid())
        chooseScan(place.data(Qt::UserRole).toInt(), button);
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rankingList_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        rankingPressed(press->position().toPoint(), press->button());
    }
    return QWidget::eventFilter(watched, event);
}
