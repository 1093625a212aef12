// The list of text lines that the commands append to (List1), built to stay
// quick at a million lines.
//
// A list view lays out every one of its rows again whenever rows are added,
// so each command would cost more than the one before. Here the lines are
// packed into one buffer, and the view is a table of a single column whose
// rows all have the font's height: adding rows, scrolling and painting only
// touch the rows added or in sight.
#pragma once

#include <QAbstractListModel>
#include <QTableView>
#include <QTimer>

#include <string_view>

#include "ui/packed_lines.h"

namespace tarvel::ui {

// The lines, one row each. Appended lines wait until flush(), so a whole
// command's lines reach the view as one insertion.
class LineModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void append(std::string_view utf8);
    void clear();
    // Makes the waiting lines rows of the model.
    void flush();
    bool hasWaitingLines() const { return rows_ < lineCount(); }

    // Every line, rows and waiting ones alike.
    int lineCount() const { return static_cast<int>(lines_.size()); }
    QString line(int index) const;
    // The line with the most characters; -1 when there is none.
    int longestLine() const { return longest_; }

private:
    // In UTF-8: half the memory of QString's UTF-16 for the digits a list
    // is made of.
    PackedLines lines_;
    int rows_ = 0;  // lines the views know of
    int longest_ = -1;
};

class LineList : public QTableView {
    Q_OBJECT
public:
    explicit LineList(QWidget* parent = nullptr);

    // The line reaches the screen at the next showLastLine(), or when the
    // program next waits for input.
    void appendLine(std::string_view utf8);
    void clearLines();
    // Shows the waiting lines, makes the last line the current one and
    // scrolls it into view.
    void showLastLine();

    // Lines appended since the last clear, shown or still waiting.
    int count() const { return model_->lineCount(); }
    QString line(int index) const { return model_->line(index); }
    // The current line's index; -1 when there is none.
    int currentLine() const;

protected:
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void flush();
    void fitRows();
    void fitColumn();

    LineModel* model_;
    QTimer flushTimer_;
};

}  // namespace tarvel::ui
