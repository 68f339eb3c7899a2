#include "app/windowelements.h"

#include "plot/palette.h"
#include "receiver/receiversettings.h"

#include <algorithm>

namespace ws::window {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kRight = Qt::AlignRight;

constexpr ElementKind kButton = ElementKind::Button;
constexpr ElementKind kLabel = ElementKind::Label;
constexpr ElementKind kTextBox = ElementKind::TextBox;
constexpr ElementKind kPlot = ElementKind::Plot;

// How the elements follow a window that grows (Growth): the plots, the map
// strip, the log box and the texts that describe what is loaded take the
// extra width; the level plot, the difference plot and the log box share the
// extra height. Whatever labels them keeps its place beside them: the titles
// and legends beside their tops, the scale values at their ends.
constexpr Span kStay{0, 0};
constexpr Span kWide{0, 1};
constexpr Span kAtRightEnd{1, 0};
constexpr Span kTop{0, 0};
constexpr Span kLevelHeight{0, 1};
constexpr Span kUnderLevel{1, 0};
constexpr Span kDifferenceHeight{1, 1};
constexpr Span kUnderDifference{2, 0};
constexpr Span kLogHeight{2, 1};
constexpr Growth kFixed{kStay, kTop};
// The settings stay together under the map strip, at the left.
constexpr Growth kReceiverRow{kStay, kUnderDifference};

// The boxes open with the settings a check takes until the user gives others.
using Settings = ws::receiver::ReceiverSettings;

const char kPlotTip[] = "Click mouse left/right for h/v scan ";
const char kMapStripTip[] = "Click mouse for full scan over map data";
const char kSkipRestTip[] = "Skips rest of map file";
const char kLogTip[] = "List of known transmissions generated from Kurt Bramley's Mailinglists / "
                       "Results of SDT-Search at known transponders";

} // namespace

const std::vector<Element> &elements()
{
    using namespace names;
    namespace colour = ws::palette;
    // The readout's first hint is longer than its label: it wraps, and the
    // top of a cut-off second line would look like a rendering fault.
    constexpr ElementKind kReadout = ElementKind::WholeLinesLabel;

    // clang-format off
    static const std::vector<Element> table = {
        // name, kind, place, text, alignment, tool tip, text colour, tab position, growth

        // The files: two scans to compare, and a map of known transmissions.
        {loadNewestButton, kButton, {8, 8, 105, 17}, "Load Newest ...", kLeft, nullptr, nullptr, 5, kFixed},
        {newestLabel, kLabel, {120, 8, 633, 17}, "Load your newest scan here", kLeft, nullptr, nullptr, 0, {kWide, kTop}},
        {loadReferenceButton, kButton, {8, 24, 105, 17}, "Load Reference ...", kLeft, nullptr, nullptr, 6, kFixed},
        {referenceLabel, kLabel, {120, 24, 641, 17}, "Load an old scan to compare with ", kLeft, nullptr, nullptr, 0, {kWide, kTop}},
        {loadMapButton, kButton, {8, 40, 105, 17}, "Load Map ...", kLeft, nullptr, nullptr, 3, kFixed},
        {mapLabel, kLabel, {120, 40, 641, 17}, "Load information about known transmissions on Satellite", kLeft, nullptr, nullptr, 0, {kWide, kTop}},

        // The level plot with its scale values and title.
        {levelPlot, kPlot, {112, 72, 641, 153}, "", kLeft, kPlotTip, nullptr, 1, {kWide, kLevelHeight}},
        {levelTopLabel, kLabel, {32, 72, 65, 17}, "", kRight, nullptr, nullptr, 0, kFixed},
        {levelTitle, kLabel, {8, 96, 89, 17}, "Signal Strength", kLeft, nullptr, nullptr, 0, kFixed},
        {levelBottomLabel, kLabel, {32, 200, 65, 17}, "", kRight, nullptr, nullptr, 0, {kStay, kUnderLevel}},

        // Under the level plot: its end frequencies and, between them, the
        // readout of the frequency under the pointer and the nearest map entry.
        {startFrequencyLabel, kLabel, {112, 240, 73, 17}, "", kLeft, nullptr, nullptr, 0, {kStay, kUnderLevel}},
        {pointerFrequencyLabel, kReadout, {192, 240, 121, 17}, "look for frequency at mouse position here", kRight, nullptr, nullptr, 0, {kStay, kUnderLevel}},
        {nearestTitleLabel, kLabel, {320, 240, 105, 17}, "", kRight, nullptr, nullptr, 0, {kStay, kUnderLevel}},
        {nearestEntryLabel, kLabel, {432, 240, 209, 17}, "", kLeft, nullptr, nullptr, 0, {kWide, kUnderLevel}},
        {endFrequencyLabel, kLabel, {664, 240, 89, 17}, "", kRight, nullptr, nullptr, 0, {kAtRightEnd, kUnderLevel}},

        // The difference plot with its scale values and title.
        {differencePlot, kPlot, {112, 272, 641, 129}, "", kLeft, kPlotTip, nullptr, 2, {kWide, kDifferenceHeight}},
        {differenceTopLabel, kLabel, {32, 280, 65, 17}, "", kRight, nullptr, nullptr, 0, {kStay, kUnderLevel}},
        {differenceTitle, kLabel, {16, 304, 89, 17}, "Strength Diff.", kLeft, nullptr, nullptr, 0, {kStay, kUnderLevel}},
        {differenceBottomLabel, kLabel, {32, 376, 65, 17}, "", kRight, nullptr, nullptr, 0, {kStay, kUnderDifference}},

        {mapStrip, kPlot, {112, 416, 641, 49}, "", kLeft, kMapStripTip, nullptr, 4, {kWide, kUnderDifference}},

        // The legend: underscores in the colour of what they explain, beside
        // that plot (blue and green in the legend's darker shades).
        {"Label4_0", kLabel, {16, 112, 89, 17}, "___ horizontal old", kLeft, nullptr, &colour::horizontalReference, 0, kFixed},
        {"Label4_4", kLabel, {16, 128, 81, 17}, "___ vertical old", kLeft, nullptr, &colour::verticalReference, 0, kFixed},
        {"Label4_1", kLabel, {16, 144, 97, 17}, "___ horizontal new", kLeft, nullptr, &colour::horizontalNewest, 0, kFixed},
        {"Label4_5", kLabel, {16, 160, 81, 17}, "___ vertical new", kLeft, nullptr, &colour::legendBlue, 0, kFixed},
        {"Label4_9", kLabel, {16, 176, 89, 17}, "|<--- 100 MHz --->|", kLeft, nullptr, &colour::grid, 0, kFixed},
        {"Label4_2", kLabel, {8, 320, 97, 17}, "___ diff. horizontal ", kLeft, nullptr, &colour::horizontalDifference, 0, {kStay, kUnderLevel}},
        {"Label4_3", kLabel, {8, 336, 89, 17}, "___ diff. vertical", kLeft, nullptr, &colour::legendBlue, 0, {kStay, kUnderLevel}},
        {"Label4_6", kLabel, {8, 352, 97, 17}, "___ 0 (no diff.)", kLeft, nullptr, &colour::zeroLine, 0, {kStay, kUnderLevel}},
        {"Label4_10", kLabel, {8, 416, 81, 17}, "___ horizontal", kLeft, nullptr, &colour::mapHorizontal, 0, {kStay, kUnderDifference}},
        {"Label4_7", kLabel, {8, 432, 89, 17}, "___ vertical ", kLeft, nullptr, &colour::legendBlue, 0, {kStay, kUnderDifference}},
        {"Label4_11", kLabel, {8, 448, 97, 17}, "___ circulary", kLeft, nullptr, &colour::legendGreen, 0, {kStay, kUnderDifference}},

        // The receiver settings, each with its caption to its left, and
        // "skip rest" for a running full scan between them.
        {timeoutCaption, kLabel, {112, 472, 65, 17}, "timeout sec", kRight, nullptr, nullptr, 0, kReceiverRow, &Settings::timeout},
        {timeoutBox, kTextBox, {192, 472, 25, 19}, Settings::kDefaultTimeout, kLeft, nullptr, nullptr, 12, kReceiverRow, &Settings::timeout},
        {portCaption, kLabel, {240, 472, 65, 17}, "comport", kRight, nullptr, nullptr, 0, kReceiverRow, &Settings::port},
        {portBox, kTextBox, {320, 472, 25, 19}, Settings::kDefaultPort, kLeft, nullptr, nullptr, 11, kReceiverRow, &Settings::port},
        {skipRestButton, kButton, {384, 472, 97, 17}, "skip rest", kLeft, kSkipRestTip, nullptr, 8, kReceiverRow},
        {lnbPowerCaption, kLabel, {504, 472, 65, 17}, "0V/12V (0/1)", kRight, nullptr, nullptr, 0, kReceiverRow, &Settings::lnbPower},
        {lnbPowerBox, kTextBox, {584, 472, 25, 19}, Settings::kDefaultLnbPower, kLeft, nullptr, nullptr, 9, kReceiverRow, &Settings::lnbPower},
        {diseqcCaption, kLabel, {648, 472, 65, 17}, "disecq (0-3)", kRight, nullptr, nullptr, 0, kReceiverRow, &Settings::diseqc},
        {diseqcBox, kTextBox, {728, 472, 25, 19}, Settings::kDefaultDiseqc, kLeft, nullptr, nullptr, 10, kReceiverRow, &Settings::diseqc},

        // The map listing, the logs of the checks and the full scan's results.
        {logBox, ElementKind::LogBox, {112, 496, 641, 65}, "", kLeft, kLogTip, nullptr, 7, {kWide, kLogHeight}},

        // The free corner left of the receiver boxes and the log box: the
        // verdict of the last check, where it is seen first.
        {verdict, ElementKind::VerdictTile, {8, 472, 97, 88}, "", kLeft, nullptr, nullptr, 0, {kStay, kLogHeight}},
    };
    // clang-format on
    return table;
}

namespace {

template <class Row>
const Row &rowNamed(const std::vector<Row> &table, const char *name)
{
    const auto row = std::find_if(table.begin(), table.end(),
                                  [name](const Row &r) { return qstrcmp(r.name, name) == 0; });
    Q_ASSERT_X(row != table.end(), "ws::window", name);
    return *row;
}

} // namespace

const Element &element(const char *name)
{
    return rowNamed(elements(), name);
}

std::vector<const Element *> tabOrder()
{
    std::vector<const Element *> order;
    for (const Element &element : elements())
        if (element.tabPosition > 0)
            order.push_back(&element);
    std::sort(order.begin(), order.end(), [](const Element *a, const Element *b) {
        return a->tabPosition < b->tabPosition;
    });
    return order;
}

const std::vector<FileDialogElement> &fileDialogs()
{
    static const std::vector<FileDialogElement> table = {
        {names::newestDialog, "Select Kanalix Scan File", "c:\\vanto21\\Scans\\my_scan.scn"},
        {names::referenceDialog, "Load Sat-Info", "c:\\vanto21\\Scans\\sat.map"},
        {names::mapDialog, "Load Sat-Info", "c:\\vanto21\\maps\\mymap.map"},
    };
    return table;
}

const FileDialogElement &fileDialog(const char *name)
{
    return rowNamed(fileDialogs(), name);
}

} // namespace ws::window
