#pragma once

#include <QFrame>
#include <QImage>

#include <cstddef>
#include <optional>
#include <string>

#include "plot/drawing.h"
#include "plot/study_aids.h"

class QAction;
class QMenu;
class QPainter;

namespace tarvel::ui {

// The picture area: keeps its drawing in world coordinates and paints it
// again at the current size on every paint event, with the study aids over
// it. Its context menu (right click, the menu key, Shift+F10) switches the
// overlays, keeps results and copies the picture or the values.
class PictureWidget : public QFrame {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);
    Drawing& drawing() { return drawing_; }
    const Drawing& drawing() const { return drawing_; }
    const StudyAids& aids() const { return aids_; }
    QMenu* menu() const { return menu_; }
    void setDecimalSeparator(const std::string& separator) { separator_ = separator; }

    // The picture as it is shown, without the frame.
    QImage pictureImage() const;
    void keepResult();
    void clearKeptResults();
    void copyPicture() const;
    void copyValues() const;

    // What the last command did, in the status line's words: the picture's
    // accessible description until the keyboard cursor reads a point.
    void setCommandSentence(const QString& sentence);
    const QString& commandSentence() const { return sentence_; }
    // The point under the keyboard cursor, in the study's given points when
    // it has no interpolated ones; nothing while the cursor is not shown.
    std::optional<std::size_t> cursor() const { return cursor_; }

signals:
    // The mouse moved over the picture: what lies under it.
    void readout(const QString& text);
    // The mouse left the picture.
    void readoutLeft();
    // The accessible description was set and announced to the platform's
    // accessibility bridge (which only passes it on while a reader listens).
    void described(const QString& description);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QAction* addMenuAction(const char* name, const QString& text, bool checkable);
    // A checkable action that shows or hides the overlay of one flag.
    QAction* addToggle(const char* name, const QString& text, bool StudyAids::*shown);
    void studyChanged();
    void updateActions();
    bool moveCursor(int key);
    void hideCursor();
    void describe(const QString& description);
    void paintCursor(QPainter& painter, const QSize& size) const;

    Drawing drawing_;
    StudyAids aids_;
    std::string separator_ = ".";
    QString sentence_;
    std::optional<std::size_t> cursor_;
    QMenu* menu_ = nullptr;
    QAction* showError_ = nullptr;
    QAction* keep_ = nullptr;
    QAction* clearKept_ = nullptr;
    QAction* copyValues_ = nullptr;
};

}  // namespace tarvel::ui
