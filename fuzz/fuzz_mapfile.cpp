// Map files: whatever the bytes, the table holds at most 1024 entries cut
// from the first lines, the map text is every line followed by CR LF, and
// storing a map leaves nothing of the one before it.
#include "fuzzcheck.h"
#include "mapfile.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr int kLastColumn = ws::kMapColumns - 1;

// A strip that only checks where it is asked to draw.
class CheckingCanvas : public ws::Canvas
{
public:
    void cls() override {}
    void setScale(double left, double top, double width, double height) override
    {
        WS_FUZZ_REQUIRE(width != 0 && height != 0);
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
    }
    double scaleLeft() const override { return left_; }
    double scaleTop() const override { return top_; }
    double scaleWidth() const override { return width_; }
    double scaleHeight() const override { return height_; }
    void setForeColor(QColor color) override { WS_FUZZ_REQUIRE(color.isValid()); }
    void moveTo(double, double) override {}
    void lineTo(double, double) override {}
    void line(double, double y1, double, double y2) override
    {
        WS_FUZZ_REQUIRE(y1 == 0 && y2 == 200);
        ++lines;
    }

    int lines = 0;

private:
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
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
    const ws::MapFile map = ws::parseMap(bytes);

    const QString expected = expectedText(bytes);
    WS_FUZZ_REQUIRE(map.maptext == expected);
    WS_FUZZ_REQUIRE(map.maptext.count(QLatin1String("\r\n")) == map.lineCount);
    WS_FUZZ_REQUIRE(map.entries.size() == std::min(map.lineCount, ws::kMaxMapEntries));

    // A map full to its last row stands before every load, so each row the
    // new map does not fill must have been emptied. The first data column
    // and the last, which only a clear ever writes, stand for the whole row:
    // touching all nine columns of all rows would cost most of the run.
    static auto state = std::make_unique<ws::SharedState>();
    ws::SharedState &s = *state;
    const QString old = QStringLiteral("old");
    for (int row = 1; row < ws::kMapRows; ++row)
        s.mapdata[row][1] = s.mapdata[row][kLastColumn] = old;
    s.mapcount = ws::kMaxMapEntries;
    ws::storeMap(s, map);

    WS_FUZZ_REQUIRE(s.mapcount >= 0 && s.mapcount <= ws::kMaxMapEntries);
    WS_FUZZ_REQUIRE(s.mapcount == map.entries.size());
    WS_FUZZ_REQUIRE(s.maptext == map.maptext);
    const QStringList lines = map.maptext.split(QLatin1String("\r\n"));
    for (int row = 1; row < ws::kMapRows; ++row) {
        const auto &cells = s.mapdata[row];
        if (row > s.mapcount) {
            WS_FUZZ_REQUIRE(cells[1].isEmpty() && cells[kLastColumn].isEmpty());
            continue;
        }
        const QString &line = lines.at(row - 1);
        WS_FUZZ_REQUIRE(!line.contains(QLatin1Char('\r')));
        WS_FUZZ_REQUIRE(cells[1] == line.mid(48, 2) + line.mid(51, 3));
        WS_FUZZ_REQUIRE(cells[2] == line.mid(40, 6));
        WS_FUZZ_REQUIRE(cells[3] == line.mid(0, 16));
        WS_FUZZ_REQUIRE(cells[4] == line.mid(54, 1));
        WS_FUZZ_REQUIRE(cells[0].isEmpty());
        for (int col = 5; col < ws::kMapColumns; ++col)
            WS_FUZZ_REQUIRE(cells[col].isEmpty());
    }

    CheckingCanvas strip;
    ws::setMapStripScale(strip, ws::FrequencyScale{10700, 2051});
    ws::drawMapEntries(strip, s);
    WS_FUZZ_REQUIRE(strip.lines == s.mapcount);
    return 0;
}
