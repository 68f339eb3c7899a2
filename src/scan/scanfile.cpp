#include "scan/scanfile.h"

#include "core/numbers.h"
#include "core/texts.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdint>

namespace ws {

namespace {

const ScanLayout kLayouts[] = {
    {1053, "h", true, false},
    {1054, "v", false, true},
    {1055, "hv", true, true},
    // Read exactly like hv; only the name in the label differs.
    {1059, "hv(p)", true, true},
};

const LnbType kLnbTypes[] = {
    {1044, "univ", 10700, 12750, 11700, 9750, 10600},
    {1045, "US FSS", 11700, 12200, -1, 10750, -1},
    {1046, "US DBS", 12200, 12700, -1, 11250, -1},
    {1047, "c-band", 3700, 4200, -1, 5150, -1},
    // Its high band starts 50 MHz later than the universal LNB's.
    {1048, "quattro", 10700, 12750, 11750, 9750, 10750},
    {1056, "ASIA", 12250, 12700, -1, 11300, -1},
    {1058, "l-band", 950, 2150, -1, 0, -1},
};

bool isDigit(char c) { return unsigned(c - '0') < 10; }

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Hands out the file's lines one by one, whatever line end the file uses.
class LineReader
{
public:
    explicit LineReader(const QByteArray &bytes)
        : p_(bytes.constData()), end_(bytes.constData() + bytes.size())
    {}

    // False at the end of the file. A final line without a line end still
    // counts; a line end at the very end opens no further line.
    bool next(QByteArrayView &line)
    {
        if (p_ == end_)
            return false;
        ++number_;
        const char *start = p_;
        while (p_ != end_ && *p_ != '\r' && *p_ != '\n')
            ++p_;
        line = QByteArrayView(start, p_ - start);
        if (p_ != end_) {
            if (*p_ == '\r' && p_ + 1 != end_ && p_[1] == '\n')
                ++p_;
            ++p_;
        }
        return true;
    }

    // A data line in the form the channel tool writes ("950,137" or
    // "950,37.5": digits, a comma, digits, perhaps a point and more digits,
    // then LF, CR LF or the end of the file) whose frequency lies within
    // the tables: its cell and level, read from the bytes where they stand,
    // and the reader moves past it. False, without moving, for any other
    // line, which the general rules read instead; they give a plain line
    // the same cell and level.
    bool nextPlain(int &cell, double &level)
    {
        const char *p = p_;
        const char *const digits = p;
        int frequency = 0;
        // Five digits are already beyond the tables, leading zeros aside.
        while (p != end_ && isDigit(*p) && p - digits < 5)
            frequency = frequency * 10 + (*p++ - '0');
        if (p == digits || p == end_ || *p != ',' || frequency > kMaxIf)
            return false;
        ++p;

        const char *const number = p;
        std::uint64_t mantissa = 0;
        while (p != end_ && isDigit(*p))
            mantissa = mantissa * 10 + std::uint64_t(*p++ - '0');
        const qsizetype whole = p - number;
        qsizetype fraction = 0;
        if (whole != 0 && p != end_ && *p == '.') {
            const char *const point = ++p;
            while (p != end_ && isDigit(*p))
                mantissa = mantissa * 10 + std::uint64_t(*p++ - '0');
            fraction = p - point;
            if (fraction == 0)
                return false;
        }
        // Nineteen digits always fit the mantissa; more may have wrapped it
        // (harmlessly: it is unsigned) and are left to the general rules.
        if (whole == 0 || whole + fraction > 19)
            return false;
        const char *const numberEnd = p;
        if (p != end_) {
            if (*p == '\n')
                ++p;
            else if (*p == '\r' && p + 1 != end_ && p[1] == '\n')
                p += 2;
            else
                return false;
        }

        // A whole number up to 2^53 divided by a power of ten up to 10^22
        // is one correctly rounded operation on exact values, the nearest
        // double to the decimal number, which is what from_chars gives.
        constexpr std::uint64_t kExact = std::uint64_t(1) << 53;
        if (mantissa <= kExact && fraction <= 22)
            level = double(mantissa) / kPowersOfTen[fraction];
        else
            std::from_chars(number, numberEnd, level);
        cell = frequency;
        p_ = p;
        ++number_;
        return true;
    }

    // The number of the line that next() handed out last, or would hand out
    // next after the end of the file.
    int number() const { return number_; }
    int upcoming() const { return number_ + 1; }

private:
    const char *p_;
    const char *end_;
    int number_ = 0;
};

double numberOf(QByteArrayView latin1)
{
    // readNumber stays the one place that knows what a number looks like.
    // Fields are short, so widening them on the stack spares a heap string
    // per field, which is most of the time a load takes.
    constexpr qsizetype kShort = 64;
    if (latin1.size() > kShort)
        return readNumber(QString::fromLatin1(latin1));
    char16_t wide[kShort];
    for (qsizetype i = 0; i < latin1.size(); ++i)
        wide[i] = char16_t(uchar(latin1[i]));
    return readNumber(QStringView(wide, latin1.size()));
}

// Where a line went wrong: what was wrong, and the line as read; a line far
// longer than any scan line is shown by its start, as a message box or a
// terminal line could not hold it.
Failure failureAt(int line, const char *what, QByteArrayView text)
{
    constexpr qsizetype kShown = 80;
    const bool cut = text.size() > kShown;
    return {line, QLatin1String(what) + QLatin1String(" \"")
                      + fromBytes(text.first(cut ? kShown : text.size()).toByteArray())
                      + QLatin1String(cut ? "...\"" : "\"")};
}

// Reads the data lines for the sky frequencies from `first` to `last` (one
// line per whole MHz step, none when last < first) into one table.
bool readBlock(LineReader &lines, bool plainLines, double first, double last, ScanData &scan,
               LevelTableId table, double &runmax, double &runmin, ScanFailure &failure)
{
    if (!(last >= first))
        return true;
    // Counted, not stepped: a step of 1 vanishes at very large values. The
    // file runs out long before a silly header's count would.
    const double count = std::floor(last - first) + 1;
    Levels &levels = scan.levels[table];
    for (double i = 0; i < count; ++i) {
        int cell = 0;
        double level = 0;
        if (!plainLines || !lines.nextPlain(cell, level)) {
            QByteArrayView line;
            if (!lines.next(line)) {
                failure = {ScanFailure::MissingLine,
                           {lines.upcoming(),
                            QStringLiteral("the file ends before this data line")}};
                return false;
            }
            const qsizetype comma = line.indexOf(',');
            if (comma < 0) {
                failure = {ScanFailure::NoComma, failureAt(lines.number(), "no comma in", line)};
                return false;
            }
            const double frequency = roundHalfEven(numberOf(line.first(comma)));
            if (!(frequency >= 0 && frequency <= kMaxIf)) {
                failure = {ScanFailure::FrequencyOutOfRange,
                           failureAt(lines.number(),
                                     "intermediate frequency beyond 0 to 2150 MHz in", line)};
                return false;
            }
            level = numberOf(line.sliced(comma + 1));
            cell = int(frequency);
        }
        levels[cell] = level;
        if (cell == 0)
            scan.wroteCellZero[table] = true;
        if (level < runmin)
            runmin = level;
        if (level > runmax)
            runmax = level;
    }
    return true;
}

} // namespace

const ScanLayout *findLayout(double code)
{
    for (const ScanLayout &layout : kLayouts) {
        if (code == layout.code)
            return &layout;
    }
    return nullptr;
}

const LnbType *findLnb(double code)
{
    for (const LnbType &lnb : kLnbTypes) {
        if (code == lnb.code)
            return &lnb;
    }
    return nullptr;
}

Result<FileContent, FileFailure> readScanFile(const QString &path)
{
    auto file = readWholeFile(path, kMaxScanFileBytes);
    if (file.failure.tooLarge)
        file.failure.reason.what =
            sizeBeyondLimit(file.failure.size, kMaxScanFileBytes, QStringLiteral("a scan file"));
    return file;
}

namespace {

ScanParse parse(const QByteArray &bytes, bool plainLines)
{
    ScanParse result;
    LineReader lines(bytes);

    QByteArrayView header[4];
    for (QByteArrayView &line : header) {
        if (!lines.next(line)) {
            result.failure = {ScanFailure::MissingHeader,
                              {lines.upcoming(), QStringLiteral("the file ends in its header")}};
            return result;
        }
    }

    const double first = numberOf(header[0]);
    const double last = numberOf(header[1]);
    const ScanLayout *layout = findLayout(numberOf(header[2]));
    if (!layout) {
        result.failure = {ScanFailure::UnknownLayout,
                          failureAt(3, "unknown layout code", header[2])};
        return result;
    }
    const QString lnbText = fromBytes(header[3].toByteArray());
    const LnbType *lnb = findLnb(numberOf(header[3]));
    if (!lnb) {
        result.failure = {ScanFailure::UnknownLnb, failureAt(4, "unknown LNB code", header[3])};
        return result;
    }

    ScanData &scan = result.value.emplace();
    scan.first = first;
    scan.last = last;
    scan.layout = *layout;
    scan.lnb = *lnb;
    scan.lnbCode = lnbText;

    const double w = lnb->switchFrequency;
    const bool inhigh = scan.inHighBand();
    const bool inlow = scan.inLowBand();
    const bool hpol = layout->horizontal;
    const bool vpol = layout->vertical;

    double runmax = 0;
    double runmin = 1000;
    const auto block = [&](double from, double to, LevelTableId table) {
        return readBlock(lines, plainLines, from, to, scan, table, runmax, runmin,
                         result.failure);
    };
    bool complete = true;
    if (inhigh && inlow) {
        // Two bands: the switch frequency is measured in both.
        if (hpol)
            complete = block(first, w, HLow) && block(w, last, HHigh);
        if (complete && vpol)
            complete = block(first, w, VLow) && block(w, last, VHigh);
    } else {
        if (hpol)
            complete = block(first, last, inhigh ? HHigh : HLow);
        if (complete && vpol)
            complete = block(first, last, inhigh ? VHigh : VLow);
    }
    if (!complete) {
        result.value.reset();
        return result;
    }
    scan.maxLevel = runmax;
    scan.minLevel = runmin;
    return result;
}

} // namespace

ScanParse parseScan(const QByteArray &bytes)
{
    return parse(bytes, true);
}

ScanParse parseScanGenerally(const QByteArray &bytes)
{
    return parse(bytes, false);
}

QString scanSummary(const QString &path, const QDateTime &lastModified, qint64 size,
                    const ScanData &scan)
{
    const QString point = QLocale::system().decimalPoint();
    const QChar decimalPoint = point.isEmpty() ? QLatin1Char('.') : point.at(0);
    return path + QLatin1String("  ") + generalDateText(lastModified) + QLatin1String("  ")
        + QString::number(size) + QLatin1Char(' ') + QString::fromLatin1(scan.lnb.name)
        + QLatin1Char(' ') + QString::fromLatin1(scan.layout.name) + QLatin1Char(' ')
        + formatNumber(scan.first, decimalPoint) + QLatin1Char('-')
        + formatNumber(scan.last, decimalPoint) + QLatin1String(" MHz");
}

} // namespace ws
