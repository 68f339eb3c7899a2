#include "app/logpanel.h"

#include <QScrollBar>
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
    box->moveCursor(QTextCursor::End);
    box->ensureCursorVisible();
}

void LogPanel::showLevels(const QString &table)
{
    showFromStart(table);
    showsLevels_ = true;
}
