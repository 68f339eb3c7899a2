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
        // name, kind, place, text, alignment, tool tip, text colour, tab position

        // The files: two scans to compare, and a map of known transmissions.
        {loadNewestButton, kButton, {8, 8, 105, 17}, "Load Newest ...", kLeft, nullptr, nullptr, 5},
        {newestLabel, kLabel, {120, 8, 633, 17}, "Load your newest scan here", kLeft, nullptr, nullptr, 0},
        {loadReferenceButton, kButton, {8, 24, 105, 17}, "Load Reference ...", kLeft, nullptr, nullptr, 6},
        {referenceLabel, kLabel, {120, 24, 641, 17}, "Load an old scan to compare with ", kLeft, nullptr, nullptr, 0},
        {loadMapButton, kButton, {8, 40, 105, 17}, "Load Map ...", kLeft, nullptr, nullptr, 3},
        {mapLabel, kLabel, {120, 40, 641, 17}, "Load information about known transmissions on Satellite", kLeft, nullptr, nullptr, 0},

        // The level plot with its scale values and title.
        {levelPlot, kPlot, {112, 72, 641, 153}, "", kLeft, kPlotTip, nullptr, 1},
        {levelTopLabel, kLabel, {32, 72, 65, 17}, "", kRight, nullptr, nullptr, 0},
        {levelTitle, kLabel, {8, 96, 89, 17}, "Signal Strength", kLeft, nullptr, nullptr, 0},
        {levelBottomLabel, kLabel, {32, 200, 65, 17}, "", kRight, nullptr, nullptr, 0},

        // Under the level plot: its end frequencies and, between them, the
        // readout of the frequency under the pointer and the nearest map entry.
        {startFrequencyLabel, kLabel, {112, 240, 73, 17}, "", kLeft, nullptr, nullptr, 0},
        {pointerFrequencyLabel, kReadout, {192, 240, 121, 17}, "look for frequency at mouse position here", kRight, nullptr, nullptr, 0},
        {nearestTitleLabel, kLabel, {320, 240, 105, 17}, "", kRight, nullptr, nullptr, 0},
        {nearestEntryLabel, kLabel, {432, 240, 209, 17}, "", kLeft, nullptr, nullptr, 0},
        {endFrequencyLabel, kLabel, {664, 240, 89, 17}, "", kRight, nullptr, nullptr, 0},

        // The difference plot with its scale values and title.
        {differencePlot, kPlot, {112, 272, 641, 129}, "", kLeft, kPlotTip, nullptr, 2},
        {differenceTopLabel, kLabel, {32, 280, 65, 17}, "", kRight, nullptr, nullptr, 0},
        {differenceTitle, kLabel, {16, 304, 89, 17}, "Strength Diff.", kLeft, nullptr, nullptr, 0},
        {differenceBottomLabel, kLabel, {32, 376, 65, 17}, "", kRight, nullptr, nullptr, 0},

        {mapStrip, kPlot, {112, 416, 641, 49}, "", kLeft, kMapStripTip, nullptr, 4},

        // The legend: a line sample drawn as underscores in the colour of
        // what it explains, beside the plot it explains. Pure blue and green
        // are hard to read as text; those entries take the legend's shades.
        {"Label4_0", kLabel, {16, 112, 89, 17}, "___ horizontal old", kLeft, nullptr, &colour::horizontalReference, 0},
        {"Label4_4", kLabel, {16, 128, 81, 17}, "___ vertical old", kLeft, nullptr, &colour::verticalReference, 0},
        {"Label4_1", kLabel, {16, 144, 97, 17}, "___ horizontal new", kLeft, nullptr, &colour::horizontalNewest, 0},
        {"Label4_5", kLabel, {16, 160, 81, 17}, "___ vertical new", kLeft, nullptr, &colour::legendBlue, 0},
        {"Label4_9", kLabel, {16, 176, 89, 17}, "|<--- 100 MHz --->|", kLeft, nullptr, &colour::grid, 0},
        {"Label4_2", kLabel, {8, 320, 97, 17}, "___ diff. horizontal ", kLeft, nullptr, &colour::horizontalDifference, 0},
        {"Label4_3", kLabel, {8, 336, 89, 17}, "___ diff. vertical", kLeft, nullptr, &colour::legendBlue, 0},
        {"Label4_6", kLabel, {8, 352, 97, 17}, "___ 0 (no diff.)", kLeft, nullptr, &colour::zeroLine, 0},
        {"Label4_10", kLabel, {8, 416, 81, 17}, "___ horizontal", kLeft, nullptr, &colour::mapHorizontal, 0},
        {"Label4_7", kLabel, {8, 432, 89, 17}, "___ vertical ", kLeft, nullptr, &colour::legendBlue, 0},
        {"Label4_11", kLabel, {8, 448, 97, 17}, "___ circulary", kLeft, nullptr, &colour::legendGreen, 0},

        // The receiver settings, each with its caption to its left, and
        // "skip rest" for a running full scan between them.
        {timeoutCaption, kLabel, {112, 472, 65, 17}, "timeout sec", kRight, nullptr, nullptr, 0},
        {timeoutBox, kTextBox, {192, 472, 25, 19}, Settings::kDefaultTimeout, kLeft, nullptr, nullptr, 12},
        {portCaption, kLabel, {240, 472, 65, 17}, "comport", kRight, nullptr, nullptr, 0},
        {portBox, kTextBox, {320, 472, 25, 19}, Settings::kDefaultPort, kLeft, nullptr, nullptr, 11},
        {skipRestButton, kButton, {384, 472, 97, 17}, "skip rest", kLeft, kSkipRestTip, nullptr, 8},
        {lnbPowerCaption, kLabel, {504, 472, 65, 17}, "0V/12V (0/1)", kRight, nullptr, nullptr, 0},
        {lnbPowerBox, kTextBox, {584, 472, 25, 19}, Settings::kDefaultLnbPower, kLeft, nullptr, nullptr, 9},
        {diseqcCaption, kLabel, {648, 472, 65, 17}, "disecq (0-3)", kRight, nullptr, nullptr, 0},
        {diseqcBox, kTextBox, {728, 472, 25, 19}, Settings::kDefaultDiseqc, kLeft, nullptr, nullptr, 10},

        // The map listing, the logs of the checks and the full scan's results.
        {logBox, ElementKind::LogBox, {112, 496, 641, 65}, "", kLeft, kLogTip, nullptr, 7},
    };
    // clang-format on
    return table;
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

} // namespace ws::window
