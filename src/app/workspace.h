#pragma once

#include "app/filedrops.h"
#include "app/windowplatform.h"
#include "map/mapfile.h"
#include "plot/transmissionlevels.h"
#include "scan/scans.h"

#include <QObject>

#include <functional>

class ScanFilesPanel;
namespace ws {
class FileFollower;
}

// What the window has loaded: the two scan slots, the map, the files they
// came from and the newest scan a table of levels showed. Every load goes
// through here, from a dialog, an argument, a drop, F5 or a followed file,
// and says through its signals what changed; the scan files panel shows the
// files and offers them in its dialogs.
class Workspace : public QObject
{
    Q_OBJECT

public:
    Workspace(const ws::Platform &platform, ScanFilesPanel &files, QObject *parent);
    ~Workspace() override;

    // The model itself: the plots draw it, and a test may set it up in place.
    ws::Scans &scans() { return scans_; }
    ws::MapData &map() { return map_; }
    const ws::Scans &scans() const { return scans_; }
    const ws::MapData &map() const { return map_; }
    const ws::ScanSource &source(ws::ScanSlot slot) const { return sources_[slot]; }
    const QString &mapPath() const { return mapPath_; }
    // What times the settling of followed files.
    ws::Clock &fileClock() const
    {
        return platform_.fileClock ? *platform_.fileClock : *platform_.clock;
    }

    // From the file's dialog.
    void loadScan(ws::ScanSlot slot);
    void loadMap();
    // True when the file was loaded; otherwise the user has been told.
    bool loadScanFrom(ws::ScanSlot slot, const QString &path);
    bool loadMapFrom(const QString &path);
    // The scans first, then the map, which loads only once "Load Map ..."
    // could be clicked. `beforeEach` hears each path before it loads.
    bool loadFiles(const FileSet &files,
                   const std::function<void(const QString &path)> &beforeEach = {});
    // The files a command line names, in its order: the newest scan, the
    // reference scan, the map, each as if picked in its dialog.
    bool openFiles(const QStringList &files,
                   const std::function<void(const QString &path)> &beforeEach = {});
    // The same files in any order, sorted as a drop sorts them; more than
    // the slots take loads nothing, and the user is told.
    bool openFilesByKind(const QStringList &files,
                         const std::function<void(const QString &path)> &beforeEach = {});
    // A map that loads once both scans are drawn (--history --map): the
    // history's clicks load the scans one at a time.
    void holdMap(const QString &path) { heldMap_ = path; }
    void loadHeldMap();
    // F5: each loaded file again, the scans and then the map.
    void reloadFiles();
    void setFollowing(bool on);
    bool following() const { return following_; }
    // A check's log and plots stay as they are while it runs: a followed
    // scan that changes meanwhile loads once the check has ended.
    void holdReloads() { reloadsHeld_ = true; }
    void releaseReloads();

    // The table of levels for the log box, with the files it compares;
    // notes its newest scan for the next table's "since last".
    QString levelsTable();

signals:
    // Both scans are loaded and are to be drawn; a reload keeps the zoom
    // while their whole range stays.
    void scansChanged(bool reloaded);
    // A readable map is about to replace the one shown; then it has.
    void mapReplacing();
    void mapChanged(bool reloaded);
    void followingChanged(bool on);
    // Before the next slow step.
    void showNow();

private:
    template <class T>
    struct BySlot
    {
        T newest{};
        T reference{};
        T &operator[](ws::ScanSlot slot)
        {
            return slot == ws::ScanSlot::Newest ? newest : reference;
        }
        const T &operator[](ws::ScanSlot slot) const
        {
            return slot == ws::ScanSlot::Newest ? newest : reference;
        }
    };

    void scanLoaded(ws::ScanSlot slot, qint64 size, const QDateTime &lastModified);
    QStringList loadedScanFiles() const;
    void reloadChangedScan(ws::ScanSlot slot);

    ws::Platform platform_;
    ScanFilesPanel &files_;
    ws::Scans scans_;
    ws::MapData map_;
    // Empty for what was never loaded.
    BySlot<ws::ScanSource> sources_;
    QString mapPath_;
    QString heldMap_;
    ws::NewestShown newestShown_;
    ws::FileFollower *follower_ = nullptr;
    bool following_ = true;
    bool reloading_ = false;
    bool reloadsHeld_ = false;
    BySlot<bool> reloadWaits_;
};
