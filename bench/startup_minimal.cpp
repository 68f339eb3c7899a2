// The yardstick for bench/startup.sh: the least a Qt Widgets program does to
// show a window, an empty one of the same size as Wavesift's. Started with
// the argument "label" it also shows one line of text, which separates the
// one-off cost of loading fonts from the cost of the window itself.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(763, 560);
    if (argc > 1 && std::strcmp(argv[1], "label") == 0)
        (new QLabel(QStringLiteral("Load your newest scan here"), &window))->move(8, 8);
    window.show();
    return app.exec();
}
