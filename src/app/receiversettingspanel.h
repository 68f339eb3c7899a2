#pragma once

#include "app/windowelements.h"
#include "app/windowpanel.h"
#include "app/windowplatform.h"
#include "receiver/signalcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <vector>

// The receiver settings: four boxes, each with its caption, whose text a
// check reads as typed, whenever it needs a setting, and the list of ports
// under the port box. "skip rest" stands among them while a full scan runs.
class ReceiverSettingsPanel : public WindowPanel
{
public:
    // Makes a box and its caption for each setting the element table has.
    explicit ReceiverSettingsPanel(QWidget *parent = nullptr);

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
        QLineEdit *box;
        QString Settings::*setting;
    };

    // Each box with the setting it holds, in the table's order.
    std::vector<Box> boxes_;
    QPushButton *skipRest_ = nullptr;
};

