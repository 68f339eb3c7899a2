#pragma once

#include "app/windowplatform.h"
#include "pointing/pointing.h"
#include "receiver/signalcheck.h"

#include <QPointer>
#include <QWidget>

class HistoryWindow;
class LogPanel;
class PointingPanel;
class PlotsPanel;
class ReceiverSettingsPanel;
class ReceiverWork;
class ScanFilesPanel;
class VerdictTile;
class Workspace;
class QImage;

// The program's one window: it makes the panels, the workspace of what is
// loaded and the receiver work, and connects them. What each owns is its
// own; the window keeps only what is the window's (its picture, its title's
// mark, the dialogs beside it).
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const ws::Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    Workspace &workspace() { return *workspace_; }
    ReceiverWork &receiverWork() { return *work_; }
    PlotsPanel &plots() { return *plots_; }

    // The window as it is shown, at the screen's pixel ratio; saved as a PNG
    // (Ctrl+S) or put on the clipboard (Ctrl+C where no text is selected).
    QImage picture();
    void savePicture();
    void copyPicture();

    // Ctrl+R: needs both scans and a map, and no receiver work.
    void showTransmissionLevels();
    void presetReceiverSettings(const ws::receiver::ReceiverSettings &settings);
    // A press into the map strip: every MPEG entry of the map is checked.
    void runFullScan();
    // Shift and a press into the strip: the entry the readout names there.
    void watchMapEntryAt(double mhz);
    // F11 during a watch.
    void openDishView();

    // Ctrl+L: the level scale stays through every load until released; the
    // title then ends in " (scale held)".
    void holdLevelScale(bool on);

    // Ctrl+H asks for a folder; `sources` are folders or scan files. A click
    // on a scan there loads it here.
    void openHistory();
    HistoryWindow &showHistory(const QStringList &sources);
    HistoryWindow *historyWindow() const { return history_; }
    PointingPanel &showPointing();
    void presetSite(const ws::pointing::Site &site);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // On a screen smaller than the design, `scrolled`: the elements keep
    // their places in a scroll area instead of overlapping.
    void createElements(bool scrolled);
    void createParts();
    void wireEvents();
    void setupTabOrder();
    void setupKeys();
    void repaintWindow();
    void markHeldScaleInTitle();
    void rebuildShownLevels();
    PointingPanel &pointingPanel();

    ws::Platform platform_;
    ScanFilesPanel *files_ = nullptr;
    ReceiverSettingsPanel *receiverSettings_ = nullptr;
    LogPanel *log_ = nullptr;
    PlotsPanel *plots_ = nullptr;
    VerdictTile *verdict_ = nullptr;
    Workspace *workspace_ = nullptr;
    ReceiverWork *work_ = nullptr;
    QObject *escapeKey_ = nullptr;
    HistoryWindow *history_ = nullptr;
    PointingPanel *pointing_ = nullptr;
    // Where the last picture was saved, offered for the next.
    QString picturePath_ = QStringLiteral("wavesift.png");
};
