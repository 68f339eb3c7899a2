// Linked into the start-up measurement builds only (bench/startup.sh), never
// into the program: the moment the first window has been painted, print the
// monotonic clock and end the process at once, so that the parent can take
// the time from its own start of the process and the peak resident memory
// from the exit status.
//
// It hooks in through Q_COREAPP_STARTUP_FUNCTION, which runs as soon as the
// application object exists, so main() stays exactly the program's own.
//
// With the time it prints the texts of the window's labels as they were
// painted, one "label-text" line each: the parent checks from them that the
// files named on the command line were shown in that first paint, not some
// later one.
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>
#include <ctime>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!armed_ && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            armed_ = true;
            std::string labels;
            for (const QLabel *label : watched->findChildren<QLabel *>())
                labels += "label-text " + label->text().simplified().toStdString() + '\n';
            // The paint event of the window comes first; its children and the
            // flush to the screen follow within the same update. A queued
            // call runs once all of that is done.
            QTimer::singleShot(0, [labels] {
                std::printf("first-paint-ns %lld\n", monotonicNs());
                std::fputs(labels.c_str(), stdout);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

private:
    bool armed_ = false;
};

void installProbe()
{
    // Everything before this point is loading and linking the libraries and
    // constructing the application object; the rest is the program's own.
    std::printf("app-ns %lld\n", monotonicNs());
    qApp->installEventFilter(new FirstPaint);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
