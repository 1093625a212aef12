#include "ui/control_table.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "data/capacities.h"
#include "interp/method_checks.h"
#include "interp/study_functions.h"

namespace tarvel::ui {
namespace {

// clang-format off
constexpr std::array<ControlSpec, 32> kMain = {{
    {"Frame1",           Kind::Frame,         "",              "Test function",               120,  360,  4935, 2175, 0},
    {"Label1",           Kind::Label,         "Frame1",        "Number of given points =",    120,  360,  1815, 255,  3},
    {"Text_nU",          Kind::TextBox,       "Frame1",        "11",                          1920, 360,  495,  285,  4},
    {"Command1",         Kind::CommandButton, "Frame1",        "OK",                          3120, 240,  1695, 495,  1},
    {"Option_SinFunc",   Kind::OptionButton,  "Frame1",        "Sinus Function",              120,  720,  1455, 255,  9,  false, true},
    {"Option_Cos10Fu",   Kind::OptionButton,  "Frame1",        "Cos^10 function",             120,  1080, 1455, 255,  24},
    {"Option_Polynom",   Kind::OptionButton,  "Frame1",        "Polynomial",                  120,  1440, 1095, 255,  10},
    {"Option_DataSet",   Kind::OptionButton,  "Frame1",        "Data Set from a File",        120,  1800, 1815, 255,  19},
    {"Frame_Poly",       Kind::Frame,         "Frame1",        "",                            1680, 960,  3135, 735,  11, true},
    {"Label4",           Kind::Label,         "Frame_Poly",    "nPoly     a0       a1       a2       a3      a4", 120, 120, 2895, 255, 12},
    {"Text_nPoly",       Kind::TextBox,       "Frame_Poly",    "4",                           240,  360,  255,  285,  13},
    {"Text_a0",          Kind::TextBox,       "Frame_Poly",    "1",                           600,  360,  495,  285,  14},
    {"Text_a1",          Kind::TextBox,       "Frame_Poly",    "1",                           1080, 360,  495,  285,  15},
    {"Text_a2",          Kind::TextBox,       "Frame_Poly",    "1",                           1560, 360,  495,  285,  16},
    {"Text_a3",          Kind::TextBox,       "Frame_Poly",    "1",                           2040, 360,  495,  285,  17},
    {"Text_a4",          Kind::TextBox,       "Frame_Poly",    "1",                           2520, 360,  495,  285,  18},
    {"Frame2",           Kind::Frame,         "",              "Interpolation",               120,  2640, 4935, 1815, 5},
    {"Label2",           Kind::Label,         "Frame2",        "Number of Interp. points  Ni =", 120, 360, 2175, 255, 6},
    {"Text_nI",          Kind::TextBox,       "Frame2",        "150",                         2400, 360,  375,  285,  7},
    {"Command2",         Kind::CommandButton, "Frame2",        "Calculate",                   3240, 240,  1575, 615,  8},
    {"Option_InterCubc", Kind::OptionButton,  "Frame2",        "Cubic Spline Interpolation",  120,  720,  2535, 255,  26},
    {"Option_InterPwCb", Kind::OptionButton,  "Frame2",        "PW Cubic spline",             120,  1080, 1575, 255,  28},
    {"Option_Tarvel",    Kind::OptionButton,  "Frame2",        "Polynomial interpolation",    120,  1440, 2055, 255,  25, false, true},
    {"Frame_nDeg",       Kind::Frame,         "Frame2",        "",                            2520, 1080, 2295, 615,  29},
    {"Label3",           Kind::Label,         "Frame_nDeg",    "Degree of polynomial =",      120,  240,  1695, 255,  31},
    {"Text_nDeg",        Kind::TextBox,       "Frame_nDeg",    "1",                           1800, 240,  375,  285,  30},
    {"Frame_DataSet",    Kind::Frame,         "",              "",                            240,  4680, 5295, 3255, 20, true},
    {"Drive1",           Kind::DriveList,     "Frame_DataSet", "",                            120,  240,  2655, 315,  21},
    {"Dir1",             Kind::DirectoryList, "Frame_DataSet", "",                            120,  600,  2655, 2340, 22},
    {"File1",            Kind::FileList,      "Frame_DataSet", "*.dsf",                       2880, 240,  2295, 2820, 23},
    {"List1",            Kind::ListBox,       "",              "",                            5160, 480,  4095, 3960, 27},
    {"Picture1",         Kind::PictureBox,    "",              "",                            120,  4680, 9135, 3255, 2},
}};

constexpr unsigned kDarkGreen = 0x008000;
constexpr unsigned kBlack = 0;
constexpr unsigned kBlue = 0xFF0000;

constexpr std::array<AboutLabelSpec, 5> kAbout = {{
    {"Label2", "Interpolation by polynomials and cubic splines", 240, 240, 3015, 615, 0, 9.75, kDarkGreen, true},
    {"Label7", "Written by the Tarvel project",                  600, 1080, 2535, 255, 3, 8.25, kBlack, false},
    {"Label8", "Last modified : 29.10 2007",                     480, 1560, 2895, 255, 4, 8.25, kBlack, false},
    {"Label4", "For comments and questions e-mail to",           240, 2040, 3375, 255, 1, 8.25, kBlack, false},
    {"Label5", "tarvel@example.org",                      960, 2280, 1935, 255, 2, 8.25, kBlue, false},
}};

struct ToolTip {
    std::string_view name;
    std::string text;
};

// The limits the tips name come from the constants and the table of
// methods that the checks use, so a tip cannot promise what is refused.
std::vector<ToolTip> makeToolTips()
{
    const auto number = [](int value) { return std::to_string(value); };
    const auto takes = [&](Method method) {
        const MethodRow& row = methodRow(method);
        return "takes " + number(row.minPoints) + " to " + number(row.maxPoints) + " given points.";
    };
    const std::string points = number(kPointCapacity);
    const std::string degree = number(kMaxInterpolationDegree);
    const std::string polynomial = theTestPolynomial();
    return {
        {"Text_nU", "How many given points OK samples the test function at, evenly from 0 to 1: 2 to " + points + " (a data set brings its own count, at most " + points + "); Return presses OK."},
        {"Text_nPoly", "Degree of " + polynomial + " (a0 + a1 x + ... + a4 x^4, divided by the degree plus one): 0 to " + number(kPolyCapacity - 1) + "; Return presses OK."},
        {"Text_a0", "Coefficient a0 of " + polynomial + ", any number; Return presses OK."},
        {"Text_a1", "Coefficient a1 (of x) of " + polynomial + ", any number; Return presses OK."},
        {"Text_a2", "Coefficient a2 (of x^2) of " + polynomial + ", any number; Return presses OK."},
        {"Text_a3", "Coefficient a3 (of x^3) of " + polynomial + ", any number; Return presses OK."},
        {"Text_a4", "Coefficient a4 (of x^4) of " + polynomial + ", any number; Return presses OK."},
        {"Text_nI", "How many interpolation points Calculate spreads evenly over [0, 1]: 0, or 2 to " + points + "; Return presses Calculate."},
        {"Text_nDeg", "Degree of the local interpolating polynomial: below the number of given points and at most " + degree + "; Return presses Calculate."},
        {"Option_Tarvel", "Local polynomial interpolation in Lagrange form through the given points nearest to each point; takes up to " + points + " given points and a degree below their number, at most " + degree + "."},
        {"Option_InterCubc", "Natural cubic spline through all given points (second derivatives zero at both ends), its coefficients listed; " + takes(Method::CubicSpline)},
        {"Option_InterPwCb", "Piecewise cubic Hermite spline with slopes taken from the neighbouring chords, its coefficients listed; " + takes(Method::PwCubicSpline)},
        {"Command1", "Samples the chosen test function (or takes the loaded data set), lists and draws the given points."},
        {"Command2", "Interpolates at Ni points with the chosen method, lists spline coefficients and draws the result."},
    };
}

struct Accessible {
    std::string_view name;
    std::string_view accessibleName;
    std::string description;
};

const std::string kSamples = " on [0, 1]; OK samples it at the given points.";

const std::array<Accessible, 16> kAccessible = {{
    {"Text_nI",          "Number of interpolation points Ni =", ""},
    {"Text_nPoly",       "nPoly",  ""},
    {"Text_a0",          "a0",     ""},
    {"Text_a1",          "a1",     ""},
    {"Text_a2",          "a2",     ""},
    {"Text_a3",          "a3",     ""},
    {"Text_a4",          "a4",     ""},
    {"Option_SinFunc",   "",       "Test function " + std::string(kSineName) + kSamples},
    {"Option_Cos10Fu",   "Cos to the power 10 function", "Test function " + std::string(kCos10Name) + kSamples},
    {"Option_Polynom",   "",       std::string(kTestPolynomialName) + " of degree nPoly with the coefficients a0 to a4; OK samples it at the given points."},
    {"Option_DataSet",   "",       "Given points read from a data-set file (*.dsf) chosen in the drive, folder and file lists."},
    {"List1",            "Given points and coefficients", "The given points listed by OK and the coefficient tables of the splines listed by Calculate, one line each; Ctrl+C copies the selected lines."},
    {"Drive1",           "Drive",  "The drive whose folders the folder list shows."},
    {"Dir1",             "Folders", "The folders of the current folder; Enter or a double click opens one and lists its data-set files."},
    {"File1",            "Data-set files", "The data-set files (*.dsf) of the current folder; Enter or a click loads one as the given points."},
    {"Picture1",         kPictureName, ""},
}};

constexpr std::array<CaptionOf, 3> kCaptions = {{
    {"Text_nU",   "Label1"},
    {"Text_nI",   "Label2"},
    {"Text_nDeg", "Label3"},
}};
// clang-format on

const Accessible* accessibleOf(std::string_view name)
{
    for (const Accessible& entry : kAccessible)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

}  // namespace

std::string_view accessibleNameOf(std::string_view name)
{
    const Accessible* entry = accessibleOf(name);
    return entry ? entry->accessibleName : std::string_view{};
}

std::string_view accessibleDescriptionOf(std::string_view name)
{
    const Accessible* entry = accessibleOf(name);
    if (entry && !entry->description.empty())
        return entry->description;
    return toolTipOf(name);
}

namespace {

bool middleWithin(const ControlSpec& a, const ControlSpec& b)
{
    const int twiceMiddle = 2 * a.top + a.height;
    return 2 * b.top <= twiceMiddle && twiceMiddle <= 2 * (b.top + b.height);
}

bool shareARow(const ControlSpec& a, const ControlSpec& b)
{
    return middleWithin(a, b) && middleWithin(b, a);
}

void appendInReadingOrder(std::string_view parent, std::vector<const ControlSpec*>& order)
{
    std::vector<const ControlSpec*> children;
    for (const ControlSpec& spec : kMain)
        if (spec.parent == parent)
            children.push_back(&spec);
    const std::size_t n = children.size();
    std::vector<std::size_t> row(n);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (shareARow(*children[i], *children[j]) && row[i] != row[j])
                std::replace(row.begin(), row.end(), row[i], row[j]);
    // A row begins where its highest member does.
    std::vector<int> rowTop(n, std::numeric_limits<int>::max());
    for (std::size_t i = 0; i < n; ++i)
        rowTop[row[i]] = std::min(rowTop[row[i]], children[i]->top);
    std::vector<std::size_t> byPlace(n);
    std::iota(byPlace.begin(), byPlace.end(), std::size_t{0});
    std::stable_sort(byPlace.begin(), byPlace.end(), [&](std::size_t a, std::size_t b) {
        const auto key = [&](std::size_t i) {
            return std::tuple(rowTop[row[i]], row[i], children[i]->left, children[i]->top);
        };
        return key(a) < key(b);
    });
    for (const std::size_t i : byPlace) {
        order.push_back(children[i]);
        appendInReadingOrder(children[i]->name, order);
    }
}

}  // namespace

std::vector<const ControlSpec*> readingOrder()
{
    std::vector<const ControlSpec*> order;
    appendInReadingOrder({}, order);
    return order;
}

std::span<const CaptionOf> textBoxCaptions()
{
    return kCaptions;
}

std::string_view toolTipOf(std::string_view name)
{
    static const std::vector<ToolTip> tips = makeToolTips();
    for (const ToolTip& tip : tips)
        if (tip.name == name)
            return tip.text;
    return {};
}

std::span<const ControlSpec> mainWindowControls()
{
    return kMain;
}

const ControlSpec* findControl(std::string_view name)
{
    for (const ControlSpec& spec : kMain)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

std::span<const AboutLabelSpec> aboutLabels()
{
    return kAbout;
}

}  // namespace tarvel::ui
