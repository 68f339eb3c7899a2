#include "receiver/protocol.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace ws::receiver {

namespace {

// Position kReplyEndFromPosition, one-based, as an index.
constexpr qsizetype kReplyEndFromIndex = kReplyEndFromPosition - 1;

// How a port label begins, whatever the setting names.
constexpr QLatin1String kPortLabelLead("comport ");

} // namespace

Polarisation polarisationFromDigit(QStringView digit)
{
    if (digit == QLatin1Char(wireDigit(Polarisation::Horizontal)))
        return Polarisation::Horizontal;
    if (digit == QLatin1Char(wireDigit(Polarisation::VerticalAsThree)))
        return Polarisation::VerticalAsThree;
    return Polarisation::Vertical;
}

QString tuneCommand(const QString &frequency, Polarisation polarisation, const QString &lnbPower,
                    const QString &diseqc)
{
    return kTuneLetter + frequency + kTuneFiveCharacterField + kTuneOneCharacterField +
           QLatin1Char(wireDigit(polarisation)) + lnbPower + diseqc;
}

bool replyComplete(QStringView gathered)
{
    return gathered.indexOf(QLatin1String("\r\n"), kReplyEndFromIndex) >= 0;
}

bool replyCompleteSince(QStringView gathered, qsizetype previousLength)
{
    // A CR LF may straddle the old end: start one character before it.
    const qsizetype from = std::max(kReplyEndFromIndex, previousLength - 1);
    return gathered.indexOf(QLatin1String("\r\n"), from) >= 0;
}

QString cutReply(const QString &gathered)
{
    const qsizetype zero = gathered.indexOf(QLatin1Char('0'));
    return zero < 0 ? QString() : gathered.mid(zero);
}

StatusReply::Gathered StatusReply::add(const QByteArray &received)
{
    const qsizetype room = qMax<qsizetype>(0, kMaxStatusReplyBytes - size());
    const bool overflow = received.size() > room;
    const qsizetype before = gathered_.size();
    gathered_ += QString::fromLatin1(received.left(room));
    // Only the new end of the reply can complete it: a receiver that never
    // ends its line must not make every piece slower.
    const bool complete = gathered_.size() > before && replyCompleteSince(gathered_, before);
    if (complete)
        return Gathered::Complete;
    return overflow ? Gathered::Flooded : Gathered::Incomplete;
}

bool beginsWithLockCode(QStringView cut)
{
    return cut.startsWith(kLockCode);
}

bool reportsLock(QStringView cut)
{
    return beginsWithLockCode(cut) && !cut.contains(kNoLockMark);
}

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

std::optional<double> levelNumber(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> replyLevel(QStringView cut)
{
    // The status code's two digits stand first.
    constexpr qsizetype codeLength = 2;
    qsizetype digit = codeLength;
    while (digit < cut.size() && !isDigit(cut.at(digit)))
        ++digit;
    if (digit >= cut.size())
        return std::nullopt;
    qsizetype begin = digit;
    bool point = false;
    if (begin > codeLength && cut.at(begin - 1) == QLatin1Char('.')) {
        --begin;
        point = true;
    }
    if (begin > codeLength &&
        (cut.at(begin - 1) == QLatin1Char('-') || cut.at(begin - 1) == QLatin1Char('+')))
        --begin;
    qsizetype end = digit;
    while (end < cut.size() &&
           (isDigit(cut.at(end)) || (!point && cut.at(end) == QLatin1Char('.')))) {
        point = point || cut.at(end) == QLatin1Char('.');
        ++end;
    }
    // A second point makes it no number of a level's form.
    if (end < cut.size() && cut.at(end) == QLatin1Char('.'))
        return std::nullopt;
    if (end - begin > kMaxLevelCharacters)
        return std::nullopt;
    return levelNumber(cut.mid(begin, end - begin));
}

std::optional<double> LevelReading::of(QStringView cut) const
{
    if (!byPattern_)
        return replyLevel(cut);
    const QRegularExpressionMatch match = pattern_.match(cut);
    if (!match.hasMatch())
        return std::nullopt;
    return levelNumber(match.capturedView(1).trimmed());
}

QString levelPatternProblem(const QRegularExpression &pattern)
{
    if (!pattern.isValid())
        return pattern.errorString() +
               QStringLiteral(" at offset %1").arg(pattern.patternErrorOffset());
    if (pattern.captureCount() < 1)
        return QStringLiteral("it has no capture group");
    return QString();
}

SearchEnd searchEnd(qint64 elapsedSeconds, bool sawFound, bool sawEndWord, qint64 limitSeconds)
{
    if (elapsedSeconds > limitSeconds)
        return SearchEnd::Cancelled;
    if (limitSeconds > kSearchWithoutTablesSeconds && elapsedSeconds > kSearchWithoutTablesSeconds &&
        !sawFound)
        return SearchEnd::NoTables;
    if (sawEndWord)
        return SearchEnd::Finished;
    return SearchEnd::Running;
}

SearchEnd searchEnd(qint64 elapsedSeconds, QStringView text, qint64 limitSeconds)
{
    SearchWords words;
    words.scan(text);
    return searchEnd(elapsedSeconds, words.found(), words.ended(), limitSeconds);
}

void SearchWords::scan(QStringView text)
{
    // A word may have begun at the end of the part already looked at: keep
    // all of the longest word but its last character.
    constexpr qsizetype overlap =
        std::max({kTableFoundWord.size(), kSearchReadyWord.size(), kNoSignalWord.size()}) - 1;
    const qsizetype from = std::max<qsizetype>(0, std::min(scanned_, text.size()) - overlap);
    const QStringView fresh = text.mid(from);
    if (!found_)
        found_ = fresh.contains(kTableFoundWord);
    if (!ended_)
        ended_ = fresh.contains(kSearchReadyWord) || fresh.contains(kNoSignalWord);
    scanned_ = text.size();
}

bool namesPortByNumber(QStringView setting)
{
    const QStringView t = setting.trimmed();
    if (t.isEmpty())
        return true; // an empty setting reads as port 0
    // "./ttyUSB0" is a path, however it begins.
    if (t.contains(QLatin1Char('/')))
        return false;
    const QChar c = t.front();
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

PortChoice portFor(const QString &setting, PortSystem system)
{
    PortChoice choice;
    if (!namesPortByNumber(setting)) {
        const QString name = setting.trimmed();
        if (system == PortSystem::Windows || name.contains(QLatin1Char('/')))
            choice.device = name;
        else
            choice.device = QStringLiteral("/dev/") + name;
        choice.label = kPortLabelLead + name;
        if (choice.device != name)
            choice.label += QStringLiteral(" (") + choice.device + QLatin1Char(')');
        return choice;
    }

    const double number = roundHalfEven(readNumber(setting));
    choice.label = kPortLabelLead + formatNumber(number);
    // Ports count from 1; beyond any real number of ports the name would
    // only be nonsense.
    if (!(number >= 1 && number <= 1e6))
        return choice;
    const qint64 n = qint64(number);
    choice.device = system == PortSystem::Windows ? QStringLiteral("COM%1").arg(n)
                                                  : QStringLiteral("/dev/ttyS%1").arg(n - 1);
    choice.label += QStringLiteral(" (") + choice.device + QLatin1Char(')');
    return choice;
}

} // namespace ws::receiver
