#include "app/mainwindow.h"

#include "app/plotspanel.h"
#include "plot/readout.h"

// Without a map the entry label keeps whatever an earlier move over a map
// put there.
void MainWindow::showReadoutAt(double mhz)
{
    const int entry = ws::nearestMapEntry(map_, mhz);
    plots_->showReadout(ws::frequencyReadout(mhz),
                        entry >= 0 ? std::optional(ws::mapEntryText(map_.entries.at(entry)))
                                   : std::nullopt);
}

void MainWindow::clearReadout()
{
    plots_->clearReadout();
}
