#pragma once

#include "app/windowelements.h"

#include <QWidget>

class GrowingLayout;

// Makes the element of `row` as the table describes it, a child of `parent`
// that the parent's layout places.
QWidget *createElement(const ws::window::Element &row, QWidget *parent);

// The focus moves through `window`'s elements, found by their names, in the
// table's tab order.
void chainTabOrder(QWidget &window);

// On a screen smaller than the design, the elements keep their places in a
// scroll area over this content instead of overlapping.
QWidget *scrolledContent(QWidget &window);

// A group of the window's elements that belong together, speaking for them
// in the model's terms. It makes them from the element table and places them
// exactly where the table puts them at the default size (the panel stands on
// the union of their places), and by the table's growth in a larger window.
// Each element the code reaches is one member made by its name:
//     QLineEdit *const timeoutBox = create<QLineEdit>(names::timeoutBox);
// The panel's empty area is bare window: a move over it empties the readout.
class WindowPanel : public QWidget
{
public:
    explicit WindowPanel(QWidget *parent = nullptr);

    // Where the panel stands in the window at the default size, and how it
    // follows a larger one.
    QRect designPlace() const;
    ws::window::Growth growth() const;

protected:
    template <class W>
    W *create(const char *name)
    {
        auto *made = qobject_cast<W *>(create(ws::window::element(name)));
        Q_ASSERT_X(made, "WindowPanel", name);
        return made;
    }
    QWidget *create(const ws::window::Element &row);

private:
    GrowingLayout *layout_;
};
