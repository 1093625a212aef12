#pragma once

#include <QFrame>

#include "plot/drawing.h"

namespace tarvel::ui {

// The picture area: keeps its drawing in world coordinates and paints it
// again at the current size on every paint event.
class PictureWidget : public QFrame {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent = nullptr);
    Drawing& drawing() { return drawing_; }
    const Drawing& drawing() const { return drawing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing drawing_;
};

}  // namespace tarvel::ui
