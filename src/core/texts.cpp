#include "core/texts.h"

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

namespace {

// The long time format may end in a time-zone name ('t'); a file's time
// never carried one, so leave out every unquoted 't' and the blanks around.
QString timeFormatWithoutZone(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

} // namespace

QString generalDateText(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    // Midnight to the second: a file's time may carry milliseconds that the
    // text never shows.
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += QLatin1Char(' ') + locale.toString(time, timeFormatWithoutZone(locale));
    return text;
}

} // namespace ws
