#include "map/mapfile.h"

#include "core/numbers.h"

#include <algorithm>
#include <cstring>

namespace ws {

namespace {

// A piece of `line` from the 1-based column `first`, `count` characters
// long, cut short at the end of the line.
QStringView columns(QStringView line, int first, int count)
{
    const qsizetype from = std::min<qsizetype>(first - 1, line.size());
    return line.sliced(from, std::min<qsizetype>(count, line.size() - from));
}

// The piece as a text of its own, or the same piece of the line before when
// it reads the same: types and polarisation letters repeat down a map, and
// a shared text costs no memory of its own.
QString piece(QStringView cut, const QString *before)
{
    if (before && *before == cut)
        return *before;
    return cut.toString();
}

MapEntry cutLine(const QString &line, const MapEntry *before)
{
    MapEntry entry;
    entry.name = piece(columns(line, 1, 16), before ? &before->name : nullptr);
    entry.type = piece(columns(line, 41, 6), before ? &before->type : nullptr);
    const QStringView high = columns(line, 49, 2);
    const QStringView low = columns(line, 52, 3);
    if (!high.isEmpty()) {
        entry.frequencyText = QString(high.size() + low.size(), Qt::Uninitialized);
        QChar *const text = entry.frequencyText.data();
        std::copy(high.begin(), high.end(), text);
        std::copy(low.begin(), low.end(), text + high.size());
    }
    // Five digits, as in every line of a real map, are their own number.
    if (holdsFrequency(entry)) {
        int mhz = 0;
        for (const QChar c : entry.frequencyText)
            mhz = mhz * 10 + (c.unicode() - '0');
        entry.frequency = mhz;
    } else {
        entry.frequency = readNumber(entry.frequencyText);
    }
    entry.polarisation =
        piece(columns(line, 55, 1), before ? &before->polarisation : nullptr);
    entry.line = line;
    return entry;
}

std::optional<Failure> beyondLineLimits(const QByteArray &bytes)
{
    int line = 1;
    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    for (;;) {
        const char *const lineStart = p;
        while (p != end && *p != '\r' && *p != '\n')
            ++p;
        if (p - lineStart > kMaxMapLineLength)
            return Failure{line, QStringLiteral("%1 characters, more than the %2 a line of a "
                                                "map may have")
                                     .arg(p - lineStart)
                                     .arg(kMaxMapLineLength)};
        if (p == end)
            return std::nullopt;
        if (*p == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        ++p;
        // A line end at the very end opens no further line.
        if (p != end && ++line > kMaxMapLines)
            return Failure{0, QStringLiteral("more than the %1 lines a map may have")
                                  .arg(kMaxMapLines)};
    }
}

// Whether every line of the file ends in CR LF, the last one too.
bool endsInCrLf(const QByteArray &bytes)
{
    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    if (bytes.size() < 2 || end[-2] != '\r' || end[-1] != '\n')
        return false;
    while (const void *cr = std::memchr(p, '\r', size_t(end - p))) {
        p = static_cast<const char *>(cr) + 1;
        if (p == end || *p != '\n')
            return false;
    }
    return true;
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
    return cutLine(line, nullptr);
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
    const qsizetype n = bytes.size();
    const char *const data = bytes.constData();
    // A file of lines that all end in CR LF is its own listing. It is made
    // first, as the largest piece, below the entries in memory.
    const bool ownListing = n == 0 || endsInCrLf(bytes);
    if (ownListing)
        map.listing = QString::fromLatin1(bytes);
    else
        map.listing.reserve(n + n / 40 + 2);

    qsizetype start = 0;
    auto addLine = [&](qsizetype end) {
        const QString line = QString::fromLatin1(data + start, end - start);
        if (!ownListing) {
            map.listing += line;
            map.listing += QLatin1String("\r\n");
        }
        map.entries.push_back(
            cutLine(line, map.entries.isEmpty() ? nullptr : &map.entries.constLast()));
    };
    for (;;) {
        const void *const cr = std::memchr(data + start, '\r', size_t(n - start));
        if (!cr)
            break;
        const qsizetype i = static_cast<const char *>(cr) - data;
        addLine(i);
        start = i + 1 < n && data[i + 1] == '\n' ? i + 2 : i + 1;
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
