// wavesift-historypicture OUT.png MAP SCAN|FOLDER...
//
// Opens the history window over the scans with the map, points at a
// transmission in the best scan (11182 MHz horizontal, "Demo TV 13" of the
// example map) so that the readout and the trend show, puts the row cursor
// on the scan after it, and writes a picture of the window. Needs no
// display. The scans' times are their files' (examples/make_examples.py
// sets them; a checkout does not keep them).
#include "app/historywindow.h"
#include "app/waterfallwidget.h"
#include "core/steadyclock.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>

#include <cstdio>

namespace {

class PrintedDialogs : public ws::UserDialogs
{
public:
    bool openFile(const QString &, QString &) override { return false; }
    bool saveFile(const QString &, QString &) override { return false; }
    void message(const QString &text, const QString &detail) override
    {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(text), qPrintable(detail));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUT.png MAP SCAN|FOLDER...\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintedDialogs dialogs;
    ws::SteadyClock clock;
    HistoryWindow window(dialogs, clock);
    if (!window.loadMapFrom(QString::fromLocal8Bit(argv[2])))
        return 1;
    QStringList sources;
    for (int i = 3; i < argc; ++i)
        sources << QString::fromLocal8Bit(argv[i]);
    QEventLoop wait;
    QObject::connect(&window, &HistoryWindow::loaded, &wait, &QEventLoop::quit);
    window.open(sources);
    // The sources are listed off the window's thread before they load.
    if (window.listing() || window.loading())
        wait.exec();
    window.resize(1000, 560);
    window.show();
    app.processEvents();

    // The pointer over the best scan.
    const std::vector<ws::ScanRow> &rows = window.history().rows();
    if (rows.empty() || window.ranking().places.empty())
        return 1;
    const int best = window.ranking().places.front().row;
    const auto *waterfall =
        window.findChild<WaterfallWidget *>(QLatin1String(ws::historywindow::names::waterfall));
    const double mhz = 11182;
    const std::optional<QPoint> at = waterfall->pointOf(best, mhz, ws::Polarisation::Horizontal);
    if (at) {
        QMouseEvent move(QEvent::MouseMove, *at, waterfall->mapToGlobal(*at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(const_cast<WaterfallWidget *>(waterfall), &move);
    }
    // The row cursor on the scan after the best, and the trend with it.
    window.moveRowCursor(1);
    window.moveRowCursor(best + 1 - window.rowCursor());
    app.processEvents();
    const QImage picture = window.grab().toImage();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG"))
        return 1;
    return 0;
}
