// wavesift-pointingpicture OUT.png
//
// Opens the pointing panel for a dish at Greenwich (51.48N 0.01W) aimed at
// 19.2E and writes a picture of it. Needs no display.
#include "app/pointingpanel.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PointingPanel panel;
    panel.setSite({51.48, -0.01});
    panel.findChild<QLineEdit *>(QLatin1String(ws::pointingpanel::names::satellite))
        ->setText(QStringLiteral("19.2E"));
    panel.show();
    app.processEvents();
    // No box's cursor in the picture.
    if (QWidget *focused = panel.focusWidget())
        focused->clearFocus();
    app.processEvents();
    const QImage picture = panel.grab().toImage();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG"))
        return 1;
    return 0;
}
