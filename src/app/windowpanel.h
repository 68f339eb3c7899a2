#pragma once

#include <QObject>
#include <QWidget>

// A group of the window's elements that belong together, speaking for them
// in the model's terms. The elements stay where the element table puts
// them, children of the window itself: their places, their stacking, the
// tab order and the names scripts find them by do not depend on how the
// code groups them. A panel takes the elements it owns once the window has
// created them; each is declared once, as a member initialised by its name:
//     QLineEdit *const timeoutBox = element<QLineEdit>(names::timeoutBox);
class WindowPanel : public QObject
{
public:
    explicit WindowPanel(QWidget &window) : QObject(&window), window_(window) {}

protected:
    // The window's element named `name`; every name a panel asks for is in
    // the element table.
    template <class W>
    W *element(const char *name) const
    {
        auto *found = window_.findChild<W *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        Q_ASSERT_X(found, "WindowPanel", name);
        return found;
    }

    QWidget &window_;
};
