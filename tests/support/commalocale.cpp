#include "support/commalocale.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>

namespace ws::test {

namespace {

constexpr const char *kLocale = "de_DE.UTF-8";

QString localeName()
{
    return QString::fromLatin1(kLocale);
}

bool useLocale()
{
    return std::setlocale(LC_ALL, kLocale) != nullptr;
}

// Compiles the locale into a temporary folder and points glibc at it. Tried
// once per process; later calls give the first answer again.
QString buildLocale()
{
    static QTemporaryDir folder;
    static const QString error = []() -> QString {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty())
            return QStringLiteral("%1 is not installed and localedef is missing")
                .arg(localeName());
        if (!folder.isValid())
            return QStringLiteral("no temporary folder for the locale");
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(localedef, {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                              QStringLiteral("UTF-8"),
                              folder.filePath(QString::fromLatin1(kLocale))});
        if (!run.waitForFinished(60000) || run.exitStatus() != QProcess::NormalExit
            || run.exitCode() != 0) {
            return QStringLiteral("localedef could not build %1 (is the package `locales` "
                                  "installed? scripts/deps.sh installs it): %2")
                .arg(localeName(), QString::fromLocal8Bit(run.readAll()).trimmed());
        }
        // glibc reads LOCPATH at every setlocale call.
        qputenv("LOCPATH", QFile::encodeName(folder.path()));
        return {};
    }();
    return error;
}

} // namespace

QString useCommaLocale()
{
    if (!useLocale()) {
        const QString error = buildLocale();
        if (!error.isEmpty())
            return error;
        if (!useLocale())
            return QStringLiteral("setlocale refuses %1 even as built by localedef")
                .arg(localeName());
    }
    const std::lconv *conventions = std::localeconv();
    if (QByteArray(conventions->decimal_point) != ",")
        return QStringLiteral("%1 has the decimal point \"%2\", not a comma")
            .arg(localeName(), QString::fromLocal8Bit(conventions->decimal_point));
    // The fault this locale is meant to provoke.
    if (std::strtod("2.5", nullptr) != 2)
        return QStringLiteral("strtod still reads \"2.5\" as 2.5 under %1").arg(localeName());
    return {};
}

CommaLocaleScope::CommaLocaleScope() : previous_(std::setlocale(LC_ALL, nullptr))
{
    error_ = useCommaLocale();
}

CommaLocaleScope::~CommaLocaleScope()
{
    std::setlocale(LC_ALL, previous_.constData());
}

} // namespace ws::test
