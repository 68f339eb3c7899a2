#include "form1.h"

#include "fullscan.h"
#include "resultsfile.h"

#include <QPlainTextEdit>
#include <QPushButton>

void Form1::Picture3_MouseDown(std::int16_t, std::int16_t, float, float)
{
    ScanMapEntries();
}

void Form1::ScanMapEntries()
{
    Busy busy(*this);
    ++fullScans_;
    Command6->setVisible(true);
    // The first check keeps the window for seconds; show "skip rest" now,
    // not only after it.
    repaintWindow();

    // A port that cannot be opened fails the same way for every row; the
    // scan ends after the first such row.
    bool portFailed = false;
    ws::MapScanSteps steps;
    steps.check = [this, &portFailed](const QString &frequency,
                                      ws::receiver::Polarisation polarisation) {
        const ws::receiver::CheckResult check = CheckSignal(frequency, polarisation);
        portFailed = check.portFailed;
        return check.log;
    };
    // A noted close ends the scan like "skip rest" (see the guards in form1.h).
    steps.stopRequested = [this, &portFailed] { return exitnow || portFailed || closePending_; };
    steps.afterRow = [this] {
        repaintWindow();
        // Here a "skip rest" click is handled.
        platform_.events->doEvents();
    };
    const QString results = ws::scanMapRows(map_.entries, steps);

    platform_.system->beep();
    const ws::ResultsSave save = ws::saveResultsIn(
        {platform_.system->programFolder(), platform_.system->userDataFolder()}, results);
    platform_.dialogs->message(save.message());

    Text1->setPlainText(results);
    // Only the outermost scan ends "skip rest" (see the guards in form1.h).
    if (--fullScans_ == 0) {
        exitnow = false;
        Command6->setVisible(false);
    }
}
