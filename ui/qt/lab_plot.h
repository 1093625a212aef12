#pragma once

#include <QRect>
#include <QRectF>
#include <QStringList>
#include <QVariantList>
#include <QWidget>

#include <optional>

#include "lab/lab_picture.h"

class QPainter;

namespace tarvel::ui {

// Where the parts of the lab's plot land on a paint device of a given size.
struct LabPlotLayout {
    QRect plotArea;    // where the data are drawn
    QRect legendArea;  // the strip right of it, empty without entries
};

// Paints a lab picture showing `world` into any paint device, so the
// widget, a saved PNG, SVG or PDF and the tests all get the same picture.
LabPlotLayout layOutLabPlot(const LabPicture& picture, const QSize& size, const QFont& font);
void paintLabPicture(const LabPicture& picture, const WorldRect& world, QPainter& painter,
                     const QSize& size, const QFont& font, std::optional<std::size_t> selected);
QStringList legendTexts(const LabPicture& picture);

// The lab's plot: the picture of the current view in a plot area with ticks
// and captions, the legend in a strip beside it, a readout of the point
// under the pointer, zoom (wheel, + and −) and pan (drag on empty ground),
// and the nodes, which the user drags with the mouse or moves from the
// keyboard (Left/Right pick one, Up/Down move it, Shift ten times as far).
class LabPlot : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QRect plotArea READ plotArea)
    Q_PROPERTY(QRect legendArea READ legendArea)
    Q_PROPERTY(QStringList legendEntries READ legendEntries)
    Q_PROPERTY(QRectF visibleWorld READ visibleWorld)
    Q_PROPERTY(QVariantList nodePositions READ nodePositions)
public:
    explicit LabPlot(QWidget* parent = nullptr);

    // A new picture; the zoom stays while `keepZoom` (the same view).
    void setPicture(LabPicture picture, bool keepZoom);
    const LabPicture& picture() const { return picture_; }

    QRect plotArea() const;
    QRect legendArea() const;
    QStringList legendEntries() const { return legendTexts(picture_); }
    QRectF visibleWorld() const;
    QVariantList nodePositions() const;
    std::optional<std::size_t> selectedNode() const { return selected_; }

    // The picture as shown, at `scale` times the widget's size.
    QImage image(double scale) const;
    // The world rectangle shown: the picture's, or the zoomed one.
    WorldRect shownWorld() const;
    void showWhole();

signals:
    void readout(const QString& text);
    void readoutLeft();
    void dragStarted(std::size_t node);
    // x and y in world coordinates; moveX with Shift.
    void dragMoved(std::size_t node, double x, double y, bool moveX);
    void dragFinished();
    // The keyboard moved a node by dy in world units (one finished step).
    void nodeNudged(std::size_t node, double dy);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointF toDevice(double x, double y) const;
    QPointF toWorld(const QPointF& device) const;
    std::optional<std::size_t> nodeAt(const QPointF& device) const;
    void zoomAbout(const QPointF& device, double factor);
    void hover(const QPointF& device);

    LabPicture picture_;
    std::optional<WorldRect> zoomed_;
    // The zoom before a drag: the world stays still while a node moves and
    // fits the picture again afterwards unless the user had zoomed.
    std::optional<WorldRect> zoomBeforeDrag_;
    std::optional<std::size_t> dragging_;
    std::optional<std::size_t> selected_;
    std::optional<QPointF> panFrom_;
    std::optional<QPointF> marker_;
};

}  // namespace tarvel::ui
