#pragma once

#include <QKeySequence>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QObject;
class QShortcut;

// The keys of the windows in one table: each key, what it does and the
// words the keys list says about it, and beside it what the mouse does.
// The windows make their shortcuts from it and nowhere else, F1 lists both
// in either window, and the manual page's and the user guide's keys lists are
// written from them when the program is built, so nothing goes untold.
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

// The shortcuts of `window`'s keys on `parent` (a window: they work
// whatever has the focus), each calling `act` with its action.
// The action of `window`'s key pressed, for a window that takes its keys
// as they come rather than through shortcuts; none for a key not listed.
std::optional<KeyAction> actionOf(KeyWindow window, QKeyCombination pressed);

std::map<KeyAction, QShortcut *> makeShortcuts(QObject *parent, KeyWindow window,
                                               const std::function<void(KeyAction)> &act);

} // namespace ws
