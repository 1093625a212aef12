#include "ui/qt/lab_plot.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "plot/ticks.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

constexpr int kNodeRadius = 4;
constexpr int kGrabPixels = 8;
constexpr int kSwatch = 24;
const QColor kMarkerColour(160, 0, 160);
// Device coordinates are kept this far around the plot area, so a curve
// that runs off to huge values still reaches the edge and no farther.
constexpr double kDeviceReach = 1e5;

QColor colourOf(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

struct Mapping {
    WorldRect world;
    QRectF area;
    QPointF operator()(double x, double y) const
    {
        const double dx = area.left() + (x - world.left) / (world.right - world.left) * area.width();
        const double dy = area.top() + (world.top - y) / (world.top - world.bottom) * area.height();
        return {std::clamp(dx, -kDeviceReach, kDeviceReach),
                std::clamp(dy, -kDeviceReach, kDeviceReach)};
    }
};

bool validWorld(const WorldRect& w)
{
    return std::isfinite(w.left) && std::isfinite(w.right) && std::isfinite(w.top) &&
           std::isfinite(w.bottom) && w.right > w.left && w.top > w.bottom;
}

QString axisLabel(double value, double step, bool logarithmic)
{
    if (logarithmic)
        return qstr(compactNumber(std::pow(10.0, value), ".", 3));
    return qstr(tickLabel(value, step, "."));
}

void paintTicks(QPainter& painter, const LabPicture& picture, const Mapping& map,
                const QFontMetrics& metrics)
{
    const QRectF& area = map.area;
    const WorldRect& w = map.world;
    painter.setPen(QPen(Qt::black, 1));
    const int xTicks = std::max(2, static_cast<int>(area.width() / 60));
    const double xStep = tickStep(w.left, w.right, xTicks);
    for (const double x : ticksIn(w.left, w.right, xTicks)) {
        const double dx = map(x, w.bottom).x();
        painter.drawLine(QPointF(dx, area.bottom()), QPointF(dx, area.bottom() + 4));
        const QString label = axisLabel(x, xStep, picture.logX);
        const double width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(dx - width / 2, area.bottom() + 6 + metrics.ascent()), label);
    }
    const int yTicks = std::max(2, static_cast<int>(area.height() / 40));
    const double yStep = tickStep(w.bottom, w.top, yTicks);
    for (const double y : ticksIn(w.bottom, w.top, yTicks)) {
        const double dy = map(w.left, y).y();
        painter.drawLine(QPointF(area.left() - 4, dy), QPointF(area.left(), dy));
        const QString label = axisLabel(y, yStep, picture.logY);
        const double width = metrics.horizontalAdvance(label);
        painter.drawText(QPointF(area.left() - 6 - width, dy + metrics.ascent() / 2.0 - 1), label);
    }
    const QString xCaption = qstr(picture.xCaption);
    painter.drawText(QPointF(area.center().x() - metrics.horizontalAdvance(xCaption) / 2.0,
                             area.bottom() + 8 + metrics.height() + metrics.ascent()),
                     xCaption);
    painter.drawText(QPointF(area.left(), area.top() - metrics.descent() - 4),
                     qstr(picture.yCaption));
}

void paintSeries(QPainter& painter, const LabSeries& series, const Mapping& map)
{
    QPen pen(colourOf(series.colour), series.markers ? 1.5 : 1.6);
    if (series.dashed)
        pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() > 1)
            painter.drawPolyline(run);
        run.clear();
    };
    for (std::size_t k = 0; k < series.x.size() && k < series.y.size(); ++k) {
        if (!std::isfinite(series.x[k]) || !std::isfinite(series.y[k])) {
            flush();
            continue;
        }
        const QPointF at = map(series.x[k], series.y[k]);
        run << at;
        if (series.markers) {
            painter.setBrush(colourOf(series.colour));
            painter.drawEllipse(at, 2.5, 2.5);
            painter.setBrush(Qt::NoBrush);
        }
    }
    flush();
}

void paintNodes(QPainter& painter, const LabPicture& picture, const Mapping& map,
                std::optional<std::size_t> selected)
{
    const bool edited = picture.nodesLabel.rfind("edited", 0) == 0;
    const QColor colour = colourOf(edited ? kEditedNodesColour : kFunctionColour);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::white);
    for (const Node& node : picture.nodes)
        if (std::isfinite(node.x) && std::isfinite(node.y))
            painter.drawEllipse(map(node.x, node.y), kNodeRadius, kNodeRadius);
    painter.setBrush(Qt::NoBrush);
    if (selected && *selected < picture.nodes.size()) {
        const Node& node = picture.nodes[*selected];
        painter.setPen(QPen(kMarkerColour, 2));
        painter.drawEllipse(map(node.x, node.y), kNodeRadius + 4, kNodeRadius + 4);
    }
}

void paintLegend(QPainter& painter, const LabPicture& picture, const QRect& legend,
                 const QFontMetrics& metrics)
{
    if (legend.isEmpty())
        return;
    const QStringList texts = legendTexts(picture);
    int y = legend.top() + 4;
    std::size_t k = 0;
    for (const QString& text : texts) {
        const double mid = y + metrics.height() / 2.0;
        if (k < picture.series.size()) {
            const LabSeries& series = picture.series[k];
            QPen pen(colourOf(series.colour), 2);
            if (series.dashed)
                pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.drawLine(QPointF(legend.left() + 4, mid),
                             QPointF(legend.left() + 4 + kSwatch - 6, mid));
        } else {
            const bool edited = picture.nodesLabel.rfind("edited", 0) == 0;
            painter.setPen(QPen(colourOf(edited ? kEditedNodesColour : kFunctionColour), 1.5));
            painter.drawEllipse(QPointF(legend.left() + 4 + (kSwatch - 6) / 2.0, mid), kNodeRadius,
                                kNodeRadius);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(legend.left() + 4 + kSwatch, y + metrics.ascent()), text);
        y += metrics.height() + 2;
        ++k;
    }
}

}  // namespace

QStringList legendTexts(const LabPicture& picture)
{
    QStringList texts;
    for (const LabSeries& series : picture.series)
        texts << qstr(series.label);
    if (!picture.nodes.empty())
        texts << qstr(picture.nodesLabel);
    return texts;
}

LabPlotLayout layOutLabPlot(const LabPicture& picture, const QSize& size, const QFont& font)
{
    const QFontMetrics metrics(font);
    int legendWidth = 0;
    const QStringList texts = legendTexts(picture);
    for (const QString& text : texts)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(text));
    if (!texts.isEmpty())
        legendWidth = std::min(legendWidth + kSwatch + 16, size.width() / 3);
    const int left = metrics.horizontalAdvance(QStringLiteral("-0.0000")) + 14;
    const int top = metrics.height() + 10;
    const int bottom = 2 * metrics.height() + 14;
    const int right = 12 + legendWidth;
    LabPlotLayout layout;
    layout.plotArea = QRect(left, top, std::max(10, size.width() - left - right),
                            std::max(10, size.height() - top - bottom));
    if (!texts.isEmpty())
        layout.legendArea =
            QRect(layout.plotArea.right() + 8, top, legendWidth,
                  std::min(static_cast<int>(texts.size()) * (metrics.height() + 2) + 8,
                           size.height() - top));
    return layout;
}

void paintLabPicture(const LabPicture& picture, const WorldRect& world, QPainter& painter,
                     const QSize& size, const QFont& font, std::optional<std::size_t> selected)
{
    painter.save();
    painter.setFont(font);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QFontMetrics metrics(font);
    const LabPlotLayout layout = layOutLabPlot(picture, size, font);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(layout.plotArea);
    if (validWorld(world)) {
        const Mapping map{world, QRectF(layout.plotArea)};
        paintTicks(painter, picture, map, metrics);
        painter.save();
        painter.setClipRect(layout.plotArea);
        painter.setRenderHint(QPainter::Antialiasing);
        if (picture.markX) {
            painter.setPen(QPen(kMarkerColour, 1, Qt::DotLine));
            const double dx = map(*picture.markX, world.bottom).x();
            painter.drawLine(QPointF(dx, layout.plotArea.top()), QPointF(dx, layout.plotArea.bottom()));
        }
        for (const LabSeries& series : picture.series)
            paintSeries(painter, series, map);
        paintNodes(painter, picture, map, selected);
        painter.restore();
    }
    if (!picture.emptyReason.empty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(layout.plotArea.adjusted(12, 12, -12, -12),
                         Qt::AlignCenter | Qt::TextWordWrap, qstr(picture.emptyReason));
    }
    paintLegend(painter, picture, layout.legendArea, metrics);
    painter.restore();
}

LabPlot::LabPlot(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

void LabPlot::setPicture(LabPicture picture, bool keepZoom)
{
    picture_ = std::move(picture);
    if (!keepZoom)
        zoomed_.reset();
    if (selected_ && *selected_ >= picture_.nodes.size())
        selected_.reset();
    marker_.reset();
    update();
}

WorldRect LabPlot::shownWorld() const
{
    return zoomed_ ? *zoomed_ : picture_.world;
}

QRect LabPlot::plotArea() const
{
    return layOutLabPlot(picture_, size(), font()).plotArea;
}

QRect LabPlot::legendArea() const
{
    return layOutLabPlot(picture_, size(), font()).legendArea;
}

QRectF LabPlot::visibleWorld() const
{
    const WorldRect w = shownWorld();
    return QRectF(QPointF(w.left, w.bottom), QPointF(w.right, w.top));
}

QPointF LabPlot::toDevice(double x, double y) const
{
    return Mapping{shownWorld(), QRectF(plotArea())}(x, y);
}

QPointF LabPlot::toWorld(const QPointF& device) const
{
    const WorldRect w = shownWorld();
    const QRectF area(plotArea());
    return {w.left + (device.x() - area.left()) / area.width() * (w.right - w.left),
            w.top - (device.y() - area.top()) / area.height() * (w.top - w.bottom)};
}

QVariantList LabPlot::nodePositions() const
{
    QVariantList positions;
    for (const Node& node : picture_.nodes)
        positions << QVariant(toDevice(node.x, node.y));
    return positions;
}

QImage LabPlot::image(double scale) const
{
    QImage picture(size() * scale, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.scale(scale, scale);
    paintLabPicture(picture_, shownWorld(), painter, size(), font(), std::nullopt);
    return picture;
}

void LabPlot::showWhole()
{
    zoomed_.reset();
    update();
}

void LabPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintLabPicture(picture_, shownWorld(), painter, size(), font(), selected_);
    if (marker_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kMarkerColour, 2));
        painter.drawEllipse(*marker_, 6, 6);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

std::optional<std::size_t> LabPlot::nodeAt(const QPointF& device) const
{
    std::optional<std::size_t> nearest;
    double best = kGrabPixels;
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
        const QPointF at = toDevice(picture_.nodes[i].x, picture_.nodes[i].y);
        const double distance = std::hypot(at.x() - device.x(), at.y() - device.y());
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void LabPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const std::optional<std::size_t> node = nodeAt(event->position())) {
        dragging_ = node;
        selected_ = node;
        zoomBeforeDrag_ = zoomed_;
        zoomed_ = shownWorld();
        emit dragStarted(*node);
    } else {
        panFrom_ = event->position();
    }
}

void LabPlot::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (dragging_) {
        const QPointF world = toWorld(at);
        emit dragMoved(*dragging_, world.x(), world.y(),
                       event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    if (panFrom_) {
        const QPointF from = toWorld(*panFrom_);
        const QPointF to = toWorld(at);
        WorldRect w = shownWorld();
        const double dx = from.x() - to.x();
        const double dy = from.y() - to.y();
        zoomed_ = WorldRect{w.left + dx, w.top + dy, w.right + dx, w.bottom + dy};
        panFrom_ = at;
        update();
        return;
    }
    hover(at);
}

void LabPlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    panFrom_.reset();
    if (dragging_) {
        dragging_.reset();
        zoomed_ = zoomBeforeDrag_;
        emit dragFinished();
        update();
    }
}

void LabPlot::mouseDoubleClickEvent(QMouseEvent*)
{
    showWhole();
}

void LabPlot::zoomAbout(const QPointF& device, double factor)
{
    const QPointF centre = toWorld(device);
    const WorldRect w = shownWorld();
    const WorldRect next{centre.x() + (w.left - centre.x()) * factor,
                         centre.y() + (w.top - centre.y()) * factor,
                         centre.x() + (w.right - centre.x()) * factor,
                         centre.y() + (w.bottom - centre.y()) * factor};
    // Neither so near that the doubles run out nor so far that nothing is left.
    const double width = next.right - next.left;
    if (validWorld(next) && width > 1e-12 && width < 1e12)
        zoomed_ = next;
    update();
}

void LabPlot::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        zoomAbout(event->position(), std::pow(0.8, steps));
    event->accept();
}

void LabPlot::hover(const QPointF& device)
{
    const QRectF area(plotArea());
    if (!area.contains(device)) {
        marker_.reset();
        update();
        emit readoutLeft();
        return;
    }
    // The nearest drawn point within a few pixels, else the world point.
    double best = kGrabPixels;
    QString text;
    std::optional<QPointF> marker;
    const auto consider = [&](double x, double y, const std::string& label) {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        const QPointF at = toDevice(x, y);
        const double distance = std::hypot(at.x() - device.x(), at.y() - device.y());
        if (distance > best)
            return;
        best = distance;
        marker = at;
        const double shownX = picture_.logX ? std::pow(10.0, x) : x;
        const double shownY = picture_.logY ? std::pow(10.0, y) : y;
        text = qstr(label) + QStringLiteral(": ") + (picture_.logX ? "n" : "x") + " = " +
               qstr(compactNumber(shownX, ".", 6)) + ", " + (picture_.logY ? "error" : "y") +
               " = " + qstr(compactNumber(shownY, ".", 6));
    };
    for (const LabSeries& series : picture_.series)
        for (std::size_t k = 0; k < series.x.size() && k < series.y.size(); ++k)
            consider(series.x[k], series.y[k], series.label);
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i)
        consider(picture_.nodes[i].x, picture_.nodes[i].y, "node " + std::to_string(i));
    if (!marker) {
        const QPointF world = toWorld(device);
        text = QStringLiteral("x = ") + qstr(compactNumber(world.x(), ".", 4)) +
               QStringLiteral(", y = ") + qstr(compactNumber(world.y(), ".", 4));
    }
    marker_ = marker;
    update();
    emit readout(text);
}

void LabPlot::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    marker_.reset();
    update();
    emit readoutLeft();
}

void LabPlot::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const std::size_t count = picture_.nodes.size();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (count == 0)
            break;
        if (!selected_)
            selected_ = event->key() == Qt::Key_Left ? count - 1 : 0;
        else if (event->key() == Qt::Key_Left && *selected_ > 0)
            --*selected_;
        else if (event->key() == Qt::Key_Right && *selected_ + 1 < count)
            ++*selected_;
        update();
        emit readout(QStringLiteral("node %1: x = %2, y = %3")
                         .arg(*selected_)
                         .arg(qstr(compactNumber(picture_.nodes[*selected_].x, ".", 6)))
                         .arg(qstr(compactNumber(picture_.nodes[*selected_].y, ".", 6))));
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!selected_)
            break;
        const WorldRect w = shownWorld();
        const double step = (w.top - w.bottom) / 100 * (shift ? 10 : 1);
        emit nodeNudged(*selected_, event->key() == Qt::Key_Up ? step : -step);
        return;
    }
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAbout(QRectF(plotArea()).center(), 0.8);
        return;
    case Qt::Key_Minus:
        zoomAbout(QRectF(plotArea()).center(), 1.25);
        return;
    case Qt::Key_Home:
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            showWhole();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tarvel::ui
