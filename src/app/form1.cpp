#include "form1.h"

#include "icon.h"
#include "palette.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

struct LegendEntry
{
    int index;
    const char *text;
    QColor color;
    QRect geometry;
};

// The legend beside the plots: a line sample drawn as underscores in the
// colour of what it explains.
const LegendEntry kLegend[] = {
    {0, "___ horizontal old", ws::palette::horizontalReference, QRect(16, 112, 89, 17)},
    {4, "___ vertical old", ws::palette::verticalReference, QRect(16, 128, 81, 17)},
    {1, "___ horizontal new", ws::palette::horizontalNewest, QRect(16, 144, 97, 17)},
    {5, "___ vertical new", ws::palette::legendBlue, QRect(16, 160, 81, 17)},
    {9, "|<--- 100 MHz --->|", ws::palette::grid, QRect(16, 176, 89, 17)},
    {2, "___ diff. horizontal ", ws::palette::horizontalDifference, QRect(8, 320, 97, 17)},
    {3, "___ diff. vertical", ws::palette::legendBlue, QRect(8, 336, 89, 17)},
    {6, "___ 0 (no diff.)", ws::palette::zeroLine, QRect(8, 352, 97, 17)},
    {10, "___ horizontal", ws::palette::mapHorizontal, QRect(8, 416, 81, 17)},
    {7, "___ vertical ", ws::palette::legendBlue, QRect(8, 432, 89, 17)},
    {11, "___ circulary", ws::palette::legendGreen, QRect(8, 448, 97, 17)},
};

const char kPlotTip[] = "Click mouse left/right for h/v scan ";

// A label whose text wraps at word boundaries and shows only the lines that
// fit whole: the readout's first hint is longer than its label, and the top
// of a cut-off second line would look like a rendering fault.
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

Form1::Form1(const ws::Platform &platform, QWidget *parent)
    : QWidget(parent), platform_(platform)
{
    Q_ASSERT(platform_.dialogs && platform_.events && platform_.clock && platform_.system &&
             platform_.serial);
    setObjectName(QStringLiteral("Form1"));
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
    // reaching it (see createElements).
    setMouseTracking(true);
    resize(763, 560);

    createElements();
    wireEvents();
    setupTabOrder();
}

Form1::~Form1() = default;

void Form1::createElements()
{
    // Every element keeps its place when the window is resized: the layout
    // is absolute, with no layout manager.
    auto place = [](QWidget *w, const QString &name, const QRect &r) {
        w->setObjectName(name);
        w->setGeometry(r);
        // A move over an element must not count as a move over the bare
        // window (which empties the readout).
        w->setAttribute(Qt::WA_NoMousePropagation);
    };
    auto button = [&](const QString &name, const char *text, const QRect &r) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        place(b, name, r);
        return b;
    };
    auto label = [&](const QString &name, const char *text, const QRect &r,
                     Qt::Alignment align = Qt::AlignLeft) {
        auto *l = new QLabel(QString::fromLatin1(text), this);
        place(l, name, r);
        l->setAlignment(align | Qt::AlignTop);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    auto textBox = [&](const QString &name, const char *text, const QRect &r) {
        auto *t = new QLineEdit(QString::fromLatin1(text), this);
        place(t, name, r);
        t->setTextMargins(0, 0, 0, 0);
        return t;
    };
    auto plot = [&](const QString &name, const char *tip, const QRect &r) {
        auto *p = new PlotBox(this);
        place(p, name, r);
        p->setToolTip(QString::fromLatin1(tip));
        return p;
    };
    const auto right = Qt::AlignRight;

    Command5[1] = button(QStringLiteral("Command5_1"), "Load Newest ...", QRect(8, 8, 105, 17));
    Scanlabel[1] = label(QStringLiteral("Scanlabel_1"), "Load your newest scan here",
                         QRect(120, 8, 633, 17));
    Command5[2] = button(QStringLiteral("Command5_2"), "Load Reference ...", QRect(8, 24, 105, 17));
    Scanlabel[2] = label(QStringLiteral("Scanlabel_2"), "Load an old scan to compare with ",
                         QRect(120, 24, 641, 17));
    Command4 = button(QStringLiteral("Command4"), "Load Map ...", QRect(8, 40, 105, 17));
    Command4->setEnabled(false);
    Label8 = label(QStringLiteral("Label8"),
                   "Load information about known transmissions on Satellite",
                   QRect(120, 40, 641, 17));

    Picture1 = plot(QStringLiteral("Picture1"), kPlotTip, QRect(112, 72, 641, 153));
    Label9 = label(QStringLiteral("Label9"), "", QRect(32, 72, 65, 17), right);
    Label11 = label(QStringLiteral("Label11"), "Signal Strength", QRect(8, 96, 89, 17));
    Label7 = label(QStringLiteral("Label7"), "", QRect(32, 200, 65, 17), right);

    Label5 = label(QStringLiteral("Label5"), "", QRect(112, 240, 73, 17));
    Label1 = new WholeLinesLabel(QStringLiteral("look for frequency at mouse position here"), this);
    place(Label1, QStringLiteral("Label1"), QRect(192, 240, 121, 17));
    Label1->setAlignment(right | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);
    Label13 = label(QStringLiteral("Label13"), "", QRect(320, 240, 105, 17), right);
    Label10 = label(QStringLiteral("Label10"), "", QRect(432, 240, 209, 17));
    Label6 = label(QStringLiteral("Label6"), "", QRect(664, 240, 89, 17), right);

    Picture2 = plot(QStringLiteral("Picture2"), kPlotTip, QRect(112, 272, 641, 129));
    Label2 = label(QStringLiteral("Label2"), "", QRect(32, 280, 65, 17), right);
    Label12 = label(QStringLiteral("Label12"), "Strength Diff.", QRect(16, 304, 89, 17));
    Label3 = label(QStringLiteral("Label3"), "", QRect(32, 376, 65, 17), right);

    Picture3 = plot(QStringLiteral("Picture3"), "Click mouse for full scan over map data",
                    QRect(112, 416, 641, 49));

    for (const LegendEntry &entry : kLegend) {
        QLabel *l = label(QStringLiteral("Label4_%1").arg(entry.index), entry.text, entry.geometry);
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, entry.color);
        l->setPalette(palette);
        Label4[entry.index] = l;
    }

    Label17 = label(QStringLiteral("Label17"), "timeout sec", QRect(112, 472, 65, 17), right);
    Text5 = textBox(QStringLiteral("Text5"), "10", QRect(192, 472, 25, 19));
    Label15 = label(QStringLiteral("Label15"), "comport", QRect(240, 472, 65, 17), right);
    Text3 = textBox(QStringLiteral("Text3"), "2", QRect(320, 472, 25, 19));
    Command6 = button(QStringLiteral("Command6"), "skip rest", QRect(384, 472, 97, 17));
    Command6->setToolTip(QStringLiteral("Skips rest of map file"));
    Command6->setVisible(false);
    Label14 = label(QStringLiteral("Label14"), "0V/12V (0/1)", QRect(504, 472, 65, 17), right);
    Text2 = textBox(QStringLiteral("Text2"), "1", QRect(584, 472, 25, 19));
    Label16 = label(QStringLiteral("Label16"), "disecq (0-3)", QRect(648, 472, 65, 17), right);
    Text4 = textBox(QStringLiteral("Text4"), "0", QRect(728, 472, 25, 19));

    Text1 = new QPlainTextEdit(this);
    place(Text1, QStringLiteral("Text1"), QRect(112, 496, 641, 65));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    courier.setPointSizeF(8.25);
    Text1->setFont(courier);
    Text1->setToolTip(QStringLiteral(
        "List of known transmissions generated from Kurt Bramley's Mailinglists / Results of "
        "SDT-Search at known transponders"));

    const struct
    {
        int index;
        const char *title;
        const char *fileName;
    } dialogs[] = {
        {1, "Select Kanalix Scan File", "c:\\vanto21\\Scans\\my_scan.scn"},
        {2, "Load Sat-Info", "c:\\vanto21\\Scans\\sat.map"},
        {3, "Load Sat-Info", "c:\\vanto21\\maps\\mymap.map"},
    };
    for (const auto &d : dialogs) {
        auto *dialog = new FileOpenDialog(*platform_.dialogs, QString::fromLatin1(d.title),
                                          QString::fromLatin1(d.fileName), this);
        dialog->setObjectName(QStringLiteral("CommonDialog_%1").arg(d.index));
        CommonDialog[d.index] = dialog;
    }
}

void Form1::wireEvents()
{
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5[1], &QPushButton::clicked, this, [this] { Command5_Click(1); });
    connect(Command5[2], &QPushButton::clicked, this, [this] { Command5_Click(2); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Picture1, &PlotBox::mouseDown, this, &Form1::Picture1_MouseDown);
    connect(Picture2, &PlotBox::mouseDown, this, &Form1::Picture2_MouseDown);
    connect(Picture3, &PlotBox::mouseDown, this, &Form1::Picture3_MouseDown);
    connect(Picture1, &PlotBox::mouseMoved, this, &Form1::Picture1_MouseMove);
    connect(Picture2, &PlotBox::mouseMoved, this, &Form1::Picture2_MouseMove);
    connect(Picture3, &PlotBox::mouseMoved, this, &Form1::Picture3_MouseMove);
}

void Form1::setupTabOrder()
{
    QWidget *const order[] = {Picture1, Picture2, Command4, Picture3, Command5[1], Command5[2],
                              Text1,    Command6, Text2,    Text4,    Text3,       Text5};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form1::repaintWindow()
{
    platform_.events->repaintNow(this);
}

void Form1::repaintElement(QWidget *element)
{
    platform_.events->repaintNow(element);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    Form_MouseMove(PlotBox::buttonCode(event->buttons()), PlotBox::shiftState(event->modifiers()),
                   float(event->position().x()), float(event->position().y()));
}

void Form1::Form_MouseMove(std::int16_t, std::int16_t, float, float)
{
    Label1->setText(QString());
    Label10->setText(QString());
    Label13->setText(QString());
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (busyDepth_ > 0) {
        // Closes once the running work has ended (see the guards in form1.h).
        closePending_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

Form1::Busy::Busy(Form1 &form)
    : form_(form)
{
    ++form_.busyDepth_;
}

Form1::Busy::~Busy()
{
    if (--form_.busyDepth_ == 0 && form_.closePending_) {
        form_.closePending_ = false;
        QTimer::singleShot(0, &form_, &QWidget::close);
    }
}
