#include "app/portlist.h"

#include "receiver/protocol.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
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
    connect(&box, &QLineEdit::textEdited, this, [this](const QString &typed) {
        // An emptied box asks for nothing; Down still lists every port.
        if (typed.trimmed().isEmpty()) {
            if (popupReady_)
                popup()->hide();
        } else {
            offer(typed);
        }
    });
    box.installEventFilter(this);
}

QAbstractItemView *PortList::popup()
{
    // Made at the first listing rather than with the window: a list view
    // with its scroll bars is work that most starts never need.
    QAbstractItemView *popup = completer_->popup();
    if (!popupReady_) {
        popupReady_ = true;
        // A press beside the open list closes it and still counts where it
        // was made (see eventFilter), so Qt must not replay it too. Filters
        // run last installed first: this one before the completer's, which
        // would swallow the press.
        popup->setAttribute(Qt::WA_NoMouseReplay);
        popup->installEventFilter(this);
    }
    return popup;
}

bool PortList::eventFilter(QObject *watched, QEvent *event)
{
    // Before the first listing there is no list to watch.
    QAbstractItemView *popup = popupReady_ ? completer_->popup() : nullptr;
    if (popup && watched == popup && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const QPoint at = press->globalPosition().toPoint();
        if (!popup->rect().contains(popup->mapFromGlobal(at))) {
            popup->hide();
            // The press was meant for what lies under the pointer, a plot
            // most likely: it goes there, once the list is gone.
            QWidget *target = QApplication::widgetAt(at);
            if (target && target->window() == box_.window() && target->isEnabled())
                QCoreApplication::postEvent(
                    target, new QMouseEvent(QEvent::MouseButtonPress, target->mapFromGlobal(at),
                                            press->globalPosition(), press->button(),
                                            press->buttons(), press->modifiers()));
            return true;
        }
    }
    if (watched == &box_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down &&
            !(key->modifiers() & ~Qt::KeypadModifier) && !(popup && popup->isVisible())) {
            offer(QString());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PortList::offer(const QString &typed)
{
    QAbstractItemView *popup = this->popup();
    // A number is a port by its number; no device name fits it.
    if (!mayList_() || (!typed.trimmed().isEmpty() && receiver::namesPortByNumber(typed))) {
        popup->hide();
        return;
    }
    model_->clear();
    for (const PortOffer &offer : portOffers(finder_.ports())) {
        auto *item = new QStandardItem(offer.shown);
        item->setData(offer.device, kDeviceRole);
        item->setEditable(false);
        model_->appendRow(item);
    }
    completer_->setCompletionPrefix(typed.trimmed());
    if (completer_->completionCount() == 0) {
        popup->hide();
        return;
    }
    // The box is a few digits wide; the list is as wide as its longest
    // line, so that every port shows its name and what it is in full. The
    // completer keeps it on the screen.
    const QAbstractItemModel *lines = completer_->completionModel();
    int widest = 0;
    for (int row = 0; row < lines->rowCount(); ++row)
        widest = std::max(widest, popup->sizeHintForIndex(lines->index(row, 0)).width());
    int width = widest + 2 * popup->frameWidth();
    if (lines->rowCount() > completer_->maxVisibleItems())
        width += popup->verticalScrollBar()->sizeHint().width();
    completer_->complete(QRect(0, 0, width, box_.height()));
}

} // namespace ws
