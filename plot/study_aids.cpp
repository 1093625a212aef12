#include "plot/study_aids.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/number_text.h"

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

double placedY(const ui::StudyPoint& point, const YReading& reading)
{
    if (reading.kind == YReading::Kind::Value)
        return point.y;
    const auto error = errorOf(point);
    if (!error)
        return std::nan("");
    if (reading.kind == YReading::Kind::Error)
        return *error;
    return *error == 0 ? reading.zeroLevel : std::log10(std::abs(*error));
}

PlacedPoints placePoints(const ui::Study& study, const Viewport& view, const YReading& reading)
{
    PlacedPoints placed;
    if (!reading.ofErrors())
        placed.given = placeStudyPoints(study.given, view, reading);
    placed.interpolated = placeStudyPoints(study.interpolated, view, reading);
    return placed;
}

std::vector<DevicePoint> placeStudyPoints(const std::vector<ui::StudyPoint>& points,
                                          const Viewport& view, const YReading& reading)
{
    std::vector<DevicePoint> placed;
    placed.reserve(points.size());
    for (const ui::StudyPoint& point : points)
        placed.push_back({view.toDeviceX(point.x), view.toDeviceY(placedY(point, reading))});
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

StudyReadout studyReadout(const ui::Study& study, const WorldRect& world, double width,
                          double height, const YReading& reading, double dx, double dy,
                          std::string_view separator, double snapPixels)
{
    const auto at = toWorld(world, width, height, dx, dy);
    if (!at)
        return {};
    const auto number = [separator](double value) { return compactNumber(value, separator); };
    const Viewport view(world, width, height);
    const PlacedPoints placed = placePoints(study, view, reading);
    const auto given = nearestPoint(placed.given, dx, dy, snapPixels);
    const auto interpolated = nearestPoint(placed.interpolated, dx, dy, snapPixels);
    // A given point's circle is larger than an interpolated point's mark:
    // on it, the given point wins over interpolated points around it.
    const bool givenWins =
        given && (!interpolated || distance(placed.given[*given], dx, dy) <= snapPixels / 2 ||
                  distance(placed.given[*given], dx, dy) <=
                      distance(placed.interpolated[*interpolated], dx, dy));
    if (givenWins)
        return {pointText(study.given[*given], PointKind::Given, separator),
                placed.given[*given]};
    if (interpolated)
        return {pointText(study.interpolated[*interpolated], PointKind::Interpolated, separator),
                placed.interpolated[*interpolated]};
    switch (reading.kind) {
    case YReading::Kind::Value:
        return {"x = " + number(at->x) + ", y = " + number(at->y), std::nullopt};
    case YReading::Kind::Error:
        return {"x = " + number(at->x) + ", error = " + number(at->y), std::nullopt};
    case YReading::Kind::LogError:
        break;
    }
    return {"x = " + number(at->x) + ", |error| = " + number(std::pow(10.0, at->y)), std::nullopt};
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

namespace {

// A field of a separated text, quoted when it holds the separator or a quote.
std::string fieldText(const std::string& text, char separator)
{
    if (text.find(separator) == std::string::npos && text.find('"') == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace

std::string valuesText(const ui::Study& study, char separator, std::span<const KeptResult> kept)
{
    const bool exact = std::any_of(study.interpolated.begin(), study.interpolated.end(),
                                   [](const ui::StudyPoint& point) { return point.exact; });
    const std::string sep(1, separator);
    std::string text = "i" + sep + "x" + sep + "p(x)";
    if (exact)
        text.append(sep).append("f(x)").append(sep).append("p(x)-f(x)");
    std::size_t rows = study.interpolated.size();
    for (const KeptResult& result : kept) {
        text.append(sep).append(fieldText("x of " + result.label, separator));
        text.append(sep).append(fieldText("p(x) of " + result.label, separator));
        rows = std::max(rows, result.points.size());
    }
    text += '\n';
    for (std::size_t r = 0; r < rows; ++r) {
        if (r < study.interpolated.size()) {
            const ui::StudyPoint& point = study.interpolated[r];
            text.append(std::to_string(point.index)).append(sep).append(fullNumber(point.x));
            text.append(sep).append(fullNumber(point.y));
            if (exact && point.exact)
                text.append(sep).append(fullNumber(*point.exact)).append(sep).append(
                    fullNumber(point.y - *point.exact));
            else if (exact)
                text.append(sep).append(sep);
        } else {
            text.append(exact ? 4 : 2, separator);
        }
        for (const KeptResult& result : kept) {
            text += separator;
            if (r < result.points.size())
                text.append(fullNumber(result.points[r].x));
            text += separator;
            if (r < result.points.size())
                text.append(fullNumber(result.points[r].y));
        }
        text += '\n';
    }
    return text;
}

std::string methodLabel(const ui::Study& study)
{
    return study.methodLegend.empty() ? "Interpolated points" : study.methodLegend;
}

std::string resultLabel(const ui::Study& study)
{
    return methodLabel(study) + " (" + std::to_string(study.given.size()) + " given, " +
           std::to_string(study.interpolated.size()) + " points)";
}

std::string givenLabel(const ui::Study& study)
{
    const std::string& of = study.dataSetName.empty() ? study.functionName : study.dataSetName;
    return "given points" + (of.empty() ? std::string() : " of " + of) + " (" +
           std::to_string(study.given.size()) + ")";
}

std::string errorLabel(std::string_view label)
{
    std::string text(label);
    // "Natural …" reads "natural …"; "PW …" keeps its capitals.
    if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'a' && text[1] <= 'z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return "error of " + text;
}

KeptResults::Outcome KeptResults::keep(const ui::Study& study)
{
    Outcome outcome;
    if (study.interpolated.empty())
        return outcome;
    follow(study);
    if (results_.size() == kMaxKept) {
        outcome.dropped = results_.front().label;
        results_.erase(results_.begin());
    }
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
    results_.push_back({resultLabel(study), study.interpolated, colour});
    outcome.kept = true;
    return outcome;
}

void KeptResults::clear()
{
    results_.clear();
}

std::size_t KeptResults::follow(const ui::Study& study)
{
    if (study.source == source_)
        return 0;
    const std::size_t cleared = results_.size();
    results_.clear();
    source_ = study.source;
    return cleared;
}

LogErrorScale logErrorScale(const ui::Study& study, std::span<const KeptResult> kept)
{
    double smallest = std::numeric_limits<double>::infinity();
    double largest = 0;
    const auto take = [&](const std::vector<ui::StudyPoint>& points) {
        for (const ui::StudyPoint& point : points)
            if (const auto error = errorOf(point); error && *error != 0) {
                smallest = std::min(smallest, std::abs(*error));
                largest = std::max(largest, std::abs(*error));
            }
    };
    take(study.interpolated);
    for (const KeptResult& result : kept)
        take(result.points);
    double low = -16;  // every error 0: a decade around the rounding of 1
    double high = 0;
    if (largest > 0) {
        low = std::floor(std::log10(smallest));
        high = std::max(std::ceil(std::log10(largest)), low + 1);
    }
    LogErrorScale scale;
    scale.reading = {YReading::Kind::LogError, low - 0.5};
    scale.world = {-0.1, high + 0.25, 1.1, low - 0.75};
    return scale;
}

}  // namespace tarvel
