#include "app/realplatform.h"

#include "app/portlist.h"
#include "fullscan/resultsfile.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QWidget>

namespace ws {

bool QtDialogs::openFile(const QString &title, QString &fileName)
{
    // The remembered name may come from another system ("c:\..."); the
    // dialog simply offers what it can of it.
    QFileDialog dialog(parent_, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted; the loader
    // then tells that it cannot be read.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

bool QtDialogs::chooseFolder(const QString &title, QString &folder)
{
    QFileDialog dialog(parent_, title, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    folder = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

bool QtDialogs::saveFile(const QString &title, QString &fileName)
{
    QFileDialog dialog(parent_, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG pictures (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

void QtDialogs::message(const QString &text, const QString &detail)
{
    messageBox(text, detail)->exec();
}

std::unique_ptr<QMessageBox> QtDialogs::messageBox(const QString &text,
                                                   const QString &detail) const
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QStringLiteral("Wavesift"),
                                             text, QMessageBox::Ok, parent_);
    // A path may look like markup; it is shown as it is.
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(detail);
    if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    return box;
}

void QtEventLoop::repaintNow(QWidget *widget)
{
    if (widget)
        widget->repaint();
}

std::vector<PortInfo> SystemPortFinder::ports()
{
    std::vector<PortInfo> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.push_back({info.portName(), info.systemLocation(), info.description(),
                         info.manufacturer(), QString()});
#ifdef Q_OS_LINUX
    addStableNames(ports, QStringLiteral("/dev/serial/by-id"));
#endif
    return ports;
}

void DesktopServices::beep()
{
    QApplication::beep();
}

QString DesktopServices::programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString DesktopServices::userDataFolder()
{
    return systemDataFolder().value.value_or(QString());
}

QString DesktopServices::noUserDataFolder()
{
    return systemDataFolder().failure.what;
}

} // namespace ws
