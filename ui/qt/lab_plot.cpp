#include "ui/qt/lab_plot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

#include "data/number_text.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

constexpr double kGrabPixels = 8;
constexpr double kNodeRadius = 4;
const QColor kSelectedColour(160, 0, 160);

PlotSeries seriesOf(const LabSeries& series)
{
    PlotSeries plot;
    plot.style = series.markers ? SeriesStyle::CirclesJoined : SeriesStyle::Line;
    plot.colour = qColour(series.colour);
    plot.name = qstr(series.label);
    plot.widthPixels = series.dashed ? 1 : 1.6;
    plot.radiusPixels = 2.5;
    plot.dash = series.dash == LineDash::Dashed       ? Qt::DashLine
                : series.dash == LineDash::DashDotted ? Qt::DashDotLine
                                                      : Qt::SolidLine;
    plot.endLabel = qstr(series.endLabel);
    switch (series.apart) {
    case PointMarks::None:
        break;
    case PointMarks::Rings:
        plot.style = SeriesStyle::Circles;
        plot.radiusPixels = 4;
        break;
    case PointMarks::Dots:
        plot.style = SeriesStyle::Dots;
        plot.radiusPixels = 3;
        break;
    case PointMarks::WideRings:
        plot.style = SeriesStyle::Circles;
        plot.radiusPixels = 7;
        break;
    }
    for (std::size_t k = 0; k < series.x.size() && k < series.y.size(); ++k)
        plot.points.push_back({series.x[k], series.y[k]});
    return plot;
}

}  // namespace

PlotScene labScene(const LabPicture& picture)
{
    PlotScene scene;
    scene.world = picture.world;
    scene.xScale = picture.logX ? AxisScale::Log10 : AxisScale::Linear;
    scene.yScale = picture.logY ? AxisScale::Log10 : AxisScale::Linear;
    if (picture.markX) {
        PlotSeries mark;
        mark.colour = kSelectedColour;
        mark.name = QStringLiteral("current n = %1").arg(std::lround(std::pow(10.0, *picture.markX)));
        mark.points = {{*picture.markX, picture.world.bottom}, {*picture.markX, picture.world.top}};
        scene.series.push_back(std::move(mark));
    }
    for (const LabSeries& series : picture.series)
        scene.series.push_back(seriesOf(series));
    if (!picture.nodes.empty()) {
        PlotSeries nodes;
        nodes.style = SeriesStyle::Circles;
        const bool edited = picture.nodesLabel.rfind("edited", 0) == 0;
        nodes.colour = qColour(edited ? kEditedNodesColour : kFunctionColour);
        nodes.name = qstr(picture.nodesLabel);
        nodes.radiusPixels = kNodeRadius;
        for (const Node& node : picture.nodes)
            nodes.points.push_back({node.x, node.y});
        scene.series.push_back(std::move(nodes));
    }
    if (picture.logY && !picture.logX)
        scene.legendNote = QStringLiteral("an error of 0 lies at 1e-17");
    if (!picture.note.empty())
        scene.legendNote = qstr(picture.note);
    if (!picture.emptyReason.empty())
        scene.legendNote = qstr(picture.emptyReason);
    scene.title = qstr(picture.title);
    scene.xCaption = qstr(picture.xCaption);
    scene.yCaption = qstr(picture.yCaption);
    return scene;
}

LabPlot::LabPlot(QWidget* parent) : PlotView(parent)
{
    setMinimumSize(260, 200);
}

void LabPlot::holdLegendThroughRun()
{
    // A held world holds the legend already, until it is released.
    if (heldWorld_ || legendHeldForRun_)
        return;
    holdLegend();
    legendHeldForRun_ = true;
}

void LabPlot::runStopped()
{
    if (std::exchange(legendHeldForRun_, false))
        releaseLegend();
}

void LabPlot::setPicture(LabPicture picture)
{
    picture_ = std::move(picture);
    if (picture_.pickedNode)
        selected_ = picture_.pickedNode;
    if (selected_ && *selected_ >= picture_.nodes.size())
        selected_.reset();
    showPicture();
}

void LabPlot::showPicture()
{
    PlotScene scene = labScene(picture_);
    if (holdAxes_ && !heldWorld_)
        heldWorld_ = scene.world;
    if (heldWorld_)
        scene.world = *heldWorld_;
    setScene(std::move(scene));
}

void LabPlot::holdWorld()
{
    legendHeldForRun_ = false;
    heldWorld_ = shownWorld();
    // Looking for a free corner at every new picture would make the legend
    // jump about under the pointer and the plot area with it.
    holdLegend();
    showPicture();
}

void LabPlot::releaseWorld()
{
    if (!heldWorld_)
        return;
    heldWorld_.reset();
    releaseLegend();
}

void LabPlot::setHoldAxes(bool on)
{
    holdAxes_ = on;
    if (on)
        holdWorld();
}

void LabPlot::showWholePicture()
{
    const bool held = heldWorld_.has_value();
    releaseWorld();
    if (held)
        showPicture();
    PlotView::showWholePicture();
}

QSize LabPlot::figureSize() const
{
    const QSize own = PlotView::figureSize();
    if (!companion_ || !companion_->isVisible())
        return own;
    // Both panels at the width of the one they give each other.
    return {2 * own.width(), own.height()};
}

PlotView::FigurePainting LabPlot::figurePainting(const PlotOptions& options, const QFont& font,
                                                 double lineScale) const
{
    FigurePainting own = PlotView::figurePainting(options, font, lineScale);
    if (!companion_ || !companion_->isVisible())
        return own;
    return [own = std::move(own),
            second = companion_->PlotView::figurePainting(options, font, lineScale)](
               QPainter& painter, const QSizeF& size) {
        const QSizeF half(size.width() / 2, size.height());
        own(painter, half);
        painter.save();
        painter.translate(half.width(), 0);
        second(painter, half);
        painter.restore();
    };
}

std::vector<PgfFigure> LabPlot::pgfFigures(const PlotOptions& options) const
{
    std::vector<PgfFigure> figures = PlotView::pgfFigures(options);
    if (companion_ && companion_->isVisible()) {
        const std::vector<PgfFigure> second = companion_->PlotView::pgfFigures(options);
        figures.insert(figures.end(), second.begin(), second.end());
    }
    return figures;
}

QVariantList LabPlot::nodePositions() const
{
    QVariantList positions;
    for (const Node& node : picture_.nodes)
        positions << QVariant(pixelOf(node.x, node.y));
    return positions;
}

std::optional<std::size_t> LabPlot::nodeAt(const QPointF& at) const
{
    std::optional<std::size_t> nearest;
    double best = kGrabPixels;
    for (std::size_t i = 0; i < picture_.nodes.size(); ++i) {
        const QPointF pixel = pixelOf(picture_.nodes[i].x, picture_.nodes[i].y);
        const double distance = std::hypot(pixel.x() - at.x(), pixel.y() - at.y());
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

bool LabPlot::pressTaken(const QPointF& at)
{
    const std::optional<std::size_t> node = nodeAt(at);
    if (!node)
        return false;
    if (picksNodes_) {
        emit nodePicked(*node);
        return true;
    }
    dragging_ = node;
    selected_ = node;
    holdWorld();
    emit dragStarted(*node);
    return true;
}

void LabPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressedAt_ = event->position();
    PlotView::mousePressEvent(event);
}

void LabPlot::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return PlotView::mouseMoveEvent(event);
    // The node stays inside the plot area, where it can be seen and grabbed.
    const QRectF area = QRectF(plotArea()).adjusted(1, 1, -1, -1);
    const QPointF at(std::clamp(event->position().x(), area.left(), area.right()),
                     std::clamp(event->position().y(), area.top(), area.bottom()));
    if (const std::optional<WorldPoint> world = worldAt(at))
        emit dragMoved(*dragging_, world->x, world->y,
                       event->modifiers().testFlag(Qt::ShiftModifier));
}

void LabPlot::mouseReleaseEvent(QMouseEvent* event)
{
    // A hand that moves less than this still clicks.
    constexpr double kClickPixels = 3;
    const std::optional<std::size_t> node = dragging_;
    const std::optional<QPointF> pressed = std::exchange(pressedAt_, std::nullopt);
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_.reset();
        settleLegend();
        emit dragFinished();
    } else {
        PlotView::mouseReleaseEvent(event);
    }
    if (event->button() != Qt::LeftButton || !pressed ||
        std::hypot(event->position().x() - pressed->x(), event->position().y() - pressed->y()) >
            kClickPixels)
        return;
    if (const std::optional<WorldPoint> world = worldAt(*pressed))
        emit clicked(world->x, node);
}

// On log axes the readout gives the numbers the axes stand for.
PlotReadout LabPlot::readoutAt(const QPointF& at) const
{
    PlotReadout readout = PlotView::readoutAt(at);
    if (!picture_.logX && !picture_.logY)
        return readout;
    if (readout.ring) {
        double best = 1e300;
        for (const LabSeries& series : picture_.series)
            for (std::size_t k = 0; k < series.x.size() && k < series.y.size(); ++k) {
                const QPointF pixel = pixelOf(series.x[k], series.y[k]);
                const double d = std::hypot(pixel.x() - readout.ring->x(),
                                            pixel.y() - readout.ring->y());
                if (!std::isfinite(series.y[k]) || d >= best)
                    continue;
                best = d;
                const double x = picture_.logX ? std::pow(10.0, series.x[k]) : series.x[k];
                readout.text = qstr(series.label) + (picture_.logX ? ": n = " : ": x = ") +
                               qstr(compactNumber(x, ".", 6)) + ", error " +
                               qstr(compactNumber(std::pow(10.0, series.y[k]), ".", 4));
            }
    }
    return readout;
}

void LabPlot::sayNode(std::size_t node)
{
    const Node& at = picture_.nodes[node];
    emit readout(QStringLiteral("node %1: x = %2, y = %3")
                     .arg(node)
                     .arg(qstr(compactNumber(at.x, ".", 6)), qstr(compactNumber(at.y, ".", 6))));
}

void LabPlot::keyPressEvent(QKeyEvent* event)
{
    const std::size_t count = picture_.nodes.size();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const int key = event->key();
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && count > 0 && picksNodes_) {
        const std::size_t at = selected_.value_or(0);
        emit nodePicked(key == Qt::Key_Left ? (at > 0 ? at - 1 : 0) : std::min(at + 1, count - 1));
        return;
    }
    if (picksNodes_ && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Delete))
        return;
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && count > 0) {
        if (!selected_)
            selected_ = key == Qt::Key_Left ? count - 1 : 0;
        else if (key == Qt::Key_Left && *selected_ > 0)
            --*selected_;
        else if (key == Qt::Key_Right && *selected_ + 1 < count)
            ++*selected_;
        update();
        sayNode(*selected_);
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && selected_) {
        const WorldRect& w = shownWorld();
        const double step = (w.top - w.bottom) / 100 * (shift ? 10 : 1);
        emit nodeNudged(*selected_, key == Qt::Key_Up ? step : -step);
        sayNode(*selected_);
        return;
    }
    if (key == Qt::Key_Delete && selected_ && *selected_ < count) {
        emit nodeDeleted(*selected_);
        return;
    }
    // Return clicks the picked node, as the mouse would.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selected_ && *selected_ < count) {
        emit clicked(picture_.nodes[*selected_].x, selected_);
        return;
    }
    PlotView::keyPressEvent(event);
}

void LabPlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    const std::optional<WorldPoint> world = worldAt(event->position());
    if (event->button() == Qt::LeftButton && addsNodes_ && world && !nodeAt(event->position())) {
        emit nodeWanted(world->x, world->y);
        return;
    }
    PlotView::mouseDoubleClickEvent(event);
}

void LabPlot::paintEvent(QPaintEvent* event)
{
    PlotView::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (selected_ && *selected_ < picture_.nodes.size()) {
        painter.setPen(QPen(kSelectedColour, 2));
        const Node& node = picture_.nodes[*selected_];
        painter.drawEllipse(pixelOf(node.x, node.y), kNodeRadius + 4, kNodeRadius + 4);
    }
    // The keys' target is always seen, whatever the style draws.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

}  // namespace tarvel::ui
