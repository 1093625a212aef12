#pragma once

#include <QImage>

#include <cstddef>
#include <optional>
#include <string>

#include "plot/drawing.h"
#include "plot/study_aids.h"
#include "ui/qt/plot_view.h"

class QAction;
class QMenu;
class QPainter;

namespace tarvel::ui {

// The picture area: keeps its drawing in world coordinates and shows it on
// the plot layer (plot area, scale, legend, hover, zoom and pan) with the
// study aids over it. Its context menu (right click, the menu key,
// Shift+F10) switches the overlays, keeps results, copies and saves.
class PictureWidget : public PlotView {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);
    Drawing& drawing() { return drawing_; }
    const Drawing& drawing() const { return drawing_; }
    const StudyAids& aids() const { return aids_; }
    QMenu* menu() const { return menu_; }
    // The actions that save, for the window's Study menu as well.
    QAction* savePictureAction() const { return savePicture_; }
    QAction* printPictureAction() const { return printPicture_; }
    QAction* exportPictureAction() const { return exportPicture_; }
    PlotScene exportScene() const override;
    QAction* saveValuesAction() const { return saveValues_; }
    QAction* saveGivenPointsAction() const { return saveGiven_; }
    // The error view and its decade scale, for the Study menu as well.
    QAction* showErrorAction() const { return showError_; }
    QAction* showLogErrorAction() const { return showLogError_; }

    void keepResult();
    void clearKeptResults();
    void copyPicture();
    void copyValues();
    // Writes the values (CSV) or the given points (a data set) to the file,
    // whole or not at all; the reason of a failure, empty on success.
    QString saveValues(const QString& fileName) const;
    QString saveGivenPoints(const QString& fileName) const;

    // What the last command did, in the status line's words: the picture's
    // accessible description (with the legend's entries) until the keyboard
    // cursor reads a point.
    void setCommandSentence(const QString& sentence);
    const QString& commandSentence() const { return sentence_; }
    // What the last study changed among the kept results, to be added to
    // the command's sentence; empty when nothing. Taking it clears it.
    QString takeKeptNote();
    // The point under the keyboard cursor, in the study's given points when
    // it has no interpolated ones; nothing while the cursor is not shown.
    std::optional<std::size_t> cursor() const { return cursor_; }

signals:
    // The accessible description was set and announced to the platform's
    // accessibility bridge (which only passes it on while a reader listens).
    void described(const QString& description);
    // A command of the picture's menu did something the user should hear
    // of ("Copied 150 values.", a save and why it failed).
    void notice(const QString& text);

protected:
    PlotScene currentScene() const override;
    PlotReadout readoutAt(const QPointF& at) const override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QAction* addMenuAction(const char* name, const QString& text, bool checkable);
    // A checkable action that shows or hides the overlay of one flag.
    QAction* addToggle(const char* name, const QString& text, bool StudyAids::*shown);
    void addSaveActions();
    void studyChanged();
    void aidsChanged();
    void updateActions();
    bool moveCursor(int key);
    void hideCursor();
    void describe(const QString& description);
    void paintCursor(QPainter& painter) const;
    // Asks for a file and writes it with `save`; says how it went.
    void saveWithDialog(const QString& title, const QString& suggested, const QString& filters,
                        QString (PictureWidget::*save)(const QString&) const, const QString& what);

    Drawing drawing_;
    StudyAids aids_;
    QString sentence_;
    QString keptNote_;
    std::optional<std::size_t> cursor_;
    QMenu* menu_ = nullptr;
    QAction* showError_ = nullptr;
    QAction* showLogError_ = nullptr;
    QAction* keep_ = nullptr;
    QAction* clearKept_ = nullptr;
    QAction* copyValues_ = nullptr;
    QAction* savePicture_ = nullptr;
    QAction* printPicture_ = nullptr;
    QAction* exportPicture_ = nullptr;
    QAction* saveValues_ = nullptr;
    QAction* saveGiven_ = nullptr;
};

}  // namespace tarvel::ui
