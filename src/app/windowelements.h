#pragma once

#include "wording/windowsize.h"

#include "receiver/receiversettings.h"

#include <QColor>
#include <QRect>

#include <iterator>
#include <vector>

// Every element of the main window in one table: what it is, where it
// stands at the default size and how it follows a window that grows, what it
// shows when the window opens. The panels create their elements from the
// table, and the layout tests check the window against it.
namespace ws::window {

// The objectNames of the elements the code reaches, by purpose; the names
// are the ones the elements have always had, which scripts and tests use.
namespace names {
inline constexpr char window[] = "Form1";
inline constexpr char loadNewestButton[] = "Command5_1";
inline constexpr char newestLabel[] = "Scanlabel_1";
inline constexpr char loadReferenceButton[] = "Command5_2";
inline constexpr char referenceLabel[] = "Scanlabel_2";
inline constexpr char loadMapButton[] = "Command4";
inline constexpr char mapLabel[] = "Label8";
inline constexpr char levelPlot[] = "Picture1";
inline constexpr char levelTopLabel[] = "Label9";
inline constexpr char levelTitle[] = "Label11";
inline constexpr char levelBottomLabel[] = "Label7";
inline constexpr char startFrequencyLabel[] = "Label5";
inline constexpr char pointerFrequencyLabel[] = "Label1";
inline constexpr char nearestTitleLabel[] = "Label13";
inline constexpr char nearestEntryLabel[] = "Label10";
inline constexpr char endFrequencyLabel[] = "Label6";
inline constexpr char differencePlot[] = "Picture2";
inline constexpr char differenceTopLabel[] = "Label2";
inline constexpr char differenceTitle[] = "Label12";
inline constexpr char differenceBottomLabel[] = "Label3";
inline constexpr char mapStrip[] = "Picture3";
inline constexpr char timeoutCaption[] = "Label17";
inline constexpr char timeoutBox[] = "Text5";
inline constexpr char portCaption[] = "Label15";
inline constexpr char portBox[] = "Text3";
inline constexpr char skipRestButton[] = "Command6";
inline constexpr char lnbPowerCaption[] = "Label14";
inline constexpr char lnbPowerBox[] = "Text2";
inline constexpr char diseqcCaption[] = "Label16";
inline constexpr char diseqcBox[] = "Text4";
inline constexpr char logBox[] = "Text1";
inline constexpr char verdict[] = "verdict";
inline constexpr char newestDialog[] = "CommonDialog_1";
inline constexpr char referenceDialog[] = "CommonDialog_2";
inline constexpr char mapDialog[] = "CommonDialog_3";
} // namespace names

enum class ElementKind {
    Button,
    Label,
    // A label that wraps at word boundaries and shows only the lines that
    // fit whole.
    WholeLinesLabel,
    // One line of editable text: a receiver setting.
    TextBox,
    Plot,
    // Several lines of text, scroll bars both ways, in a typewriter font.
    LogBox,
    // The verdict of the last check (VerdictTile).
    VerdictTile,
};

// How an element follows a window that is larger than the default size,
// along one direction. What the window has beyond the default size is shared
// out among bands: across there is one, the plots' width; down there are
// three, from the top the level plot, the difference plot and the log box,
// by the shares of kHeightShares. An element moves by the bands before
// `first` and grows by the `count` bands from there on.
struct Span
{
    int first;
    int count;
};

struct Growth
{
    Span across;
    Span down;
};

// The level plot gets the most of the extra height, the log box the least.
inline constexpr int kHeightShares[] = {3, 2, 1};
// The window's own client area takes every band.
inline constexpr Growth kWindowGrowth{{0, 1}, {0, int(std::size(kHeightShares))}};

struct Element
{
    const char *name; // the objectName
    ElementKind kind;
    QRect place;
    const char *text;
    // Horizontal, for labels; they all keep their text at the top.
    Qt::Alignment alignment;
    const char *toolTip;      // nullptr: none
    const QColor *textColour; // a legend entry's palette colour; nullptr: the default
    // The place in the tab order from 1; 0 for elements that take no focus.
    int tabPosition;
    Growth growth;
    // The setting a receiver setting's box (and its caption) holds.
    QString receiver::ReceiverSettings::*setting = nullptr;
};

// Where two overlap (the legend reaches one pixel into the level plot, rows
// of buttons and labels one pixel into the next), the later one lies on top.
const std::vector<Element> &elements();

const Element &element(const char *name);

std::vector<const Element *> tabOrder();

// The three file dialogs, which are no widgets: each opens one kind of file
// and offers the path chosen last, or at first its preset path.
struct FileDialogElement
{
    const char *name; // the objectName
    const char *title;
    const char *fileName;
};

const std::vector<FileDialogElement> &fileDialogs();
const FileDialogElement &fileDialog(const char *name);

} // namespace ws::window
