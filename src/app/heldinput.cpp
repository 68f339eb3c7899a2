#include "app/heldinput.h"

#include <QCoreApplication>
#include <QShortcut>
#include <QWidget>

HeldInput::HeldInput(QWidget &window, Passes passes)
    : QObject(&window), window_(window), passes_(std::move(passes))
{
    // Shortcuts go to their QShortcut, not to a widget; only the
    // application sees both.
    QCoreApplication::instance()->installEventFilter(this);
}

HeldInput::Passes HeldInput::within(QList<const QObject *> parts)
{
    return [parts](QObject *target, QEvent *) {
        for (const QObject *o = target; o; o = o->parent()) {
            if (parts.contains(o))
                return true;
        }
        return false;
    };
}

HeldInput::~HeldInput()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool HeldInput::aimedAtWindow(QObject *target) const
{
    if (auto *shortcut = qobject_cast<QShortcut *>(target))
        target = shortcut->parent();
    auto *widget = qobject_cast<QWidget *>(target);
    return widget && widget->window() == &window_;
}

bool HeldInput::eventFilter(QObject *watched, QEvent *event)
{
    if (!holding_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        break;
    default:
        return false;
    }
    if (!aimedAtWindow(watched) || (passes_ && passes_(watched, event)))
        return false;
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void HeldInput::release()
{
    holding_ = false;
    while (!held_.empty() && !holding_) {
        Held next = std::move(held_.front());
        held_.pop_front();
        if (next.target)
            QCoreApplication::sendEvent(next.target, next.event.get());
    }
}

void HeldInput::dropClicks()
{
    std::deque<Held> kept;
    for (Held &held : held_) {
        switch (held.event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
            break;
        default:
            kept.push_back(std::move(held));
        }
    }
    held_ = std::move(kept);
}
