#include "ui/qt/picture_widget.h"

#include <QPainter>

#include "ui/qt/drawing_painter.h"

namespace tarvel::ui {

PictureWidget::PictureWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    drawing_.onChanged = [this] { update(); };
}

void PictureWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    paintDrawing(drawing_, painter, area.size());
}

}  // namespace tarvel::ui
