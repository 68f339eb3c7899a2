#include "texts.h"

#include <QLocale>

namespace ws {

QByteArray toBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(c.unicode() <= 0xFF ? char(c.unicode()) : '?');
    return out;
}

QString generalDateText(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time != QTime(0, 0)) {
        // The long time format may end in a time-zone name; a file's time
        // never carried one, so leave it out.
        QString format = locale.timeFormat(QLocale::LongFormat);
        format.remove(QLatin1Char('t')).replace(QLatin1String("  "), QLatin1String(" "));
        text += QLatin1Char(' ') + locale.toString(time, format.trimmed());
    }
    return text;
}

} // namespace ws
