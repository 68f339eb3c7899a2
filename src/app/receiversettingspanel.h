#pragma once

#include "app/windowelements.h"
#include "app/windowpanel.h"
#include "app/windowplatform.h"
#include "receiver/signalcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

// The receiver settings: four boxes, each with its caption, whose text a
// check reads as typed, whenever it needs a setting, and the list of ports
// under the port box. "skip rest" stands among them while a full scan runs.
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

    // The boxes, whose keys and drops the window watches.
    QList<QLineEdit *> boxes() const;
    QPushButton *skipRestButton() const { return skipRest_; }

private:
    using Settings = ws::receiver::ReceiverSettings;
    struct Box
    {
        QLabel *caption;
        QLineEdit *box;
        QString Settings::*setting;
    };

    // Each box with its caption and the setting it holds, declared once here.
    const Box boxes_[4] = {
        {create<QLabel>(ws::window::names::timeoutCaption),
         create<QLineEdit>(ws::window::names::timeoutBox), &Settings::timeout},
        {create<QLabel>(ws::window::names::portCaption),
         create<QLineEdit>(ws::window::names::portBox), &Settings::port},
        {create<QLabel>(ws::window::names::lnbPowerCaption),
         create<QLineEdit>(ws::window::names::lnbPowerBox), &Settings::lnbPower},
        {create<QLabel>(ws::window::names::diseqcCaption),
         create<QLineEdit>(ws::window::names::diseqcBox), &Settings::diseqc},
    };
    QPushButton *const skipRest_ = create<QPushButton>(ws::window::names::skipRestButton);
};

