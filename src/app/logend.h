#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>

// Shows a check's log, or a full scan's, with its end in view: the verdict
// ("Ready", "No Signal", "nothing found after ...") is the last line, and
// the box is only a few lines tall. The whole log stays in the box for the
// user to scroll back through. A map listing or a table opens at its top,
// as setPlainText leaves it.
inline void showLogWithEndInView(QPlainTextEdit &box, const QString &log)
{
    box.setPlainText(log);
    box.moveCursor(QTextCursor::End);
    box.ensureCursorVisible();
}
