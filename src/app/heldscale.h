#pragma once

#include <QObject>

class PlotsPanel;
class QWidget;

// Ctrl+L: the plots keep their level scale through every load until it is
// released, and meanwhile the window's title ends in " (scale held)",
// whoever sets it.
class HeldScale : public QObject
{
    Q_OBJECT

public:
    HeldScale(QWidget &window, PlotsPanel &plots);
    void toggle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void markTitle();

    QWidget &window_;
    PlotsPanel &plots_;
};
