#include "app/logpanel.h"

#include <QScrollBar>
#include <QTextCursor>

void LogPanel::showFromStart(const QString &text)
{
    box->setPlainText(text);
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    box->horizontalScrollBar()->setValue(0);
}

void LogPanel::showWithEndInView(const QString &text)
{
    box->setPlainText(text);
    box->moveCursor(QTextCursor::End);
    box->ensureCursorVisible();
}
