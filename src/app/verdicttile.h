#pragma once

#include "app/verdict.h"

#include <QWidget>

// The verdict of the last check, in the free corner left of the receiver
// boxes and the log box, where a person looks first. Until there is one it
// shows nothing and draws nothing, and the pointer passes through it: a
// move over it is a move over the bare window.
class VerdictTile : public QWidget
{
    Q_OBJECT

public:
    explicit VerdictTile(QWidget *parent = nullptr);

    // Shows `verdict`, or nothing for an empty one; a screen reader hears
    // the same words.
    void show(const Verdict &verdict);
    const Verdict &verdict() const { return verdict_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Verdict verdict_;
};
