#include "app/receiversettingspanel.h"

#include "app/portlist.h"

ReceiverSettingsPanel::ReceiverSettingsPanel(QWidget *parent) : WindowPanel(parent)
{
    // A setting is a row of the element table: a new one needs no code here.
    for (const ws::window::Element &row : ws::window::elements()) {
        if (!row.setting)
            continue;
        QWidget *made = create(row);
        if (auto *box = qobject_cast<QLineEdit *>(made))
            boxes_.push_back({box, row.setting});
    }
    skipRest_ = create<QPushButton>(ws::window::names::skipRestButton);
}

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
