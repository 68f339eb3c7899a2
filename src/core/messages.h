#pragma once

#include <QString>

// The fixed texts the window shows, each written once.
namespace ws::messages {

// Every load that does not happen: a cancelled dialog, a file that cannot
// be read, a scan file that ends early or holds a line it cannot take.
inline QString cancelled() { return QStringLiteral("Cancel/Abbruch"); }
// A scan file whose layout or LNB code (header lines 3 and 4) is unknown.
inline QString unknownFormat() { return QStringLiteral("unknown Format, loading cancelled"); }
inline QString unknownLnb() { return QStringLiteral("unknown lnb-type, loading cancelled"); }

// The label of the slot, or of the map, while its file is read.
inline QString loadingScan() { return QStringLiteral("Loading, please wait"); }
inline QString loadingMap() { return QStringLiteral("Loading, please wait ..."); }

// A map from the command line or a drop before "Load Map ..." could be
// clicked: a map is drawn on the scale of the two scans.
inline QString mapNeedsScans(const QString &path)
{
    return path + QStringLiteral(" was not loaded: a map needs both scans loaded first");
}

// A picture of the window that could not be written, and why.
inline QString pictureNotSaved(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not save the picture to ") + path + QStringLiteral(": ") + reason;
}

// The title of the readout's nearest map entry.
inline QString nextKnownSignal() { return QStringLiteral("Next known signal:"); }

} // namespace ws::messages
