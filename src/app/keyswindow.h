#pragma once

#include "app/windowkeys.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The keys window's elements by objectName, for automation and tests.
namespace ws::keyswindow::names {
inline constexpr char window[] = "keysWindow";
inline constexpr char list[] = "keysList";
inline constexpr char guide[] = "keysGuide";
inline constexpr char aboutButton[] = "keysAboutButton";
inline constexpr char about[] = "keysAbout";
inline constexpr char close[] = "keysClose";
} // namespace ws::keyswindow::names

// What F1 opens beside a window: its keys, then its mouse actions, from the
// table its shortcuts and the manual page come from; under them where the
// guide is and About Wavesift. A window, not a dialog, to stay beside the work.
class KeysWindow : public QWidget
{
    Q_OBJECT

public:
    KeysWindow(ws::KeyWindow keys, QWidget *parent);

    // The keys window of `owner` (made once), shown and raised.
    static KeysWindow &showFor(QWidget *owner, ws::KeyWindow keys);

    void showAbout();

private:
    QTableWidget *list_ = nullptr;
    QLabel *about_ = nullptr;
};
