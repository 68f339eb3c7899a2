#include "app/windowkeys.h"

#include <QShortcut>

namespace ws {

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
        {KeyWindow::History, "Escape", kOwn, K::WholeRange,
         "Show the whole range of the scans again."},
        {KeyWindow::History, "Ctrl+0", kOwn, K::WholeRange,
         "The same as Escape."},
        {KeyWindow::Dish, "Escape", kOwn, K::EndWatch, "End the watch."},
        {KeyWindow::Dish, "F11", kOwn, K::ToggleFullScreen, "Fill the screen, or stop filling it."},
        {KeyWindow::Dish, "R", kOwn, K::ClearBestLevel,
         "Clear the mark of the best level; the bar's ends stay."},
        {KeyWindow::Dish, "Ctrl+B", kOwn, K::ToggleBeep,
         "Turn the tone and the beep of the watch off and on, in both windows."},
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
