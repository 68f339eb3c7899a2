#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>

class QWidget;

// Input to a window while a check runs. A check reads the settings boxes as
// it goes and a click means "check this next", so clicks, keys, wheel turns
// and shortcuts are kept in order and handed on when it ends, as if they
// came then. Pointer moves pass (the readout follows), as does what `passes`
// lets through (the key that stops the check).
class HeldInput : public QObject
{
public:
    using Passes = std::function<bool(QObject *target, QEvent *event)>;
    HeldInput(QWidget &window, Passes passes);
    // Lets through what is aimed at one of `parts` or inside one.
    static Passes within(QList<const QObject *> parts);
    ~HeldInput() override;

    void hold() { holding_ = true; }
    bool holding() const { return holding_; }
    // Hands on what was held, in order, until one starts the holding again
    // (a click that starts the next check); the rest waits for that one.
    void release();
    // Forgets the held mouse clicks; keys stay, for what was typed.
    void dropClicks();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool aimedAtWindow(QObject *target) const;

    struct Held
    {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
    };

    QWidget &window_;
    Passes passes_;
    bool holding_ = false;
    std::deque<Held> held_;
};
