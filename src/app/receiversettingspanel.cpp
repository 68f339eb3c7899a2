#include "app/receiversettingspanel.h"

#include "app/portlist.h"

ws::receiver::ReceiverSettings ReceiverSettingsPanel::settings() const
{
    ws::receiver::ReceiverSettings settings;
    for (const Box &box : boxes_)
        settings.*box.setting = box.box->text();
    return settings;
}

void ReceiverSettingsPanel::preset(const ws::receiver::ReceiverSettings &settings)
{
    for (const Box &box : boxes_) {
        if (!(settings.*box.setting).isEmpty())
            box.box->setText(settings.*box.setting);
    }
}

void ReceiverSettingsPanel::listPorts(ws::PortFinder &finder, std::function<bool()> mayList)
{
    for (const Box &box : boxes_) {
        if (box.setting == &Settings::port)
            new ws::PortList(*box.box, finder, std::move(mayList));
    }
}

QList<QLineEdit *> ReceiverSettingsPanel::boxes() const
{
    QList<QLineEdit *> all;
    for (const Box &box : boxes_)
        all << box.box;
    return all;
}
