// A plot scene as a pgfplots figure (plot/pgfplots.h): the curves and point
// sets of its series with their colours, dashes and legend names, the
// scene's own legend lines, the title and captions it shows.
#pragma once

#include "plot/pgfplots.h"
#include "ui/qt/plot_painter.h"

namespace tarvel::ui {

PgfFigure pgfFigureOf(const PlotScene& scene, const WorldRect& visible, const PlotOptions& options);

}  // namespace tarvel::ui
