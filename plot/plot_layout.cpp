#include "plot/plot_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "data/number_text.h"
#include "plot/ticks.h"

namespace tarvel {
namespace {

// Ticks at least this far apart: closer ones would be a blur of marks.
constexpr double kMinTickSpacing = 28;

// Strides tried when labels crowd: every label, every second, fifth, ...
constexpr int kStrides[] = {1, 2, 5, 10, 20, 50, 100};

std::vector<double> tickValues(double lo, double hi, int maxTicks, AxisScale scale, double& step)
{
    step = tickStep(lo, hi, maxTicks);
    if (scale == AxisScale::Log10 && step < 1) {
        step = 1;  // whole decades only
        std::vector<double> values;
        const double first = std::ceil(lo);
        const double count = std::min<double>(std::floor(hi) - first + 1, maxTicks + 1);
        // Counted, not stepped: far out a decade plus one is the same double.
        for (int k = 0; k < count && (k == 0 || first + k > values.back()); ++k)
            values.push_back(first + k == 0 ? 0.0 : first + k);
        return values;
    }
    return ticksIn(lo, hi, maxTicks);
}

// Whether labels of the given extents at the given pixels keep `gap` apart.
bool labelsFit(const std::vector<AxisTick>& ticks, const std::vector<double>& extents,
               const std::vector<std::size_t>& labelled, double gap)
{
    for (std::size_t k = 1; k < labelled.size(); ++k) {
        const std::size_t a = labelled[k - 1];
        const std::size_t b = labelled[k];
        const double apart = std::abs(ticks[b].pixel - ticks[a].pixel);
        if (apart < (extents[a] + extents[b]) / 2 + gap)
            return false;
    }
    return true;
}

// The ticks labelled at one stride: every stride-th from the first, and the
// last one, which replaces the one before it if they would crowd.
std::vector<std::size_t> labelledAt(std::size_t count, std::size_t stride)
{
    std::vector<std::size_t> labelled;
    for (std::size_t i = 0; i < count; i += stride)
        labelled.push_back(i);
    if (count > 0 && labelled.back() != count - 1)
        labelled.push_back(count - 1);
    return labelled;
}

// The ticks that carry labels: the smallest stride that keeps them apart,
// the last label taking the place of the one before it when those crowd;
// at least the first.
std::vector<std::size_t> labelledTicks(const std::vector<AxisTick>& ticks,
                                       const std::vector<double>& extents, double gap)
{
    for (const int stride : kStrides) {
        std::vector<std::size_t> labelled = labelledAt(ticks.size(), static_cast<std::size_t>(stride));
        if (labelsFit(ticks, extents, labelled, gap))
            return labelled;
        if (labelled.size() > 2) {
            labelled.erase(labelled.end() - 2);
            if (labelsFit(ticks, extents, labelled, gap))
                return labelled;
        }
    }
    if (ticks.empty())
        return {};
    return {0};
}

// One axis of a world, ends in either order.
struct AxisRange {
    double from;
    double to;
};

enum class AxisOutcome { Shown, Cut, TooClose, TooFar };

// Cuts a decade axis to the decades of doubles and says whether the range
// can be shown.
AxisOutcome limitAxis(AxisRange& range, AxisScale scale)
{
    double lo = std::min(range.from, range.to);
    double hi = std::max(range.from, range.to);
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return AxisOutcome::TooFar;
    const bool cut = scale == AxisScale::Log10 && (lo < kLowestDecade || hi > kHighestDecade);
    if (cut) {
        const double shift = lo < kLowestDecade ? kLowestDecade - lo : kHighestDecade - hi;
        const bool wider = hi - lo >= kHighestDecade - kLowestDecade;
        lo = wider ? kLowestDecade : lo + shift;
        hi = wider ? kHighestDecade : hi + shift;
    }
    // Halved, the extent of any two finite doubles is finite.
    const double halfExtent = hi / 2 - lo / 2;
    const double larger = std::max(std::abs(lo), std::abs(hi));
    if (!(halfExtent >= kClosestExtent / 2 * larger) ||
        !(halfExtent >= std::numeric_limits<double>::min()))
        return AxisOutcome::TooClose;
    range = range.from <= range.to ? AxisRange{lo, hi} : AxisRange{hi, lo};
    return cut ? AxisOutcome::Cut : AxisOutcome::Shown;
}

}  // namespace

LimitedWorld limitedWorld(const WorldRect& asked, const WorldRect& shown, AxisScale xScale,
                          AxisScale yScale)
{
    AxisRange x{asked.left, asked.right};
    AxisRange y{asked.bottom, asked.top};
    const AxisOutcome outcomes[] = {limitAxis(x, xScale), limitAxis(y, yScale)};
    const auto any = [&outcomes](AxisOutcome outcome) {
        return outcomes[0] == outcome || outcomes[1] == outcome;
    };
    if (any(AxisOutcome::TooClose))
        return {shown, WorldLimit::Closest};
    if (any(AxisOutcome::TooFar))
        return {shown, WorldLimit::Farthest};
    return {{x.from, y.to, x.to, y.from},
            any(AxisOutcome::Cut) ? WorldLimit::Farthest : WorldLimit::None};
}

namespace {

bool plainDecade(double exponent)
{
    return exponent >= -3 && exponent <= 5 && exponent == std::floor(exponent);
}

std::string powerLabel(double exponent, std::string_view decimalSeparator)
{
    return "1e" + compactNumber(exponent, decimalSeparator);
}

}  // namespace

std::string decadeLabel(double exponent, std::string_view decimalSeparator)
{
    if (plainDecade(exponent))
        return compactNumber(std::pow(10.0, exponent), decimalSeparator, 1);
    return powerLabel(exponent, decimalSeparator);
}

std::vector<std::string> decadeLabels(std::span<const double> exponents,
                                      std::string_view decimalSeparator)
{
    const bool plain = std::all_of(exponents.begin(), exponents.end(), plainDecade);
    std::vector<std::string> labels;
    for (const double exponent : exponents)
        labels.push_back(plain ? decadeLabel(exponent, decimalSeparator)
                               : powerLabel(exponent, decimalSeparator));
    return labels;
}

namespace {

// Ticks' world values and their labels.
struct LabelledValues {
    std::vector<double> at;
    std::vector<std::string> labels;
};

// A Log10 axis showing fewer than two whole decades: its ticks are 1 … 9
// times the powers of ten (or only 1, 2 and 5 times, or 1 and 5 times, as
// room allows), else, closer still, evenly stepped values; each labelled as
// the number it stands for. Nothing where the numbers are too small or too
// large to step (then the whole decades stand).
std::optional<LabelledValues> withinFewDecades(double lo, double hi, int maxTicks,
                                               std::string_view separator)
{
    if (std::floor(hi) - std::ceil(lo) >= 1)
        return std::nullopt;
    const double low = std::pow(10.0, lo);
    const double high = std::pow(10.0, hi);
    if (!(low >= std::numeric_limits<double>::min()) || !std::isfinite(high))
        return std::nullopt;
    static const std::vector<int> kMantissas[] = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 5}, {1, 5}};
    for (const std::vector<int>& mantissas : kMantissas) {
        LabelledValues ticks;
        for (double decade = std::floor(lo); decade <= std::floor(hi); ++decade)
            for (const int m : mantissas) {
                const double at = decade + std::log10(static_cast<double>(m));
                if (at < lo || at > hi)
                    continue;
                ticks.at.push_back(at);
                ticks.labels.push_back(compactNumber(m * std::pow(10.0, decade), separator, 1));
            }
        if (ticks.at.size() >= 2 && ticks.at.size() <= static_cast<std::size_t>(maxTicks) + 1)
            return ticks;
    }
    const double step = tickStep(low, high, maxTicks);
    LabelledValues ticks;
    for (const double value : ticksIn(low, high, maxTicks)) {
        const double at = std::log10(value);
        if (at < lo || at > hi)
            continue;  // a value at an end whose logarithm rounds outside
        ticks.at.push_back(at);
        ticks.labels.push_back(tickLabel(value, step, separator));
    }
    if (ticks.at.size() >= 2)
        return ticks;
    return std::nullopt;
}

LabelledValues labelledValues(double lo, double hi, int maxTicks, AxisScale scale,
                              std::string_view separator)
{
    if (scale == AxisScale::Log10)
        if (std::optional<LabelledValues> close = withinFewDecades(lo, hi, maxTicks, separator))
            return *close;
    double step = 0;
    LabelledValues ticks{tickValues(lo, hi, maxTicks, scale, step), {}};
    if (scale == AxisScale::Log10) {
        ticks.labels = decadeLabels(ticks.at, separator);
        return ticks;
    }
    for (const double value : ticks.at)
        ticks.labels.push_back(tickLabel(value, step, separator));
    return ticks;
}

}  // namespace

std::vector<AxisTick> axisTicks(double lo, double hi, double from, double to, AxisScale scale,
                                const LabelExtent& extent, double gap,
                                std::string_view decimalSeparator)
{
    std::vector<AxisTick> ticks;
    const double length = std::abs(to - from);
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi) || !(length > 0))
        return ticks;
    const int maxTicks = std::max(1, static_cast<int>(length / kMinTickSpacing));
    LabelledValues values = labelledValues(lo, hi, maxTicks, scale, decimalSeparator);
    // Halved like the viewport, so extents near the largest doubles work.
    const double span = hi / 2 - lo / 2;
    std::vector<double> extents;
    for (std::size_t k = 0; k < values.at.size(); ++k) {
        const double value = values.at[k];
        const double pixel = from + (value / 2 - lo / 2) / span * (to - from);
        extents.push_back(extent(values.labels[k]));
        ticks.push_back({value, pixel, std::move(values.labels[k])});
    }
    std::vector<std::size_t> labelled = labelledTicks(ticks, extents, gap);
    std::vector<bool> keep(ticks.size(), false);
    for (const std::size_t i : labelled)
        keep[i] = true;
    for (std::size_t i = 0; i < ticks.size(); ++i)
        if (!keep[i])
            ticks[i].label.clear();
    return ticks;
}

std::vector<AxisTick> minorDecadeTicks(double lo, double hi, double from, double to)
{
    std::vector<AxisTick> ticks;
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi) ||
        std::abs(to - from) / (hi - lo) < kMinorDecadePixels)
        return ticks;
    for (double decade = std::floor(lo); decade < hi; ++decade)
        for (int k = 2; k <= 9; ++k) {
            const double value = decade + std::log10(static_cast<double>(k));
            if (value >= lo && value <= hi)
                ticks.push_back({value, from + (value - lo) / (hi - lo) * (to - from), {}});
        }
    return ticks;
}

DeviceRect plotAreaWithin(double width, double height, const Insets& margins)
{
    const double left = std::min(margins.left, width);
    const double top = std::min(margins.top, height);
    return {left, top, std::max(left, width - margins.right),
            std::max(top, height - margins.bottom)};
}

bool emptyRect(const DeviceRect& rect)
{
    return !(rect.right > rect.left) || !(rect.bottom > rect.top);
}

bool overlapping(const DeviceRect& a, const DeviceRect& b)
{
    if (emptyRect(a) || emptyRect(b))
        return false;
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

namespace {

// The margins of the plot area without title and captions.
Insets bareMargins(const Insets& legend, const FrameMeasures& m)
{
    if (!m.withScale)
        return legend;
    return {legend.left + m.yLabelsWidth + kTickPixels + kLabelGap + kEdge,
            legend.top + m.labelHeight / 2 + kEdge, legend.right + m.rightOverhang + kEdge,
            legend.bottom + kTickPixels + kLabelGap + m.labelHeight + kEdge};
}

bool roomy(double width, double height, const Insets& margins)
{
    return width - margins.left - margins.right >= kMinPlotExtent &&
           height - margins.top - margins.bottom >= kMinPlotExtent;
}

}  // namespace

std::vector<std::string> titleLines(std::string_view title, double width,
                                    const LabelExtent& extent, std::size_t maxLines)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < title.size() && maxLines > 0;) {
        const std::size_t end = std::min(title.find(' ', at), title.size());
        const std::string_view word = title.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        if (!lines.empty()) {
            std::string longer = lines.back() + ' ' + std::string(word);
            if (lines.size() == maxLines || extent(longer) <= width) {
                lines.back() = std::move(longer);
                continue;
            }
            // The line ends after its last comma, when it has one.
            const std::size_t comma = lines.back().rfind(", ");
            std::string rest = comma == std::string::npos
                                   ? std::string()
                                   : lines.back().substr(comma + 2) + ' ' + std::string(word);
            if (!rest.empty() && (lines.size() + 1 == maxLines || extent(rest) <= width)) {
                lines.back().resize(comma + 1);
                lines.push_back(std::move(rest));
                continue;
            }
        }
        lines.emplace_back(word);
    }
    return lines;
}

PlotFrame plotFrame(double width, double height, const Insets& legend,
                    const FrameMeasures& measures)
{
    const Insets bare = bareMargins(legend, measures);
    double caption =
        measures.withScale && measures.captionHeight > 0 ? measures.captionHeight + kLabelGap : 0;
    const double titleWidth = width - bare.left - caption - bare.right;
    std::vector<std::string> lines;
    if (measures.titleHeight > 0 && measures.titleWidth)
        lines = titleLines(measures.title, titleWidth, measures.titleWidth, kTitleLines);
    const auto titleRoom = [&lines, &measures] {
        return lines.empty() ? 0
                             : kEdge + static_cast<double>(lines.size()) * measures.titleHeight +
                                   kLabelGap;
    };
    const auto with = [&bare](double titleSpace, double captionRoom) {
        return Insets{bare.left + captionRoom, bare.top + titleSpace, bare.right,
                      bare.bottom + captionRoom};
    };
    // Short of room the title's last line goes first, then the title's others.
    while (!lines.empty() && !roomy(width, height, with(titleRoom(), caption)))
        lines = titleLines(measures.title, titleWidth, measures.titleWidth, lines.size() - 1);
    if (!roomy(width, height, with(0, caption)))
        caption = 0;
    const double title = titleRoom();
    const DeviceRect area = plotAreaWithin(width, height, with(title, caption));
    PlotFrame frame;
    frame.plotArea = area;
    frame.stripTop = title;
    if (title > 0)
        frame.title = {area.left, kEdge, area.right, title - kLabelGap};
    frame.titleLines = std::move(lines);
    if (!measures.withScale)
        return frame;
    const double labelsLeft = legend.left + kEdge + caption;
    frame.xLabels = {area.left, area.bottom, area.right + measures.rightOverhang,
                     area.bottom + kTickPixels + kLabelGap + measures.labelHeight};
    frame.yLabels = {labelsLeft, area.top - measures.labelHeight / 2, area.left,
                     area.bottom + measures.labelHeight / 2};
    if (caption > 0) {
        const double top = frame.xLabels.bottom + kLabelGap;
        frame.xCaption = {area.left, top, area.right, top + measures.captionHeight};
        frame.yCaption = {legend.left + kEdge, area.top, labelsLeft - kLabelGap, area.bottom};
    }
    return frame;
}

std::optional<Corner> freeLegendCornerOf(const Occupancy& occupancy, double boxWidth,
                                         double boxHeight, double inset, double clearance)
{
    if (boxWidth + 2 * inset > occupancy.width() || boxHeight + 2 * inset > occupancy.height())
        return std::nullopt;
    for (const Corner corner :
         {Corner::TopRight, Corner::TopLeft, Corner::BottomRight, Corner::BottomLeft}) {
        const DeviceRect box = cornerRect(corner, occupancy.width(), occupancy.height(), boxWidth,
                                          boxHeight, inset);
        const DeviceRect widened{box.left - clearance, box.top - clearance,
                                 box.right + clearance, box.bottom + clearance};
        if (occupancy.count(widened) == 0)
            return corner;
    }
    return std::nullopt;
}

std::optional<DeviceRect> freeLegendCorner(const Occupancy& occupancy, double boxWidth,
                                           double boxHeight, double inset, double clearance)
{
    const std::optional<Corner> corner =
        freeLegendCornerOf(occupancy, boxWidth, boxHeight, inset, clearance);
    if (!corner)
        return std::nullopt;
    return cornerRect(*corner, occupancy.width(), occupancy.height(), boxWidth, boxHeight, inset);
}

WorldRect zoomedWorld(const WorldRect& world, double factor, double x, double y)
{
    if (!(factor > 0) || !std::isfinite(factor))
        return world;
    return {x - (x - world.left) / factor, y - (y - world.top) / factor,
            x + (world.right - x) / factor, y + (world.bottom - y) / factor};
}

WorldRect pannedWorld(const WorldRect& world, double dx, double dy, double width, double height)
{
    if (!(width > 0) || !(height > 0))
        return world;
    const double shiftX = dx / width * (world.right - world.left);
    const double shiftY = dy / height * (world.bottom - world.top);
    return {world.left - shiftX, world.top - shiftY, world.right - shiftX,
            world.bottom - shiftY};
}

}  // namespace tarvel
