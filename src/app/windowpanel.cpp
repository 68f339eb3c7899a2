#include "app/windowpanel.h"

#include "app/growinglayout.h"
#include "app/plotwidget.h"
#include "app/verdicttile.h"
#include "app/windowfonts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// A label whose text wraps at word boundaries and shows only the lines that
// fit whole.
class WholeLinesLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        const int lineHeight = fontMetrics().lineSpacing();
        const int lines = qMax(1, area.height() / lineHeight);
        painter.setClipRect(QRect(area.topLeft(), QSize(area.width(), lines * lineHeight)));
        style()->drawItemText(&painter, area, int(alignment()) | Qt::TextWordWrap, palette(),
                              isEnabled(), text(), foregroundRole());
    }
};

} // namespace

void chainTabOrder(QWidget &window)
{
    const auto named = [&window](const ws::window::Element *row) {
        auto *element = window.findChild<QWidget *>(QLatin1String(row->name));
        Q_ASSERT_X(element, "chainTabOrder", row->name);
        return element;
    };
    const std::vector<const ws::window::Element *> order = ws::window::tabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(named(order[i - 1]), named(order[i]));
}

QWidget *scrolledContent(QWidget &window)
{
    auto *scroll = new QScrollArea(&window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *content = new QWidget;
    content->setMinimumSize(ws::window::kSize);
    // Moves over its bare area go on to the window, as over the window's.
    content->setMouseTracking(true);
    scroll->setWidget(content);
    auto *whole = new QVBoxLayout(&window);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scroll);
    return content;
}

QWidget *createElement(const ws::window::Element &element, QWidget *parent)
{
    using ws::window::ElementKind;
    const QString text = QString::fromLatin1(element.text);
    QWidget *widget = nullptr;
    switch (element.kind) {
    case ElementKind::Button:
        widget = new QPushButton(text, parent);
        break;
    case ElementKind::Label:
    case ElementKind::WholeLinesLabel: {
        auto *label = element.kind == ElementKind::Label ? new QLabel(text, parent)
                                                         : new WholeLinesLabel(text, parent);
        label->setAlignment(element.alignment | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ElementKind::TextBox: {
        // Filled once made: a box made with its text lays it out first in
        // the application's font, before it has the window's, and so loads
        // a face that nothing shows.
        auto *box = new QLineEdit(parent);
        box->setTextMargins(0, 0, 0, 0);
        box->setText(text);
        widget = box;
        break;
    }
    case ElementKind::Plot:
        widget = new PlotWidget(parent);
        break;
    case ElementKind::LogBox: {
        auto *box = new QPlainTextEdit(text, parent);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Tab moves on along the window's tab order, as from every other
        // element; the log has no use for a typed tab.
        box->setTabChangesFocus(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setFont(ws::logFont());
        widget = box;
        break;
    }
    case ElementKind::VerdictTile:
        // Empty, it lets the pointer through to the window (VerdictTile).
        widget = new VerdictTile(parent);
        break;
    }
    widget->setObjectName(QLatin1String(element.name));
    if (element.toolTip)
        widget->setToolTip(QString::fromLatin1(element.toolTip));
    if (element.textColour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, *element.textColour);
        widget->setPalette(palette);
    }
    // A move over an element must not count as a move over the bare window
    // (which empties the readout).
    if (element.kind != ElementKind::VerdictTile)
        widget->setAttribute(Qt::WA_NoMousePropagation);
    return widget;
}

WindowPanel::WindowPanel(QWidget *parent)
    : QWidget(parent), layout_(new GrowingLayout(this))
{
    // A move over the empty area must reach the window. Without tracking
    // the application drops a move that no button holds here; with it the
    // panel gets the move, ignores it, and the window has it.
    setMouseTracking(true);
}

QRect WindowPanel::designPlace() const
{
    return layout_->designPlace();
}

ws::window::Growth WindowPanel::growth() const
{
    return layout_->designGrowth();
}

QWidget *WindowPanel::create(const ws::window::Element &row)
{
    QWidget *widget = createElement(row, this);
    layout_->place(widget, row.place, row.growth);
    return widget;
}
