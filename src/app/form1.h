#pragma once

#include "fileopendialog.h"
#include "mapfile.h"
#include "plotbox.h"
#include "scans.h"
#include "signalcheck.h"
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
// form1_<subsystem>.cpp of their own.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(const ws::Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

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
    PlotBox *Picture1 = nullptr;
    PlotBox *Picture2 = nullptr;
    PlotBox *Picture3 = nullptr;
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
    ws::receiver::CheckResult CheckSignal(const QString &frequency,
                                          ws::receiver::Polarisation polarisation);
    void ScanMapEntries();

    void createElements();
    void wireEvents();
    void setupTabOrder();
    // Makes pending drawing and text changes visible at once.
    void repaintWindow();
    void repaintElement(QWidget *element);

    // Work that keeps the window. A signal check and a full scan run on the
    // window's thread, yet let events through while they go on: a check only
    // paint and window-system events (EventLoop::keepPainted), a full scan
    // all events, between its rows (EventLoop::doEvents). So other handlers
    // can run in the middle of them, and three guards follow:
    // - A request to close the window must not take it away under the
    //   running work. Busy marks the work for its lifetime; while any runs,
    //   closeEvent() only notes the request (closePending_). When the last
    //   Busy ends, the window closes, once the running handler has returned.
    // - A full scan takes a noted close as "skip rest": it ends after the
    //   running row, not after all of them, and still saves what it has.
    // - A full scan may start inside another (a map strip click handled
    //   between rows). fullScans_ counts them, so that only the outermost
    //   one, at its end, hides "skip rest" and clears the stop request
    //   exitnow; "skip rest" pressed inside stops both.
    // tst_signalcheck and tst_fullscanwindow try each of them.
    class Busy;
    friend class Busy;
    int busyDepth_ = 0;
    bool closePending_ = false;
    int fullScans_ = 0;

    ws::Platform platform_;
    ws::Scans scans_;
    ws::MapData map_;
    QString lastCheckLog_;
};

// Marks the window busy for its lifetime (see the guards above).
class Form1::Busy
{
public:
    explicit Busy(Form1 &form);
    ~Busy();
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    Form1 &form_;
};
