#include "mainwindow.h"

#include "messages.h"
#include "readout.h"

#include <QLabel>

// Without a map the entry label keeps whatever an earlier move over a map
// put there.
void MainWindow::showReadoutAt(double mhz)
{
    pointerFrequencyLabel->setText(ws::frequencyReadout(mhz));
    const int entry = ws::nearestMapEntry(map_, mhz);
    if (entry >= 0)
        nearestEntryLabel->setText(ws::mapEntryText(map_.entries[entry]));
    nearestTitleLabel->setText(ws::messages::nextKnownSignal());
}

void MainWindow::clearReadout()
{
    pointerFrequencyLabel->setText(QString());
    nearestEntryLabel->setText(QString());
    nearestTitleLabel->setText(QString());
}
