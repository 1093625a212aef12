// Opening the interpolation lab from the main window.
#pragma once

#include <QRect>
#include <QString>

#include <optional>

#include "lab/lab_model.h"

class QMenu;

namespace tarvel::ui {

class MainWindow;

// The lab's first settings from the main window's controls as they stand:
// the test function, the number of given points, the method and the degree,
// read as the main window reads them; and its given points for `data`.
LabStart labStartOf(MainWindow& window);

// Where the lab goes beside the main window (`beside`, its frame) on a
// screen's free area: right of it, else left of it, as wide as `wanted`
// where there is room and at least `smallest`; empty when neither side has
// room for the smallest lab.
QRect labPlaceBeside(const QRect& beside, const QRect& screen, const QSize& wanted,
                     const QSize& smallest);

// "Interpolation lab…" (Ctrl+L) in the Study menu: opens the lab, or brings
// an open one to the front.
void addLabAction(MainWindow& window, QMenu& study);

// "Lessons" in the Study menu: each lesson that comes with the program,
// opening the lab at it.
void addLessonsMenu(MainWindow& window, QMenu& study);

// Opens the lab from the main window showing the study in the file; why
// not, if it cannot (the lab then shows its first settings).
std::optional<QString> openLabWithStudy(MainWindow& window, const QString& path);

}  // namespace tarvel::ui
