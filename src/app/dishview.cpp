#include "app/dishview.h"

#include "app/verdict.h"
#include "app/windowkeys.h"

#include "core/numbers.h"
#include "plot/readout.h"
#include "receiver/checklog.h"
#include "receiver/watchtone.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QHash>
#include <QPainter>
#include <QTimer>

#include <cmath>

using ws::receiver::WatchState;

const QColor DishView::kBackground{0, 0, 0};
const QColor DishView::kPlainText{200, 200, 200};

namespace {

// Bars, frames and grid lines: no text, no contrast rule, but plainly apart
// from the black.
const QColor kTrough{55, 55, 55};
const QColor kGrid{80, 80, 80};
const QColor kBestMark{255, 255, 255};

constexpr int kMaxSamples = DishView::kChartSeconds * 50;
constexpr int kRepaintMs = 100;

DishView::State stateOf(WatchState state)
{
    switch (state) {
    case WatchState::Locked:
        return DishView::State::Locked;
    case WatchState::NotConfirmed:
        return DishView::State::NotConfirmed;
    case WatchState::NoAnswer:
        return DishView::State::NoAnswer;
    case WatchState::NoLock:
        break;
    }
    return DishView::State::NoLock;
}

bool fits(const QFont &font, const QString &text, const QSizeF &room, bool wrap)
{
    const QFontMetricsF metrics(font);
    if (!wrap)
        return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
    const QRectF needed =
        metrics.boundingRect(QRectF(QPointF(0, 0), room), Qt::TextWordWrap, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// `base` at the largest pixel size, up to `most`, in which each of `texts`
// fits `room`.
QFont fit(QFont base, const QStringList &texts, const QSizeF &room, bool wrap, int most)
{
    base.setPixelSize(100);
    const QFontMetricsF metrics(base);
    double widest = 1;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    int size = int(std::min({room.height() * 100 / metrics.height(),
                             wrap ? room.height() * 100 / metrics.height()
                                  : room.width() * 100 / widest,
                             double(most)}));
    for (size = std::max(size, 1); size > 1; --size) {
        base.setPixelSize(size);
        if (std::all_of(texts.begin(), texts.end(),
                        [&](const QString &t) { return fits(base, t, room, wrap); }))
            break;
    }
    base.setPixelSize(std::max(size, 1));
    return base;
}

// Every state word: the word keeps its size as the state changes.
QStringList allWords()
{
    QStringList words;
    for (int s = 0; s <= int(DishView::State::Ended); ++s)
        words << DishView::wordOf(DishView::State(s));
    return words;
}

// A level has at most six characters: as wide as these.
const QStringList kWidestLevels{QStringLiteral("888888"), QStringLiteral("-8888.8")};

// The same, remembered: a paint asks for the same few fits again and
// again, and each size tried costs a font of its own.
QFont fitted(const QFont &base, const QStringList &texts, const QSizeF &room, bool wrap = false,
             int most = 4000)
{
    static QHash<QString, QFont> known;
    const QString key = QStringLiteral("%1|%2|%3x%4|%5|%6")
                            .arg(base.key(), texts.join(QChar(0)))
                            .arg(room.width())
                            .arg(room.height())
                            .arg(int(wrap))
                            .arg(most);
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    // Only the fits of a few window sizes and failures are worth keeping.
    if (known.size() > 200)
        known.clear();
    return *known.insert(key, fit(base, texts, room, wrap, most));
}

QString number(double value)
{
    return ws::formatNumber(std::round(value * 10) / 10);
}

} // namespace

QString nearestTransmissionName(const ws::MapData &map, double mhz)
{
    const int entry = ws::nearestMapEntry(map, mhz);
    return entry < 0 ? QString() : map.entries[entry].name.trimmed();
}

struct DishView::Layout
{
    QRect top, word, detail, number, bar, barLabels, chart, axis, band;
    // While the pattern box is open, above the chart.
    QRect patternPrompt, patternBox, patternNote;
};

DishView::DishView(ws::Clock &clock, SinkMaker makeSink, QWidget *parent)
    : QWidget(parent, Qt::Window), clock_(clock), makeSink_(std::move(makeSink)),
      secondly_(clock.createTimer([this] {
          // How long the state has held, and how long ago the best came.
          changed();
          secondly_->start(1000);
      })),
      repaint_(clock.createTimer([this] {
          repaintPending_ = false;
          update();
      }))
{
    setObjectName(QStringLiteral("dishView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(640, 480);
    resize(1024, 768);
}

DishView::~DishView()
{
    if (sink_)
        sink_->stop();
}

QString DishView::wordOf(State state)
{
    switch (state) {
    case State::Tuning:
        return QStringLiteral("TUNING");
    case State::Locked:
        return QStringLiteral("LOCKED");
    case State::NotConfirmed:
        return QStringLiteral("NOT CONFIRMED");
    case State::NoLock:
        return QStringLiteral("NO LOCK");
    case State::NoAnswer:
        return QStringLiteral("NO ANSWER");
    case State::PortFailed:
        return QStringLiteral("PORT FAILED");
    case State::Ended:
        break;
    }
    return QStringLiteral("WATCH ENDED");
}

QColor DishView::colourOf(State state)
{
    // The tile's hues, light enough for 7:1 on black.
    switch (state) {
    case State::Tuning:
        return {150, 180, 255};
    case State::Locked:
        return {0, 200, 0};
    case State::NotConfirmed:
        return {255, 170, 0};
    case State::NoAnswer:
    case State::PortFailed:
        return {255, 110, 110};
    case State::NoLock:
    case State::Ended:
        break;
    }
    return kPlainText;
}

void DishView::begun(const QString &frequency, ws::receiver::Polarisation polarisation)
{
    frequency_ = frequency;
    polarisation_ = polarisation;
    name_ = nameOf_ ? nameOf_(frequency.toDouble()) : QString();
    running_ = true;
    reason_.clear();
    level_.reset();
    tally_ = {};
    best_.reset();
    samples_.clear();
    state_ = State::Ended;
    enter(State::Tuning);
    setWindowTitle(QStringLiteral("Wavesift dish: ") + checkedAt(frequency, polarisation));
    secondly_->start(1000);
    sound();
    changed();
}

void DishView::replied(WatchState state, const QString &, std::optional<double> level)
{
    const qint64 now = clock_.milliseconds();
    tally_.add(state, now, level);
    level_ = level;
    lastState_ = state;
    // Reached again, the best is as recent as the last time.
    if (level && (!best_ || *level >= *best_)) {
        best_ = level;
        bestMs_ = now;
    }
    enter(stateOf(state));
    samples_.push_back({now, level ? float(*level) : NAN, state_});
    // One sample older than the chart's left edge draws the band up to it.
    while (samples_.size() > 2 &&
           (samples_[1].ms < now - kChartSeconds * 1000 || int(samples_.size()) > kMaxSamples))
        samples_.pop_front();
    sound();
    changed();
}

void DishView::failed(const ws::receiver::PortFailure &failure)
{
    running_ = false;
    reason_ = failure.message;
    if (const QString advice = ws::receiver::portFailureAdvice(failure); !advice.isEmpty())
        reason_ += QLatin1Char(' ') + advice;
    enter(failure.kind == ws::receiver::PortFailure::Kind::Silent ? State::NoAnswer
                                                                   : State::PortFailed);
    sound();
    changed();
}

void DishView::stopped()
{
    running_ = false;
    enter(State::Ended);
    sound();
    changed();
}

void DishView::setSounding(bool on)
{
    sounding_ = on;
    sound();
    changed();
}

void DishView::enter(State state)
{
    if (state == state_)
        return;
    state_ = state;
    stateSinceMs_ = clock_.milliseconds();
    setAccessibleName(wordOf(state));
}

void DishView::changed()
{
    if (repaintPending_)
        return;
    // Replies come 25 times a second; the eye needs fewer frames.
    repaintPending_ = true;
    repaint_->start(kRepaintMs);
}

void DishView::sound()
{
    const bool live = running_ && state_ != State::Tuning;
    tone_.setShape(sounding_ && live ? ws::receiver::watchTone(lastState_, level_,
                                                               tally_.lowestLevel(),
                                                               tally_.bestLevel())
                                     : ws::ToneShape{});
}

void DishView::makeSink()
{
    if (makeSink_)
        sink_ = makeSink_();
    if (!sink_ || !sink_->start(tone_)) {
        noSound_ = true;
        sink_.reset();
    }
    changed();
}

QString DishView::heldText(qint64 ms) const
{
    const qint64 s = std::max<qint64>(0, ms) / 1000;
    if (s < 60)
        return QStringLiteral("%1 s").arg(s);
    return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

DishView::Layout DishView::layout() const
{
    const int w = width();
    const int h = height();
    const int m = std::max(4, int(std::min(w, h) * 0.02));
    const auto rows = [h](double share) { return std::max(8, int(h * share)); };
    Layout l;
    int y = m;
    const int inner = w - 2 * m;
    l.top = QRect(m, y, inner, rows(0.07));
    y = l.top.bottom() + 1 + rows(0.01);
    l.word = QRect(m, y, inner, rows(0.15));
    y = l.word.bottom() + 1;
    l.detail = QRect(m, y, inner, rows(0.10));
    y = l.detail.bottom() + 1 + rows(0.02);
    const int numberWidth = int(inner * 0.30);
    l.number = QRect(m, y, numberWidth, rows(0.17));
    const int barLeft = l.number.right() + 1 + m;
    l.bar = QRect(barLeft, y + rows(0.02), w - m - barLeft, rows(0.08));
    l.barLabels = QRect(barLeft, l.bar.bottom() + 1 + rows(0.01), l.bar.width(), rows(0.05));
    y = l.number.bottom() + 1 + rows(0.03);
    if (editingPattern()) {
        const int promptWidth = int(inner * 0.25);
        l.patternPrompt = QRect(m, y, promptWidth, rows(0.06));
        l.patternBox = QRect(m + promptWidth, y, inner - promptWidth, rows(0.06));
        l.patternNote = QRect(m, l.patternBox.bottom() + 1, inner, rows(0.06));
        y = l.patternNote.bottom() + 1 + rows(0.01);
    }
    const int axisHeight = rows(0.045);
    const int bandHeight = rows(0.03);
    l.chart = QRect(m, y, inner, std::max(8, h - m - axisHeight - bandHeight - y));
    l.band = QRect(m, l.chart.bottom() + 1, inner, bandHeight);
    l.axis = QRect(m, l.band.bottom() + 1, inner, axisHeight);
    return l;
}

std::vector<DishView::Text> DishView::texts() const
{
    const Layout l = layout();
    const qint64 now = clock_.milliseconds();
    std::vector<Text> all;
    const QFont base = font();

    // The top: where, and in the corner whether there is sound.
    QRect top = l.top;
    if (noSound_) {
        const QString words = QStringLiteral("no sound");
        QRect corner = top;
        corner.setLeft(top.right() - int(top.width() * 0.2));
        all.push_back({words, fitted(base, {words}, corner.size()), corner, kPlainText, false,
                       Qt::AlignRight | Qt::AlignVCenter});
        top.setRight(corner.left() - 1 - top.height() / 2);
    }
    if (!frequency_.isEmpty()) {
        QString where = QStringLiteral("%1 MHz %2")
                            .arg(frequency_,
                                 ws::receiver::logLetter(polarisation_) == QLatin1String("v")
                                     ? QStringLiteral("vertical")
                                     : QStringLiteral("horizontal"));
        if (!name_.isEmpty())
            where += QStringLiteral("  \u00b7  ") + name_;
        all.push_back({where, fitted(base, {where}, top.size()), top, kPlainText, false,
                       Qt::AlignLeft | Qt::AlignVCenter});
    }

    // The state, its capitals at least 8 % of the height where the width
    // allows, with how long it has held and why a watch failed.
    QFont bold = base;
    bold.setBold(true);
    {
        bold.setPixelSize(100);
        const double capShare = QFontMetricsF(bold).capHeight() / 100;
        const int most = int(std::ceil(height() * 0.085 / std::max(0.3, capShare)));
        const QString word = wordOf(state_);
        all.push_back({word,
                       fitted(bold, allWords(), l.word.size(), false, most),
                       l.word, colourOf(state_), false, Qt::AlignLeft | Qt::AlignVCenter});
    }
    QString detail = QStringLiteral("for ") + heldText(now - stateSinceMs_);
    if (!reason_.isEmpty())
        detail += QStringLiteral(". ") + reason_;
    {
        // A line of the usual size, two where a failure needs them; smaller
        // only when even two do not hold it.
        QFont usual = fitted(base, {QStringLiteral("for 888 min 88 s")},
                             QSizeF(l.detail.width(), l.detail.height() / 2.0));
        if (!fits(usual, detail, l.detail.size(), true))
            usual = fitted(base, {detail}, l.detail.size(), true, usual.pixelSize());
        all.push_back({detail, usual, l.detail, colourOf(state_), true,
                       Qt::AlignLeft | Qt::AlignTop});
    }

    // The level, large, and the ends of its bar with the best mark.
    if (level_) {
        QFont large = bold;
        large = fitted(bold, kWidestLevels, l.number.size());
        all.push_back({number(*level_), large, l.number, colourOf(state_), false,
                       Qt::AlignLeft | Qt::AlignVCenter});
        const QFont labels =
            fitted(base, kWidestLevels, QSizeF(l.barLabels.width() * 0.18, l.barLabels.height()));
        const int endWidth = int(l.barLabels.width() * 0.2);
        QRect low = l.barLabels;
        low.setWidth(endWidth);
        QRect high = l.barLabels;
        high.setLeft(high.right() - endWidth + 1);
        all.push_back({number(*tally_.lowestLevel()), labels, low, kPlainText, false,
                       Qt::AlignLeft | Qt::AlignVCenter});
        all.push_back({number(*tally_.bestLevel()), labels, high, kPlainText, false,
                       Qt::AlignRight | Qt::AlignVCenter});
        if (best_) {
            const QRect middle(low.right() + 1, l.barLabels.top(), high.left() - low.right() - 1,
                               l.barLabels.height());
            const QString said = QStringLiteral("best %1, %2 ago")
                                     .arg(number(*best_), heldText(now - bestMs_));
            const QFont bestFont = fitted(
                base, {QStringLiteral("best 888888, 888 min 88 s ago")}, middle.size(), false,
                labels.pixelSize());
            all.push_back({said, bestFont, middle, kBestMark, false, Qt::AlignCenter});
        }
    }

    // The pattern box's prompt, and what Enter does or why it was refused.
    if (editingPattern()) {
        const QString prompt = QStringLiteral("Level pattern");
        all.push_back({prompt,
                       fitted(base, {prompt},
                              QSizeF(l.patternPrompt.width() * 0.9, l.patternPrompt.height())),
                       l.patternPrompt, kPlainText, false, Qt::AlignLeft | Qt::AlignVCenter});
        const QString note =
            patternProblem_.isEmpty()
                ? QStringLiteral("Enter reads the level by its first capture group from the "
                                 "next reply on, an empty one by the usual rule; Escape keeps "
                                 "the one in use.")
                : QStringLiteral("Refused: %1. The pattern in use stays.").arg(patternProblem_);
        const QFont font = fitted(base, {note}, l.patternNote.size(), true,
                                  std::max(1, l.patternNote.height() / 2));
        all.push_back({note, font, l.patternNote,
                       patternProblem_.isEmpty() ? kPlainText : colourOf(State::PortFailed), true,
                       Qt::AlignLeft | Qt::AlignTop});
    }

    // The chart's axis: seconds ago, every 30.
    const QFont axis = fitted(base, {QStringLiteral("120 s ago")},
                              QSizeF(l.axis.width() / 4.0 * 0.9, l.axis.height()));
    const int quarter = l.axis.width() / 4;
    for (int s = kChartSeconds; s >= 0; s -= 30) {
        const int x = l.axis.left() + int(double(kChartSeconds - s) / kChartSeconds * l.axis.width());
        QRect room(x - quarter / 2, l.axis.top(), quarter - 2, l.axis.height());
        int align = Qt::AlignHCenter;
        QString label = QString::number(s);
        if (s == kChartSeconds) {
            room.moveLeft(l.axis.left());
            align = Qt::AlignLeft;
            label = QStringLiteral("120 s ago");
        } else if (s == 0) {
            room.moveRight(l.axis.right());
            align = Qt::AlignRight;
            label = QStringLiteral("now");
        }
        all.push_back({label, axis, room, kPlainText, false, align | Qt::AlignVCenter});
    }
    return all;
}

void DishView::paintEvent(QPaintEvent *)
{
    if (!sinkTried_) {
        // Once the view is up: a sound server may take a moment to answer.
        sinkTried_ = true;
        QTimer::singleShot(0, this, [this] { makeSink(); });
    }
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const Layout l = layout();
    const qint64 now = clock_.milliseconds();
    const std::optional<double> lowest = tally_.lowestLevel();
    const std::optional<double> highest = tally_.bestLevel();
    const double low = lowest.value_or(0);
    const double span = highest && *highest > low ? *highest - low : 1;
    const auto share = [&](double level) { return std::clamp((level - low) / span, 0.0, 1.0); };

    if (level_) {
        painter.fillRect(l.bar, kTrough);
        QRect filled = l.bar;
        filled.setWidth(int(std::round(l.bar.width() * share(*level_))));
        painter.fillRect(filled, colourOf(state_));
        if (best_) {
            const int x = l.bar.left() + int(std::round(l.bar.width() * share(*best_)));
            const int thick = std::max(3, l.bar.height() / 8);
            painter.fillRect(QRect(x - thick / 2, l.bar.top() - thick, thick,
                                   l.bar.height() + 2 * thick),
                             kBestMark);
        }
    }

    // The chart: the level over the last two minutes, the state as a band.
    painter.setPen(kGrid);
    painter.drawRect(l.chart.adjusted(0, 0, -1, -1));
    const auto xAt = [&](qint64 ms) {
        return l.chart.right() -
               double(now - ms) / (kChartSeconds * 1000.0) * double(l.chart.width() - 1);
    };
    for (int s = 30; s < kChartSeconds; s += 30) {
        const int x = int(xAt(now - s * 1000));
        painter.drawLine(x, l.chart.top(), x, l.chart.bottom());
    }
    painter.save();
    painter.setClipRect(l.chart.united(l.band));
    for (size_t i = 0; i < samples_.size();) {
        size_t j = i + 1;
        while (j < samples_.size() && samples_[j].state == samples_[i].state)
            ++j;
        const double x0 = xAt(samples_[i].ms);
        const double x1 = j < samples_.size() ? xAt(samples_[j].ms) : l.band.right() + 1;
        painter.fillRect(QRectF(x0, l.band.top() + 2, x1 - x0, l.band.height() - 2),
                         colourOf(samples_[i].state));
        i = j;
    }
    if (highest) {
        // Thin lines drawn side by side: a wide pen's joins cost far more
        // than a paint may take.
        std::vector<QPolygonF> runs(1);
        const double top = l.chart.top() + 2;
        const double height = l.chart.height() - 4;
        for (const Sample &sample : samples_) {
            if (std::isnan(sample.level)) {
                if (!runs.back().isEmpty())
                    runs.emplace_back();
                continue;
            }
            runs.back() << QPointF(xAt(sample.ms), top + height * (1 - share(sample.level)));
        }
        painter.setPen(QPen(kPlainText, 0));
        const double pixel = 1 / devicePixelRatioF();
        const int thick = std::max(2, int(height / 120 / pixel));
        for (int pass = 0; pass < thick; ++pass) {
            for (const QPolygonF &run : runs)
                painter.drawPolyline(run);
            painter.translate(0, pixel);
        }
    }
    painter.restore();

    for (const Text &text : texts()) {
        painter.setFont(text.font);
        painter.setPen(text.colour);
        painter.drawText(text.room, text.align | (text.wrap ? Qt::TextWordWrap : 0), text.text);
    }
}

void DishView::closeEvent(QCloseEvent *event)
{
    if (running_ && onEnd)
        onEnd();
    tone_.setShape({});
    if (sink_)
        sink_->stop();
    event->accept();
}

void DishView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePatternBox();
}

bool DishView::editingPattern() const
{
    return patternBox_ && !patternBox_->isHidden();
}

void DishView::openPatternBox()
{
    if (!running_ || !watch_)
        return;
    if (!patternBox_) {
        patternBox_ = new QLineEdit(this);
        patternBox_->setObjectName(QStringLiteral("levelPattern"));
        patternBox_->setAccessibleName(QStringLiteral("Level pattern"));
        connect(patternBox_, &QLineEdit::returnPressed, this, &DishView::usePattern);
    }
    patternProblem_.clear();
    patternBox_->setText(watch_->levelPattern());
    patternBox_->show();
    placePatternBox();
    patternBox_->setFocus();
    update();
}

void DishView::closePatternBox()
{
    patternBox_->hide();
    patternProblem_.clear();
    setFocus();
    update();
}

void DishView::usePattern()
{
    if (!watch_)
        return;
    // Refused, the box stays with what was typed, so that it can be mended.
    patternProblem_ = watch_->setLevelPattern(patternBox_->text());
    if (patternProblem_.isEmpty())
        closePatternBox();
    else
        update();
}

void DishView::placePatternBox()
{
    if (!editingPattern())
        return;
    const QRect room = layout().patternBox;
    QFont font = patternBox_->font();
    font.setPixelSize(std::max(8, int(room.height() * 0.6)));
    patternBox_->setFont(font);
    patternBox_->setGeometry(room);
}

void DishView::keyPressEvent(QKeyEvent *event)
{
    // Escape in the pattern box, or while it is open, leaves the box and
    // not the watch; the box's own keys come here when it has no use for
    // them.
    if (editingPattern() && event->keyCombination() == QKeyCombination(Qt::Key_Escape)) {
        event->accept();
        closePatternBox();
        return;
    }
    // The view takes its keys as they come: it is often the only window
    // shown, full screen, and has nothing else that wants them.
    const std::optional<ws::KeyAction> action = ws::actionOf(ws::KeyWindow::Dish,
                                                             event->keyCombination());
    if (!action) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    switch (*action) {
    case ws::KeyAction::EndWatch:
        if (running_ && onEnd)
            onEnd();
        break;
    case ws::KeyAction::ToggleFullScreen:
        if (isFullScreen())
            showNormal();
        else
            showFullScreen();
        break;
    case ws::KeyAction::ClearBestLevel:
        best_.reset();
        changed();
        break;
    case ws::KeyAction::SetLevelPattern:
        openPatternBox();
        break;
    case ws::KeyAction::ToggleBeep:
        if (onToggleSound)
            onToggleSound();
        else
            setSounding(!sounding_);
        break;
    default:
        break;
    }
}
