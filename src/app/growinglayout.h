#pragma once

#include "app/windowelements.h"

#include <QLayout>

#include <optional>
#include <vector>

// Places widgets as the element table describes them: at the design size
// each stands exactly at its place, to the pixel; what the container has
// beyond that is shared out among the bands of ws::window::Growth it spans,
// which move and grow the widgets, so a panel grows its elements as the
// window grows it. The design place is the union of the widgets' places,
// and the growth the bands they span, unless set (the window's own).
class GrowingLayout : public QLayout
{
public:
    explicit GrowingLayout(QWidget *container);
    ~GrowingLayout() override;

    // `widget` stands at `place` at the default size and follows a larger one by `growth`.
    void place(QWidget *widget, const QRect &place, ws::window::Growth growth);
    void setDesign(const QRect &place, ws::window::Growth growth);
    QRect designPlace() const;
    ws::window::Growth designGrowth() const;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    QSize sizeHint() const override { return designPlace().size(); }
    QSize minimumSize() const override { return designPlace().size(); }
    void setGeometry(const QRect &rect) override;

private:
    struct Item
    {
        QLayoutItem *item;
        QRect place;
        ws::window::Growth growth;
    };
    std::vector<Item> items_;
    struct Design
    {
        QRect place;
        ws::window::Growth growth;
    };
    std::optional<Design> design_;
};
