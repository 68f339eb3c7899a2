#include "map/mapfile.h"

#include "core/numbers.h"

#include <algorithm>

namespace ws {

namespace {

// A piece of `line` from the 1-based column `first`, `count` characters
// long, cut short at the end of the line.
QString columns(const QString &line, int first, int count)
{
    return line.mid(first - 1, count);
}

// The first limit on lines that `bytes` passes, if any.
std::optional<Failure> beyondLineLimits(const QByteArray &bytes)
{
    int line = 1;
    qsizetype lineStart = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0;; ++i) {
        const bool end = i == n || bytes[i] == '\r' || bytes[i] == '\n';
        if (!end)
            continue;
        if (i - lineStart > kMaxMapLineLength)
            return Failure{line, QStringLiteral("%1 characters, more than the %2 a line of a "
                                                "map may have")
                                     .arg(i - lineStart)
                                     .arg(kMaxMapLineLength)};
        if (i == n)
            return std::nullopt;
        if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        // A line end at the very end opens no further line.
        if (i + 1 < n && ++line > kMaxMapLines)
            return Failure{0, QStringLiteral("more than the %1 lines a map may have")
                                  .arg(kMaxMapLines)};
        lineStart = i + 1;
    }
}

} // namespace

Result<FileContent, FileFailure> readMapFile(const QString &path)
{
    auto file = readWholeFile(path, kMaxMapFileBytes);
    if (file.failure.tooLarge)
        file.failure.reason.what =
            sizeBeyondLimit(file.failure.size, kMaxMapFileBytes, QStringLiteral("a map"));
    if (file.value) {
        if (const std::optional<Failure> beyond = beyondLineLimits(file.value->bytes)) {
            file.value.reset();
            file.failure.reason = *beyond;
        }
    }
    return file;
}

MapEntry cutMapLine(const QString &line)
{
    MapEntry entry;
    entry.name = columns(line, 1, 16);
    entry.type = columns(line, 41, 6);
    entry.frequencyText = columns(line, 49, 2) + columns(line, 52, 3);
    entry.frequency = readNumber(entry.frequencyText);
    entry.polarisation = columns(line, 55, 1);
    entry.line = line;
    return entry;
}

bool holdsFrequency(const MapEntry &entry)
{
    constexpr qsizetype kDigits = 5;
    return entry.frequencyText.size() == kDigits &&
           std::all_of(entry.frequencyText.begin(), entry.frequencyText.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool looksLikeMap(const QByteArray &bytes)
{
    constexpr qsizetype kPolarisationColumn = 55;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        if (end - start >= kPolarisationColumn &&
            holdsFrequency(cutMapLine(QString::fromLatin1(bytes.constData() + start,
                                                          kPolarisationColumn))))
            return true;
        start = end + 1;
    }
    return false;
}

bool holdsNoFrequency(const MapData &map)
{
    return !map.entries.isEmpty() &&
           std::none_of(map.entries.begin(), map.entries.end(), holdsFrequency);
}

MapData parseMap(const QByteArray &bytes)
{
    MapData map;
    map.listing.reserve(bytes.size() + bytes.size() / 40 + 2);
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    auto addLine = [&](qsizetype end) {
        const QString line = QString::fromLatin1(bytes.constData() + start, end - start);
        map.listing += line;
        map.listing += QLatin1String("\r\n");
        map.entries.push_back(cutMapLine(line));
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\r')
            continue;
        addLine(i);
        if (i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    // The last line may lack its terminator; a terminator at the very end
    // leaves nothing here.
    if (start < n)
        addLine(n);
    return map;
}

bool isMpegRow(const QString &type)
{
    return type.left(4).compare(QLatin1String("mpeg"), Qt::CaseInsensitive) == 0;
}

} // namespace ws
