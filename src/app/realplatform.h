#pragma once

#include "app/windowplatform.h"
#include "core/steadyclock.h"

#include <memory>

class QMessageBox;
class QWidget;

// The platform as the program uses it on a desktop: Qt's dialogs and event
// loop, the monotonic clock and the system's beep.
namespace ws {

class QtDialogs : public UserDialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    bool openFile(const QString &title, QString &fileName) override;
    // Offers PNG pictures, the only files the window saves.
    bool saveFile(const QString &title, QString &fileName) override;
    bool chooseFolder(const QString &title, QString &folder) override;
    void message(const QString &text, const QString &detail) override;
    // The box message() runs, built but not yet shown.
    std::unique_ptr<QMessageBox> messageBox(const QString &text, const QString &detail) const;

private:
    QWidget *parent_;
};

class QtEventLoop : public EventLoop
{
public:
    void repaintNow(QWidget *widget) override;
};

// QSerialPortInfo's ports, with the stable names of /dev/serial/by-id.
class SystemPortFinder : public PortFinder
{
public:
    std::vector<PortInfo> ports() override;
};

class DesktopServices : public SystemServices
{
public:
    void beep() override;
    QString programFolder() override;
    QString userDataFolder() override;
    QString noUserDataFolder() override;
};

} // namespace ws
