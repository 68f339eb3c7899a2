#include "mainwindow.h"

#include "messages.h"
#include "readout.h"

#include <QLabel>

// Without a map the entry label keeps whatever an earlier move over a map
// put there.
void MainWindow::showReadoutAt(double mhz)
{
    Label1->setText(ws::frequencyReadout(mhz));
    const int entry = ws::nearestMapEntry(map_, mhz);
    if (entry >= 0)
        Label10->setText(ws::mapEntryText(map_.entries[entry]));
    Label13->setText(ws::messages::nextKnownSignal());
}

void MainWindow::clearReadout()
{
    Label1->setText(QString());
    Label10->setText(QString());
    Label13->setText(QString());
}
