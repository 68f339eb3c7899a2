#include "mainwindow.h"

#include "messages.h"
#include "readout.h"

#include <QLabel>

void MainWindow::Picture1_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

void MainWindow::Picture2_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

void MainWindow::Picture3_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y)
{
    ShowFrequencyAt(Button, Shift, X, Y);
}

// Only X matters. Without a map Label10 keeps whatever an earlier move over
// a map put there.
void MainWindow::ShowFrequencyAt(std::int16_t, std::int16_t, float X, float)
{
    Label1->setText(ws::frequencyReadout(X));
    const int entry = ws::nearestMapEntry(map_, X);
    if (entry >= 0)
        Label10->setText(ws::mapEntryText(map_.entries[entry]));
    Label13->setText(ws::messages::nextKnownSignal());
}
