#include "ui/qt/study_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

#include "plot/occupancy.h"
#include "plot/ticks.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

constexpr double kTickPixels = 4;
constexpr double kLabelGap = 2;
constexpr double kLegendInset = 4;
constexpr double kLegendPadding = 4;
constexpr double kSampleWidth = 22;
const QColor kScaleColour(70, 70, 70);
const QColor kRedColour = qColour(kRed);
const QColor kBlueColour = qColour(kBlue);

DeviceRect toDeviceRect(const QRectF& rect)
{
    return {rect.left(), rect.top(), rect.right(), rect.bottom()};
}

bool inside(const QRectF& rect, const QSizeF& size)
{
    return rect.left() >= 0 && rect.top() >= 0 && rect.right() <= size.width() &&
           rect.bottom() <= size.height();
}

QPen thinPen(const QColor& colour, double width = 1.0)
{
    QPen pen(colour);
    pen.setWidthF(width);
    pen.setCosmetic(true);
    return pen;
}

// A polyline through points already on the device, skipping gaps where a
// point is not finite; clipped so huge coordinates never reach the painter.
void polyline(QPainter& painter, const std::vector<DevicePoint>& points, const QSizeF& size,
              Occupancy& occupancy)
{
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto clipped =
            clipSegment({points[i - 1].x, points[i - 1].y, points[i].x, points[i].y}, -kClipMargin,
                        -kClipMargin, size.width() + kClipMargin, size.height() + kClipMargin);
        if (!clipped)
            continue;
        painter.drawLine(QPointF(clipped->x1, clipped->y1), QPointF(clipped->x2, clipped->y2));
        occupancy.markSegment(clipped->x1, clipped->y1, clipped->x2, clipped->y2);
    }
}

void paintKept(QPainter& painter, const StudyAids& aids, const Viewport& view, bool errorView,
               const QSizeF& size, Occupancy& occupancy)
{
    for (const KeptResult& kept : aids.kept.results()) {
        painter.setPen(thinPen(qColour(kept.colour)));
        polyline(painter, placeStudyPoints(kept.points, view, errorView), size, occupancy);
    }
}

// The error p(x) - f(x) at the interpolated points about the zero line
// that stands for the test function.
void paintErrorView(QPainter& painter, const Study& study, const Viewport& view, const QSizeF& size,
                    Occupancy& occupancy)
{
    painter.setPen(thinPen(kForeground));
    const double x0 = view.toDeviceX(0);
    painter.drawLine(QPointF(x0, 0), QPointF(x0, size.height()));
    const double zero = view.toDeviceY(0);
    painter.setPen(thinPen(kRedColour));
    painter.drawLine(QPointF(x0, zero), QPointF(view.toDeviceX(1), zero));
    occupancy.markSegment(x0, zero, view.toDeviceX(1), zero);

    const std::vector<DevicePoint> errors = placeStudyPoints(study.interpolated, view, true);
    painter.setPen(thinPen(QColor(120, 120, 255)));
    polyline(painter, errors, size, occupancy);
    painter.setPen(thinPen(kBlueColour));
    for (const DevicePoint& point : errors)
        if (std::isfinite(point.x) && std::isfinite(point.y)) {
            painter.drawEllipse(QPointF(point.x, point.y), 1.5, 1.5);
            occupancy.markPoint(point.x, point.y, 1.5);
        }
}

// Labels go only where they cover no data and no earlier label.
bool placeLabel(QPainter& painter, const QRectF& rect, const QString& text, const QSizeF& size,
                Occupancy& occupancy, int alignment)
{
    if (!inside(rect, size) || occupancy.count(toDeviceRect(rect)) > 0)
        return false;
    painter.drawText(rect, alignment, text);
    occupancy.markRect(toDeviceRect(rect));
    return true;
}

void tickMark(QPainter& painter, const QPointF& from, const QPointF& to, Occupancy& occupancy)
{
    const DeviceRect rect{std::min(from.x(), to.x()), std::min(from.y(), to.y()),
                          std::max(from.x(), to.x()), std::max(from.y(), to.y())};
    if (occupancy.count(rect) > 0)
        return;
    painter.drawLine(from, to);
}

int paintScale(QPainter& painter, const WorldRect& world, const Viewport& view, const QSizeF& size,
               const QFontMetricsF& metrics, std::string_view separator, Occupancy& occupancy)
{
    painter.setPen(thinPen(kScaleColour));
    const double labelHeight = metrics.height();
    int placed = 0;

    // x: 0 .. 1 along the bottom edge, or the top edge where data lie below.
    const double typicalWidth = metrics.horizontalAdvance("0.75") + 12;
    const int maxX = std::max(1, static_cast<int>(view.toDeviceLength(1) / typicalWidth));
    const double stepX = tickStep(0, 1, maxX);
    for (const double x : ticksIn(0, 1, maxX)) {
        const double dx = view.toDeviceX(x);
        const QString text = qstr(tickLabel(x, stepX, separator));
        const double width = metrics.horizontalAdvance(text) + 2;
        tickMark(painter, QPointF(dx, size.height() - 1),
                 QPointF(dx, size.height() - 1 - kTickPixels), occupancy);
        const QRectF bottom(dx - width / 2, size.height() - 1 - kTickPixels - labelHeight, width,
                            labelHeight);
        const QRectF top(dx - width / 2, 1, width, labelHeight);
        if (placeLabel(painter, bottom, text, size, occupancy, Qt::AlignCenter) ||
            placeLabel(painter, top, text, size, occupancy, Qt::AlignCenter))
            ++placed;
    }

    // y: left of the y axis, in the margin left of x = 0.
    const double lo = std::min(world.top, world.bottom);
    const double hi = std::max(world.top, world.bottom);
    const int maxY = std::max(1, static_cast<int>(size.height() / (labelHeight * 2)));
    const double stepY = tickStep(lo, hi, maxY);
    const double axis = view.toDeviceX(0);
    for (const double y : ticksIn(lo, hi, maxY)) {
        const double dy = view.toDeviceY(y);
        const QString text = qstr(tickLabel(y, stepY, separator));
        const double width = metrics.horizontalAdvance(text) + 2;
        tickMark(painter, QPointF(axis - kTickPixels, dy), QPointF(axis - 1, dy), occupancy);
        const double right = axis - kTickPixels - kLabelGap;
        const QRectF rect(std::max(1.0, right - width), dy - labelHeight / 2, width, labelHeight);
        if (placeLabel(painter, rect, text, size, occupancy, Qt::AlignRight | Qt::AlignVCenter))
            ++placed;
    }
    return placed;
}

struct LegendEntry {
    enum class Sample { Line, Circle, CircleJoined, Dots } sample;
    QColor colour;
    QString text;
};

std::vector<LegendEntry> legendEntries(const Study& study, const StudyAids& aids, bool errorView)
{
    std::vector<LegendEntry> entries;
    using Sample = LegendEntry::Sample;
    if (errorView) {
        entries.push_back({Sample::Line, kRedColour, qstr(study.functionName) + " (zero line)"});
        entries.push_back({Sample::Dots, kBlueColour,
                           QString::fromUtf8("p(x) \u2212 f(x): ") + qstr(methodLabel(study))});
    } else {
        if (study.hasTestFunction())
            entries.push_back({Sample::Line, kRedColour, qstr(study.functionName)});
        if (!study.given.empty()) {
            const QString count = QString::number(study.given.size());
            if (study.dataSetName.empty())
                entries.push_back({Sample::Circle, kRedColour, "given points (" + count + ")"});
            else
                entries.push_back({Sample::CircleJoined, kRedColour,
                                   qstr(study.dataSetName) + " (" + count + " points)"});
        }
        if (!study.interpolated.empty())
            entries.push_back({Sample::Dots, kBlueColour, qstr(methodLabel(study))});
    }
    for (const KeptResult& kept : aids.kept.results())
        entries.push_back({Sample::Line, qColour(kept.colour), qstr(kept.label)});
    return entries;
}

void paintSample(QPainter& painter, const LegendEntry& entry, const QRectF& box)
{
    const double y = box.center().y();
    painter.setBrush(Qt::NoBrush);
    switch (entry.sample) {
    case LegendEntry::Sample::Line:
        painter.setPen(thinPen(entry.colour, 1.5));
        painter.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        break;
    case LegendEntry::Sample::CircleJoined:
        painter.setPen(thinPen(entry.colour));
        painter.drawLine(QPointF(box.left(), y + 2), QPointF(box.right(), y - 2));
        [[fallthrough]];
    case LegendEntry::Sample::Circle:
        painter.setPen(thinPen(entry.colour, 1.5));
        painter.drawEllipse(QPointF(box.center().x(), y), 3.5, 3.5);
        break;
    case LegendEntry::Sample::Dots:
        painter.setPen(thinPen(entry.colour));
        for (int i = 0; i < 5; ++i)
            painter.drawEllipse(QPointF(box.left() + 2 + i * (box.width() - 4) / 4, y), 1, 1);
        break;
    }
}

struct LegendLayout {
    std::vector<LegendEntry> entries;
    QRectF box;
    double textWidth = 0;
};

// The legend goes to the corner with the least data before the scale is
// placed, so scale labels make way for it rather than hide under it.
LegendLayout layoutLegend(const Study& study, const StudyAids& aids, bool errorView,
                          const QSizeF& size, const QFontMetricsF& metrics,
                          const Occupancy& occupancy)
{
    LegendLayout layout;
    layout.entries = legendEntries(study, aids, errorView);
    if (layout.entries.empty())
        return layout;
    for (const LegendEntry& entry : layout.entries)
        layout.textWidth = std::max(layout.textWidth, metrics.horizontalAdvance(entry.text));
    const double width = kLegendPadding * 3 + kSampleWidth + layout.textWidth + 2;
    const double height =
        kLegendPadding * 2 + metrics.height() * static_cast<double>(layout.entries.size());
    const Corner corner = leastCoveredCorner(occupancy, width, height, kLegendInset);
    const DeviceRect place =
        cornerRect(corner, size.width(), size.height(), width, height, kLegendInset);
    layout.box = QRectF(place.left, place.top, width, height);
    return layout;
}

void paintLegend(QPainter& painter, const LegendLayout& layout, const QFontMetricsF& metrics)
{
    const QRectF& box = layout.box;
    painter.setPen(thinPen(QColor(160, 160, 160)));
    painter.setBrush(QColor(255, 255, 255, 215));  // covered data shows faintly
    painter.drawRect(box);
    const double row = metrics.height();
    double top = box.top() + kLegendPadding;
    for (const LegendEntry& entry : layout.entries) {
        const QRectF sample(box.left() + kLegendPadding, top, kSampleWidth, row);
        paintSample(painter, entry, sample);
        painter.setPen(thinPen(kForeground));
        painter.drawText(QRectF(sample.right() + kLegendPadding, top, layout.textWidth + 2, row),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        top += row;
    }
}

}  // namespace

bool showsError(const Drawing& drawing, const StudyAids& aids)
{
    return aids.showError && errorAvailable(drawing.study());
}

WorldRect shownWorld(const Drawing& drawing, const StudyAids& aids)
{
    if (!showsError(drawing, aids))
        return drawing.world();
    return errorWorld(drawing.study(), aids.kept.results());
}

OverlayPlaces paintPicture(const Drawing& drawing, const StudyAids& aids, QPainter& painter,
                           const QSizeF& size, const QFont& font, std::string_view separator)
{
    OverlayPlaces places;
    const bool errorView = showsError(drawing, aids);
    const WorldRect world = shownWorld(drawing, aids);
    const Viewport view(world, size.width(), size.height());
    if (!view.valid() || drawing.ops().empty())
        return places;  // a blank picture stays blank
    Occupancy occupancy(size.width(), size.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font);
    // Kept results lie under the current one.
    paintKept(painter, aids, view, errorView, size, occupancy);
    if (errorView) {
        paintErrorView(painter, drawing.study(), view, size, occupancy);
    } else {
        paintDrawing(drawing, painter, size);
        markDrawing(occupancy, drawing, view);
    }
    const QFontMetricsF metrics(font);
    LegendLayout legend;
    if (aids.showLegend)
        legend = layoutLegend(drawing.study(), aids, errorView, size, metrics, occupancy);
    if (!legend.entries.empty())
        occupancy.markRect(toDeviceRect(legend.box));
    if (aids.showScale)
        places.scaleLabels = paintScale(painter, world, view, size, metrics, separator, occupancy);
    if (!legend.entries.empty()) {
        paintLegend(painter, legend, metrics);
        places.legend = legend.box;
    }
    painter.restore();
    return places;
}

}  // namespace tarvel::ui
