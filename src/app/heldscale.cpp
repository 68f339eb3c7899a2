#include "app/heldscale.h"

#include "app/plotspanel.h"
#include "wording/messages.h"

#include <QEvent>
#include <QWidget>

HeldScale::HeldScale(QWidget &window, PlotsPanel &plots)
    : QObject(&window), window_(window), plots_(plots)
{
    window.installEventFilter(this);
}

void HeldScale::toggle()
{
    plots_.holdLevelScale(!plots_.levelScaleHeld());
    markTitle();
}

bool HeldScale::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::WindowTitleChange)
        markTitle();
    return false;
}

void HeldScale::markTitle()
{
    // A title saved while the scale was held and set again after the hold
    // ended (a full scan's) still carries the mark: it goes then.
    const QString mark = ws::messages::scaleHeldInTitle();
    const QString title = window_.windowTitle();
    const bool marked = title.endsWith(mark);
    const bool held = plots_.levelScaleHeld();
    if (held && !marked)
        window_.setWindowTitle(title + mark);
    else if (!held && marked)
        window_.setWindowTitle(title.chopped(mark.size()));
}
