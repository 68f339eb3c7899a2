#include "app/mainwindow.h"

#include "app/fileopendialog.h"
#include "app/icon.h"
#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "app/receiversettingspanel.h"
#include "app/scanfilespanel.h"
#include "app/windowelements.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

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

void createElement(const ws::window::Element &element, QWidget *window)
{
    using ws::window::ElementKind;
    const QString text = QString::fromLatin1(element.text);
    QWidget *widget = nullptr;
    switch (element.kind) {
    case ElementKind::Button:
        widget = new QPushButton(text, window);
        break;
    case ElementKind::Label:
    case ElementKind::WholeLinesLabel: {
        auto *label = element.kind == ElementKind::Label ? new QLabel(text, window)
                                                         : new WholeLinesLabel(text, window);
        label->setAlignment(element.alignment | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ElementKind::TextBox: {
        auto *box = new QLineEdit(text, window);
        box->setTextMargins(0, 0, 0, 0);
        widget = box;
        break;
    }
    case ElementKind::Plot:
        widget = new PlotWidget(window);
        break;
    case ElementKind::LogBox: {
        auto *box = new QPlainTextEdit(text, window);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Tab moves on along the window's tab order, as from every other
        // element; the log has no use for a typed tab.
        box->setTabChangesFocus(true);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QFont courier(QStringLiteral("Courier New"));
        courier.setStyleHint(QFont::TypeWriter);
        courier.setFixedPitch(true);
        courier.setPointSizeF(8.25);
        box->setFont(courier);
        widget = box;
        break;
    }
    }
    widget->setObjectName(QLatin1String(element.name));
    // Every element keeps its place when the window is resized: the layout
    // is absolute, with no layout manager.
    widget->setGeometry(element.place);
    if (element.toolTip)
        widget->setToolTip(QString::fromLatin1(element.toolTip));
    if (element.textColour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, *element.textColour);
        widget->setPalette(palette);
    }
    // A move over an element must not count as a move over the bare window
    // (which empties the readout).
    widget->setAttribute(Qt::WA_NoMousePropagation);
}

// The element of the window named `name`; every name the window asks for
// is in the element table.
template <class W>
W *elementNamed(const QWidget *window, const char *name)
{
    auto *element = window->findChild<W *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(element, "MainWindow", name);
    return element;
}

} // namespace

MainWindow::MainWindow(const ws::Platform &platform, QWidget *parent)
    : QWidget(parent), platform_(platform)
{
    Q_ASSERT(platform_.dialogs && platform_.events && platform_.clock && platform_.system &&
             platform_.serial);
    setObjectName(QLatin1String(ws::window::names::window));
    setWindowTitle(QStringLiteral("Wavesift"));
    setWindowIcon(ws::appIcon());

    // The layout was made for the narrow 8-point dialog font of its first
    // platform; an Arial-like face keeps the texts inside their elements.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                      font.family()});
    font.setPointSizeF(8);
    setFont(font);

    // Only the bare window reports moves; the elements stop theirs from
    // reaching it (see createElement).
    setMouseTracking(true);
    resize(ws::window::kSize);

    createElements();
    wireEvents();
    setupTabOrder();
    setupFileDrops();
    setupPictureShortcuts();
    setupLevelsShortcut();
    setupHoldScale();
    setupReceiver();
    setupFollowing();
}

MainWindow::~MainWindow() = default;

void MainWindow::createElements()
{
    for (const ws::window::Element &element : ws::window::elements())
        createElement(element, this);
    for (const ws::window::FileDialogElement &dialog : ws::window::fileDialogs()) {
        auto *d = new FileOpenDialog(*platform_.dialogs, QString::fromLatin1(dialog.title),
                                     QString::fromLatin1(dialog.fileName), this);
        d->setObjectName(QLatin1String(dialog.name));
    }

    files_ = new ScanFilesPanel(*this);
    receiverSettings_ = new ReceiverSettingsPanel(*this);
    log_ = new LogPanel(*this);
    plots_ = new PlotsPanel(*this, scans_, map_);
    skipRestButton = elementNamed<QPushButton>(this, ws::window::names::skipRestButton);

    // Only while a full scan runs.
    skipRestButton->setVisible(false);
}

void MainWindow::wireEvents()
{
    connect(files_, &ScanFilesPanel::loadClicked, this, [this](ScanFilesPanel::Target target) {
        if (target == ScanFilesPanel::Target::Map)
            loadMap();
        else
            loadScan(target == ScanFilesPanel::Target::NewestScan ? ws::ScanSlot::Newest
                                                                  : ws::ScanSlot::Reference);
    });
    connect(skipRestButton, &QPushButton::clicked, this, [this] { stopFullScan(); });
    connect(plots_, &PlotsPanel::plotPressed, this, &MainWindow::checkFrequencyAt);
    connect(plots_, &PlotsPanel::mapStripPressed, this, [this] { runFullScan(); });
    connect(plots_, &PlotsPanel::pointerMoved, this, &MainWindow::showReadoutAt);
    wireZoom();
}

void MainWindow::setupTabOrder()
{
    const std::vector<const ws::window::Element *> order = ws::window::tabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(elementNamed<QWidget>(this, order[i - 1]->name),
                             elementNamed<QWidget>(this, order[i]->name));
}

void MainWindow::repaintWindow()
{
    platform_.events->repaintNow(this);
}

void MainWindow::mouseMoveEvent(QMouseEvent *)
{
    // Only moves over the bare window arrive here (see createElement).
    clearReadout();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched->isWidgetType()) {
        auto *box = static_cast<QWidget *>(watched);
        if (fileDragOnto(box, event) || copyKeyOnto(box, event))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A check or a full scan ends with the window, at once: the port is
    // closed and a full scan's finished rows are saved.
    if (receiverBusy())
        abandonReceiverWork();
    QWidget::closeEvent(event);
}
