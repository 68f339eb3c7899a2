#include "core/filenames.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace ws {

namespace {

constexpr char16_t kStrayByteBase = 0xDC00;

bool isStrayByte(QChar c)
{
    return c.unicode() >= kStrayByteBase + 0x80 && c.unicode() <= kStrayByteBase + 0xFF;
}

// The length of the well-formed UTF-8 sequence at `p` (shortest form, no
// surrogates, nothing above U+10FFFF), or 0.
int sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = *p;
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QString argumentText(const char *argument)
{
#ifdef Q_OS_UNIX
    return nameText(QByteArrayView(argument, qstrlen(argument)));
#else
    return QString::fromLocal8Bit(argument);
#endif
}

QString nameText(QByteArrayView name)
{
    const auto *p = reinterpret_cast<const unsigned char *>(name.data());
    const auto *end = p + name.size();
    QString text;
    text.reserve(end - p);
    while (p != end) {
        const int length = sequenceLength(p, end);
        if (length == 0) {
            text += QChar(char16_t(kStrayByteBase + *p));
            ++p;
        } else {
            text += QString::fromUtf8(reinterpret_cast<const char *>(p), length);
            p += length;
        }
    }
    return text;
}

QString readableName(const QString &name)
{
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        // The second half of a pair is a character's, not a stray byte.
        const bool pair =
            c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        const bool escaped = isStrayByte(c) || c.unicode() < 0x20 || c.unicode() == 0x7F;
        if (!escaped && shown.isNull()) {
            i += pair ? 1 : 0;
            continue;
        }
        if (shown.isNull())
            shown = name.left(i);
        if (escaped) {
            const int byte = isStrayByte(c) ? c.unicode() - kStrayByteBase : c.unicode();
            shown += QStringLiteral("\\x") +
                QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        } else {
            shown += pair ? name.mid(i++, 2) : QString(c);
        }
    }
    return shown.isNull() ? name : shown;
}

std::optional<QByteArray> nativeFileName(const QString &name)
{
    if (qtCanName(name))
        return QFile::encodeName(name);
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            bytes += QStringView(name).mid(i, 2).toUtf8();
            ++i;
        } else if (isStrayByte(c)) {
            bytes += char(c.unicode() - kStrayByteBase);
        } else if (c.isSurrogate()) {
            return std::nullopt;
        } else {
            bytes += QStringView(&c, 1).toUtf8();
        }
    }
    return bytes;
}

QString absoluteFileName(const QString &name)
{
#ifdef Q_OS_UNIX
    // As QFileInfo, an empty name stays empty.
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    QByteArray folder(256, '\0');
    while (!::getcwd(folder.data(), size_t(folder.size()))) {
        if (errno != ERANGE)
            return QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + name);
        folder.resize(folder.size() * 2);
    }
    return QDir::cleanPath(argumentText(folder.constData()) + QLatin1Char('/') + name);
#else
    return QFileInfo(name).absoluteFilePath();
#endif
}

QByteArray terminalText(const QString &text)
{
#ifdef Q_OS_UNIX
    if (std::optional<QByteArray> bytes = nativeFileName(text))
        return *bytes;
#endif
    return text.toLocal8Bit();
}

bool qtCanName(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

bool isInstalledFolder(const QString &programFolder, const QString &installedBinFolder)
{
    if (programFolder.isEmpty() || installedBinFolder.isEmpty())
        return false;
    // The program knows its folder with every link resolved; /bin may be a
    // link to /usr/bin.
    const auto canonical = [](const QString &folder) {
        const QString resolved = QFileInfo(folder).canonicalFilePath();
        return resolved.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(folder)) : resolved;
    };
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return canonical(programFolder).compare(canonical(installedBinFolder), cs) == 0;
}

} // namespace ws
