#include "app/logpanel.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

void LogPanel::replaceText(const QString &text)
{
    showsLevels_ = false;
    box->setPlainText(text);
}

void LogPanel::showFromStart(const QString &text)
{
    replaceText(text);
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    box->horizontalScrollBar()->setValue(0);
}

void LogPanel::showWithEndInView(const QString &text)
{
    replaceText(text);
    // The verdict is the last line that says something; the blank lines a
    // log ends in would push it out of a box a few lines tall. From the
    // top, showing that line scrolls it just into view: to the bottom.
    QTextBlock last = box->document()->lastBlock();
    while (last.previous().isValid() && last.text().trimmed().isEmpty())
        last = last.previous();
    box->setTextCursor(QTextCursor(last));
    box->ensureCursorVisible();
}

void LogPanel::showLevels(const QString &table)
{
    showFromStart(table);
    showsLevels_ = true;
}
