#include "portlist.h"

#include "protocol.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>

#include <algorithm>
#include <tuple>

namespace ws {

namespace {

// The role that holds what picking a line puts into the box.
constexpr int kDeviceRole = Qt::UserRole;

QString offeredName(const PortInfo &port)
{
    return port.stableName.isEmpty() ? port.name : port.stableName;
}

} // namespace

std::vector<PortOffer> portOffers(std::vector<PortInfo> ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo &a, const PortInfo &b) {
        const QString na = offeredName(a), nb = offeredName(b);
        return std::make_tuple(a.stableName.isEmpty(), na.size(), na) <
               std::make_tuple(b.stableName.isEmpty(), nb.size(), nb);
    });
    std::vector<PortOffer> offers;
    for (const PortInfo &port : ports) {
        PortOffer offer;
        offer.device = offeredName(port);
        QString about = port.description;
        if (!port.manufacturer.isEmpty())
            about += about.isEmpty() ? port.manufacturer
                                     : QStringLiteral(" (") + port.manufacturer + QLatin1Char(')');
        offer.shown = offer.device;
        if (!about.isEmpty())
            offer.shown += QStringLiteral(" \u2014 ") + about;
        // The stable name seldom says which device the system made of it.
        if (!port.stableName.isEmpty())
            offer.shown += QStringLiteral(" [") + port.name + QLatin1Char(']');
        offers.push_back(offer);
    }
    return offers;
}

void addStableNames(std::vector<PortInfo> &ports, const QString &folder)
{
    std::vector<QString> devices;
    for (const PortInfo &port : ports)
        devices.push_back(QFileInfo(port.path).canonicalFilePath());
    const QFileInfoList links = QDir(folder).entryInfoList(
        QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString device = link.canonicalFilePath();
        if (device.isEmpty())
            continue; // a link that leads nowhere
        for (size_t i = 0; i < ports.size(); ++i) {
            if (devices[i] == device && ports[i].stableName.isEmpty()) {
                ports[i].stableName = QDir::toNativeSeparators(link.absoluteFilePath());
                break;
            }
        }
    }
}

PortList::PortList(QLineEdit &box, PortFinder &finder, std::function<bool()> mayList)
    : QObject(&box), box_(box), finder_(finder), mayList_(std::move(mayList)),
      model_(new QStandardItemModel(this)), completer_(new QCompleter(model_, this))
{
    completer_->setWidget(&box);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    // Typing "usb" finds "/dev/serial/by-id/usb-FTDI..." and "ttyUSB0",
    // "ftdi" the adapter by its maker.
    completer_->setFilterMode(Qt::MatchContains);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionRole(Qt::DisplayRole);
    completer_->setMaxVisibleItems(12);
    // Not set as the box's own completer: that one writes each line the
    // user moves over into the box. Only a pick changes the box here.
    connect(completer_, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &picked) {
                box_.setText(picked.data(kDeviceRole).toString());
            });
    connect(&box, &QLineEdit::textEdited, this, &PortList::offer);
    box.installEventFilter(this);
}

bool PortList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &box_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down &&
            !(key->modifiers() & ~Qt::KeypadModifier) && !completer_->popup()->isVisible()) {
            offer(QString());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PortList::offer(const QString &typed)
{
    QAbstractItemView *popup = completer_->popup();
    // A number is a port by its number; no device name fits it.
    if (!mayList_() || (!typed.trimmed().isEmpty() && receiver::namesPortByNumber(typed))) {
        popup->hide();
        return;
    }
    model_->clear();
    int widest = 0;
    for (const PortOffer &offer : portOffers(finder_.ports())) {
        auto *item = new QStandardItem(offer.shown);
        item->setData(offer.device, kDeviceRole);
        item->setEditable(false);
        model_->appendRow(item);
        widest = std::max(widest, popup->fontMetrics().horizontalAdvance(offer.shown));
    }
    completer_->setCompletionPrefix(typed.trimmed());
    if (completer_->completionCount() == 0) {
        popup->hide();
        return;
    }
    // The box is a few digits wide; the lines are not.
    popup->setMinimumWidth(widest + popup->verticalScrollBar()->sizeHint().width() +
                           2 * popup->frameWidth() + 16);
    completer_->complete();
}

} // namespace ws
