#include "realplatform.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace ws {

bool QtDialogs::openFile(const QString &title, QString &fileName)
{
    // The remembered name may come from another system ("c:\..."); the
    // dialog simply offers what it can of it.
    const QString chosen = QFileDialog::getOpenFileName(parent_, title, fileName);
    if (chosen.isEmpty())
        return false;
    fileName = QDir::toNativeSeparators(chosen);
    return true;
}

void QtDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wavesift"), text, QMessageBox::Ok,
                    parent_);
    box.exec();
}

void QtEventLoop::doEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::keepPainted()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtEventLoop::repaintNow(QWidget *widget)
{
    if (widget)
        widget->repaint();
}

void DesktopServices::beep()
{
    QApplication::beep();
}

QString DesktopServices::programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace ws
