// What the study aids of the picture compute without any toolkit: the
// mapping back from the device to the world, snapping to the nearest point,
// the readout sentence, the copied values, the error view's world and the
// kept results.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/drawing.h"
#include "ui/study.h"

namespace tarvel {

struct WorldPoint {
    double x = 0;
    double y = 0;
};

// The world point under a device point of an area width x height, the
// inverse of Viewport; nothing when the world has no extent.
std::optional<WorldPoint> toWorld(const WorldRect& world, double width, double height, double dx,
                                  double dy);

struct DevicePoint {
    double x = 0;
    double y = 0;
};

// The position in `points` of the point nearest to (dx, dy) no farther than
// maxPixels; of equally near points the first. Non-finite points never snap.
std::optional<std::size_t> nearestPoint(std::span<const DevicePoint> points, double dx, double dy,
                                        double maxPixels);

// The error p(x) - f(x) of a point, when f(x) is known and both are finite.
std::optional<double> errorOf(const ui::StudyPoint& point);

// Whether the error view has anything to show: interpolated points with
// the test function's values.
bool errorAvailable(const ui::Study& study);

// What a picture's y stands for: the value, the error p(x) - f(x), or
// log10 |p(x) - f(x)| on a decade scale, where an error of exactly 0 has no
// place and sits at zeroLevel, below the smallest error's decade.
struct YReading {
    enum class Kind { Value, Error, LogError };
    Kind kind = Kind::Value;
    double zeroLevel = 0;
    bool ofErrors() const { return kind != Kind::Value; }
};

// The y at which the picture places a point; NaN when it has no place (no
// known error in an error view).
double placedY(const ui::StudyPoint& point, const YReading& reading);

// Where a study's points sit in the picture: given points, then interpolated
// ones, each at (x, y), or in an error view the interpolated ones at their
// error and no given points.
struct PlacedPoints {
    std::vector<DevicePoint> given;
    std::vector<DevicePoint> interpolated;
};
PlacedPoints placePoints(const ui::Study& study, const Viewport& view, const YReading& reading);
// The same for one list of points.
std::vector<DevicePoint> placeStudyPoints(const std::vector<ui::StudyPoint>& points,
                                          const Viewport& view, const YReading& reading);

enum class PointKind { Given, Interpolated };

// The readout of one point: which kind, its index, x and y, and at an
// interpolated point with a known test function f(x) and the error. The
// mouse and the keyboard cursor of the picture both say it in these words.
std::string pointText(const ui::StudyPoint& point, PointKind kind,
                      std::string_view decimalSeparator);

// What the mouse at (dx, dy) reads: the point within snapPixels if there is
// one, with where it sits, otherwise the coordinates under the mouse. Empty
// text when the world has no extent.
struct StudyReadout {
    std::string text;
    std::optional<DevicePoint> point;  // the point read
};
StudyReadout studyReadout(const ui::Study& study, const WorldRect& world, double width,
                          double height, const YReading& reading, double dx, double dy,
                          std::string_view decimalSeparator, double snapPixels = 6);

// The keyboard cursor of the picture steps over the interpolated points, or
// over the given points when there are none.
enum class CursorStep { Previous, Next, First, Last };
PointKind cursorKind(const ui::Study& study);
std::size_t cursorPoints(const ui::Study& study);

// Where the cursor lands after a step from `at` (nothing: not yet shown)
// over `count` points: the first step of Next or Previous shows the first
// point, steps stop at either end. Nothing when there are no points.
std::optional<std::size_t> stepCursor(std::optional<std::size_t> at, std::size_t count,
                                      CursorStep step);


// The method's name as a legend shows it: "Natural cubic spline".
std::string methodLabel(const ui::Study& study);

// A result as the legend names it: "Natural cubic spline (11 given, 150
// points)".
std::string resultLabel(const ui::Study& study);

// The given points as the legend names them: "given points of sin(2πx)
// (11)", "given points of runge.dsf (11)".
std::string givenLabel(const ui::Study& study);

// "error of natural cubic spline (…)": a label of the error view.
std::string errorLabel(std::string_view label);

struct KeptResult {
    std::string label;
    std::vector<ui::StudyPoint> points;
    ui::Colour colour = 0;
};

// Results kept side by side with later ones: at most kMaxKept, the oldest
// going first. They belong to one source of given points (a test function,
// or a data set) whatever the number of points: given points from another
// source clear them.
class KeptResults {
public:
    static constexpr std::size_t kMaxKept = 4;
    struct Outcome {
        bool kept = false;     // false: the study has no interpolated points
        std::string dropped;   // the label of the oldest result let go, if any
    };
    Outcome keep(const ui::Study& study);
    void clear();
    // Called with every new study; the number of results it cleared.
    std::size_t follow(const ui::Study& study);
    const std::vector<KeptResult>& results() const { return results_; }

private:
    std::vector<KeptResult> results_;
    std::string source_;
};

// A header line and one line per interpolated point, fields separated by
// `separator` (a tab for a spreadsheet's paste, a comma for a CSV file): i,
// x, p(x), and with a test function f(x) and p(x) - f(x); then x and p(x) of
// each kept result, named after it in the header (quoted where the name
// holds the separator), empty below a result's last point. Full precision,
// period as decimal point, every line ending in a line feed.
std::string valuesText(const ui::Study& study, char separator = '\t',
                       std::span<const KeptResult> kept = {});

// The error view's world: x as the ordinary picture, y symmetric about the
// zero line with a tenth to spare above the largest error of `study` and of
// the kept results passed (-1 .. 1 when every error is 0).
WorldRect errorWorld(const ui::Study& study, std::span<const KeptResult> kept = {});

// The error view's world on a decade scale: y from half a decade below the
// smallest error that is not 0 to a quarter above the largest, of `study`
// and the kept results; the reading places errors of 0 below the smallest
// decade.
struct LogErrorScale {
    WorldRect world;
    YReading reading;
};
LogErrorScale logErrorScale(const ui::Study& study, std::span<const KeptResult> kept = {});

// The overlays chosen by the user, and the kept results.
struct StudyAids {
    bool showScale = true;
    bool showLegend = true;
    bool showError = false;
    bool showLogError = false;  // the error view on a decade scale
    KeptResults kept;
};

}  // namespace tarvel
