#pragma once

#include "mapfile.h"
#include "scans.h"
#include "windowplatform.h"

#include <QWidget>

class FileOpenDialog;
class PlotWidget;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The program's one window. It owns the elements and the model (the two
// scans and the map) and turns the elements' events into the actions below.
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
    // The readout for the pointer at `mhz` over a plot or the map strip:
    // the frequency and the nearest entry of the map.
    void showReadoutAt(double mhz);
    // Empties the readout, as the pointer leaves the plots for the bare
    // window.
    void clearReadout();
    // Checks the receiver at `mhz` (a press into the level or difference
    // plot); the button chooses the polarisation.
    void checkFrequencyAt(double mhz, Qt::MouseButton button);
    // Checks every MPEG entry of the map and saves the results (a press
    // into the map strip).
    void runFullScan();
    // "skip rest": the running full scan stops after its current check.
    void stopFullScan();

    // State, for tests and diagnostics. The window's actions are the only
    // ones that change it in the program.
    ws::Scans &scansForTest() { return scans_; }
    ws::MapData &mapForTest() { return map_; }
    // The log of the last spot check as the check wrote it; the log box
    // shows it with its line ends converted.
    const QString &lastCheckLog() const { return lastCheckLog_; }
    // Whether "skip rest" was pressed during the full scan that runs.
    bool fullScanStopRequested() const { return stopRequested_; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void drawScans();
    QString checkSignal(const QString &frequency, const QString &field5, const QString &field1,
                        const QString &polarisation);
    // Whether the last checkSignal stopped because its port could not be
    // opened; a full scan need not try the same port for every entry.
    bool checkPortFailed_ = false;

    void createElements();
    void wireEvents();
    void setupTabOrder();
    // Makes pending drawing and text changes visible at once.
    void repaintWindow();

    // The elements the window's actions use; windowelements.cpp has all of
    // them, with their objectNames, places and texts.
    QPushButton *loadNewestButton = nullptr;
    QLabel *newestLabel = nullptr;
    QPushButton *loadReferenceButton = nullptr;
    QLabel *referenceLabel = nullptr;
    QPushButton *loadMapButton = nullptr;
    QLabel *mapLabel = nullptr;

    PlotWidget *levelPlot = nullptr;
    QLabel *levelTopLabel = nullptr;
    QLabel *levelBottomLabel = nullptr;
    PlotWidget *differencePlot = nullptr;
    QLabel *differenceTopLabel = nullptr;
    QLabel *differenceBottomLabel = nullptr;
    QLabel *startFrequencyLabel = nullptr;
    QLabel *endFrequencyLabel = nullptr;
    PlotWidget *mapStrip = nullptr;

    // The readout under the plots.
    QLabel *pointerFrequencyLabel = nullptr;
    QLabel *nearestTitleLabel = nullptr;
    QLabel *nearestEntryLabel = nullptr;

    // The receiver settings, read as typed whenever a check needs them.
    QLineEdit *timeoutBox = nullptr;
    QLineEdit *portBox = nullptr;
    QLineEdit *lnbPowerBox = nullptr;
    QLineEdit *diseqcBox = nullptr;

    QPushButton *skipRestButton = nullptr;
    QPlainTextEdit *logBox = nullptr;

    FileOpenDialog *newestDialog = nullptr;
    FileOpenDialog *referenceDialog = nullptr;
    FileOpenDialog *mapDialog = nullptr;

    // While a long procedure keeps the window (a signal check), a request
    // to close the window waits until it has ended.
    class Busy;
    friend class Busy;
    int busyDepth_ = 0;
    bool closePending_ = false;
    // Full scans running, counting one started from inside another.
    int fullScans_ = 0;
    // The stop request for the running full scan ("skip rest").
    bool stopRequested_ = false;

    ws::Platform platform_;
    ws::Scans scans_;
    ws::MapData map_;
    QString lastCheckLog_;
};

// Marks the window busy for its lifetime; see MainWindow::closeEvent.
class MainWindow::Busy
{
public:
    explicit Busy(MainWindow &window);
    ~Busy();
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    MainWindow &window_;
};
