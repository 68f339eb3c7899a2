#pragma once

#include "app/windowplatform.h"
#include "receiver/signalcheck.h"

#include <QWidget>

class HistoryWindow;
class LogPanel;
class PlotsPanel;
class ReceiverSettingsPanel;
class ReceiverWork;
class ScanFilesPanel;
class ShownLevels;
class VerdictTile;
class Workspace;
class QImage;

// The program's one window: it makes the panels and the parts that own the
// files and the receiver's work, and connects them.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const ws::Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    Workspace &workspace() { return *workspace_; }
    ReceiverWork &receiverWork() { return *work_; }
    PlotsPanel &plots() { return *plots_; }
    ShownLevels &levels() { return *levels_; }

    // The window as it is shown, at the screen's pixel ratio (Ctrl+S, Ctrl+C).
    QImage picture();

    void presetReceiverSettings(const ws::receiver::ReceiverSettings &settings);

    // `sources` are folders or scan files.
    HistoryWindow &showHistory(const QStringList &sources);
    HistoryWindow *historyWindow() const { return history_; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createElements(bool scrolled);
    void createParts(const QObject *stopKey);
    void wireEvents();
    // Returns the key that stops the receiver's work.
    const QObject *setupKeys();

    ws::Platform platform_;
    ScanFilesPanel *files_ = nullptr;
    ReceiverSettingsPanel *receiverSettings_ = nullptr;
    LogPanel *log_ = nullptr;
    PlotsPanel *plots_ = nullptr;
    VerdictTile *verdict_ = nullptr;
    Workspace *workspace_ = nullptr;
    ReceiverWork *work_ = nullptr;
    ShownLevels *levels_ = nullptr;
    HistoryWindow *history_ = nullptr;
    // Where the last picture was saved, offered for the next.
    QString picturePath_ = QStringLiteral("wavesift.png");
};
