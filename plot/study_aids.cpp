#include "plot/study_aids.h"

#include <algorithm>
#include <cmath>

#include "plot/ticks.h"

namespace tarvel {
namespace {

// Colours of kept results, none of them the red or the blue of the drawing.
constexpr ui::Colour kKeptColours[KeptResults::kMaxKept] = {
    0x00A000,  // green
    0x0078E6,  // orange
    0xC82896,  // purple
    0xAA9600,  // teal
};

constexpr std::string_view kMinus = "\xE2\x88\x92";  // U+2212, as in p(x) − f(x)

bool samePoints(const std::vector<ui::StudyPoint>& a, const std::vector<ui::StudyPoint>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ui::StudyPoint& p, const ui::StudyPoint& q) {
                          return p.index == q.index && p.x == q.x && p.y == q.y;
                      });
}

double largestError(const std::vector<ui::StudyPoint>& points, double largest)
{
    for (const ui::StudyPoint& point : points)
        if (const auto error = errorOf(point))
            largest = std::max(largest, std::abs(*error));
    return largest;
}

double distance(const DevicePoint& point, double dx, double dy)
{
    return std::hypot(point.x - dx, point.y - dy);
}

}  // namespace

std::optional<WorldPoint> toWorld(const WorldRect& world, double width, double height, double dx,
                                  double dy)
{
    const Viewport view(world, width, height);
    if (!view.valid())
        return std::nullopt;
    // Halved like the viewport, so corners near the largest doubles work.
    const double x = world.left / 2 + dx / width * (world.right / 2 - world.left / 2);
    const double y = world.top / 2 + dy / height * (world.bottom / 2 - world.top / 2);
    return WorldPoint{x * 2, y * 2};
}

std::optional<std::size_t> nearestPoint(std::span<const DevicePoint> points, double dx, double dy,
                                        double maxPixels)
{
    std::optional<std::size_t> nearest;
    double best = maxPixels;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = distance(points[i], dx, dy);
        if (std::isfinite(d) && d <= best && (!nearest || d < best)) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

std::optional<double> errorOf(const ui::StudyPoint& point)
{
    if (!point.exact)
        return std::nullopt;
    const double error = point.y - *point.exact;
    if (!std::isfinite(error))
        return std::nullopt;
    return error;
}

bool errorAvailable(const ui::Study& study)
{
    return std::any_of(study.interpolated.begin(), study.interpolated.end(),
                       [](const ui::StudyPoint& point) { return errorOf(point).has_value(); });
}

WorldRect errorWorld(const ui::Study& study, std::span<const KeptResult> kept)
{
    double largest = largestError(study.interpolated, 0);
    for (const KeptResult& result : kept)
        largest = largestError(result.points, largest);
    if (largest == 0)
        largest = 1;
    const double top = std::min(largest * 1.1, std::numeric_limits<double>::max());
    return {-0.1, top, 1.1, -top};
}

PlacedPoints placePoints(const ui::Study& study, const Viewport& view, bool errorView)
{
    PlacedPoints placed;
    if (!errorView)
        placed.given = placeStudyPoints(study.given, view, false);
    placed.interpolated = placeStudyPoints(study.interpolated, view, errorView);
    return placed;
}

std::vector<DevicePoint> placeStudyPoints(const std::vector<ui::StudyPoint>& points,
                                          const Viewport& view, bool asErrors)
{
    std::vector<DevicePoint> placed;
    placed.reserve(points.size());
    for (const ui::StudyPoint& point : points) {
        double y = point.y;
        if (asErrors)
            y = errorOf(point).value_or(std::nan(""));
        placed.push_back({view.toDeviceX(point.x), view.toDeviceY(y)});
    }
    return placed;
}

std::string pointText(const ui::StudyPoint& point, PointKind kind, std::string_view separator)
{
    const auto number = [separator](double value) { return compactNumber(value, separator); };
    if (kind == PointKind::Given)
        return "Given point " + std::to_string(point.index) + ": x = " + number(point.x) +
               ", y = " + number(point.y);
    std::string text = "Interpolated point " + std::to_string(point.index) +
                       ": x = " + number(point.x) + ", p(x) = " + number(point.y);
    if (point.exact) {
        text += ", f(x) = " + number(*point.exact) + ", p(x) " + std::string(kMinus) +
                " f(x) = " + number(point.y - *point.exact);
    }
    return text;
}

std::string readoutText(const ui::Study& study, const WorldRect& world, double width, double height,
                        bool errorView, double dx, double dy, std::string_view separator,
                        double snapPixels)
{
    const auto at = toWorld(world, width, height, dx, dy);
    if (!at)
        return {};
    const auto number = [separator](double value) { return compactNumber(value, separator); };
    const Viewport view(world, width, height);
    const PlacedPoints placed = placePoints(study, view, errorView);
    const auto given = nearestPoint(placed.given, dx, dy, snapPixels);
    const auto interpolated = nearestPoint(placed.interpolated, dx, dy, snapPixels);
    // A given point's circle is larger than an interpolated point's mark:
    // on it, the given point wins over interpolated points around it.
    const bool givenWins =
        given && (!interpolated || distance(placed.given[*given], dx, dy) <= snapPixels / 2 ||
                  distance(placed.given[*given], dx, dy) <=
                      distance(placed.interpolated[*interpolated], dx, dy));
    if (givenWins)
        return pointText(study.given[*given], PointKind::Given, separator);
    if (interpolated)
        return pointText(study.interpolated[*interpolated], PointKind::Interpolated, separator);
    return "x = " + number(at->x) + (errorView ? ", error = " : ", y = ") + number(at->y);
}

PointKind cursorKind(const ui::Study& study)
{
    return study.interpolated.empty() ? PointKind::Given : PointKind::Interpolated;
}

std::size_t cursorPoints(const ui::Study& study)
{
    return study.interpolated.empty() ? study.given.size() : study.interpolated.size();
}

std::optional<std::size_t> stepCursor(std::optional<std::size_t> at, std::size_t count,
                                      CursorStep step)
{
    if (count == 0)
        return std::nullopt;
    const std::size_t last = count - 1;
    if (step == CursorStep::First || (!at && step != CursorStep::Last))
        return 0;
    if (step == CursorStep::Last)
        return last;
    const std::size_t here = std::min(*at, last);
    if (step == CursorStep::Next)
        return std::min(here + 1, last);
    return here == 0 ? 0 : here - 1;
}

std::string valuesText(const ui::Study& study)
{
    const bool exact = std::any_of(study.interpolated.begin(), study.interpolated.end(),
                                   [](const ui::StudyPoint& point) { return point.exact; });
    std::string text = exact ? "i\tx\tp(x)\tf(x)\tp(x)-f(x)\n" : "i\tx\tp(x)\n";
    for (const ui::StudyPoint& point : study.interpolated) {
        text +=
            std::to_string(point.index) + '\t' + fullNumber(point.x) + '\t' + fullNumber(point.y);
        if (exact && point.exact)
            text += '\t' + fullNumber(*point.exact) + '\t' + fullNumber(point.y - *point.exact);
        else if (exact)
            text += "\t\t";
        text += '\n';
    }
    return text;
}

std::string methodLabel(const ui::Study& study)
{
    return study.methodLegend.empty() ? "Interpolated points" : study.methodLegend;
}

bool KeptResults::keep(const ui::Study& study)
{
    if (study.interpolated.empty())
        return false;
    follow(study);
    if (results_.size() == kMaxKept)
        results_.erase(results_.begin());
    ui::Colour colour = kKeptColours[0];
    for (const ui::Colour candidate : kKeptColours) {
        const bool used =
            std::any_of(results_.begin(), results_.end(),
                        [candidate](const KeptResult& r) { return r.colour == candidate; });
        if (!used) {
            colour = candidate;
            break;
        }
    }
    results_.push_back(
        {methodLabel(study) + ", " + std::to_string(study.interpolated.size()) + " points",
         study.interpolated, colour});
    return true;
}

void KeptResults::clear()
{
    results_.clear();
}

void KeptResults::follow(const ui::Study& study)
{
    if (!samePoints(study.given, given_)) {
        results_.clear();
        given_ = study.given;
    }
}

}  // namespace tarvel
