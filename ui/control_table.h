// The controls of the main window and of the About window: kind, container,
// caption or initial text, place in twips, tab order and initial state. Both
// toolkits build their controls from this one table.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace tarvel::ui {

enum class Kind {
    Frame,
    Label,
    TextBox,
    CommandButton,
    OptionButton,
    ListBox,
    PictureBox,
    DriveList,
    DirectoryList,
    FileList,
};

struct ControlSpec {
    std::string_view name;
    Kind kind;
    std::string_view parent;  // empty: the window itself
    std::string_view text;    // caption, initial text or file pattern
    int left, top, width, height;
    int tab;
    bool hidden = false;
    bool selected = false;
};

inline constexpr std::string_view kMainTitle = "Tarvel - Polynomial interpolation";
inline constexpr std::string_view kAppTitle = "Tarvel";
inline constexpr int kMainClientWidth = 9465;
inline constexpr int kMainClientHeight = 8235;

std::span<const ControlSpec> mainWindowControls();
const ControlSpec* findControl(std::string_view name);
// The main window's controls in the order the eye reads them, which the Tab
// key follows: each container's children row by row from the top, left to
// right within a row, each container's own children right after it. Two
// controls share a row when the middle of each lies within the other's
// height; rows join through a shared member.
std::vector<const ControlSpec*> readingOrder();

// One sentence on what a control does and which values it takes; empty for
// controls without a tip.
std::string_view toolTipOf(std::string_view name);

// What a screen reader calls a control, where its caption alone does not
// say it (a text box under a column heading, a list without a caption);
// empty: the caption, or the label tied to the text box, names it.
std::string_view accessibleNameOf(std::string_view name);
// One sentence a screen reader reads after the name: what the control does.
// The tooltip where there is one; empty for controls without either.
std::string_view accessibleDescriptionOf(std::string_view name);

// The caption label that names each text box of the main window.
struct CaptionOf {
    std::string_view textBox;
    std::string_view label;
};
std::span<const CaptionOf> textBoxCaptions();

inline constexpr std::string_view kPictureName = "Plot of the given and interpolated points";
inline constexpr std::string_view kPictureBlank =
    "Nothing is drawn yet; OK draws the given points.";
inline constexpr std::string_view kAboutDescription =
    "Interpolation by polynomials and cubic splines, its version and where to send comments.";

struct AboutLabelSpec {
    std::string_view name;
    std::string_view text;
    int left, top, width, height;
    int tab;
    double pointSize;
    unsigned colour;  // red in the lowest byte
    bool centred;
};

inline constexpr std::string_view kAboutTitle = "About";
inline constexpr int kAboutClientWidth = 3600;
inline constexpr int kAboutClientHeight = 2760;
inline constexpr unsigned kAboutBackground = 0xC0FFFF;  // red 255, green 255, blue 192

std::span<const AboutLabelSpec> aboutLabels();

}  // namespace tarvel::ui
