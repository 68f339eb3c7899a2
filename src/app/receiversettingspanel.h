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

// The receiver settings: four captioned boxes whose text a check reads as
// typed whenever it needs it, the port list, and "skip rest" during a full scan.
class ReceiverSettingsPanel : public WindowPanel
{
public:
    explicit ReceiverSettingsPanel(QWidget *parent = nullptr);

    ws::receiver::ReceiverSettings settings() const;
    // Puts the settings into the boxes as if typed; an empty one leaves its box.
    void preset(const ws::receiver::ReceiverSettings &settings);
    // Offers `finder`'s ports under the port box, never while `mayList` says no.
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

    std::vector<Box> boxes_;
    QPushButton *skipRest_ = nullptr;
};

