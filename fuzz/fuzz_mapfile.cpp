// Map files: whatever the bytes, the map holds one entry cut from each
// line, its listing is every line followed by CR LF, and the map strip
// shows a full-height line at every entry's frequency in the colour of the
// last entry there.
#include "core/numbers.h"
#include "fuzzcheck.h"
#include "map/mapfile.h"
#include "plot/mapstrip.h"

#include <cstddef>
#include <cstdint>
#include <map>

namespace {

// A strip that only checks where it is asked to draw.
class CheckingCanvas : public ws::Canvas
{
public:
    void erase() override {}
    void setScale(double, double, double width, double height) override
    {
        WS_FUZZ_REQUIRE(width != 0 && height != 0);
    }
    void setForeColor(QColor color) override
    {
        WS_FUZZ_REQUIRE(color.isValid());
        colour = color.rgb();
    }
    void moveTo(double, double) override {}
    void lineTo(double, double) override {}
    void line(double x1, double y1, double x2, double y2) override
    {
        WS_FUZZ_REQUIRE(x1 == x2 && y1 == 0 && y2 == 200);
        shown[x1] = colour;
        ++lines;
    }

    QRgb colour = 0;
    // The colour on top at each frequency.
    std::map<double, QRgb> shown;
    qsizetype lines = 0;

private:
};

// The map text as the lines should come out: CR LF and a lone CR both end a
// line, and the last line gets its CR LF even when the file had none.
QString expectedText(const QByteArray &bytes)
{
    QByteArray text = bytes;
    text.replace("\r\n", "\r");
    text.replace("\r", "\r\n");
    if (!text.isEmpty() && !text.endsWith("\r\n"))
        text += "\r\n";
    return QString::fromLatin1(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ws::MapData map = ws::parseMap(bytes);

    const QString expected = expectedText(bytes);
    WS_FUZZ_REQUIRE(map.listing == expected);
    WS_FUZZ_REQUIRE(map.listing.count(QLatin1String("\r\n")) == map.entries.size());

    const QStringList lines = map.listing.split(QLatin1String("\r\n"));
    for (qsizetype i = 0; i < map.entries.size(); ++i) {
        const ws::MapEntry &entry = map.entries[i];
        const QString &line = lines.at(i);
        WS_FUZZ_REQUIRE(!line.contains(QLatin1Char('\r')));
        WS_FUZZ_REQUIRE(entry.line == line);
        WS_FUZZ_REQUIRE(entry.frequencyText == line.mid(48, 2) + line.mid(51, 3));
        WS_FUZZ_REQUIRE(entry.type == line.mid(40, 6));
        WS_FUZZ_REQUIRE(entry.name == line.mid(0, 16));
        WS_FUZZ_REQUIRE(entry.polarisation == line.mid(54, 1));
        WS_FUZZ_REQUIRE(entry.frequency == ws::readNumber(entry.frequencyText));
    }

    CheckingCanvas strip;
    ws::setMapStripScale(strip, ws::FrequencyScale{10700, 2051});
    ws::drawMapEntries(strip, map);
    std::map<double, QRgb> onTop;
    for (const ws::MapEntry &entry : map.entries)
        onTop[entry.frequency] = ws::mapColour(entry.polarisation).rgb();
    WS_FUZZ_REQUIRE(strip.shown == onTop);
    WS_FUZZ_REQUIRE(strip.lines <= map.entries.size());
    return 0;
}
