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

    // Replaces what the box shows; it opens at its top, where setPlainText leaves it.
    void show(const QString &text) { replaceText(text); }
    // The same, scrolled to the top left with the cursor there, whatever was in view.
    void showFromStart(const QString &text);
    // A check's or full scan's log with its last line of text (the verdict:
    // "Ready", "No Signal", "nothing found after ...") at the bottom of a box
    // that may be only a few lines tall; the rest stays to scroll back to.
    void showWithEndInView(const QString &text);
    // The table of levels (Ctrl+R), from its start like any table rebuilt
    // after a reload: its top is the largest loss.
    void showLevels(const QString &table);
    bool showsLevels() const { return showsLevels_; }

    // The box itself, to repaint it and to watch its events.
    QPlainTextEdit &widget() const { return *box; }

private:
    void replaceText(const QString &text);

    bool showsLevels_ = false;
    QPlainTextEdit *const box = create<QPlainTextEdit>(ws::window::names::logBox);
};
