// Paints the picture as the user sees it: the drawing list (or, in the
// error view, the error of the interpolated points), the kept results, the
// scale and the legend. Any paint device will do, so a test paints into a
// QImage and "Copy picture" copies exactly what the widget shows.
#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>

#include <string_view>

#include "plot/drawing.h"
#include "plot/study_aids.h"

class QPainter;

namespace tarvel::ui {

// Where the overlays landed, for tests.
struct OverlayPlaces {
    QRectF legend;  // empty when no legend was painted
    int scaleLabels = 0;
};

OverlayPlaces paintPicture(const Drawing& drawing, const StudyAids& aids, QPainter& painter,
                           const QSizeF& size, const QFont& font,
                           std::string_view decimalSeparator);

// The world that the picture shows: the drawing's, or the error view's.
WorldRect shownWorld(const Drawing& drawing, const StudyAids& aids);
bool showsError(const Drawing& drawing, const StudyAids& aids);

}  // namespace tarvel::ui
