#include "app/shownlevels.h"

#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "app/workspace.h"
#include "core/platform.h"

ShownLevels::ShownLevels(Workspace &workspace, const PlotsPanel &plots, LogPanel &log,
                         ws::UserDialogs &dialogs, std::function<bool()> busy, QObject *parent)
    : QObject(parent), workspace_(workspace), plots_(plots), log_(log), dialogs_(dialogs),
      busy_(std::move(busy))
{
}

void ShownLevels::show()
{
    // While a check runs the log box is its log. Between the rows of a full
    // scan the table would only flash up until the next check replaced it.
    if (busy_())
        return;
    // Ctrl+R is no button that could be disabled; pressed too early, it
    // says why nothing is shown.
    if (!ready()) {
        dialogs_.message(QStringLiteral(
            "The levels of the known transmissions need both scans and a map loaded"));
        return;
    }
    log_.showLevels(workspace_.levelsTable());
}

void ShownLevels::rebuild()
{
    if (log_.showsLevels() && ready())
        log_.showLevels(workspace_.levelsTable());
}

bool ShownLevels::ready() const
{
    return workspace_.scans().bothLoaded() && plots_.mapShown();
}
