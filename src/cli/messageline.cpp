#include "cli/messageline.h"

namespace ws::cli {

QString messageLine(const QString &text, const QString &detail, const QString &file)
{
    QString line = text;
    if (!detail.isEmpty())
        line = detail + QStringLiteral(" (") + text + QLatin1Char(')');
    else if (!file.isEmpty() && !text.contains(file))
        line = file + QStringLiteral(": ") + text;
    return QStringLiteral("wavesift: ") + line + QLatin1Char('\n');
}

} // namespace ws::cli
