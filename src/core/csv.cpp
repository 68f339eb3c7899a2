#include "core/csv.h"

namespace ws {

QString csvTextField(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    QString field = text;
    if (!field.isEmpty() && formulaStarts.contains(field.front()))
        field.prepend(QLatin1Char('\''));
    for (const QChar c : field) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r')) {
            field.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + field + QLatin1Char('"');
        }
    }
    return field;
}

} // namespace ws
