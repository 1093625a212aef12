#include "ui/qt/picture_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <cmath>

#include "ui/qt/drawing_painter.h"
#include "ui/qt/study_painter.h"

namespace tarvel::ui {
namespace {

// Marks the point under the keyboard cursor; no data are drawn in it.
const QColor kCursorColour(160, 0, 160);
constexpr int kCursorRadius = 7;
constexpr int kFocusFrameWidth = 2;

// A screen reader meets the picture as an image with a name and the last
// command's sentence, not as a bare frame.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String("tarvel::ui::PictureWidget"))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
}

}  // namespace

PictureWidget::PictureWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);  // the menu key and the cursor keys reach it
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    drawing_.onChanged = [this] { update(); };
    drawing_.onStudyChanged = [this] { studyChanged(); };

    menu_ = new QMenu(this);
    addToggle("showScaleAction", tr("Show scale"), &StudyAids::showScale);
    addToggle("showLegendAction", tr("Show legend"), &StudyAids::showLegend);
    showError_ = addToggle("showErrorAction", tr("Show error"), &StudyAids::showError);
    menu_->addSeparator();
    keep_ = addMenuAction("keepCurveAction", tr("Keep this result"), false);
    clearKept_ = addMenuAction("clearKeptCurvesAction", tr("Clear kept results"), false);
    menu_->addSeparator();
    auto* copyPicture = addMenuAction("copyPictureAction", tr("Copy picture"), false);
    copyValues_ = addMenuAction("copyValuesAction", tr("Copy values"), false);

    connect(keep_, &QAction::triggered, this, &PictureWidget::keepResult);
    connect(clearKept_, &QAction::triggered, this, &PictureWidget::clearKeptResults);
    connect(copyPicture, &QAction::triggered, this, &PictureWidget::copyPicture);
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

QAction* PictureWidget::addToggle(const char* name, const QString& text, bool StudyAids::*shown)
{
    QAction* action = addMenuAction(name, text, true);
    action->setChecked(aids_.*shown);
    connect(action, &QAction::toggled, this, [this, shown](bool on) {
        aids_.*shown = on;
        update();
    });
    return action;
}

void PictureWidget::studyChanged()
{
    // A cursor belongs to the points it was moved over.
    if (cursor_) {
        cursor_.reset();
        emit readoutLeft();
        update();
    }
    aids_.kept.follow(drawing_.study());
    updateActions();
}

void PictureWidget::setCommandSentence(const QString& sentence)
{
    sentence_ = sentence;
    if (cursor_) {
        cursor_.reset();
        update();
    }
    describe(sentence);
}

void PictureWidget::describe(const QString& description)
{
    setAccessibleDescription(description);
    // Sent even when the text stays the same: a command that says what the
    // last one said still ran, and a reader should say so.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    emit described(description);
}

bool PictureWidget::moveCursor(int key)
{
    CursorStep step = CursorStep::Next;
    switch (key) {
    case Qt::Key_Right:
        step = CursorStep::Next;
        break;
    case Qt::Key_Left:
        step = CursorStep::Previous;
        break;
    case Qt::Key_Home:
        step = CursorStep::First;
        break;
    case Qt::Key_End:
        step = CursorStep::Last;
        break;
    default:
        return false;
    }
    const Study& study = drawing_.study();
    cursor_ = stepCursor(cursor_, cursorPoints(study), step);
    if (!cursor_)
        return true;  // nothing drawn to step over; the key is still ours
    const StudyPoint& point = cursorKind(study) == PointKind::Interpolated
                                  ? study.interpolated[*cursor_]
                                  : study.given[*cursor_];
    const QString text = QString::fromStdString(pointText(point, cursorKind(study), separator_));
    describe(text);
    emit readout(text);
    update();
    return true;
}

void PictureWidget::hideCursor()
{
    if (!cursor_)
        return;
    cursor_.reset();
    describe(sentence_);
    emit readoutLeft();
    update();
}

void PictureWidget::paintCursor(QPainter& painter, const QSize& size) const
{
    if (!cursor_)
        return;
    const Study& study = drawing_.study();
    const Viewport view(shownWorld(drawing_, aids_), size.width(), size.height());
    if (!view.valid())
        return;
    const PlacedPoints placed = placePoints(study, view, showsError(drawing_, aids_));
    const std::vector<DevicePoint>& points =
        cursorKind(study) == PointKind::Interpolated ? placed.interpolated : placed.given;
    if (*cursor_ >= points.size())
        return;
    const QPointF at(points[*cursor_].x, points[*cursor_].y);
    if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kCursorColour, 2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kCursorRadius, kCursorRadius);
    pen.setWidth(1);
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.drawLine(QPointF(at.x(), 0), QPointF(at.x(), at.y() - kCursorRadius));
    painter.drawLine(QPointF(at.x(), at.y() + kCursorRadius), QPointF(at.x(), size.height()));
    painter.restore();
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
    paintCursor(painter, area.size());
    if (hasFocus()) {
        // Some styles draw a focus frame only after a Tab, or not at all: the
        // picture draws its own, so the cursor keys' target is always seen.
        painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        const int inset = kFocusFrameWidth / 2;
        painter.drawRect(
            QRect(QPoint(inset, inset), area.size() - QSize(kFocusFrameWidth, kFocusFrameWidth)));
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
    if (event->modifiers() == Qt::NoModifier && moveCursor(event->key()))
        return;
    QFrame::keyPressEvent(event);
}

void PictureWidget::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    // The context menu takes the focus for a while; the cursor stays.
    if (event->reason() != Qt::PopupFocusReason)
        hideCursor();
}

}  // namespace tarvel::ui
