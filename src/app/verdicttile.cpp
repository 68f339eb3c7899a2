#include "app/verdicttile.h"

VerdictTile::VerdictTile(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void VerdictTile::paintEvent(QPaintEvent *)
{
    // Nothing to show: the window shows through, as if the tile were not
    // there.
}
