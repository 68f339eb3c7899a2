#include "app/windowkeys.h"

#include <QShortcut>

namespace ws {

namespace {

constexpr char kShowKeysWords[] =
    "Open the list of this window's keys and mouse actions, the same as this one, with the "
    "place of the user guide; its About Wavesift button gives the version and the licence.";

} // namespace

const std::vector<WindowKey> &windowKeys()
{
    using K = KeyAction;
    constexpr auto kOwn = QKeySequence::UnknownKey;
    // clang-format off
    static const std::vector<WindowKey> table = {
        {KeyWindow::Main, "Escape", kOwn, K::StopOrWholeRange,
         "During a watch: end it. During a check or a full scan: stop the running check at once. "
         "The log ends in \"Stopped by the user.\", a full scan saves its results with that check "
         "in them, and the clicks that waited for the check are forgotten. Otherwise the same as "
         "Ctrl+0."},
        {KeyWindow::Main, "Ctrl+0", kOwn, K::WholeRange,
         "Show the whole range again, as loading a scan does."},
        {KeyWindow::Main, "Ctrl+B", kOwn, K::ToggleBeep,
         "Turn the beep of a watch, and the tone of its dish view, off and on."},
        {KeyWindow::Main, "Ctrl+R", kOwn, K::LevelsTable,
         "List every transmission of the map with its level in the newest and in the reference "
         "scan, the change between them, the largest loss first, and \"since last\", the change "
         "of its newest level since the newest scan of the table shown before (the last one with "
         "other newest levels). Its first line names the files compared, the scans with their "
         "times. Needs both scans and a map. While shown, every scan load, following and F5 "
         "rebuild it; a check's log, a full scan's results or a map picked with Load Map ... "
         "replace it."},
        {KeyWindow::Main, "Ctrl+L", kOwn, K::HoldLevelScale,
         "Hold the level scale, or release it: the vertical scales of the level and the "
         "difference plot and their labels stay as they are through every load, so that "
         "successive scans compare by eye. The title ends in \" (scale held)\" meanwhile. Off at "
         "the start."},
        {KeyWindow::Main, "F5", kOwn, K::ReloadFiles,
         "Load every loaded file again at once, the scans and then the map, keeping the zoom "
         "while the scans' range stays the same. A file that fails is told as after a dialog; the "
         "others still load."},
        {KeyWindow::Main, "Ctrl+H", kOwn, K::OpenHistory,
         "Ask for a folder and open the history window over every scan file (.scn) in it."},
        {KeyWindow::Main, "Ctrl+P", kOwn, K::OpenPointing,
         "Open the pointing panel: type the latitude and longitude of the dish and the "
         "satellite's position, as --point and --site take them, and it shows the true azimuth, "
         "the elevation, the LNB skew and the distance, with the azimuth on a compass rose and "
         "the elevation over the horizon. --site fills the site."},
        {KeyWindow::Main, "F11", kOwn, K::OpenDishView,
         "During a watch: open the dish view, the watch large enough to read from the dish, "
         "with a tone that follows the level. Without a watch it does nothing."},
        {KeyWindow::Main, "Ctrl+S", QKeySequence::Save, K::SavePicture,
         "Save a picture of the window as a PNG file."},
        {KeyWindow::Main, "Ctrl+C", QKeySequence::Copy, K::CopyPicture,
         "Copy a picture of the window to the clipboard; in a text box with selected text, copy "
         "that text."},
        {KeyWindow::Main, "F1", kOwn, K::ShowKeys, kShowKeysWords},
        {KeyWindow::History, "Escape", kOwn, K::WholeRange,
         "Show the whole range of the scans again."},
        {KeyWindow::History, "Ctrl+0", kOwn, K::WholeRange,
         "The same as Escape."},
        {KeyWindow::History, "Up", kOwn, K::RowCursorUp,
         "Move the row cursor of the waterfall to the scan before, the older one; the first "
         "press puts it on the newest scan. Once the pointer has been over the waterfall, the "
         "readout and the trend follow the cursor."},
        {KeyWindow::History, "Down", kOwn, K::RowCursorDown,
         "Move the row cursor to the scan after, the newer one."},
        {KeyWindow::History, "Return", kOwn, K::LoadCursorNewest,
         "Load the scan of the row cursor as the newest scan of the main window."},
        {KeyWindow::History, "Enter", kOwn, K::LoadCursorNewest, "The same as Return."},
        {KeyWindow::History, "Shift+Return", kOwn, K::LoadCursorReference,
         "Load the scan of the row cursor as the reference scan of the main window."},
        {KeyWindow::History, "Shift+Enter", kOwn, K::LoadCursorReference,
         "The same as Shift+Return."},
        {KeyWindow::History, "F1", kOwn, K::ShowKeys, kShowKeysWords},
        {KeyWindow::Dish, "Escape", kOwn, K::EndWatch, "End the watch."},
        {KeyWindow::Dish, "F11", kOwn, K::ToggleFullScreen, "Fill the screen, or stop filling it."},
        {KeyWindow::Dish, "R", kOwn, K::ClearBestLevel,
         "Clear the mark of the best level; the bar's ends stay."},
        {KeyWindow::Dish, "L", kOwn, K::SetLevelPattern,
         "During a watch: type a pattern whose first capture group is the level, as "
         "--level-pattern takes it, in a box above the chart. Enter reads the levels by it from "
         "the next reply on, an empty one by the usual rule; Escape leaves the box and the watch "
         "goes on. A pattern that is invalid or has no capture group is refused, the view says "
         "why, and the one in use stays. The box starts with the pattern in use."},
        {KeyWindow::Dish, "Ctrl+B", kOwn, K::ToggleBeep,
         "Turn the tone and the beep of the watch off and on, in both windows."},
    };
    // clang-format on
    return table;
}

const std::vector<WindowMouse> &windowMouse()
{
    // clang-format off
    static const std::vector<WindowMouse> table = {
        {KeyWindow::Main, "Click",
         "On a plot: check that frequency with the receiver, horizontally with the left button, "
         "vertically with the right. On the map strip: check every MPEG transmission of the map "
         "and save the results."},
        {KeyWindow::Main, "Wheel",
         "Over any plot, once both scans are drawn: zoom the frequency axis of all three plots "
         "around the frequency under the pointer. Each notch away from you narrows it to 4/5 of "
         "its width, each notch back widens it by 5/4, from 20 MHz to the whole range. The levels "
         "keep their scale; the readout and a click go by what is shown."},
        {KeyWindow::Main, "Shift+wheel",
         "Move along the band by a tenth of the width; so does a horizontal wheel."},
        {KeyWindow::Main, "Shift+press",
         "On a plot: watch that frequency (left button horizontal, right vertical) instead of "
         "checking it; on the map strip: watch the transmission the readout names there instead "
         "of scanning. The state of every reply shows on the tile beside the log box, each "
         "change in the log box, and a lock after none beeps. Escape, a press on a plot, the map "
         "strip or a button, or closing the window ends the watch."},
        {KeyWindow::Main, "Drop",
         "Files dropped onto a load button or the text beside it load there, one file. Dropped "
         "anywhere else, .scn files are scans (one loads as the newest; of two, the one changed "
         "last is the newest, or the first of two changed at the same time) and any other file "
         "is the map, loaded after the scans. A drop is refused when it is not files on this "
         "computer, holds more than two scans or more than one map, brings a map before both "
         "scans are drawn, or comes while a check or a full scan runs."},
        {KeyWindow::History, "Click",
         "On a scan's row, in the waterfall or the list at the right: load that scan as the "
         "newest scan of the main window; with the right button, as the reference."},
        {KeyWindow::History, "Wheel",
         "Over the waterfall: zoom the frequency axis around the frequency under the pointer, as "
         "in the main window."},
        {KeyWindow::History, "Shift+wheel",
         "Move along the band by a tenth of the width; so does a horizontal wheel."},
    };
    // clang-format on
    return table;
}

std::optional<KeyAction> actionOf(KeyWindow window, QKeyCombination pressed)
{
    const QKeySequence sequence(pressed);
    for (const WindowKey &key : windowKeys()) {
        if (key.window == window &&
            QKeySequence::fromString(QLatin1String(key.keys), QKeySequence::PortableText) ==
                sequence)
            return key.action;
    }
    return std::nullopt;
}

std::map<KeyAction, QShortcut *> makeShortcuts(QObject *parent, KeyWindow window,
                                               const std::function<void(KeyAction)> &act)
{
    std::map<KeyAction, QShortcut *> made;
    for (const WindowKey &key : windowKeys()) {
        if (key.window != window)
            continue;
        auto *shortcut = new QShortcut(parent);
        if (key.standard != QKeySequence::UnknownKey)
            shortcut->setKeys(key.standard);
        else
            shortcut->setKey(QKeySequence::fromString(QLatin1String(key.keys),
                                                      QKeySequence::PortableText));
        QObject::connect(shortcut, &QShortcut::activated, parent,
                         [act, action = key.action] { act(action); });
        made.emplace(key.action, shortcut);
    }
    return made;
}

} // namespace ws
