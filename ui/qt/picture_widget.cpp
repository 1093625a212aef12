#include "ui/qt/picture_widget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/qt/drawing_painter.h"
#include "ui/qt/study_painter.h"

namespace tarvel::ui {

PictureWidget::PictureWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);  // the menu key reaches the context menu
    drawing_.onChanged = [this] { update(); };
    drawing_.onStudyChanged = [this] { studyChanged(); };

    menu_ = new QMenu(this);
    showScale_ = addMenuAction("showScaleAction", tr("Show scale"), true);
    showLegend_ = addMenuAction("showLegendAction", tr("Show legend"), true);
    showError_ = addMenuAction("showErrorAction", tr("Show error"), true);
    menu_->addSeparator();
    keep_ = addMenuAction("keepCurveAction", tr("Keep this result"), false);
    clearKept_ = addMenuAction("clearKeptCurvesAction", tr("Clear kept results"), false);
    menu_->addSeparator();
    copyPicture_ = addMenuAction("copyPictureAction", tr("Copy picture"), false);
    copyValues_ = addMenuAction("copyValuesAction", tr("Copy values"), false);
    showScale_->setChecked(aids_.showScale);
    showLegend_->setChecked(aids_.showLegend);

    connect(showScale_, &QAction::toggled, this, [this](bool on) {
        aids_.showScale = on;
        update();
    });
    connect(showLegend_, &QAction::toggled, this, [this](bool on) {
        aids_.showLegend = on;
        update();
    });
    connect(showError_, &QAction::toggled, this, [this](bool on) {
        aids_.showError = on;
        update();
    });
    connect(keep_, &QAction::triggered, this, &PictureWidget::keepResult);
    connect(clearKept_, &QAction::triggered, this, &PictureWidget::clearKeptResults);
    connect(copyPicture_, &QAction::triggered, this, &PictureWidget::copyPicture);
    connect(copyValues_, &QAction::triggered, this, &PictureWidget::copyValues);
    updateActions();
}

QAction* PictureWidget::addMenuAction(const char* name, const QString& text, bool checkable)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    menu_->addAction(action);
    return action;
}

void PictureWidget::studyChanged()
{
    aids_.kept.follow(drawing_.study());
    updateActions();
}

void PictureWidget::updateActions()
{
    const Study& study = drawing_.study();
    const bool errorPossible = errorAvailable(study);
    showError_->setEnabled(errorPossible);
    if (!errorPossible)
        showError_->setChecked(false);
    keep_->setEnabled(!study.interpolated.empty());
    clearKept_->setEnabled(!aids_.kept.results().empty());
    copyValues_->setEnabled(!study.interpolated.empty());
}

void PictureWidget::keepResult()
{
    aids_.kept.keep(drawing_.study());
    updateActions();
    update();
}

void PictureWidget::clearKeptResults()
{
    aids_.kept.clear();
    updateActions();
    update();
}

QImage PictureWidget::pictureImage() const
{
    const QRect area = contentsRect();
    QImage image(area.size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio());
    image.fill(kBackground);
    QPainter painter(&image);
    paintPicture(drawing_, aids_, painter, area.size(), font(), separator_);
    return image;
}

void PictureWidget::copyPicture() const
{
    QApplication::clipboard()->setImage(pictureImage());
}

void PictureWidget::copyValues() const
{
    QApplication::clipboard()->setText(QString::fromStdString(valuesText(drawing_.study())));
}

void PictureWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    paintPicture(drawing_, aids_, painter, area.size(), font(), separator_);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(QPoint(1, 1), area.size() - QSize(2, 2));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event)
{
    QFrame::mouseMoveEvent(event);
    const QRect area = contentsRect();
    const QPointF at = event->position() - area.topLeft();
    const std::string text =
        readoutText(drawing_.study(), shownWorld(drawing_, aids_), area.width(), area.height(),
                    showsError(drawing_, aids_), at.x(), at.y(), separator_);
    if (text.empty())
        emit readoutLeft();
    else
        emit readout(QString::fromStdString(text));
}

void PictureWidget::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    emit readoutLeft();
}

void PictureWidget::contextMenuEvent(QContextMenuEvent* event)
{
    updateActions();
    // From the keyboard the menu opens at the middle of the picture.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : mapToGlobal(rect().center());
    menu_->popup(at);
    event->accept();
}

void PictureWidget::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && !menu_->isVisible()) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, rect().center(),
                                    mapToGlobal(rect().center()));
        contextMenuEvent(&menuEvent);
        return;
    }
    QFrame::keyPressEvent(event);
}

}  // namespace tarvel::ui
