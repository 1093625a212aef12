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

// Where a study's points sit in the picture: given points, then interpolated
// ones, each at (x, y), or in the error view the interpolated ones at
// (x, p(x) - f(x)) and no given points.
struct PlacedPoints {
    std::vector<DevicePoint> given;
    std::vector<DevicePoint> interpolated;
};
PlacedPoints placePoints(const ui::Study& study, const Viewport& view, bool errorView);
// The same for one list of points: at (x, y), or at (x, p(x) - f(x)) as
// errors.
std::vector<DevicePoint> placeStudyPoints(const std::vector<ui::StudyPoint>& points,
                                          const Viewport& view, bool asErrors);

enum class PointKind { Given, Interpolated };

// The readout of one point: which kind, its index, x and y, and at an
// interpolated point with a known test function f(x) and the error. The
// mouse and the keyboard cursor of the picture both say it in these words.
std::string pointText(const ui::StudyPoint& point, PointKind kind,
                      std::string_view decimalSeparator);

// The sentence the status line shows for the mouse at (dx, dy): the point
// within snapPixels if there is one, otherwise the coordinates under the
// mouse. Empty when the world has no extent.
std::string readoutText(const ui::Study& study, const WorldRect& world, double width, double height,
                        bool errorView, double dx, double dy, std::string_view decimalSeparator,
                        double snapPixels = 6);

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

// A header line and one tab-separated line per interpolated point: i, x,
// p(x), and with a test function f(x) and p(x) - f(x). Full precision,
// period as decimal point, every line ending in a line feed.
std::string valuesText(const ui::Study& study);

// The method's name as a legend shows it: "Natural cubic spline".
std::string methodLabel(const ui::Study& study);

struct KeptResult {
    std::string label;
    std::vector<ui::StudyPoint> points;
    ui::Colour colour = 0;
};

// Results kept side by side with later ones: at most kMaxKept, the oldest
// going first. They belong to one set of given points: a study with other
// given points clears them.
class KeptResults {
public:
    static constexpr std::size_t kMaxKept = 4;
    // False, keeping nothing, when the study has no interpolated points.
    bool keep(const ui::Study& study);
    void clear();
    // Called with every new study.
    void follow(const ui::Study& study);
    const std::vector<KeptResult>& results() const { return results_; }

private:
    std::vector<KeptResult> results_;
    std::vector<ui::StudyPoint> given_;
};

// The error view's world: x as the ordinary picture, y symmetric about the
// zero line with a tenth to spare above the largest error of `study` and of
// the kept results passed (-1 .. 1 when every error is 0).
WorldRect errorWorld(const ui::Study& study, std::span<const KeptResult> kept = {});

// The overlays chosen by the user, and the kept results.
struct StudyAids {
    bool showScale = true;
    bool showLegend = true;
    bool showError = false;
    KeptResults kept;
};

}  // namespace tarvel
