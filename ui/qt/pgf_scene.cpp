#include "ui/qt/pgf_scene.h"

namespace tarvel::ui {
namespace {

PgfCurve::Style pgfStyle(SeriesStyle style)
{
    switch (style) {
    case SeriesStyle::Line:
        return PgfCurve::Style::Line;
    case SeriesStyle::Circles:
        return PgfCurve::Style::Marks;
    case SeriesStyle::CirclesJoined:
        return PgfCurve::Style::LineAndMarks;
    case SeriesStyle::Dots:
        break;
    }
    return PgfCurve::Style::Dots;
}

unsigned rgbOf(const QColor& colour)
{
    return colour.rgb() & 0xFFFFFFu;
}

}  // namespace

PgfFigure pgfFigureOf(const PlotScene& scene, const WorldRect& visible, const PlotOptions& options)
{
    PgfFigure figure;
    const FrameTexts texts = shownTexts(scene, options);
    figure.title = texts.title.toStdString();
    figure.xCaption = texts.xCaption.toStdString();
    figure.yCaption = texts.yCaption.toStdString();
    figure.logX = scene.xScale == AxisScale::Log10;
    figure.logY = scene.yScale == AxisScale::Log10;
    figure.world = visible;
    figure.legend = options.showLegend;
    for (const LegendItem& item : scene.legend)
        figure.legendLines.push_back({pgfStyle(item.sample), rgbOf(item.colour),
                                      item.text.toStdString()});
    for (const PlotSeries& series : scene.series) {
        PgfCurve curve;
        curve.style = pgfStyle(series.style);
        curve.rgb = rgbOf(series.colour);
        curve.name = series.name.toStdString();
        curve.dash = series.dash == Qt::DashLine      ? "dashed"
                     : series.dash == Qt::DashDotLine ? "dashdotted"
                                                      : "";
        curve.endLabel = series.endLabel.toStdString();
        curve.points = series.points;
        figure.curves.push_back(std::move(curve));
    }
    return figure;
}

}  // namespace tarvel::ui
