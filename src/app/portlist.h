#pragma once

#include "app/windowplatform.h"

#include <QObject>

#include <functional>

class QAbstractItemView;
class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace ws {

// One line of the port box's list: what it shows, and the name picking it types.
struct PortOffer
{
    QString shown;
    QString device;
};

// The ports in the order the list shows them: those with a stable name
// first, by it; then the others by name, ttyS2 before ttyS10. Each is
// offered by its stable name where it has one.
std::vector<PortOffer> portOffers(std::vector<PortInfo> ports);

// Fills in the stable names: links in `folder` (/dev/serial/by-id) to a port's device.
void addStableNames(std::vector<PortInfo> &ports, const QString &folder);

// The port box's list of existing ports, offered while a device name is
// typed or on the Down key, listed afresh each time and never while
// `mayList` says no. A typed number gets no list; the box takes a device
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
    QAbstractItemView *popup();
    void offer(const QString &typed);

    QLineEdit &box_;
    PortFinder &finder_;
    std::function<bool()> mayList_;
    QStandardItemModel *model_;
    QCompleter *completer_;
    bool popupReady_ = false;
};

} // namespace ws
