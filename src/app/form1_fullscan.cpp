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
    Command6->setVisible(true);
    // The first check keeps the window for seconds; show "skip rest" now,
    // not only after it.
    repaintWindow();

    ws::MapScanSteps steps;
    steps.check = [this](const QString &frequency, const QString &polarisation) {
        return CheckSignal(frequency, QStringLiteral("00000"), QStringLiteral("5"), polarisation);
    };
    steps.stopRequested = [this] { return exitnow; };
    steps.afterRow = [this] {
        repaintWindow();
        // Here a "skip rest" click is handled.
        platform_.events->doEvents();
    };
    const QString results = ws::scanMapRows(s, steps);

    platform_.system->beep();
    const QString path = ws::resultsFilePath(platform_.system->programFolder());
    const ws::SaveOutcome outcome = ws::saveResults(path, results);
    platform_.dialogs->message(outcome.saved
                                   ? QStringLiteral("Saved Results to file ") + path
                                   : QStringLiteral("Could not save results to file ") + path +
                                         QStringLiteral(": ") + outcome.reason);

    Text1->setPlainText(results);
    exitnow = false;
    Command6->setVisible(false);
}
