#pragma once

#include "app/windowkeys.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The elements of the keys window by their objectNames, for automation and
// tests.
namespace ws::keyswindow::names {
inline constexpr char window[] = "keysWindow";
inline constexpr char list[] = "keysList";
inline constexpr char guide[] = "keysGuide";
inline constexpr char aboutButton[] = "keysAboutButton";
inline constexpr char about[] = "keysAbout";
inline constexpr char close[] = "keysClose";
} // namespace ws::keyswindow::names

// What F1 opens beside a window: every key of that window and then every
// mouse action, from the same table as its shortcuts and the manual page,
// one row each with what it does; under them where the user guide is, and
// the About Wavesift button, which shows the version and the licence there.
// A window of its own, not a dialog: it may stay open beside the work.
class KeysWindow : public QWidget
{
    Q_OBJECT

public:
    KeysWindow(ws::KeyWindow keys, QWidget *parent);

    // The keys window of `owner` (made the first time, then the same one),
    // shown and raised.
    static KeysWindow &showFor(QWidget *owner, ws::KeyWindow keys);

    void showAbout();

private:
    QTableWidget *list_ = nullptr;
    QLabel *about_ = nullptr;
};
