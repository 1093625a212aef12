#include "ui/qt/plot_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/qt/drawing_painter.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

constexpr double kLegendInset = 4;
constexpr double kLegendPadding = 4;
constexpr double kLegendClearance = 2;
constexpr double kSampleWidth = 22;
const QColor kScaleColour(70, 70, 70);
const QColor kFrameColour(190, 190, 190);

QPen thinPen(const QColor& colour, double width = 1.0)
{
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setCosmetic(true);
    return pen;
}

// The scene's own legend items, then one line per named series.
using LegendLine = LegendItem;

std::vector<LegendLine> legendLines(const PlotScene& scene)
{
    std::vector<LegendLine> lines = scene.legend;
    for (const PlotSeries& series : scene.series)
        if (!series.name.isEmpty())
            lines.push_back({series.style, series.colour, series.name, series.dash});
    return lines;
}

// A polyline through device points, broken where a point is not finite and
// clipped so huge coordinates never reach the painter. A dashed line's
// unbroken runs are stroked whole, so its pattern runs on across the points;
// a solid line's segments are stroked apart (in one call), which rasterizes
// a wide line much faster than one outline of the whole curve.
void polyline(QPainter& painter, const std::vector<DevicePoint>& points, const QSizeF& size,
              Occupancy& occupancy)
{
    const bool dashed = painter.pen().style() != Qt::SolidLine;
    std::vector<QLineF> segments;
    QPolygonF run;
    const auto strokeRun = [&painter, &run] {
        if (run.size() >= 2)
            painter.drawPolyline(run);
        run.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto clipped =
            clipSegment({points[i - 1].x, points[i - 1].y, points[i].x, points[i].y}, -kClipMargin,
                        -kClipMargin, size.width() + kClipMargin, size.height() + kClipMargin);
        if (!clipped) {
            strokeRun();
            continue;
        }
        const QPointF from(clipped->x1, clipped->y1);
        const QPointF to(clipped->x2, clipped->y2);
        occupancy.markSegment(clipped->x1, clipped->y1, clipped->x2, clipped->y2);
        if (!dashed) {
            segments.emplace_back(from, to);
            continue;
        }
        if (run.isEmpty() || run.back() != from) {
            strokeRun();
            run.append(from);
        }
        run.append(to);
    }
    strokeRun();
    painter.drawLines(segments.data(), static_cast<int>(segments.size()));
}

// Where the line last leaves the area, or ends inside it.
std::optional<QPointF> lastVisiblePoint(const std::vector<DevicePoint>& points, const QSizeF& size)
{
    for (std::size_t i = points.size(); i-- > 1;) {
        const auto clipped = clipSegment({points[i - 1].x, points[i - 1].y, points[i].x, points[i].y},
                                         0, 0, size.width(), size.height());
        if (clipped)
            return QPointF(clipped->x2, clipped->y2);
    }
    return std::nullopt;
}

// The series' label at the end of its line: beside the end away from the
// line's course (right of it, else left of it and below), inside the area.
void paintEndLabel(QPainter& painter, const PlotSeries& series,
                   const std::vector<DevicePoint>& points, const QSizeF& size,
                   Occupancy& occupancy)
{
    const std::optional<QPointF> end = lastVisiblePoint(points, size);
    if (!end)
        return;
    const QFontMetricsF metrics(painter.font());
    const QSizeF box(metrics.horizontalAdvance(series.endLabel) + 2, metrics.height());
    constexpr double kOff = 3;
    QPointF at(end->x() + kOff, end->y() - kOff - box.height());
    if (at.x() + box.width() > size.width())
        at = QPointF(end->x() - kOff - box.width(), end->y() + kOff);
    at.setX(std::clamp(at.x(), 0.0, std::max(0.0, size.width() - box.width())));
    at.setY(std::clamp(at.y(), 0.0, std::max(0.0, size.height() - box.height())));
    const QRectF rect(at, box);
    painter.setPen(thinPen(series.colour));
    painter.drawText(rect, Qt::AlignCenter, series.endLabel);
    occupancy.markRect({rect.left(), rect.top(), rect.right(), rect.bottom()});
}

}  // namespace

void paintSeries(QPainter& painter, const PlotSeries& series, const Viewport& view,
                 const QSizeF& size, Occupancy& occupancy)
{
    std::vector<DevicePoint> points;
    points.reserve(series.points.size());
    for (const WorldPoint& p : series.points)
        points.push_back({view.toDeviceX(p.x), view.toDeviceY(p.y)});
    if (series.style == SeriesStyle::Line || series.style == SeriesStyle::CirclesJoined) {
        QPen pen = thinPen(series.colour, series.widthPixels);
        pen.setStyle(series.dash);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        polyline(painter, points, size, occupancy);
        if (!series.endLabel.isEmpty())
            paintEndLabel(painter, series, points, size, occupancy);
    }
    if (series.style == SeriesStyle::Line)
        return;
    const bool filled = series.style == SeriesStyle::Dots;
    painter.setPen(thinPen(series.colour));
    painter.setBrush(filled ? QBrush(series.colour) : QBrush(Qt::NoBrush));
    const double r = series.radiusPixels;
    for (const DevicePoint& p : points) {
        if (!(p.x >= -r && p.x <= size.width() + r && p.y >= -r && p.y <= size.height() + r))
            continue;  // also NaN
        painter.drawEllipse(QPointF(p.x, p.y), r, r);
        occupancy.markPoint(p.x, p.y, r);
    }
}

namespace {

// The scene's data painted into a plot area of `size`, at the painter's
// origin; what it covers marked in `occupancy`.
void paintData(QPainter& painter, const PlotScene& scene, const Viewport& view,
               const QSizeF& size, Occupancy& occupancy)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (scene.paintData)
        scene.paintData(painter, view, size, occupancy);
    for (const PlotSeries& series : scene.series)
        paintSeries(painter, series, view, size, occupancy);
    painter.restore();
}

struct Axes {
    std::vector<AxisTick> x;
    std::vector<AxisTick> y;
    std::vector<AxisTick> xMinor;  // between the decades of a Log10 axis
    std::vector<AxisTick> yMinor;
};

Axes axesFor(const PlotScene& scene, const WorldRect& visible, const QRectF& area,
             const QFontMetricsF& metrics, std::string_view separator)
{
    const auto width = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(qstr(text));
    };
    const auto height = [&metrics](std::string_view) { return metrics.height(); };
    const double xLo = std::min(visible.left, visible.right);
    const double xHi = std::max(visible.left, visible.right);
    const double yLo = std::min(visible.top, visible.bottom);
    const double yHi = std::max(visible.top, visible.bottom);
    const bool xFlipped = visible.right < visible.left;
    const bool yFlipped = visible.top < visible.bottom;
    Axes axes;
    axes.x = axisTicks(xLo, xHi, xFlipped ? area.right() : area.left(),
                       xFlipped ? area.left() : area.right(), scene.xScale, width, kLabelGap * 2,
                       separator);
    axes.y = axisTicks(yLo, yHi, yFlipped ? area.top() : area.bottom(),
                       yFlipped ? area.bottom() : area.top(), scene.yScale, height, 0, separator);
    if (scene.xScale == AxisScale::Log10)
        axes.xMinor = minorDecadeTicks(xLo, xHi, xFlipped ? area.right() : area.left(),
                                       xFlipped ? area.left() : area.right());
    if (scene.yScale == AxisScale::Log10)
        axes.yMinor = minorDecadeTicks(yLo, yHi, yFlipped ? area.top() : area.bottom(),
                                       yFlipped ? area.bottom() : area.top());
    return axes;
}

double widestLabel(const std::vector<AxisTick>& ticks, const QFontMetricsF& metrics)
{
    double widest = 0;
    for (const AxisTick& tick : ticks)
        if (!tick.label.empty())
            widest = std::max(widest, metrics.horizontalAdvance(qstr(tick.label)));
    return widest;
}

QRectF rectOf(const DeviceRect& rect)
{
    return QRectF(QPointF(rect.left, rect.top), QPointF(rect.right, rect.bottom));
}

QFont titleFont(const QFont& font)
{
    QFont title = font;
    title.setBold(true);
    title.setPointSizeF(font.pointSizeF() * 1.15);
    return title;
}

// What every step of a plot's layout reads.
struct LayoutFrame {
    const PlotScene& scene;
    const WorldRect& visible;
    const PlotOptions& options;
    QSizeF size;
    const QFont& font;
    const QFontMetricsF& metrics;
    std::string_view separator;
};

// The plot's frame: margins wide enough for the y labels on the left, the x
// labels below, and half a label at the top and the right, where the
// extreme labels reach past the area; the title and the captions outside
// them. `strip` is taken from the picture's edges before that (a legend
// strip).
PlotFrame frameFor(const LayoutFrame& frame, const Insets& strip)
{
    const FrameTexts texts = shownTexts(frame.scene, frame.options);
    FrameMeasures measures;
    measures.labelHeight = frame.metrics.height();
    measures.rightOverhang = frame.metrics.horizontalAdvance("0.00") / 2;
    measures.withScale = frame.options.showScale;
    measures.titleHeight = texts.title.isEmpty() ? 0 : QFontMetricsF(titleFont(frame.font)).height();
    measures.captionHeight =
        texts.xCaption.isEmpty() && texts.yCaption.isEmpty() ? 0 : frame.metrics.height();
    if (measures.withScale) {
        // The y labels' width depends on the area's height only: find it first.
        const PlotFrame first = plotFrame(frame.size.width(), frame.size.height(), strip, measures);
        const Axes axes = axesFor(frame.scene, frame.visible, rectOf(first.plotArea),
                                  frame.metrics, frame.separator);
        // Deep in a zoom the x labels grow long: half of one may lie past
        // either end of the area, and the picture keeps room for it.
        const double halfX = widestLabel(axes.x, frame.metrics) / 2;
        measures.yLabelsWidth =
            std::max(widestLabel(axes.y, frame.metrics), halfX - kTickPixels - kLabelGap);
        measures.rightOverhang = std::max(measures.rightOverhang, halfX);
    }
    return plotFrame(frame.size.width(), frame.size.height(), strip, measures);
}

// The title and the captions in their boxes, elided to fit; the y caption
// reads upwards.
void paintFrameTexts(QPainter& painter, const FrameTexts& texts, const PlotFrame& frame)
{
    painter.setPen(thinPen(kForeground));
    const QRectF title = rectOf(frame.title);
    if (!title.isEmpty()) {
        painter.save();
        painter.setFont(titleFont(painter.font()));
        const QFontMetricsF metrics(painter.font());
        painter.drawText(title, Qt::AlignCenter,
                         metrics.elidedText(texts.title, Qt::ElideRight, title.width()));
        painter.restore();
    }
    const QFontMetricsF metrics(painter.font());
    const QRectF x = rectOf(frame.xCaption);
    if (!x.isEmpty())
        painter.drawText(x, Qt::AlignCenter,
                         metrics.elidedText(texts.xCaption, Qt::ElideRight, x.width()));
    const QRectF y = rectOf(frame.yCaption);
    if (!y.isEmpty()) {
        painter.save();
        painter.translate(y.left(), y.bottom());
        painter.rotate(-90);
        painter.drawText(QRectF(0, 0, y.height(), y.width()), Qt::AlignCenter,
                         metrics.elidedText(texts.yCaption, Qt::ElideRight, y.height()));
        painter.restore();
    }
}

int paintAxes(QPainter& painter, const Axes& axes, const QRectF& area)
{
    painter.setPen(thinPen(kFrameColour));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.setPen(thinPen(kScaleColour));
    const QFontMetricsF metrics(painter.font());
    const double labelHeight = metrics.height();
    int labelled = 0;
    for (const AxisTick& tick : axes.xMinor)
        painter.drawLine(QPointF(tick.pixel, area.bottom()),
                         QPointF(tick.pixel, area.bottom() + kTickPixels / 2));
    for (const AxisTick& tick : axes.yMinor)
        painter.drawLine(QPointF(area.left() - kTickPixels / 2, tick.pixel),
                         QPointF(area.left(), tick.pixel));
    for (const AxisTick& tick : axes.x) {
        painter.drawLine(QPointF(tick.pixel, area.bottom()),
                         QPointF(tick.pixel, area.bottom() + kTickPixels));
        if (tick.label.empty())
            continue;
        const QString text = qstr(tick.label);
        const double width = metrics.horizontalAdvance(text) + 2;
        painter.drawText(QRectF(tick.pixel - width / 2, area.bottom() + kTickPixels + kLabelGap,
                                width, labelHeight),
                         Qt::AlignCenter, text);
        ++labelled;
    }
    for (const AxisTick& tick : axes.y) {
        painter.drawLine(QPointF(area.left() - kTickPixels, tick.pixel),
                         QPointF(area.left(), tick.pixel));
        if (tick.label.empty())
            continue;
        const QString text = qstr(tick.label);
        const double width = metrics.horizontalAdvance(text) + 2;
        const double right = area.left() - kTickPixels - kLabelGap;
        painter.drawText(QRectF(right - width, tick.pixel - labelHeight / 2, width, labelHeight),
                         Qt::AlignRight | Qt::AlignVCenter, text);
        ++labelled;
    }
    return labelled;
}

void paintSample(QPainter& painter, const LegendLine& line, const QRectF& box)
{
    const double y = box.center().y();
    painter.setBrush(Qt::NoBrush);
    switch (line.sample) {
    case SeriesStyle::Line: {
        QPen pen = thinPen(line.colour, 1.5);
        pen.setStyle(line.dash);
        painter.setPen(pen);
        painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        break;
    }
    case SeriesStyle::CirclesJoined:
        painter.setPen(thinPen(line.colour));
        painter.drawLine(QPointF(box.left(), y + 2), QPointF(box.right(), y - 2));
        [[fallthrough]];
    case SeriesStyle::Circles:
        painter.setPen(thinPen(line.colour, 1.5));
        painter.drawEllipse(QPointF(box.center().x(), y), 3.5, 3.5);
        break;
    case SeriesStyle::Dots:
        painter.setPen(thinPen(line.colour));
        painter.setBrush(line.colour);
        for (int i = 0; i < 5; ++i)
            painter.drawEllipse(QPointF(box.left() + 2 + i * (box.width() - 4) / 4, y), 1, 1);
        break;
    }
}

// The legend's lines placed in a box: one column (inside the plot area or in
// a strip beside it), or flowing in rows across a strip above it.
struct Legend {
    std::vector<LegendLine> lines;
    QString note;
    std::vector<QPointF> places;  // of each line, then of the note, in the box
    QSizeF size;
    bool shortened = false;  // some line ends in "…"
    bool empty() const { return lines.empty(); }
};

double lineWidth(const LegendLine& line, const QFontMetricsF& metrics)
{
    return kSampleWidth + kLegendPadding + metrics.horizontalAdvance(line.text) + 2;
}

// Lines left to right while they fit in `width` (at least one a row); with
// an unbounded width, one line a row. A line longer than `lineRoom` ends in
// "…" instead of leaving the picture.
Legend legendFor(const PlotScene& scene, const QFontMetricsF& metrics, double width,
                 double lineRoom)
{
    Legend legend;
    legend.lines = legendLines(scene);
    if (legend.lines.empty())
        return legend;
    const double textRoom = lineRoom - kSampleWidth - kLegendPadding - 2;
    for (LegendLine& line : legend.lines) {
        if (metrics.horizontalAdvance(line.text) <= textRoom)
            continue;
        line.text = metrics.elidedText(line.text, Qt::ElideRight, std::max(textRoom, 0.0));
        legend.shortened = true;
    }
    legend.note = scene.legendNote;
    const double row = metrics.height();
    const double columnGap = 3 * kLegendPadding;
    double x = kLegendPadding;
    double y = kLegendPadding;
    double widest = 0;
    for (const LegendLine& line : legend.lines) {
        const double w = lineWidth(line, metrics);
        if (x > kLegendPadding && x + w > width - kLegendPadding) {
            x = kLegendPadding;
            y += row;
        }
        legend.places.emplace_back(x, y);
        widest = std::max(widest, x + w);
        x += w + columnGap;
        if (!std::isfinite(width))
            x = kLegendPadding, y += row;
    }
    if (std::isfinite(width) && x > kLegendPadding)
        y += row;
    if (!legend.note.isEmpty()) {
        legend.places.emplace_back(kLegendPadding, y);
        widest = std::max(widest, kLegendPadding + metrics.horizontalAdvance(legend.note) + 2);
        y += row;
    }
    legend.size = QSizeF(widest + kLegendPadding, y + kLegendPadding);
    return legend;
}

// A column takes at most half the picture's width.
Legend columnLegend(const PlotScene& scene, const QFontMetricsF& metrics, const QSizeF& size)
{
    return legendFor(scene, metrics, std::numeric_limits<double>::infinity(),
                     size.width() / 2 - 2 * kLegendPadding);
}

void paintLegend(QPainter& painter, const Legend& legend, const QRectF& box)
{
    const QFontMetricsF metrics(painter.font());
    painter.setPen(thinPen(QColor(160, 160, 160)));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    const double row = metrics.height();
    for (std::size_t i = 0; i < legend.lines.size(); ++i) {
        const LegendLine& line = legend.lines[i];
        const QPointF at = box.topLeft() + legend.places[i];
        const QRectF sample(at.x(), at.y(), kSampleWidth, row);
        paintSample(painter, line, sample);
        painter.setPen(thinPen(kForeground));
        painter.drawText(QRectF(sample.right() + kLegendPadding, at.y(),
                                metrics.horizontalAdvance(line.text) + 2, row),
                         Qt::AlignLeft | Qt::AlignVCenter, line.text);
    }
    if (!legend.note.isEmpty()) {
        const QPointF at = box.topLeft() + legend.places.back();
        painter.setPen(thinPen(kScaleColour));
        painter.drawText(QRectF(at.x(), at.y(), box.right() - at.x(), row),
                         Qt::AlignLeft | Qt::AlignVCenter, legend.note);
    }
}

// What the scene's data cover in a plot area, found by painting them where
// nothing is kept, so that the legend's place is chosen before they are
// painted for good.
Occupancy dataOccupancy(const PlotScene& scene, const WorldRect& visible, const QRectF& area)
{
    Occupancy occupancy(area.width(), area.height());
    const Viewport view(visible, area.width(), area.height());
    if (!view.valid())
        return occupancy;
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    paintData(painter, scene, view, area.size(), occupancy);
    return occupancy;
}

// Where the legend went: its lines (a column, or rows above the plot area),
// its box, the plot area left beside it and the place a later paint keeps.
struct PlacedLegend {
    Legend legend;
    QRectF box;
    PlotFrame frame;
    LegendPlace place;
};

// The legend takes a strip beside the plot area, which shrinks to make room;
// right of it or, flowing in rows, above it, whichever takes the smaller share.
PlacedLegend legendInStrip(const LayoutFrame& frame, Legend column)
{
    const double right = column.size.width() + kLegendInset * 2;
    const double across = frame.size.width() - kLegendInset * 2;
    Legend above = legendFor(frame.scene, frame.metrics, across, across - 2 * kLegendPadding);
    const double top = above.size.height() + kLegendInset;
    const LegendPlace strip{true, Corner::TopRight};
    if (top / frame.size.height() <= right / frame.size.width()) {
        const PlotFrame framed = frameFor(frame, {0, top, 0, 0});
        const QRectF box(QPointF(kLegendInset, framed.stripTop + kLegendInset), above.size);
        return {std::move(above), box, framed, strip};
    }
    const PlotFrame framed = frameFor(frame, {0, 0, right, 0});
    const QRectF box(QPointF(frame.size.width() - right + kLegendInset, framed.plotArea.top),
                     column.size);
    return {std::move(column), box, framed, strip};
}

bool fitsInside(const Legend& legend, const QRectF& area)
{
    return legend.size.width() + 2 * kLegendInset <= area.width() &&
           legend.size.height() + 2 * kLegendInset <= area.height();
}

PlacedLegend legendInCorner(Legend column, const PlotFrame& frame, Corner corner)
{
    const QRectF area = rectOf(frame.plotArea);
    const DeviceRect box = cornerRect(corner, area.width(), area.height(), column.size.width(),
                                      column.size.height(), kLegendInset);
    const QRectF placed(QPointF(area.left() + box.left, area.top() + box.top), column.size);
    return {std::move(column), placed, frame, {false, corner}};
}

// A free corner of the plot area, else a strip. While zoomed the legend keeps
// to its strip, so that the plot area stays put under a drag whatever comes
// into view. A held place is taken as it is (when it still fits), without
// looking at the data.
PlacedLegend placeLegend(const LayoutFrame& frame, Legend column, const PlotFrame& bare,
                         const std::optional<LegendPlace>& held)
{
    const QRectF area = rectOf(bare.plotArea);
    const WorldRect& world = frame.scene.world;
    const WorldRect& visible = frame.visible;
    const bool whole = visible == world;
    if (!whole || (held && held->inStrip))
        return legendInStrip(frame, std::move(column));
    std::optional<Corner> corner;
    if (held && fitsInside(column, area))
        corner = held->corner;
    else if (!held)
        corner = freeLegendCornerOf(dataOccupancy(frame.scene, visible, area), column.size.width(),
                                    column.size.height(), kLegendInset, kLegendClearance);
    if (!corner)
        return legendInStrip(frame, std::move(column));
    return legendInCorner(std::move(column), bare, *corner);
}

}  // namespace

FrameTexts shownTexts(const PlotScene& scene, const PlotOptions& options)
{
    FrameTexts texts;
    if (options.showTitle)
        texts.title = scene.title;
    if (options.showCaptions && options.showScale) {
        texts.xCaption = scene.xCaption;
        texts.yCaption = scene.yCaption;
    }
    return texts;
}

QStringList legendTexts(const PlotScene& scene)
{
    QStringList texts;
    for (const LegendLine& line : legendLines(scene))
        texts << line.text;
    return texts;
}

PlotGeometry paintPlot(const PlotScene& scene, const WorldRect& visible, const PlotOptions& options,
                       QPainter& painter, const QSizeF& size, const QFont& font,
                       std::string_view separator, const std::optional<LegendPlace>& heldLegend)
{
    PlotGeometry geometry;
    geometry.visibleWorld = visible;
    const QFontMetricsF metrics(font);
    const LayoutFrame layout{scene, visible, options, size, font, metrics, separator};
    PlotFrame frame = frameFor(layout, {});
    QRectF area = rectOf(frame.plotArea);
    geometry.plotArea = area;
    if (!Viewport(visible, area.width(), area.height()).valid() ||
        (!scene.paintData && scene.series.empty()))
        return geometry;
    Legend legend = options.showLegend ? columnLegend(scene, metrics, size) : Legend{};
    QRectF legendBox;
    if (!legend.empty()) {
        PlacedLegend placed = placeLegend(layout, std::move(legend), frame, heldLegend);
        legend = std::move(placed.legend);
        geometry.legendShortened = legend.shortened;
        legendBox = placed.box;
        frame = placed.frame;
        area = rectOf(frame.plotArea);
        geometry.legendPlace = placed.place;
    }
    geometry.plotArea = area;
    geometry.titleArea = rectOf(frame.title);
    geometry.xCaptionArea = rectOf(frame.xCaption);
    geometry.yCaptionArea = rectOf(frame.yCaption);
    geometry.xLabelsArea = rectOf(frame.xLabels);
    geometry.yLabelsArea = rectOf(frame.yLabels);

    painter.save();
    painter.setFont(font);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.translate(area.topLeft());
    // The legend's place is decided: nothing need be marked any more.
    Occupancy unmarked = Occupancy::keepingNothing();
    paintData(painter, scene, Viewport(visible, area.width(), area.height()), area.size(),
              unmarked);
    painter.restore();
    if (options.showScale)
        geometry.labelledTicks =
            paintAxes(painter, axesFor(scene, visible, area, metrics, separator), area);
    paintFrameTexts(painter, shownTexts(scene, options), frame);
    if (!legend.empty()) {
        paintLegend(painter, legend, legendBox);
        geometry.legendArea = legendBox;
        geometry.legendEntries = legendTexts(scene);
    }
    painter.restore();
    return geometry;
}

}  // namespace tarvel::ui
