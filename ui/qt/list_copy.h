// Copying lines out of the list: Ctrl+C and "Copy" copy the selected lines,
// "Copy all" every line, one line of text each.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;

namespace tarvel::ui {

// Switches the view to extended selection and gives it the copy actions
// (copySelectionAction, copyListAction) in its context menu; `copied` is
// told what was copied ("Copied 12 lines.").
void addListCopy(QAbstractItemView* view, std::function<void(const QString&)> copied = {});

// The selected lines in list order, or every line; each ends in a line feed.
QString selectedLines(const QAbstractItemView* view);
QString allLines(const QAbstractItemView* view);

}  // namespace tarvel::ui
