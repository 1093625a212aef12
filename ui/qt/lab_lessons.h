// The lessons of the lab: study files that carry a text to read beside the
// lab, shipped in a folder of their own, and the panel and dialog that show
// and edit that text.
#pragma once

#include <QDialog>
#include <QStringList>
#include <QTextBrowser>

#include <functional>
#include <optional>

#include "lab/study_file.h"

class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace tarvel::ui {

// The folder of the lessons that come with the program, seen from the
// folder the program runs from: installed, share/tarvel/lessons beside its
// bin/; in the build tree, share/tarvel/lessons beside the program; else
// where the desktop keeps programs' data. Empty when none holds them.
QString lessonFolder(const QString& programFolder);

// The lesson files of a folder (*.tarvel) in the order of their names.
QStringList lessonFiles(const QString& folder);

// What the Lessons menu calls a lesson file: the number its name begins
// with ("04-spline-ends.tarvel": 4), as the item's mnemonic, and the title
// of its lesson, or the file's name when it holds none or cannot be read.
QString lessonMenuTitle(const QString& path);

// One item per lesson of the program's lessons folder at the end of menu,
// named namePrefix and the file's base name, each opening its file through
// open; a disabled item saying so when there are none.
void addLessonItems(QMenu& menu, const QString& namePrefix,
                    const std::function<void(const QString&)>& open);

// The lesson's text: its title, what to look at and the question, with the
// answer behind a "Show answer" link.
class LessonPanel : public QTextBrowser {
    Q_OBJECT
public:
    explicit LessonPanel(QWidget* parent = nullptr);

    // Shows a lesson with its answer hidden.
    void showLesson(const Lesson& lesson);
    bool answerShown() const { return answerShown_; }
    void setAnswerShown(bool shown);

private:
    void render();

    Lesson lesson_;
    bool answerShown_ = false;
};

// The teacher's dialog for a lesson's four texts; all of them empty is no
// lesson.
class LessonDialog : public QDialog {
    Q_OBJECT
public:
    LessonDialog(const std::optional<Lesson>& lesson, QWidget* parent);

    std::optional<Lesson> lesson() const;

private:
    QLineEdit* title_ = nullptr;
    QPlainTextEdit* look_ = nullptr;
    QPlainTextEdit* question_ = nullptr;
    QPlainTextEdit* answer_ = nullptr;
};

}  // namespace tarvel::ui
