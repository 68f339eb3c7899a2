#pragma once

#include "app/windowplatform.h"

#include <QObject>

#include <functional>

class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace ws {

// One line of the port box's list: what it shows, and what picking it puts
// into the box, a name the box takes as it takes a typed one.
struct PortOffer
{
    QString shown;
    QString device;
};

// The ports in the order the list shows them: those with a stable name
// first, by it; then the others by name, ttyS2 before ttyS10. Each is
// offered by its stable name where it has one.
std::vector<PortOffer> portOffers(std::vector<PortInfo> ports);

// Fills in the stable names: the links in `folder` (on Linux
// /dev/serial/by-id) that lead to a port's device.
void addStableNames(std::vector<PortInfo> &ports, const QString &folder);

// The port box's list of the ports that exist: offered while the user types
// a device name into the box, or all of them on the Down key. The ports are
// listed afresh each time, and never while `mayList` says no. What the user
// types stays as typed: a number gets no list, and the box takes a device
// only when the user picks it.
class PortList : public QObject
{
    Q_OBJECT

public:
    PortList(QLineEdit &box, PortFinder &finder, std::function<bool()> mayList);

    QCompleter *completer() const { return completer_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void offer(const QString &typed);

    QLineEdit &box_;
    PortFinder &finder_;
    std::function<bool()> mayList_;
    QStandardItemModel *model_;
    QCompleter *completer_;
};

} // namespace ws
