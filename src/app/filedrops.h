#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDropEvent;
class QMimeData;
class QWidget;
class ScanFilesPanel;

// Files from outside the dialogs, by the slot they load into; an empty path
// loads nothing.
struct FileSet
{
    QString newest;
    QString reference;
    QString map;
};

// Files by their names: .scn files are scans, of two the one changed last
// the newest; any other file is the map. Nothing when more than two scans
// or one map are given.
std::optional<FileSet> filesByKind(const QStringList &paths);

// Files dropped onto the window, its text boxes included: what a drop would
// load is asked at every move, since the target changes with the pointer,
// and a drop is refused rather than loaded in part.
class FileDrops : public QObject
{
    Q_OBJECT

public:
    struct Rules
    {
        // A load would put its message boxes in the middle of a check.
        std::function<bool()> refused;
        // Whether a reference scan is loaded, for a map dropped with a scan.
        std::function<bool()> referenceLoaded;
    };
    // Takes the drops of `window` and of `boxes`, whose drops of text stay
    // theirs.
    FileDrops(QWidget &window, const ScanFilesPanel &files, Rules rules,
              const QList<QWidget *> &boxes);

signals:
    // After the drop has ended: a message box must not keep the program the
    // files came from waiting for the drop to finish.
    void dropped(const FileSet &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<FileSet> dropAt(const QMimeData *data, QPoint at) const;
    void dragMove(QDropEvent &event, QPoint at);
    void drop(QDropEvent &event, QPoint at);

    QWidget &window_;
    const ScanFilesPanel &files_;
    Rules rules_;
};
