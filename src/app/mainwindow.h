#pragma once

#include "fileopendialog.h"
#include "mapfile.h"
#include "plotwidget.h"
#include "scans.h"
#include "windowplatform.h"

#include <QWidget>

#include <array>

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

    // The stop request for a running full scan ("skip rest").
    bool exitnow = false;

    // The model, for tests and diagnostics. The procedures of the window
    // are the only ones that change it in the program.
    ws::Scans &scansForTest() { return scans_; }
    ws::MapData &mapForTest() { return map_; }
    // The log of the last spot check as the check wrote it; the log box
    // shows it with its line ends converted.
    const QString &lastCheckLog() const { return lastCheckLog_; }

    // Elements, by their names. Indexed groups are arrays indexed as in the
    // design; the indexes that do not exist hold nullptr.
    std::array<QPushButton *, 3> Command5{};
    QPushButton *Command4 = nullptr;
    QPushButton *Command6 = nullptr;
    std::array<QLabel *, 3> Scanlabel{};
    std::array<QLabel *, 12> Label4{};
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label17 = nullptr;
    PlotWidget *Picture1 = nullptr;
    PlotWidget *Picture2 = nullptr;
    PlotWidget *Picture3 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    std::array<FileOpenDialog *, 4> CommonDialog{};

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
    void repaintElement(QWidget *element);

    // While a long procedure keeps the window (a signal check), a request
    // to close the window waits until it has ended.
    class Busy;
    friend class Busy;
    int busyDepth_ = 0;
    bool closePending_ = false;
    // Full scans running, counting one started from inside another.
    int fullScans_ = 0;

    ws::Platform platform_;
    ws::Scans scans_;
    ws::MapData map_;
    QString lastCheckLog_;
};

// Marks the window busy for its lifetime; see MainWindow::closeEvent.
class MainWindow::Busy
{
public:
    explicit Busy(MainWindow &form);
    ~Busy();
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    MainWindow &form_;
};
