#include "ui/qt/picture_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>

#include <cmath>

#include "data/dsf_writer.h"
#include "ui/control_table.h"
#include "ui/qt/export_dialog.h"
#include "ui/qt/file_save.h"
#include "ui/qt/qt_text.h"
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

QString counted(std::size_t count, const char* singular, const char* plural)
{
    return QString::number(count) + ' ' + (count == 1 ? singular : plural);
}

}  // namespace

PictureWidget::PictureWidget(QWidget* parent) : PlotView(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // Every command ends by handing over its study, which looks at the
    // world; each operation before it only asks for a repaint.
    drawing_.onChanged = [this] { layoutChanged(); };
    drawing_.onStudyChanged = [this] { studyChanged(); };

    menu_ = new QMenu(this);
    addToggle("showScaleAction", tr("Show scale"), &StudyAids::showScale);
    addToggle("showLegendAction", tr("Show legend"), &StudyAids::showLegend);
    showError_ = addToggle("showErrorAction", tr("Show error"), &StudyAids::showError);
    showLogError_ =
        addToggle("showLogErrorAction", tr("Error on a decade scale"), &StudyAids::showLogError);
    menu_->addSeparator();
    keep_ = addMenuAction("keepCurveAction", tr("Keep this result"), false);
    clearKept_ = addMenuAction("clearKeptCurvesAction", tr("Clear kept results"), false);
    menu_->addSeparator();
    auto* copyPicture = addMenuAction("copyPictureAction", tr("Copy picture"), false);
    copyValues_ = addMenuAction("copyValuesAction", tr("Copy values"), false);
    menu_->addSeparator();
    addSaveActions();
    menu_->addSeparator();
    auto* whole = addMenuAction("showWholePictureAction", tr("Show the whole picture"), false);
    whole->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    whole->setShortcutContext(Qt::WidgetShortcut);
    addAction(whole);

    connect(keep_, &QAction::triggered, this, &PictureWidget::keepResult);
    connect(clearKept_, &QAction::triggered, this, &PictureWidget::clearKeptResults);
    connect(copyPicture, &QAction::triggered, this, &PictureWidget::copyPicture);
    connect(copyValues_, &QAction::triggered, this, &PictureWidget::copyValues);
    connect(whole, &QAction::triggered, this, &PictureWidget::showWholePicture);
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
        aidsChanged();
    });
    return action;
}

void PictureWidget::addSaveActions()
{
    savePicture_ = addMenuAction("savePictureAction", tr("Save picture…"), false);
    saveValues_ = addMenuAction("saveValuesAction", tr("Save values…"), false);
    saveGiven_ = addMenuAction("saveGivenPointsAction", tr("Save given points…"), false);
    exportPicture_ = addMenuAction("exportPictureAction", tr("Export picture…"), false);
    connect(exportPicture_, &QAction::triggered, this, [this] {
        ExportDialog dialog(*this, this);
        connect(&dialog, &ExportDialog::exported, this, &PictureWidget::notice);
        dialog.exec();
    });
    printPicture_ = addMenuAction("printPictureAction", tr("Print picture…"), false);
    connect(printPicture_, &QAction::triggered, this, [this] {
        emit notice(printWithDialog(this) ? tr("Printed the picture.") : tr("Nothing was printed."));
    });
    connect(savePicture_, &QAction::triggered, this, [this] {
        saveWithDialog(tr("Save picture"), "picture.png",
                       tr("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf);;"
                          "pgfplots figure for LaTeX (*.tex)"),
                       &PictureWidget::savePicture, tr("the picture"));
    });
    connect(saveValues_, &QAction::triggered, this, [this] {
        saveWithDialog(tr("Save values"), "values.csv", tr("CSV table (*.csv)"),
                       &PictureWidget::saveValues, tr("the values"));
    });
    connect(saveGiven_, &QAction::triggered, this, [this] {
        saveWithDialog(tr("Save given points"), "given points.dsf", tr("Data set (*.dsf)"),
                       &PictureWidget::saveGivenPoints, tr("the given points"));
    });
}

void PictureWidget::saveWithDialog(const QString& title, const QString& suggested,
                                   const QString& filters,
                                   QString (PictureWidget::*save)(const QString&) const,
                                   const QString& what)
{
    const QString fileName = askSaveFileName(this, title, suggested, filters);
    if (fileName.isEmpty())
        return;
    const QString shown = shownFileName(fileName);
    const QString failure = (this->*save)(fileName);
    if (failure.isEmpty()) {
        emit notice(tr("Saved %1 as %2.").arg(what, shown));
        return;
    }
    emit notice(notSavedText(fileName, failure));
    QMessageBox box(QMessageBox::Warning, qstr(kAppTitle), tr("%1 could not be saved.").arg(shown),
                    QMessageBox::Ok, this);
    box.setObjectName("saveFailedBox");
    box.setInformativeText(failure);
    box.exec();
}

QString PictureWidget::saveValues(const QString& fileName) const
{
    return saveWhole(fileName, QByteArray::fromStdString(
                                   valuesText(drawing_.study(), ',', aids_.kept.results())));
}

QString PictureWidget::saveGivenPoints(const QString& fileName) const
{
    std::vector<double> x;
    std::vector<double> y;
    for (const StudyPoint& point : drawing_.study().given) {
        x.push_back(point.x);
        y.push_back(point.y);
    }
    return saveWhole(fileName, QByteArray::fromStdString(dataSetText(x, y)));
}

PlotScene PictureWidget::currentScene() const
{
    return pictureScene(drawing_, aids_);
}

PlotScene PictureWidget::exportScene() const
{
    return pictureSeriesScene(drawing_, aids_);
}

PlotReadout PictureWidget::readoutAt(const QPointF& at) const
{
    const QRectF area = plotArea();
    if (!area.contains(at))
        return {};
    const StudyReadout read =
        studyReadout(drawing_.study(), shownWorld(), area.width(), area.height(),
                     shownReading(drawing_, aids_), at.x() - area.left(), at.y() - area.top(),
                     decimalSeparator());
    PlotReadout readout{qstr(read.text), std::nullopt};
    if (read.point)
        readout.ring = QPointF(area.left() + read.point->x, area.top() + read.point->y);
    return readout;
}

void PictureWidget::aidsChanged()
{
    PlotOptions shown = options();
    shown.showScale = aids_.showScale;
    shown.showLegend = aids_.showLegend;
    setOptions(shown);
    updateActions();
    sceneChanged();
    describe(cursor_ ? accessibleDescription() : sentence_);
}

void PictureWidget::studyChanged()
{
    // A cursor belongs to the points it was moved over.
    if (cursor_) {
        cursor_.reset();
        emit readoutLeft();
    }
    const std::size_t cleared = aids_.kept.follow(drawing_.study());
    if (cleared > 0) {
        const Study& study = drawing_.study();
        const std::string& from =
            study.dataSetName.empty() ? study.functionName : study.dataSetName;
        keptNote_ = tr("%1 cleared: the given points now come from %2.")
                        .arg(cleared == 1 ? tr("The kept result was")
                                          : tr("The %1 kept results were").arg(cleared),
                             from.empty() ? tr("elsewhere") : qstr(from));
    }
    updateActions();
    sceneChanged();
}

QString PictureWidget::takeKeptNote()
{
    QString note;
    note.swap(keptNote_);
    return note;
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
    QString full = description;
    const QStringList entries = legendEntries();
    if (!entries.isEmpty() && !cursor_)
        full += tr(" Legend: %1.").arg(entries.join("; "));
    setAccessibleDescription(full);
    // Sent even when the text stays the same: a command that says what the
    // last one said still ran, and a reader should say so.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    emit described(full);
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
    const QString text =
        QString::fromStdString(pointText(point, cursorKind(study), decimalSeparator()));
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

void PictureWidget::paintCursor(QPainter& painter) const
{
    if (!cursor_)
        return;
    const Study& study = drawing_.study();
    const QRectF area = plotArea();
    const Viewport view(shownWorld(), area.width(), area.height());
    if (!view.valid())
        return;
    const PlacedPoints placed = placePoints(study, view, shownReading(drawing_, aids_));
    const std::vector<DevicePoint>& points =
        cursorKind(study) == PointKind::Interpolated ? placed.interpolated : placed.given;
    if (*cursor_ >= points.size())
        return;
    const QPointF at(area.left() + points[*cursor_].x, area.top() + points[*cursor_].y);
    if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
        return;
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kCursorColour, 2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kCursorRadius, kCursorRadius);
    pen.setWidth(1);
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), at.y() - kCursorRadius));
    painter.drawLine(QPointF(at.x(), at.y() + kCursorRadius), QPointF(at.x(), area.bottom()));
    painter.restore();
}

void PictureWidget::updateActions()
{
    const Study& study = drawing_.study();
    // The error view stays chosen across OK and Calculate while the given
    // points come from a test function, and shows once there is an error.
    const bool errorSensible = study.hasTestFunction();
    showError_->setEnabled(errorSensible);
    if (!errorSensible)
        showError_->setChecked(false);
    showLogError_->setEnabled(errorSensible && aids_.showError);
    keep_->setEnabled(!study.interpolated.empty());
    clearKept_->setEnabled(!aids_.kept.results().empty());
    copyValues_->setEnabled(!study.interpolated.empty());
    saveValues_->setEnabled(!study.interpolated.empty());
    saveGiven_->setEnabled(!study.given.empty());
    savePicture_->setEnabled(!drawing_.ops().empty());
    printPicture_->setEnabled(!drawing_.ops().empty());
    exportPicture_->setEnabled(!drawing_.ops().empty());
}

void PictureWidget::keepResult()
{
    const Study& study = drawing_.study();
    const KeptResults::Outcome outcome = aids_.kept.keep(study);
    if (!outcome.kept)
        return;
    QString text = tr("Kept %1 (%2, %3).")
                       .arg(qstr(study.methodName.empty() ? methodLabel(study) : study.methodName),
                            counted(study.given.size(), "given point", "given points"),
                            counted(study.interpolated.size(), "point", "points"));
    if (!outcome.dropped.empty())
        text += tr(" The oldest kept result, %1, was let go: at most %2 are kept.")
                    .arg(qstr(outcome.dropped))
                    .arg(KeptResults::kMaxKept);
    updateActions();
    sceneChanged();
    emit notice(text);
}

void PictureWidget::clearKeptResults()
{
    const std::size_t count = aids_.kept.results().size();
    aids_.kept.clear();
    updateActions();
    sceneChanged();
    emit notice(tr("Cleared %1.").arg(counted(count, "kept result", "kept results")));
}

void PictureWidget::copyPicture()
{
    const QImage image = pictureImage();
    QApplication::clipboard()->setImage(image);
    emit notice(tr("Copied the picture (%1 × %2 pixels).").arg(image.width()).arg(image.height()));
}

void PictureWidget::copyValues()
{
    const Study& study = drawing_.study();
    QApplication::clipboard()->setText(QString::fromStdString(valuesText(study)));
    emit notice(tr("Copied %1.").arg(counted(study.interpolated.size(), "value", "values")));
}

void PictureWidget::paintEvent(QPaintEvent* event)
{
    PlotView::paintEvent(event);
    QPainter painter(this);
    paintCursor(painter);
    if (hasFocus()) {
        // Some styles draw a focus frame only after a Tab, or not at all: the
        // picture draws its own, so the cursor keys' target is always seen.
        const QRect area = contentsRect();
        painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        const int inset = kFocusFrameWidth / 2;
        painter.drawRect(QRect(area.topLeft() + QPoint(inset, inset),
                               area.size() - QSize(kFocusFrameWidth, kFocusFrameWidth)));
    }
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
    PlotView::keyPressEvent(event);
}

void PictureWidget::focusOutEvent(QFocusEvent* event)
{
    PlotView::focusOutEvent(event);
    // The context menu takes the focus for a while; the cursor stays.
    if (event->reason() != Qt::PopupFocusReason)
        hideCursor();
}

}  // namespace tarvel::ui
