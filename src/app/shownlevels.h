#pragma once

#include <QObject>

#include <functional>

class LogPanel;
class PlotsPanel;
class Workspace;
namespace ws {
class UserDialogs;
}

// The levels of the known transmissions as a table in the log box (Ctrl+R),
// made anew from the files whenever they change while it is shown.
class ShownLevels : public QObject
{
    Q_OBJECT

public:
    ShownLevels(Workspace &workspace, const PlotsPanel &plots, LogPanel &log,
                ws::UserDialogs &dialogs, std::function<bool()> busy, QObject *parent);
    void show();
    void rebuild();

private:
    bool ready() const;

    Workspace &workspace_;
    const PlotsPanel &plots_;
    LogPanel &log_;
    ws::UserDialogs &dialogs_;
    std::function<bool()> busy_;
};
