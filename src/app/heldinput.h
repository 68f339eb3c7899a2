#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>

class QWidget;

// The user's input to a window that waits while the receiver is being
// checked. A check reads the settings boxes as it goes and a click means
// "check this next", so while one runs, clicks, keys, wheel turns and
// shortcuts aimed at the window are kept in order and handed on once the
// check has ended, as if they came then. Pointer moves pass (the readout
// follows the pointer), and so does whatever `passes` lets through (the
// key that stops the check).
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
    // Hands on what was held, in order, until one of them starts the
    // holding again (a click that starts the next check): the rest waits
    // for the end of that one.
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
