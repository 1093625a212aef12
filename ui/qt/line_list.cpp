#include "ui/qt/line_list.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>

#include "ui/qt/qt_text.h"

namespace tarvel::ui {

int LineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant LineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_)
        return {};
    return line(index.row());
}

void LineModel::append(std::string_view utf8)
{
    if (longest_ < 0 || utf8.size() > lines_[static_cast<std::size_t>(longest_)].size())
        longest_ = lineCount();
    lines_.append(utf8);
}

void LineModel::clear()
{
    beginResetModel();
    // Give the memory of a long list back, not only its contents.
    lines_ = PackedLines();
    rows_ = 0;
    longest_ = -1;
    endResetModel();
}

void LineModel::flush()
{
    if (!hasWaitingLines())
        return;
    beginInsertRows({}, rows_, lineCount() - 1);
    rows_ = lineCount();
    endInsertRows();
}

QString LineModel::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return {};
    return qstr(lines_[static_cast<std::size_t>(index)]);
}

LineList::LineList(QWidget* parent) : QTableView(parent), model_(new LineModel(this))
{
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    // Tab leaves the list for the next control, as it does from any list.
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(0);
    connect(&flushTimer_, &QTimer::timeout, this, &LineList::flush);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &LineList::fitColumn);
    fitRows();
}

void LineList::appendLine(std::string_view utf8)
{
    model_->append(utf8);
    if (!flushTimer_.isActive())
        flushTimer_.start();
}

void LineList::clearLines()
{
    flushTimer_.stop();
    model_->clear();
    fitColumn();
}

void LineList::showLastLine()
{
    flush();
    const int rows = model_->rowCount();
    // Only the newest line is selected, also under extended selection.
    if (rows > 0)
        selectionModel()->setCurrentIndex(model_->index(rows - 1, 0),
                                          QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    scrollToBottom();
}

int LineList::currentLine() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void LineList::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        fitRows();
        fitColumn();
    }
}

bool LineList::viewportEvent(QEvent* event)
{
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize) {
        fitColumn();
        // A horizontal scroll bar that comes with a narrower list does not
        // cover the newest line.
        if (model_->rowCount() > 0 && currentLine() == model_->rowCount() - 1)
            scrollTo(currentIndex());
    }
    return handled;
}

// Home and End go to the first and the last line, as in any list.
QModelIndex LineList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int rows = model_->rowCount();
    if (rows > 0 && action == MoveHome)
        return model_->index(0, 0);
    if (rows > 0 && action == MoveEnd)
        return model_->index(rows - 1, 0);
    return QTableView::moveCursor(action, modifiers);
}

void LineList::flush()
{
    flushTimer_.stop();
    model_->flush();
}

void LineList::fitRows()
{
    const int height = fontMetrics().height() + 2;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
}

// The one column is as wide as the longest line, and at least as wide as
// the list, so no line is cut and a long one brings a horizontal scroll
// bar. Measuring the line with the most characters is enough: the list's
// font has a fixed pitch.
void LineList::fitColumn()
{
    const int longest = model_->longestLine();
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int needed =
        longest < 0 ? 0 : fontMetrics().horizontalAdvance(model_->line(longest)) + margin + 2;
    setColumnWidth(0, std::max(needed, viewport()->width()));
}

}  // namespace tarvel::ui
