#pragma once

#include "app/windowwatch.h"
#include "core/sound.h"
#include "map/mapfile.h"
#include "receiver/signalwatch.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;

// The name of the known transmission nearest to `mhz`, as the readout
// finds it; empty for an empty map.
QString nearestTransmissionName(const ws::MapData &map, double mhz);

// A watch as read from the dish, two metres away: state and level large, a
// bar over this watch's span with the best level marked, the last two
// minutes as a strip chart, and a tone whose pitch follows the level so that
// whoever turns the screw need not look. Black ground, 7:1 contrast.
class DishView : public QWidget, public WatchFollower
{
    Q_OBJECT

public:
    using SinkMaker = std::function<std::unique_ptr<ws::SoundSink>()>;
    // `makeSink` is asked once, after the view was first drawn, as a sound
    // server may take a moment to answer.
    DishView(ws::Clock &clock, SinkMaker makeSink, QWidget *parent = nullptr);
    ~DishView() override;

    enum class State { Tuning, Locked, NotConfirmed, NoLock, NoAnswer, PortFailed, Ended };

    // The top names the nearest known transmission with this, when set.
    void setNameOf(std::function<QString(double mhz)> nameOf) { nameOf_ = std::move(nameOf); }
    // Escape, and closing the view while watching: the watch is to end.
    std::function<void()> onEnd;
    // Ctrl+B: the beep and the tone are to go off or on together.
    std::function<void()> onToggleSound;
    // The watch whose level pattern L sets, while it runs; none: L does
    // nothing.
    void setWatch(ws::receiver::SignalWatch *watch) { watch_ = watch; }

    void begun(const QString &frequency, ws::receiver::Polarisation polarisation) override;
    void replied(ws::receiver::WatchState state, const QString &text,
                 std::optional<double> level) override;
    void failed(const ws::receiver::PortFailure &failure) override;
    void stopped() override;
    void setSounding(bool on) override;

    bool sounding() const { return sounding_; }
    State state() const { return state_; }
    bool watching() const { return running_; }
    // The best level since the watch began or R cleared the mark.
    std::optional<double> bestMark() const { return best_; }
    const ws::ToneGenerator &tone() const { return tone_; }
    bool hasSound() const { return sink_ && sink_->problem().isEmpty(); }
    // Whether the corner says "no sound".
    bool saysNoSound() const { return noSound_; }
    // The box L opens for the level pattern, shown or hidden.
    QLineEdit *patternBox() const { return patternBox_; }

    struct Text
    {
        QString text;
        QFont font;
        QRect room;
        QColor colour;
        bool wrap = false;
        int align = Qt::AlignLeft;
    };
    std::vector<Text> texts() const;

    static QString wordOf(State state);
    static QColor colourOf(State state);
    static const QColor kBackground;
    static const QColor kPlainText;
    static constexpr int kChartSeconds = 120;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Sample
    {
        qint64 ms;
        float level; // NaN without one
        State state;
    };
    struct Layout;

    void enter(State state);
    void changed();
    void sound();
    void makeSink();
    Layout layout() const;
    QString heldText(qint64 ms) const;
    bool editingPattern() const;
    void openPatternBox();
    void closePatternBox();
    void usePattern();
    void placePatternBox();

    ws::Clock &clock_;
    SinkMaker makeSink_;
    std::unique_ptr<ws::SoundSink> sink_;
    bool sinkTried_ = false;
    bool noSound_ = false;
    ws::ToneGenerator tone_;
    bool sounding_ = true;
    std::function<QString(double)> nameOf_;
    ws::receiver::SignalWatch *watch_ = nullptr;
    QLineEdit *patternBox_ = nullptr;
    // Why the pattern last entered was refused.
    QString patternProblem_;
    std::unique_ptr<ws::Timer> secondly_;
    std::unique_ptr<ws::Timer> repaint_;
    bool repaintPending_ = false;

    QString frequency_;
    ws::receiver::Polarisation polarisation_ = ws::receiver::Polarisation::Horizontal;
    QString name_;
    bool running_ = false;
    State state_ = State::Ended;
    ws::receiver::WatchState lastState_ = ws::receiver::WatchState::NoLock;
    qint64 stateSinceMs_ = 0;
    QString reason_;
    std::optional<double> level_;
    ws::receiver::WatchTally tally_;
    std::optional<double> best_;
    qint64 bestMs_ = 0;
    std::deque<Sample> samples_;
};
