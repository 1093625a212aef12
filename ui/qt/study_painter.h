// The main picture as a plot scene: the drawing list (or, in the error view,
// the error of the interpolated points, on a linear or a decade scale), the
// kept results, and a legend naming exactly what is drawn. The plot layer
// paints it with its scale and legend, so "Copy picture" and the saved
// files show exactly what the widget shows.
#pragma once

#include "plot/drawing.h"
#include "plot/study_aids.h"
#include "ui/qt/plot_painter.h"

namespace tarvel::ui {

PlotScene pictureScene(const Drawing& drawing, const StudyAids& aids);

// The same scene with the drawing's operations as series (lines joined where
// one starts at the other's end, points and circles gathered by colour),
// for exports that write curves rather than paint them.
PlotScene pictureSeriesScene(const Drawing& drawing, const StudyAids& aids);

// Whether the error view is shown (asked for, and there is an error to show).
bool showsError(const Drawing& drawing, const StudyAids& aids);
// What the picture's y stands for now, with the decade scale's zero level.
YReading shownReading(const Drawing& drawing, const StudyAids& aids);

}  // namespace tarvel::ui
