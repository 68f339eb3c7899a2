#include "app/growinglayout.h"

#include <QWidget>

#include <algorithm>

using ws::window::Growth;
using ws::window::Span;

namespace {

// `extra` pixels shared among the bands of `span` by `shares`, one part per
// band (none outside the span). Each part is rounded where the running sum
// falls, so the parts add up to `extra` exactly.
std::vector<int> shareOut(int extra, const std::vector<int> &shares, Span span)
{
    std::vector<int> parts(shares.size(), 0);
    int total = 0;
    for (int band = span.first; band < span.first + span.count; ++band)
        total += shares[band];
    int sharesSoFar = 0;
    int given = 0;
    for (int band = span.first; band < span.first + span.count && total > 0; ++band) {
        sharesSoFar += shares[band];
        const int upToHere = qRound(double(extra) * sharesSoFar / total);
        parts[band] = upToHere - given;
        given = upToHere;
    }
    return parts;
}

int sum(const std::vector<int> &parts, int from, int to)
{
    int total = 0;
    for (int band = from; band < to; ++band)
        total += parts[band];
    return total;
}

} // namespace

GrowingLayout::GrowingLayout(QWidget *container)
    : QLayout(container)
{
    setContentsMargins(0, 0, 0, 0);
    // The window says how small it may be made, with the screen in view.
    setSizeConstraint(QLayout::SetNoConstraint);
}

GrowingLayout::~GrowingLayout()
{
    for (const Item &item : items_)
        delete item.item;
}

void GrowingLayout::place(QWidget *widget, const QRect &place, Growth growth)
{
    addChildWidget(widget);
    items_.push_back({new QWidgetItem(widget), place, growth});
    invalidate();
}

void GrowingLayout::setDesign(const QRect &place, Growth growth)
{
    design_ = Design{place, growth};
    invalidate();
}

QRect GrowingLayout::designPlace() const
{
    if (design_)
        return design_->place;
    QRect place;
    for (const Item &item : items_)
        place |= item.place;
    return place;
}

Growth GrowingLayout::designGrowth() const
{
    if (design_)
        return design_->growth;
    if (items_.empty())
        return {};
    const auto hull = [this](Span Growth::*direction) {
        int first = (items_.front().growth.*direction).first;
        int end = first;
        for (const Item &item : items_) {
            const Span span = item.growth.*direction;
            first = std::min(first, span.first);
            end = std::max(end, span.first + span.count);
        }
        return Span{first, end - first};
    };
    return {hull(&Growth::across), hull(&Growth::down)};
}

void GrowingLayout::addItem(QLayoutItem *item)
{
    // Only what place() adds has a place of its own; anything else stays
    // where it is.
    items_.push_back({item, item->geometry(), {}});
}

QLayoutItem *GrowingLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[size_t(index)].item : nullptr;
}

QLayoutItem *GrowingLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem *item = items_[size_t(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

void GrowingLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect design = designPlace();
    const Growth growth = designGrowth();
    const std::vector<int> across = shareOut(rect.width() - design.width(), {1}, growth.across);
    const std::vector<int> down =
        shareOut(rect.height() - design.height(),
                 std::vector<int>(std::begin(ws::window::kHeightShares),
                                  std::end(ws::window::kHeightShares)),
                 growth.down);
    // At the design size everything stands as designed, even a pixel beyond
    // the edge (the log box's lowest row); at any other, nothing does.
    const bool asDesigned = rect.size() == design.size();
    for (const Item &item : items_) {
        const Span a = item.growth.across;
        const Span d = item.growth.down;
        QRect place = item.place.translated(-design.topLeft());
        place.translate(sum(across, 0, a.first), sum(down, 0, d.first));
        place.setWidth(std::max(0, place.width() + sum(across, a.first, a.first + a.count)));
        place.setHeight(std::max(0, place.height() + sum(down, d.first, d.first + d.count)));
        if (!asDesigned)
            place &= QRect(QPoint(0, 0), rect.size());
        place.translate(rect.topLeft());
        QWidget *widget = item.item->widget();
        if (!widget) {
            item.item->setGeometry(place);
            continue;
        }
        widget->setGeometry(place);
        // A hidden widget hears of its new size only once it is shown; what
        // it holds moves now all the same, so that the places are right in
        // a window that was never shown (a picture, a test).
        if (!widget->isVisible() && widget->layout())
            widget->layout()->setGeometry(widget->rect());
    }
}
