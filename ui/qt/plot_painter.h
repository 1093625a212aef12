// The plot layer: what a plot shows (a scene of curves and point sets in
// world coordinates, each with a colour and a legend name) and how it is
// painted into any QPaintDevice, with a plot area inset from the edges, the
// ticks and labels in the margins and a legend that covers no data. The
// main picture and the lab's plot both paint through it; a test paints it
// into a QImage, a save into an SVG or a PDF.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plot/drawing.h"
#include "plot/occupancy.h"
#include "plot/plot_layout.h"
#include "plot/study_aids.h"

class QPainter;

namespace tarvel::ui {

// How a series is drawn, and the sample the legend shows for it.
enum class SeriesStyle {
    Line,           // a polyline; a non-finite point breaks it
    Circles,        // an outlined circle at every point
    CirclesJoined,  // circles joined by a thin line
    Dots,           // small filled dots
};

struct PlotSeries {
    SeriesStyle style = SeriesStyle::Line;
    QColor colour;
    QString name;  // the legend's text; empty: not in the legend
    std::vector<WorldPoint> points;
    double radiusPixels = 3;  // circles and dots
    double widthPixels = 1;   // lines
    Qt::PenStyle dash = Qt::SolidLine;
    QString endLabel{};  // written where the line leaves the plot area; empty: none
};

// A legend line for something that is not a series of the scene (the main
// picture's drawing list).
struct LegendItem {
    SeriesStyle sample = SeriesStyle::Line;
    QColor colour;
    QString text;
    Qt::PenStyle dash = Qt::SolidLine;
};

// Paints data that are not a list of series (the main picture's drawing
// operations) with the world mapped onto the plot area by `view`; the
// painter's origin is the plot area's top left corner and it is clipped to
// it. Marks in `occupancy` what it draws, so nothing is placed over it.
using DataPainter = std::function<void(QPainter&, const Viewport& view, const QSizeF& plotSize,
                                       Occupancy& occupancy)>;

struct PlotScene {
    WorldRect world;  // the whole picture, shown when not zoomed
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    DataPainter paintData;            // painted first, may be empty
    std::vector<PlotSeries> series;   // then these, in order: later on top
    std::vector<LegendItem> legend;   // the legend: these, then the named series
    // A line under the legend's entries, saying what the picture leaves
    // unsaid ("errors of 0 lie on the bottom edge"); empty: none.
    QString legendNote;
    QString title;     // above the plot; empty: none
    QString xCaption;  // under the x labels, with the scale; empty: none
    QString yCaption;  // upright left of the y labels
};

struct PlotOptions {
    bool showScale = true;   // margins with ticks and labels; off: edge to edge
    bool showLegend = true;
    bool showTitle = true;
    bool showCaptions = true;
};

// The title and the captions a plot shows of its scene: empty where hidden.
struct FrameTexts {
    QString title;
    QString xCaption;
    QString yCaption;
};
FrameTexts shownTexts(const PlotScene& scene, const PlotOptions& options);

// Where a plot put its legend, so that a later paint can keep it there: a
// corner inside the plot area, or a strip beside it.
struct LegendPlace {
    bool inStrip = false;
    Corner corner = Corner::TopRight;  // when not in a strip
};

// Where a painted plot put its parts, in the paint device's pixels.
struct PlotGeometry {
    QRectF plotArea;          // where the data are drawn
    QRectF legendArea;        // empty when no legend was painted
    QRectF titleArea;         // these three empty when not shown
    QRectF xCaptionArea;
    QRectF yCaptionArea;
    QRectF xLabelsArea;       // the ticks' labels: empty without the scale
    QRectF yLabelsArea;
    QStringList legendEntries;
    WorldRect visibleWorld;   // the world rectangle the plot area shows
    int labelledTicks = 0;    // tick labels painted, both axes together
    std::optional<LegendPlace> legendPlace;  // none when no legend was painted
    bool legendShortened = false;  // some entry ends in "…" (the entries stay whole)
};

// Paints the scene showing `visible` (the scene's world, or a zoomed part of
// it) into an area of `size` at the painter's origin. Nothing is painted when
// the visible world has no extent or the scene holds no data. The legend
// goes where it covers no data, or, given `heldLegend` while the whole world
// is shown, where that says without looking at the data.
PlotGeometry paintPlot(const PlotScene& scene, const WorldRect& visible, const PlotOptions& options,
                       QPainter& painter, const QSizeF& size, const QFont& font,
                       std::string_view decimalSeparator,
                       const std::optional<LegendPlace>& heldLegend = std::nullopt);

// Paints one series with the world mapped by `view` onto an area of `size`
// at the painter's origin, marking what it covers.
void paintSeries(QPainter& painter, const PlotSeries& series, const Viewport& view,
                 const QSizeF& size, Occupancy& occupancy);

// The legend's texts of a scene, in order.
QStringList legendTexts(const PlotScene& scene);

}  // namespace tarvel::ui
