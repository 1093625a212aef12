// The lab's plot: the picture of the current view on the plot layer (plot
// area, ticks, legend off the data, hover, zoom, pan, saving), with the
// nodes, which the user drags with the mouse or moves from the keyboard:
// Left/Right pick one, Up/Down move it, Shift ten times as far, Return
// clicks it. In the cardinal view the nodes are picked, not moved: a click
// or Left/Right.
#pragma once

#include <QVariantList>

#include <optional>

#include "lab/lab_picture.h"
#include "ui/qt/plot_view.h"

namespace tarvel::ui {

// The plot layer's scene of a lab picture.
PlotScene labScene(const LabPicture& picture);

class LabPlot : public PlotView {
    Q_OBJECT
    // The nodes' places in the widget's pixels (QPointF), in node order.
    Q_PROPERTY(QVariantList nodePositions READ nodePositions)
public:
    explicit LabPlot(QWidget* parent = nullptr);

    void setPicture(LabPicture picture);
    const LabPicture& picture() const { return picture_; }
    QVariantList nodePositions() const;
    // A plot shown beside this one: while it is visible, exports and prints
    // of this plot hold both, this one on the left.
    void setCompanion(const LabPlot* companion) { companion_ = companion; }
    QSize figureSize() const override;
    FigurePainting figurePainting(const PlotOptions& options, const QFont& font,
                                  double lineScale) const override;
    std::vector<PgfFigure> pgfFigures(const PlotOptions& options) const override;
    std::optional<std::size_t> selectedNode() const { return selected_; }
    // Whether a double click on empty plot space asks for a node there.
    void setAddsNodes(bool adds) { addsNodes_ = adds; }
    // Whether a press or Left/Right picks a node (nodePicked) instead of
    // grabbing or selecting it to move.
    void setPicksNodes(bool picks) { picksNodes_ = picks; }

    // Holds the world shown now (and the legend's place) through every new
    // picture until released or fitted. A drag holds it from the press on.
    void holdWorld();
    void releaseWorld();
    bool worldHeld() const { return heldWorld_.has_value(); }
    // While on, a released world is held again at the next picture's own.
    void setHoldAxes(bool on);
    // The picture's own world (a double click, Ctrl+Home), still held while
    // the axes are.
    void showWholePicture() override;
    // Through a run of quick setting changes (a held arrow) the legend keeps
    // its place, as through a drag; after the run it looks for a free place
    // again.
    void holdLegendThroughRun();
    void runStopped();

signals:
    void dragStarted(std::size_t node);
    // x and y in world coordinates; moveX with Shift.
    void dragMoved(std::size_t node, double x, double y, bool moveX);
    void dragFinished();
    // The keyboard moved a node by dy in world units (one finished step).
    void nodeNudged(std::size_t node, double dy);
    // A double click on empty plot space, in world coordinates.
    void nodeWanted(double x, double y);
    // Delete on the picked node.
    void nodeDeleted(std::size_t node);
    // A press and release in one place, at world x, on a node or not; or
    // Return on the picked node.
    void clicked(double x, std::optional<std::size_t> node);
    // A node picked by a click or Left/Right while the plot picks nodes.
    void nodePicked(std::size_t node);

protected:
    bool pressTaken(const QPointF& at) override;
    void mousePressEvent(QMouseEvent* event) override;
    PlotReadout readoutAt(const QPointF& at) const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<std::size_t> nodeAt(const QPointF& at) const;
    void sayNode(std::size_t node);
    // The scene of picture_, in the held world when there is one.
    void showPicture();

    LabPicture picture_;
    std::optional<std::size_t> dragging_;
    std::optional<QPointF> pressedAt_;  // where the left button went down
    // The world that stays shown whatever the pictures' own worlds: the
    // picture holds still under the pointer while a node is dragged, and
    // after it, so that the next press finds the node where it was let go.
    std::optional<WorldRect> heldWorld_;
    bool holdAxes_ = false;
    std::optional<std::size_t> selected_;
    const LabPlot* companion_ = nullptr;
    bool addsNodes_ = false;
    bool picksNodes_ = false;
    bool legendHeldForRun_ = false;
};

}  // namespace tarvel::ui
