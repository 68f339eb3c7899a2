#pragma once

#include "core/platform.h"

#include <QObject>
#include <QString>

// One of the window's three file-open dialogs. It remembers the path chosen
// last and offers it pre-filled the next time; a cancelled or failed dialog
// is reported as failure and leaves the remembered path alone.
class FileOpenDialog : public QObject
{
    Q_OBJECT

public:
    FileOpenDialog(ws::UserDialogs &dialogs, QString title, QString fileName,
                 QObject *parent = nullptr)
        : QObject(parent), dialogs_(dialogs), title_(std::move(title)),
          fileName_(std::move(fileName))
    {}

    const QString &title() const { return title_; }
    const QString &fileName() const { return fileName_; }
    // A file that came another way is offered next time as if chosen here.
    void setFileName(const QString &path) { fileName_ = path; }

    // Shows the dialog; true with fileName() the chosen path, false when cancelled or failed.
    bool showOpen()
    {
        QString chosen = fileName_;
        if (!dialogs_.openFile(title_, chosen) || chosen.isEmpty())
            return false;
        fileName_ = chosen;
        return true;
    }

private:
    ws::UserDialogs &dialogs_;
    QString title_;
    QString fileName_;
};
