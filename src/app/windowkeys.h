#pragma once

#include <QKeySequence>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QObject;
class QShortcut;

// The windows' keys in one table (the key, what it does, the keys list's
// words) and beside it what the mouse does. The windows make their shortcuts
// from it alone, F1 lists both, and the manual's and the guide's keys lists
// are written from them at build time, so nothing goes untold.
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
    OpenDishView,
    EndWatch,
    ToggleFullScreen,
    ClearBestLevel,
    SetLevelPattern,
    SavePicture,
    CopyPicture,
    ShowKeys, // the list of the window's keys and mouse actions
    RowCursorUp, // the history's row cursor, to an older scan
    RowCursorDown,
    LoadCursorNewest, // the scan of the row cursor into the main window
    LoadCursorReference,
};

enum class KeyWindow { Main, History, Dish };

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

// What a press, a click, a turn of the wheel or a drop does in a window:
// the windows' own event handlers do it, this says so in the keys lists.
struct WindowMouse
{
    KeyWindow window;
    // As a keys list writes it: "Shift+wheel".
    const char *what;
    const char *words;
};

const std::vector<WindowMouse> &windowMouse();

// The action of `window`'s key pressed, for a window that takes its keys
// as they come rather than through shortcuts; none for a key not listed.
std::optional<KeyAction> actionOf(KeyWindow window, QKeyCombination pressed);

// The shortcuts of `window`'s keys on `parent` (a window: they work
// whatever has the focus), each calling `act` with its action.
std::map<KeyAction, QShortcut *> makeShortcuts(QObject *parent, KeyWindow window,
                                               const std::function<void(KeyAction)> &act);

} // namespace ws
