#include "ui/qt/study_painter.h"

#include <QPainter>

#include <algorithm>

#include "plot/occupancy.h"
#include "plot/plot_layout.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

const QColor kErrorLine(120, 120, 255);

std::vector<WorldPoint> worldPoints(const std::vector<StudyPoint>& points, const YReading& reading)
{
    std::vector<WorldPoint> placed;
    placed.reserve(points.size());
    for (const StudyPoint& point : points)
        placed.push_back({point.x, placedY(point, reading)});
    return placed;
}

PlotSeries keptSeries(const KeptResult& kept, const YReading& reading)
{
    const QString name =
        qstr(reading.ofErrors() ? errorLabel(kept.label) : kept.label);
    return {SeriesStyle::Line, qColour(kept.colour), name, worldPoints(kept.points, reading)};
}

// A result just kept is the one shown: the legend names it once.
bool isTheShownResult(const KeptResult& kept, const Study& study)
{
    return kept.label == resultLabel(study) &&
           std::equal(kept.points.begin(), kept.points.end(), study.interpolated.begin(),
                      study.interpolated.end(), [](const StudyPoint& a, const StudyPoint& b) {
                          return a.x == b.x && a.y == b.y;
                      });
}

bool anyErrorZero(const Study& study, std::span<const KeptResult> kept)
{
    const auto zero = [](const std::vector<StudyPoint>& points) {
        return std::any_of(points.begin(), points.end(),
                           [](const StudyPoint& p) { return errorOf(p) == 0.0; });
    };
    return zero(study.interpolated) ||
           std::any_of(kept.begin(), kept.end(), [&](const KeptResult& k) { return zero(k.points); });
}

// p(x) - f(x) at the interpolated points, the kept results' errors under
// them and, on the linear scale, the zero line that stands for f.
PlotScene errorScene(const Study& study, const StudyAids& aids, bool decades)
{
    const std::vector<KeptResult>& kept = aids.kept.results();
    PlotScene scene;
    scene.xCaption = "x";
    scene.yCaption = decades ? QStringLiteral("|p(x) − f(x)|") : QStringLiteral("p(x) − f(x)");
    YReading reading{YReading::Kind::Error};
    if (decades) {
        const LogErrorScale scale = logErrorScale(study, kept);
        scene.world = scale.world;
        reading = scale.reading;
        scene.yScale = AxisScale::Log10;
        if (anyErrorZero(study, kept))
            scene.legendNote =
                "errors of 0 lie below " +
                qstr(decadeLabel(reading.zeroLevel + 0.5, ".")) + ", on the dotted line";
    } else {
        scene.world = errorWorld(study, kept);
        scene.series.push_back({SeriesStyle::Line, qColour(kRed),
                                qstr(study.functionName) + " (zero line)",
                                {{0, 0}, {1, 0}}});
    }
    for (const KeptResult& result : kept) {
        PlotSeries series = keptSeries(result, reading);
        if (isTheShownResult(result, study))
            series.name.clear();
        scene.series.push_back(std::move(series));
    }
    std::vector<WorldPoint> errors = worldPoints(study.interpolated, reading);
    scene.series.push_back({SeriesStyle::Line, kErrorLine, {}, errors});
    scene.series.push_back({SeriesStyle::Dots, qColour(kBlue), qstr(errorLabel(resultLabel(study))),
                            std::move(errors), 1.5});
    if (decades && !scene.legendNote.isEmpty()) {
        const double zero = reading.zeroLevel;
        scene.paintData = [zero](QPainter& painter, const Viewport& view, const QSizeF& size,
                                 Occupancy&) {
            QPen pen(QColor(150, 150, 150));
            pen.setStyle(Qt::DotLine);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.drawLine(QPointF(0, view.toDeviceY(zero)),
                             QPointF(size.width(), view.toDeviceY(zero)));
        };
    }
    return scene;
}

std::vector<LegendItem> drawingLegend(const Study& study)
{
    std::vector<LegendItem> items;
    if (!study.curveName.empty())
        items.push_back({SeriesStyle::Line, qColour(kRed), qstr(study.curveName)});
    if (!study.given.empty())
        items.push_back({study.dataSetName.empty() ? SeriesStyle::Circles
                                                   : SeriesStyle::CirclesJoined,
                         qColour(kRed), qstr(givenLabel(study))});
    if (!study.interpolated.empty())
        items.push_back({SeriesStyle::Dots, qColour(kBlue), qstr(resultLabel(study))});
    return items;
}

}  // namespace

bool showsError(const Drawing& drawing, const StudyAids& aids)
{
    return aids.showError && errorAvailable(drawing.study());
}

YReading shownReading(const Drawing& drawing, const StudyAids& aids)
{
    if (!showsError(drawing, aids))
        return {};
    if (aids.showLogError)
        return logErrorScale(drawing.study(), aids.kept.results()).reading;
    return {YReading::Kind::Error};
}

PlotScene pictureScene(const Drawing& drawing, const StudyAids& aids)
{
    const Study& study = drawing.study();
    if (showsError(drawing, aids))
        return errorScene(study, aids, aids.showLogError);
    PlotScene scene;
    scene.world = drawing.world();
    scene.xCaption = "x";
    scene.yCaption = "y";
    if (drawing.ops().empty())
        return scene;  // a blank picture stays blank
    scene.legend = drawingLegend(study);
    // Kept results lie under the drawing, as thin lines.
    for (const KeptResult& kept : aids.kept.results()) {
        if (isTheShownResult(kept, study))
            continue;
        PlotSeries series = keptSeries(kept, {});
        scene.legend.push_back({SeriesStyle::Line, series.colour, series.name});
    }
    const KeptResults* kept = &aids.kept;
    scene.paintData = [&drawing, kept](QPainter& painter, const Viewport& view,
                                       const QSizeF& size, Occupancy& occupancy) {
        for (const KeptResult& result : kept->results()) {
            PlotSeries series = keptSeries(result, {});
            series.name.clear();
            paintSeries(painter, series, view, size, occupancy);
        }
        paintDrawing(drawing, view, painter, size);
        markDrawing(occupancy, drawing, view);
    };
    return scene;
}

namespace {

// Appends the operation to the last series when it continues it, else starts
// a series of its own.
void addOp(std::vector<PlotSeries>& series, const DrawOp& op)
{
    const QColor colour = op.colour ? qColour(*op.colour) : kForeground;
    const SeriesStyle style = op.kind == DrawOp::Kind::Point    ? SeriesStyle::Dots
                              : op.kind == DrawOp::Kind::Circle ? SeriesStyle::Circles
                                                                : SeriesStyle::Line;
    PlotSeries* last = series.empty() ? nullptr : &series.back();
    const bool same = last && last->style == style && last->colour == colour;
    if (style != SeriesStyle::Line) {
        if (!same)
            series.push_back({style, colour, {}, {}});
        series.back().points.push_back({op.x1, op.y1});
        return;
    }
    const bool continues = same && last->points.back().x == op.x1 && last->points.back().y == op.y1;
    if (!continues)
        series.push_back({style, colour, {}, {{op.x1, op.y1}}});
    series.back().points.push_back({op.x2, op.y2});
}

}  // namespace

PlotScene pictureSeriesScene(const Drawing& drawing, const StudyAids& aids)
{
    PlotScene scene = pictureScene(drawing, aids);
    if (!scene.paintData)
        return scene;
    scene.paintData = nullptr;
    if (showsError(drawing, aids))
        return scene;  // only the dotted line of zero errors was painted
    for (const KeptResult& kept : aids.kept.results()) {
        scene.series.push_back(keptSeries(kept, {}));
        scene.series.back().name.clear();  // the scene's legend names them
    }
    for (const DrawOp& op : drawing.ops())
        addOp(scene.series, op);
    return scene;
}

}  // namespace tarvel::ui
