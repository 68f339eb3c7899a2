#pragma once

#include "app/windowelements.h"
#include "app/windowpanel.h"
#include "app/windowplatform.h"
#include "receiver/signalcheck.h"

#include <QLineEdit>

#include <functional>

// The receiver settings: four boxes whose text a check reads as typed,
// whenever it needs a setting, and the list of ports under the port box.
class ReceiverSettingsPanel : public WindowPanel
{
public:
    using WindowPanel::WindowPanel;

    // The boxes' text as it stands now.
    ws::receiver::ReceiverSettings settings() const;
    // Puts the settings into the boxes, as if typed there; an empty one
    // leaves its box as it is.
    void preset(const ws::receiver::ReceiverSettings &settings);
    // Offers the ports that `finder` finds under the port box, never while
    // `mayList` says no.
    void listPorts(ws::PortFinder &finder, std::function<bool()> mayList);

private:
    using Settings = ws::receiver::ReceiverSettings;
    struct Box
    {
        QLineEdit *box;
        QString Settings::*setting;
    };

    // Each box with the setting it holds, declared once here.
    const Box boxes_[4] = {
        {element<QLineEdit>(ws::window::names::timeoutBox), &Settings::timeout},
        {element<QLineEdit>(ws::window::names::portBox), &Settings::port},
        {element<QLineEdit>(ws::window::names::lnbPowerBox), &Settings::lnbPower},
        {element<QLineEdit>(ws::window::names::diseqcBox), &Settings::diseqc},
    };
};

