#pragma once

#include "core/files.h"
#include "map/mapfile.h"
#include "scan/scanfile.h"

#include <QString>
#include <QStringList>

// The fixed texts the window shows, each written once; the readers only say
// what failed and why. The command line prints the same texts.
namespace ws::messages {

// Every load that does not happen: a cancelled dialog, a file that cannot
// be read, a scan file that ends early or holds a line it cannot take.
inline QString cancelled() { return QStringLiteral("Cancel/Abbruch"); }
// A scan file whose layout or LNB code (header lines 3 and 4) is unknown.
inline QString unknownFormat() { return QStringLiteral("unknown Format, loading cancelled"); }
inline QString unknownLnb() { return QStringLiteral("unknown lnb-type, loading cancelled"); }

inline QString scanNotLoaded(ScanFailure::Kind kind)
{
    switch (kind) {
    case ScanFailure::UnknownLayout:
        return unknownFormat();
    case ScanFailure::UnknownLnb:
        return unknownLnb();
    case ScanFailure::MissingHeader:
    case ScanFailure::MissingLine:
    case ScanFailure::NoComma:
    case ScanFailure::FrequencyOutOfRange:
        break;
    }
    return cancelled();
}

// Below that box's message: where and why the reader stopped; for a map
// picked where a scan goes, that it is one, as "unknown Format" would not tell.
inline QString scanNotLoadedDetail(const QString &path, const QByteArray &bytes,
                                   const Failure &reason)
{
    if (looksLikeMap(bytes))
        return path + QStringLiteral(" looks like a map of transmissions, not a scan");
    return failureDetail(path, reason);
}

// A file that loaded as a map but holds no frequency where a map has them
// (holdsNoFrequency): loaded all the same, and the user asked.
inline QString mapWithoutFrequency(const QString &path)
{
    return path + QStringLiteral(": no line holds a frequency; is this a map?");
}

// The end of the window's title, after whatever it says, while the level
// scale is held (Ctrl+L): curves that then run off the plots, and scale
// labels that stay as they were, are not a fault.
inline QString scaleHeldInTitle() { return QStringLiteral(" (scale held)"); }

inline QString loadingScan() { return QStringLiteral("Loading, please wait"); }
inline QString loadingMap() { return QStringLiteral("Loading, please wait ..."); }

// A map from the command line or a drop before "Load Map ..." could be
// clicked: a map is drawn on the scale of the two scans.
inline QString mapNeedsScans(const QString &path)
{
    return path + QStringLiteral(" was not loaded: a map needs both scans loaded first");
}

// Names of files, one a line. A whole folder handed over would push the
// box's OK button off the screen: the first ten stand for the rest.
inline QString fileList(const QStringList &paths)
{
    constexpr qsizetype kShown = 10;
    if (paths.size() <= kShown)
        return paths.join(QLatin1Char('\n'));
    return paths.first(kShown).join(QLatin1Char('\n')) +
        QStringLiteral("\nand %1 more").arg(paths.size() - kShown);
}

// Files handed over in any order (by a file manager) that do not fit the
// two scan slots and the map.
inline QString tooManyFiles(const QStringList &paths)
{
    return QStringLiteral("None of these files was loaded: at most two scans (.scn files) "
                          "and one map load at a time.\n") +
        fileList(paths);
}

inline QString pictureNotSaved(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not save the picture to ") + path + QStringLiteral(": ") + reason;
}

inline QString nextKnownSignal() { return QStringLiteral("Next known signal:"); }

} // namespace ws::messages
