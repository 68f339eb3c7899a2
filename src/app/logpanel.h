#pragma once

#include "app/windowelements.h"
#include "app/windowpanel.h"

#include <QPlainTextEdit>

// The log box under the plots: the map's listing, the logs of the checks,
// the full scan's results and the table of levels, one at a time.
class LogPanel : public WindowPanel
{
public:
    using WindowPanel::WindowPanel;

    // Replaces what the box shows; the text opens where setPlainText
    // leaves it, at its top.
    void show(const QString &text) { replaceText(text); }
    // The same, scrolled back to the top left corner and with the cursor
    // there, whatever was in view before.
    void showFromStart(const QString &text);
    // A check's log, or a full scan's, with its end in view: its last line
    // that holds text (the verdict: "Ready", "No Signal", "nothing found
    // after ...") at the bottom of the box, which may be only a few lines
    // tall. The whole log stays in the box for the user to scroll back
    // through.
    void showWithEndInView(const QString &text);
    // The table of levels (Ctrl+R), from its start like any table rebuilt
    // after a reload: its top is the largest loss. Any other text replaces
    // it.
    void showLevels(const QString &table);
    bool showsLevels() const { return showsLevels_; }

    // The box itself, to repaint it and to watch its events.
    QPlainTextEdit &widget() const { return *box; }

private:
    void replaceText(const QString &text);

    bool showsLevels_ = false;
    QPlainTextEdit *const box = create<QPlainTextEdit>(ws::window::names::logBox);
};
