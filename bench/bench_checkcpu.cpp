// What a signal check costs while it waits: a 30-second check (2 s settle
// and a 28 s time-out) against a receiver that never answers, on a
// pseudo-terminal with nobody on the other side. The figure that counts is
// the processor time used, as a share of one core; it should stay under
// 0.5 %.

#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "app/realplatform.h"
#include "receiver/qtserialline.h"
#include "rxsim/receiversim.h"
#include "support/windowelement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include "benchsupport.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {

class SilentDialogs : public ws::UserDialogs
{
public:
    bool openFile(const QString &, QString &) override { return false; }
    bool saveFile(const QString &, QString &) override { return false; }
    void message(const QString &text, const QString &) override { messages << text; }
    QStringList messages;
};

class NoServices : public ws::SystemServices
{
public:
    void beep() override {}
    QString programFolder() override { return QString(); }
    QString userDataFolder() override { return QString(); }
};

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_CheckWaitingForSilentReceiver(benchmark::State &state)
{
    int master = -1;
    int slave = -1;
    QString path;
    QString error;
    if (!ws::rxsim::openRawPty(master, slave, path, error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }

    SilentDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    NoServices system;
    ws::QtSerialLine serial;
    MainWindow window(ws::Platform{&dialogs, &events, &clock, &system, &serial});
    window.show();
    namespace names = ws::window::names;
    ws::test::element<QLineEdit>(window, names::portBox)->setText(path);
    ws::test::element<QLineEdit>(window, names::timeoutBox)
        ->setText(QString::number(state.range(0) - 2));

    double cpuShare = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        window.receiverWork().check(10700, Qt::LeftButton);
        // The check runs on from the application's event loop.
        while (window.receiverWork().busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double wallSeconds = wall.nsecsElapsed() / 1e9;
        cpuShare = 100.0 * (processCpuSeconds() - cpuBefore) / wallSeconds;
    }
    // Nobody on the line: the check ends saying that the port did not
    // answer, and any other message means it did not wait as measured.
    if (!dialogs.messages.isEmpty() && !dialogs.messages.first().contains(" did not answer: "))
        state.SkipWithError(qPrintable(dialogs.messages.first()));
    state.counters["cpu_percent_of_one_core"] = cpuShare;

    ::close(slave);
    ::close(master);
}

} // namespace

BENCHMARK(BM_CheckWaitingForSilentReceiver)
    ->Arg(30)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

WS_BENCHMARK_MAIN_WITH_WIDGETS()
