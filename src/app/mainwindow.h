#pragma once

#include "fileopendialog.h"
#include "mapfile.h"
#include "plotwidget.h"
#include "scans.h"
#include "windowplatform.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The program's one window. It owns the elements and the model (the two
// scans and the map) and wires the elements' events to the work of the
// subsystems; the handlers carry the names of element and event, the longer
// procedures the names of what they do. Each subsystem's handlers live in a
// mainwindow_<subsystem>.cpp of their own.
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

    // Event handlers.
    void Command4_Click();
    void Command5_Click(int Index);
    void Command6_Click();
    void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture1_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture2_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture3_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture1_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture2_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Picture3_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void LoadScan(ws::ScanSlot slot);
    void DrawScans();
    void ShowFrequencyAt(std::int16_t Button, std::int16_t Shift, float X, float Y);
    QString CheckSignal(const QString &frequency, const QString &field5, const QString &field1,
                        const QString &polarisation);
    void ScanMapEntries();
    // Whether the last CheckSignal stopped because its port could not be
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
