#include "app/verdicttile.h"

#include <QPainter>

VerdictTile::VerdictTile(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void VerdictTile::show(const Verdict &verdict)
{
    verdict_ = verdict;
    // Empty, the window shows through, as if the tile were not there.
    setAttribute(Qt::WA_TransparentForMouseEvents, verdict.isEmpty());
    setAccessibleName(verdict.word);
    setAccessibleDescription(verdict.spoken());
    update();
}

void VerdictTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintVerdict(painter, rect(), verdict_, font());
}
