// A widget that shows a plot scene (ui/qt/plot_painter.h) and lets the user
// study it: a ring on the point under the pointer with its readout beside
// the pointer, zoom and pan, and saving the picture as PNG, SVG or PDF.
// The main picture derives from it; the lab's plot uses it as it is, with
// its own scene.
//
//   wheel               zoom about the pointer, while the plot has the
//                       focus or with Ctrl (otherwise what holds the plot
//                       scrolls)
//   drag, left button   pan
//   double click,
//   Ctrl+Home           the whole picture
//   + / -               zoom about the centre
//
// Zoom and pan change only which part of the world is shown, never what the
// scene holds.
#pragma once

#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plot/pgfplots.h"
#include "ui/qt/plot_painter.h"

class QPrinter;

namespace tarvel::ui {

// What the pointer reads at a place of the plot area.
struct PlotReadout {
    QString text;                 // empty: nothing to say
    std::optional<QPointF> ring;  // the point read, in widget pixels
};

class PlotView : public QFrame {
    Q_OBJECT
    // Where the data are drawn, in the widget's pixels.
    Q_PROPERTY(QRect plotArea READ plotArea)
    // Where the legend is, empty while none is shown.
    Q_PROPERTY(QRect legendArea READ legendArea)
    // The legend's texts, in order (also in the accessible description).
    Q_PROPERTY(QStringList legendEntries READ legendEntries)
    // Whether some legend entry ends in "…" for want of room; the tooltip
    // over the legend then gives them whole.
    Q_PROPERTY(bool legendShortened READ legendShortened)
    // The world rectangle shown: left, top (the larger y), width, height.
    Q_PROPERTY(QRectF visibleWorld READ visibleWorld)
    // The title shown, empty while none is.
    Q_PROPERTY(QString titleText READ titleText)
    // The captions shown: x, then y; empty ones while hidden.
    Q_PROPERTY(QStringList axisCaptions READ axisCaptions)
public:
    explicit PlotView(QWidget* parent = nullptr);

    // The scene to show. A scene whose world differs from the last one's
    // shows its whole world again; the same world keeps the zoom.
    void setScene(PlotScene scene);
    PlotOptions& options() { return options_; }
    const PlotOptions& options() const { return options_; }
    void setOptions(const PlotOptions& options);
    void setDecimalSeparator(const std::string& separator) { separator_ = separator; }
    const std::string& decimalSeparator() const { return separator_; }

    QRect plotArea() const;
    QRect legendArea() const;
    QStringList legendEntries() const;
    bool legendShortened() const;
    QRectF visibleWorld() const;
    QString titleText() const;
    QStringList axisCaptions() const;
    const WorldRect& shownWorld() const { return visible_; }
    bool zoomed() const;

    // factor above 1 shows less; about a point in widget pixels.
    void zoomBy(double factor, const QPointF& about);
    void zoomAboutCentre(double factor);
    void panBy(const QPointF& pixels);
    virtual void showWholePicture();
    // Shows this part of the world, as a study saved it.
    void showWorld(const WorldRect& world) { setShownWorld(world); }

    // The picture as shown, without the frame and the pointer's readout,
    // at `scale` times the shown size.
    QImage pictureImage(double scale = 1) const;
    // The pixels of pictureImage(scale).
    QSize pictureSize(double scale = 1) const;
    // What makes pictureImage(scale), taken now; it may run on any thread.
    std::function<QImage()> picturePainting(double scale) const;
    // Writes the picture to the file, in the format its suffix names (png
    // at twice the shown size, svg, pdf), whole or not at all. The reason of
    // a failure, empty on success.
    QString savePicture(const QString& fileName) const;
    // Paints the picture on one page of the printer, as large as its
    // printable area holds it in the shown proportions, texts at their
    // shown size; false when the printer cannot be painted on.
    bool printPicture(QPrinter& printer) const;
    // Asks for a printer in Qt's print dialog and prints there; false when
    // cancelled or failed.
    bool printWithDialog(QWidget* parent);
    // Paints the picture for an export: the part of the world shown, at
    // `size`, with these options and font, lines `lineScale` times as wide.
    void paintFigure(QPainter& painter, const QSizeF& size, const PlotOptions& options,
                     const QFont& font, double lineScale) const;
    // What paintFigure paints, taken from the plot now: called later, on
    // any thread, it paints what the plot showed when it was taken.
    using FigurePainting = std::function<void(QPainter&, const QSizeF&)>;
    virtual FigurePainting figurePainting(const PlotOptions& options, const QFont& font,
                                          double lineScale) const;
    // The scene with everything drawn as series, for exports that write
    // curves (pgfplots, CSV).
    virtual PlotScene exportScene() const { return currentScene(); }
    // The pgfplots figures of an export, left to right: this plot's alone.
    virtual std::vector<PgfFigure> pgfFigures(const PlotOptions& options) const;

signals:
    // What lies under the pointer (or the keyboard cursor); empty when the
    // pointer left the plot.
    void readout(const QString& text);
    void readoutLeft();
    // The shown part of the world changed (zoom, pan, whole picture).
    void visibleWorldChanged(const QRectF& world);
    // The user zoomed, panned or asked for the whole picture (whole: the
    // plot shows it now).
    void viewCommanded(bool whole);
    // A zoom or a pan went as far as the numbers allow: the sentence says so.
    void limitReached(const QString& sentence);

protected:
    // The scene to paint; the main picture builds its own from its drawing.
    virtual PlotScene currentScene() const { return scene_; }
    // What the pointer at `at` (widget pixels) reads; the default snaps to
    // the nearest point of a named series and otherwise gives x and y.
    virtual PlotReadout readoutAt(const QPointF& at) const;
    // Lets a subclass take a left press (to drag a node); true: taken, the
    // plot does not pan.
    virtual bool pressTaken(const QPointF& /*at*/) { return false; }
    // A subclass whose currentScene() changed says so: a new world shows
    // whole, the layout is made again and the widget repainted.
    void sceneChanged();
    // Cheaper, while a scene is being built piece by piece in the same
    // world: the layout is made again and the widget repainted.
    void layoutChanged();
    // The world point under a widget point, through the last layout.
    std::optional<WorldPoint> worldAt(const QPointF& at) const;
    // A world point in widget pixels, through the last layout.
    QPointF pixelOf(double x, double y) const;
    // The geometry of the plot at the widget's present size.
    const PlotGeometry& geometryNow() const;
    // While held, the legend keeps the place of the last layout instead of
    // looking for a free one at every repaint; released, it looks again.
    void holdLegend();
    void releaseLegend();
    // Released, but a place that would move the plot area is not taken:
    // what lies under the pointer stays there.
    void settleLegend();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Paints the scene at the widget's size; subclasses add their marks.
    void paintPlotInto(QPainter& painter, const QSizeF& size) const;
    // Paints the ring and the readout beside the pointer.
    void paintHover(QPainter& painter) const;
    void setHover(const PlotReadout& readout, const QPointF& pointer);
    void clearHover();

private:
    // A zoom or a pan: the world asked for, kept within what the numbers
    // allow; false when it was kept (the sentence says so).
    bool askForWorld(const WorldRect& world);
    void setShownWorld(const WorldRect& world);

    PlotScene scene_;
    PlotOptions options_;
    std::string separator_ = ".";
    WorldRect visible_;
    WorldRect sceneWorld_;
    mutable std::optional<PlotGeometry> geometry_;
    mutable QSize geometrySize_;
    std::optional<LegendPlace> heldLegend_;
    std::optional<QPointF> dragFrom_;
    PlotReadout hover_;
    QPointF pointer_;
};

}  // namespace tarvel::ui
