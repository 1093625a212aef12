#pragma once

#include <QFrame>
#include <QImage>

#include <string>

#include "plot/drawing.h"
#include "plot/study_aids.h"

class QAction;
class QMenu;

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

signals:
    // The mouse moved over the picture: what lies under it.
    void readout(const QString& text);
    // The mouse left the picture.
    void readoutLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* addMenuAction(const char* name, const QString& text, bool checkable);
    void studyChanged();
    void updateActions();

    Drawing drawing_;
    StudyAids aids_;
    std::string separator_ = ".";
    QMenu* menu_ = nullptr;
    QAction* showScale_ = nullptr;
    QAction* showLegend_ = nullptr;
    QAction* showError_ = nullptr;
    QAction* keep_ = nullptr;
    QAction* clearKept_ = nullptr;
    QAction* copyPicture_ = nullptr;
    QAction* copyValues_ = nullptr;
};

}  // namespace tarvel::ui
