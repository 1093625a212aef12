#include "ui/qt/plot_view.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

#include "data/number_text.h"
#include "plot/study_aids.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/file_save.h"
#include "ui/qt/pgf_scene.h"

namespace tarvel::ui {
namespace {

constexpr double kWheelStep = 1.25;  // one notch of the wheel
constexpr double kKeyStep = 1.5;     // one press of + or -
constexpr double kSnapPixels = 6;
constexpr double kRingRadius = 7;
constexpr double kPngScale = 2;
constexpr double kCentimetresPerInch = 2.54;
const QColor kRingColour(160, 0, 160);

}  // namespace

PlotView::PlotView(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PlotView::setScene(PlotScene scene)
{
    scene_ = std::move(scene);
    sceneChanged();
}

void PlotView::setOptions(const PlotOptions& options)
{
    options_ = options;
    geometry_.reset();
    update();
}

void PlotView::sceneChanged()
{
    const WorldRect world = currentScene().world;
    if (world != sceneWorld_) {
        sceneWorld_ = world;
        visible_ = world;
        emit visibleWorldChanged(visibleWorld());
    }
    geometry_.reset();
    clearHover();
    update();
}

void PlotView::layoutChanged()
{
    geometry_.reset();
    update();
}

bool PlotView::zoomed() const
{
    return visible_ != sceneWorld_;
}

bool PlotView::askForWorld(const WorldRect& world)
{
    const PlotScene scene = currentScene();
    const LimitedWorld limited = limitedWorld(world, visible_, scene.xScale, scene.yScale);
    if (limited.limit == WorldLimit::Closest)
        emit limitReached(tr("This is as close as the numbers allow: a closer view would show "
                             "the same numbers."));
    else if (limited.limit == WorldLimit::Farthest)
        emit limitReached(tr("This is as far as the numbers reach."));
    if (limited.world != visible_)
        setShownWorld(limited.world);
    return limited.limit == WorldLimit::None;
}

void PlotView::setShownWorld(const WorldRect& world)
{
    if (!Viewport(world, 1, 1).valid())
        return;
    visible_ = world;
    geometry_.reset();
    clearHover();
    update();
    emit visibleWorldChanged(visibleWorld());
}

const PlotGeometry& PlotView::geometryNow() const
{
    const QSize size = contentsRect().size();
    if (!geometry_ || geometrySize_ != size) {
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&scratch);
        geometry_ = paintPlot(currentScene(), visible_, options_, painter, size, font(), separator_,
                              heldLegend_);
        geometrySize_ = size;
    }
    return *geometry_;
}

void PlotView::holdLegend()
{
    heldLegend_ = geometryNow().legendPlace;
}

void PlotView::releaseLegend()
{
    heldLegend_.reset();
    layoutChanged();
}

void PlotView::settleLegend()
{
    const std::optional<LegendPlace> held = heldLegend_;
    const QRectF area = geometryNow().plotArea;
    releaseLegend();
    if (held && geometryNow().plotArea != area) {
        heldLegend_ = held;
        layoutChanged();
    }
}

QRect PlotView::plotArea() const
{
    return geometryNow().plotArea.translated(contentsRect().topLeft()).toAlignedRect();
}

QRect PlotView::legendArea() const
{
    const QRectF legend = geometryNow().legendArea;
    if (legend.isEmpty())
        return {};
    return legend.translated(contentsRect().topLeft()).toAlignedRect();
}

QStringList PlotView::legendEntries() const
{
    // The texts do not depend on where the legend goes: no layout needed.
    return options_.showLegend ? legendTexts(currentScene()) : QStringList();
}

bool PlotView::legendShortened() const
{
    return geometryNow().legendShortened;
}

bool PlotView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && legendShortened()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (legendArea().contains(help->pos())) {
            QToolTip::showText(help->globalPos(), legendEntries().join('\n'), this);
            return true;
        }
    }
    return QFrame::event(event);
}

QString PlotView::titleText() const
{
    if (geometryNow().titleArea.isEmpty())
        return {};
    return shownTexts(currentScene(), options_).title;
}

QStringList PlotView::axisCaptions() const
{
    const FrameTexts texts = shownTexts(currentScene(), options_);
    const PlotGeometry& geometry = geometryNow();
    return {geometry.xCaptionArea.isEmpty() ? QString() : texts.xCaption,
            geometry.yCaptionArea.isEmpty() ? QString() : texts.yCaption};
}

QRectF PlotView::visibleWorld() const
{
    return QRectF(QPointF(visible_.left, visible_.top), QPointF(visible_.right, visible_.bottom));
}

std::optional<WorldPoint> PlotView::worldAt(const QPointF& at) const
{
    const QRectF area = geometryNow().plotArea.translated(contentsRect().topLeft());
    return toWorld(visible_, area.width(), area.height(), at.x() - area.left(),
                   at.y() - area.top());
}

QPointF PlotView::pixelOf(double x, double y) const
{
    const QRectF area = geometryNow().plotArea.translated(contentsRect().topLeft());
    const Viewport view(visible_, area.width(), area.height());
    return {area.left() + view.toDeviceX(x), area.top() + view.toDeviceY(y)};
}

void PlotView::zoomBy(double factor, const QPointF& about)
{
    const auto at = worldAt(about);
    if (!at)
        return;
    const bool withinLimits = askForWorld(zoomedWorld(visible_, factor, at->x, at->y));
    // The first zoom may move the legend into its strip and the plot area
    // with it: the point stays under the pointer all the same.
    const QPointF moved = pixelOf(at->x, at->y);
    if (moved != about && std::isfinite(moved.x()) && std::isfinite(moved.y())) {
        const QRectF area = geometryNow().plotArea;
        const QPointF shift = about - moved;
        askForWorld(pannedWorld(visible_, shift.x(), shift.y(), area.width(), area.height()));
    }
    if (withinLimits)
        emit viewCommanded(false);
}

void PlotView::zoomAboutCentre(double factor)
{
    zoomBy(factor, QRectF(plotArea()).center());
}

void PlotView::panBy(const QPointF& pixels)
{
    const QRectF area = geometryNow().plotArea;
    if (askForWorld(pannedWorld(visible_, pixels.x(), pixels.y(), area.width(), area.height())))
        emit viewCommanded(false);
}

void PlotView::showWholePicture()
{
    setShownWorld(sceneWorld_);
    emit viewCommanded(true);
}

std::vector<PgfFigure> PlotView::pgfFigures(const PlotOptions& options) const
{
    return {pgfFigureOf(exportScene(), visible_, options)};
}

void PlotView::paintPlotInto(QPainter& painter, const QSizeF& size) const
{
    paintFigure(painter, size, options_, font(), 1);
}

QSize PlotView::pictureSize(double scale) const
{
    return (QSizeF(figureSize()) * scale * devicePixelRatio()).toSize();
}

QImage PlotView::pictureImage(double scale) const
{
    return picturePainting(scale)();
}

std::function<QImage()> PlotView::picturePainting(double scale) const
{
    return [paint = figurePainting(options_, font(), 1), size = QSizeF(figureSize()),
            pixels = pictureSize(scale), ratio = devicePixelRatio(), scale] {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return image;
        image.setDevicePixelRatio(ratio);
        image.fill(kBackground);
        QPainter painter(&image);
        painter.scale(scale, scale);
        paint(painter, size);
        return image;
    };
}

void PlotView::paintFigure(QPainter& painter, const QSizeF& size, const PlotOptions& options,
                           const QFont& font, double lineScale) const
{
    figurePainting(options, font, lineScale)(painter, size);
}

PlotView::FigurePainting PlotView::figurePainting(const PlotOptions& options, const QFont& font,
                                                  double lineScale) const
{
    PlotScene scene = currentScene();
    for (PlotSeries& series : scene.series)
        series.widthPixels *= lineScale;
    return [scene = std::move(scene), visible = visible_, options, font,
            separator = separator_](QPainter& painter, const QSizeF& size) {
        paintPlot(scene, visible, options, painter, size, font, separator);
    };
}

bool PlotView::printPicture(QPrinter& printer) const
{
    // One device pixel a pixel of the screen, so that the texts measure on
    // the page what they do shown.
    printer.setResolution(logicalDpiX());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    const QSizeF shown = figureSize();
    if (shown.isEmpty())
        return painter.end();
    const double fit = std::min(page.width() / shown.width(), page.height() / shown.height());
    paintPlotInto(painter, shown * fit);
    return painter.end();
}

bool PlotView::printWithDialog(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    // A wide figure (two panels, the main window's picture) fills more of a
    // page turned on its side; the dialog lets the user turn it back.
    const QSize figure = figureSize();
    printer.setPageOrientation(figure.width() > figure.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(tr("Print the picture"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printPicture(printer);
}

QString PlotView::savePicture(const QString& fileName) const
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const QSize size = figureSize();
    if (const QSize pixels = pictureSize(kPngScale);
        suffix == "png" && qint64{pixels.width()} * pixels.height() > kMaxPngPixels)
        return tr("a PNG of the picture at this size would have %1 × %2 pixels, more than %3 "
                  "million; make the window smaller, or save as SVG or PDF")
            .arg(pixels.width())
            .arg(pixels.height())
            .arg(kMaxPngPixels / 1'000'000);
    if (suffix == "png")
        return saveImageAsPng(window(), fileName, pictureSize(kPngScale),
                              picturePainting(kPngScale));
    if (suffix == "svg")
        return saveWhole(fileName, [this, size](QIODevice& device) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(windowTitle());
            svg.setResolution(logicalDpiX());  // texts as large as on the screen
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            painter.fillRect(QRect(QPoint(0, 0), size), kBackground);
            paintPlotInto(painter, size);
            return painter.end();
        });
    if (suffix == "tex") {
        std::vector<PgfFigure> figures = pgfFigures(options_);
        for (PgfFigure& figure : figures) {
            figure.widthCm = size.width() * kCentimetresPerInch / logicalDpiX() /
                             static_cast<double>(figures.size());
            figure.heightCm = size.height() * kCentimetresPerInch / logicalDpiY();
        }
        return saveWhole(fileName, QByteArray::fromStdString(pgfplotsDocument(figures)));
    }
    if (suffix == "pdf")
        return saveWhole(fileName, [this, size](QIODevice& device) {
            QPdfWriter pdf(&device);
            // A page of the shown size at the screen's resolution, so that
            // a pixel and a text measure on the page what they do shown.
            const int dpi = logicalDpiX();
            pdf.setResolution(dpi);
            pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / dpi, QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            paintPlotInto(painter, size);
            return painter.end();
        });
    return tr("the picture is saved as .png, .svg, .pdf or .tex; '%1' names none of them")
        .arg(shownFileName(fileName));
}

PlotReadout PlotView::readoutAt(const QPointF& at) const
{
    const QRectF area = geometryNow().plotArea.translated(contentsRect().topLeft());
    if (!area.contains(at))
        return {};
    const PlotScene scene = currentScene();
    // A decade axis reads its world coordinate as the power of ten.
    const auto number = [&](double world, AxisScale scale) {
        return QString::fromStdString(
            compactNumber(scale == AxisScale::Log10 ? std::pow(10.0, world) : world, separator_));
    };
    std::optional<QPointF> nearest;
    QString text;
    double best = kSnapPixels;
    for (const PlotSeries& series : scene.series) {
        if (series.name.isEmpty())
            continue;
        for (const WorldPoint& p : series.points) {
            const QPointF pixel = pixelOf(p.x, p.y);
            const double d = std::hypot(pixel.x() - at.x(), pixel.y() - at.y());
            if (d <= best) {
                best = d;
                nearest = pixel;
                text = series.name + ": x = " + number(p.x, scene.xScale) +
                       ", y = " + number(p.y, scene.yScale);
            }
        }
    }
    if (nearest)
        return {text, nearest};
    const auto world = worldAt(at);
    if (!world)
        return {};
    return {"x = " + number(world->x, scene.xScale) + ", y = " + number(world->y, scene.yScale),
            std::nullopt};
}

void PlotView::setHover(const PlotReadout& readout, const QPointF& pointer)
{
    hover_ = readout;
    pointer_ = pointer;
    update();
    if (readout.text.isEmpty())
        emit readoutLeft();
    else
        emit this->readout(readout.text);
}

void PlotView::clearHover()
{
    if (hover_.text.isEmpty() && !hover_.ring)
        return;
    hover_ = {};
    update();
}

void PlotView::paintHover(QPainter& painter) const
{
    if (hover_.ring) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kRingColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(*hover_.ring, kRingRadius, kRingRadius);
        painter.restore();
    }
    if (hover_.text.isEmpty())
        return;
    // Beside the pointer, turned back inside the widget near its edges.
    const QFontMetricsF metrics(font());
    const QSizeF box(metrics.horizontalAdvance(hover_.text) + 8, metrics.height() + 4);
    QPointF corner = pointer_ + QPointF(14, 14);
    if (corner.x() + box.width() > width())
        corner.setX(pointer_.x() - 10 - box.width());
    if (corner.y() + box.height() > height())
        corner.setY(pointer_.y() - 10 - box.height());
    corner.setX(std::max(0.0, corner.x()));
    corner.setY(std::max(0.0, corner.y()));
    const QRectF rect(corner, box);
    painter.save();
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(rect);
    painter.setPen(kForeground);
    painter.drawText(rect, Qt::AlignCenter, hover_.text);
    painter.restore();
}

void PlotView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.save();
    painter.translate(area.topLeft());
    geometry_ = paintPlot(currentScene(), visible_, options_, painter, area.size(), font(),
                          separator_, heldLegend_);
    geometrySize_ = area.size();
    painter.restore();
    paintHover(painter);
}

void PlotView::mouseMoveEvent(QMouseEvent* event)
{
    QFrame::mouseMoveEvent(event);
    if (dragFrom_) {
        panBy(event->position() - *dragFrom_);
        dragFrom_ = event->position();
        return;
    }
    setHover(readoutAt(event->position()), event->position());
}

void PlotView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !pressTaken(event->position())) {
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void PlotView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragFrom_ && event->button() == Qt::LeftButton) {
        dragFrom_.reset();
        unsetCursor();
    }
    QFrame::mouseReleaseEvent(event);
}

void PlotView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        showWholePicture();
        return;
    }
    QFrame::mouseDoubleClickEvent(event);
}

void PlotView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    // Scrolling past the plot in what holds it must not zoom it on the way.
    const bool zooms = hasFocus() || event->modifiers().testFlag(Qt::ControlModifier);
    if (notches == 0 || !zooms) {
        QFrame::wheelEvent(event);
        return;
    }
    zoomBy(std::pow(kWheelStep, notches), event->position());
    event->accept();
}

void PlotView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Home && modifiers == Qt::ControlModifier) {
        showWholePicture();
        return;
    }
    if ((event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) &&
        (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
        zoomAboutCentre(kKeyStep);
        return;
    }
    if (event->key() == Qt::Key_Minus && modifiers == Qt::NoModifier) {
        zoomAboutCentre(1 / kKeyStep);
        return;
    }
    QFrame::keyPressEvent(event);
}

void PlotView::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    hover_ = {};
    update();
    emit readoutLeft();
}

void PlotView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    geometry_.reset();
    clearHover();
}

}  // namespace tarvel::ui
