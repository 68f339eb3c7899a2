#pragma once

#include <QKeySequence>

#include <functional>
#include <map>
#include <vector>

class QObject;
class QShortcut;

// The keys of the windows in one table: each key, what it does and the
// words the keys list says about it. The windows make their shortcuts from
// it and nowhere else, and the manual page's and the user guide's keys lists
// are written from it when the program is built, so no key goes untold.
namespace ws {

enum class KeyAction {
    StopOrWholeRange, // the receiver's work if any, else the whole range
    WholeRange,
    ToggleBeep,
    LevelsTable,
    HoldLevelScale,
    ReloadFiles,
    OpenHistory,
    OpenPointing,
    SavePicture,
    CopyPicture,
};

enum class KeyWindow { Main, History };

struct WindowKey
{
    KeyWindow window;
    // As the keys list writes it and QKeySequence reads it: "Ctrl+R".
    const char *keys;
    // Where the desktop has its own keys for it (Ctrl+Ins copies too), the
    // binding that counts; the list names `keys`.
    QKeySequence::StandardKey standard;
    KeyAction action;
    // What it does, in whole sentences.
    const char *words;
};

const std::vector<WindowKey> &windowKeys();

// The shortcuts of `window`'s keys on `parent` (a window: they work
// whatever has the focus), each calling `act` with its action.
std::map<KeyAction, QShortcut *> makeShortcuts(QObject *parent, KeyWindow window,
                                               const std::function<void(KeyAction)> &act);

} // namespace ws
