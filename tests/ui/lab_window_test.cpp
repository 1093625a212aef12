// The interpolation lab in the real window on the offscreen platform:
// opening it from the main window, each view, a drag and its undo from the
// mouse and the keyboard, refusals, the convergence view, copying and
// saving.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <limits>
#include <optional>

#include "data/dsf_reader.h"
#include "data/number_text.h"
#include "support/window_controls.h"
#include "support/zoom_walk.h"
#include "lab/study_file.h"
#include "ui/qt/lab_launch.h"
#include "ui/qt/lab_lessons.h"
#include "ui/qt/lab_plot.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_sentence.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

// A lab of its own, not through the main window, with these methods shown.
LabWindow* openLab(LabFunction function, int count, std::initializer_list<const char*> methods,
                   NodeList data = {})
{
    LabStart start;
    start.settings.function = function;
    start.settings.count = count;
    for (const char* key : methods)
        start.settings.shown[methodIndex(*studyMethodFromKey(key))] = true;
    start.data = std::move(data);
    auto* lab = new LabWindow(std::move(start));
    lab->resize(1100, 720);
    lab->show();
    return lab;
}

void choose(QComboBox* combo, const char* key)
{
    const int index = combo->findData(QString::fromLatin1(key));
    QVERIFY2(index >= 0, key);
    combo->setCurrentIndex(index);
}

// Sets a spin box as a user would and lets the lab take the change, which it
// does once the events waiting have been handled.
void setSpinBox(QSpinBox* box, int value)
{
    box->setValue(value);
    QCoreApplication::processEvents();
}

QString statusOf(LabWindow& lab)
{
    return find<QLabel>(lab, "labStatus")->text();
}

QPointF nodeAt(LabWindow& lab, int i)
{
    return find<LabPlot>(lab, "labPlot")->property("nodePositions").toList().at(i).toPointF();
}

// Whether two legend boxes share a corner: a box widens from its corner
// when an entry's text grows ("nodes" becoming "edited nodes").
bool shareACorner(const QRect& a, const QRect& b)
{
    const auto near = [](const QPoint& p, const QPoint& q) {
        return (p - q).manhattanLength() <= 1;
    };
    return near(a.topLeft(), b.topLeft()) || near(a.topRight(), b.topRight()) ||
           near(a.bottomLeft(), b.bottomLeft()) || near(a.bottomRight(), b.bottomRight());
}

// Answers the lab's question about unsaved edits with one button (and the
// save dialog with a path), counting how often it was asked.
class UnsavedAnswer {
public:
    UnsavedAnswer(QMessageBox::StandardButton button, const QString& path)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, button, path] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal);
                box && box->objectName() == "labUnsavedBox") {
                ++asked;
                question = box->text();
                box->button(button)->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                dialog->selectFile(path);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        });
        timer_.start();
    }
    int asked = 0;
    QString question;

private:
    QTimer timer_;
};

// One step of a node up by the keyboard: an edit of the nodes.
void editANode(LabWindow& lab)
{
    auto* plot = find<LabPlot>(lab, "labPlot");
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_Right);
    QTest::keyClick(plot, Qt::Key_Up);
    QVERIFY(lab.model().edited());
}

// The study in a file, as the lab reads it.
tarvel::Study studyIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readStudyFile(file.readAll().toStdString()).study.value_or(tarvel::Study{});
}

// Follows the lesson panel's first link from the keyboard, as a person
// without a mouse does: Tab to it, then Return.
void followLessonLink(LabWindow& lab)
{
    auto* panel = find<LessonPanel>(lab, "labLessonText");
    panel->setFocus();
    QTest::keyClick(panel, Qt::Key_Tab);
    QTest::keyClick(panel, Qt::Key_Return);
}

// A move of the pointer over the plot, with the left button held or not.
void movePointer(LabPlot* plot, const QPointF& at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
}

// A node dragged from where it is, by steps, to `to`; the plot's world and
// the node's place after each step go to `during`.
void dragNode(LabWindow& lab, int node, const QPoint& to,
              const std::function<void()>& during = [] {})
{
    auto* plot = find<LabPlot>(lab, "labPlot");
    const QPoint from = nodeAt(lab, node).toPoint();
    QTest::mousePress(plot, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step) {
        movePointer(plot, QPointF(from + (to - from) * step / 4), Qt::LeftButton);
        during();
    }
    QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
}

void wheelOver(LabPlot* plot, Qt::KeyboardModifiers keys)
{
    const QPoint at = plot->property("plotArea").toRect().center();
    QWheelEvent wheel(at, plot->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
}

// Answers the next save dialog with `path` (cancels it when empty); the
// folder it opened in goes to `openedIn`.
void answerSaveDialog(const QString& path, QString& openedIn)
{
    QTimer::singleShot(0, [path, &openedIn] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            answerSaveDialog(path, openedIn);
            return;
        }
        openedIn = dialog->directory().absolutePath();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    });
}

}  // namespace

class LabWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QApplication::clipboard()->clear(); }

    void opensFromTheStudyMenuWithTheMainWindowsChoices()
    {
        MainWindow window;
        window.show();
        find<QRadioButton>(window, "Option_Cos10Fu")->setChecked(true);
        find<QRadioButton>(window, "Option_InterPwCb")->setChecked(true);
        find<QLineEdit>(window, "Text_nU")->setText("21");
        auto* action = find<QAction>(window, "labAction");
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+L"));
        QVERIFY(find<QMenu>(window, "Mn_Study")->actions().contains(action));
        action->trigger();
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QVERIFY(lab);
        QCOMPARE(lab->windowTitle(), QString("Interpolation lab"));
        QVERIFY(lab->isVisible());
        QCOMPARE(lab->windowModality(), Qt::NonModal);
        QCOMPARE(find<QComboBox>(*lab, "labFunction")->currentData().toString(), QString("cos10"));
        QCOMPARE(find<QSpinBox>(*lab, "labCount")->value(), 21);
        QVERIFY(find<QCheckBox>(*lab, "labMethod_pw")->isChecked());
        QVERIFY(!find<QCheckBox>(*lab, "labMethod_local")->isChecked());
        // Changing the lab leaves the main window's entries alone.
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 40);
        QCOMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("21"));
        action->trigger();
        QCOMPARE(window.findChildren<LabWindow*>().size(), 1);
    }

    void theLabOpensBesideTheMainWindowWhereTheScreenHasRoom()
    {
        const QSize wanted(1100, 720);
        const QSize smallest(640, 480);
        const struct {
            const char* what;
            QRect main;
            QRect screen;
            QRect lab;  // empty: where the window system puts it
        } cases[] = {
            {"room on the right", {0, 0, 700, 600}, {0, 0, 1920, 1080}, {700, 0, 1100, 720}},
            {"room on the left", {1000, 100, 700, 600}, {0, 0, 1920, 1080}, {0, 100, 1000, 720}},
            {"narrowed to the room", {0, 0, 700, 600}, {0, 0, 1600, 1000}, {700, 0, 900, 720}},
            {"kept on the screen", {0, 700, 700, 300}, {0, 0, 1920, 1080}, {700, 360, 1100, 720}},
            {"the screen's own corner", {100, 50, 700, 600}, {100, 50, 1900, 1000}, {800, 50, 1100, 720}},
            {"no room", {200, 0, 700, 600}, {0, 0, 1366, 768}, {}},
        };
        for (const auto& c : cases)
            QVERIFY2(labPlaceBeside(c.main, c.screen, wanted, smallest) == c.lab, c.what);
    }

    // 400 presses of + and of -, and drags out to 1e300 and -1e300, in the
    // values and in the error on the decade scale: the lab answers, its
    // status line says where the numbers stop and the readout stays a number.
    void zoomAndPanStopAtTheEndsOfTheNumbers()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        support::ZoomWalk walk{*plot, [&lab] { return statusOf(*lab); },
                               [&lab] { return lab->statusBar()->currentMessage(); }};
        support::zoomToTheEndsOfTheNumbers(walk);
        choose(find<QComboBox>(*lab, "labView"), "logerror");
        walk.decadeY = true;
        support::zoomToTheEndsOfTheNumbers(walk);
    }

    void everyViewShowsItsLegendBesideTheData()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "natural"}));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        auto* view = find<QComboBox>(*lab, "labView");
        const struct {
            const char* key;
            const char* firstEntry;
        } views[] = {
            {"values", "Runge"},      {"error", "error of Global"},
            {"logerror", "error of"}, {"derivative", "Runge"},
            {"second", "Runge"},      {"lebesgue", "Lebesgue function of Global"},
        };
        for (const auto& v : views) {
            choose(view, v.key);
            const QStringList entries = plot->property("legendEntries").toStringList();
            QVERIFY2(!entries.isEmpty(), v.key);
            QVERIFY2(entries.first().startsWith(v.firstEntry), qPrintable(entries.first()));
            const QRect area = plot->property("plotArea").toRect();
            const QRect legend = plot->property("legendArea").toRect();
            QVERIFY(plot->rect().contains(area));
            QVERIFY2(!legend.isEmpty() && plot->rect().contains(legend), v.key);
            const QRectF world = plot->property("visibleWorld").toRectF();
            QVERIFY(world.width() > 0 && world.height() != 0);
            QCOMPARE(plot->property("nodePositions").toList().isEmpty(),
                     QString(v.key) != "values");
        }
        QCOMPARE(find<QTableWidget>(*lab, "labNumbers")->rowCount(), 2);
    }

    // A legend entry longer than the plot has room for ends in "…"; the
    // legend stays inside the plot and its tooltip gives the entries whole.
    // One too long for a column beside the plot stands whole above it.
    void aLegendTooLongForThePlotEndsInAnEllipsis()
    {
        const struct {
            int width;
            int letters;
            bool shortened;
        } cases[] = {{640, 20, false}, {640, 200, true}, {300, 60, true}, {260, 8, false},
                     {640, 40, false}};
        for (const auto& c : cases) {
            PlotView view;
            view.resize(c.width, 240);
            view.show();
            PlotScene scene;
            scene.world = {0, 1, 1, 0};
            const QString name = QString(c.letters, QChar('w'));
            scene.series.push_back({SeriesStyle::Line, Qt::red, name, {{0, 0}, {1, 1}}});
            view.setScene(scene);
            const QString what = QString("%1 letters at %2 px").arg(c.letters).arg(c.width);
            QVERIFY2(view.property("legendShortened").toBool() == c.shortened, qPrintable(what));
            const QRect legend = view.property("legendArea").toRect();
            QVERIFY2(!legend.isEmpty() && view.rect().contains(legend), qPrintable(what));
            QCOMPARE(view.property("legendEntries").toStringList(), QStringList{name});
            if (!c.shortened)
                continue;
            QHelpEvent help(QEvent::ToolTip, legend.center(), view.mapToGlobal(legend.center()));
            QApplication::sendEvent(&view, &help);
            QTRY_COMPARE(QToolTip::text(), name);
            QToolTip::hideText();
        }
    }

    // Every view's plot carries its title and captions; painted at any size
    // down to 320 x 240, the title, the captions, the tick labels and the
    // legend never cover each other.
    void titleCaptionsAndLegendLieApartAtEverySize()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "natural"}));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        auto* view = find<QComboBox>(*lab, "labView");
        QCOMPARE(plot->property("titleText").toString(),
                 QString("Runge 1/(1 + 25(2x − 1)²), 11 evenly spaced nodes"));
        QCOMPARE(plot->property("axisCaptions").toStringList(),
                 QStringList({"x", "p(x), f(x)"}));
        for (const char* key : {"values", "error", "logerror", "lebesgue", "convergence"}) {
            choose(view, key);
            QVERIFY2(!plot->property("axisCaptions").toStringList().at(1).isEmpty(), key);
            const PlotScene scene = labScene(plot->picture());
            for (const QSize size : {QSize(320, 240), QSize(480, 300), QSize(1100, 560)}) {
                QImage image(size, QImage::Format_ARGB32_Premultiplied);
                QPainter painter(&image);
                const PlotGeometry g = paintPlot(scene, scene.world, PlotOptions{}, painter,
                                                 QSizeF(size), plot->font(), ".");
                const QString where = QString("%1 at %2x%3").arg(key).arg(size.width()).arg(size.height());
                const std::pair<const char*, QRectF> parts[] = {
                    {"title", g.titleArea},       {"x caption", g.xCaptionArea},
                    {"y caption", g.yCaptionArea}, {"x labels", g.xLabelsArea},
                    {"y labels", g.yLabelsArea},  {"legend", g.legendArea},
                };
                for (const auto& [name, rect] : parts) {
                    QVERIFY2(!rect.isEmpty(), qPrintable(where + ": no " + name));
                    QVERIFY2(QRectF(QPointF(0, 0), QSizeF(size)).contains(rect),
                             qPrintable(where + ": " + name + " leaves the picture"));
                    for (const auto& [other, otherRect] : parts)
                        QVERIFY2(name == other || !rect.intersects(otherRect),
                                 qPrintable(where + ": " + name + " covers " + other));
                }
            }
        }
        lab->setTitle(QString());
        QVERIFY(plot->property("titleText").toString().isEmpty());
        lab->setTitle(QString("Runge: evenly spaced against Chebyshev points"));
        QCOMPARE(plot->property("titleText").toString(),
                 QString("Runge: evenly spaced against Chebyshev points"));
        lab->setTitle(std::nullopt);
        QVERIFY(plot->property("titleText").toString().startsWith("Runge 1/(1 + 25(2x − 1)²), "));
    }

    // A dashed curve of many short segments (a band, an extrapolated
    // stretch) shows its dashes: the pattern runs on from point to point
    // instead of starting again at each one.
    void aDashedCurveShowsGapsAlongItsCourse()
    {
        PlotScene scene;
        scene.world = {0, 1, 1, 0};
        PlotSeries line{SeriesStyle::Line, Qt::black, {}, {}};
        line.dash = Qt::DashLine;
        for (int k = 0; k <= 500; ++k)
            line.points.push_back({k / 500.0, 0.5});
        scene.series.push_back(line);
        QImage image(400, 101, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPlot(scene, scene.world, PlotOptions{false, false, false, false}, painter,
                  QSizeF(image.size()), QFont(), ".");
        painter.end();
        int gaps = 0;
        for (int x = 21; x < 380; ++x)
            gaps += qGray(image.pixel(x, 50)) > 200 && qGray(image.pixel(x - 1, 50)) < 100;
        QVERIFY2(gaps > 30, qPrintable(QString("%1 gaps").arg(gaps)));
    }

    // Split, the second panel shows the other node family on the same
    // world, through zoom, pan, a drag and a change of n; unlinked, each
    // panel zooms alone. The numbers table holds both panels' rows.
    void splitPanelsShareTheirWorldWhileLinked()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "natural"}));
        auto* first = find<LabPlot>(*lab, "labPlot");
        auto* second = find<LabPlot>(*lab, "labPlot2");
        QVERIFY(!second->isVisible());
        find<QAction>(*lab, "labSplitAction")->trigger();
        QVERIFY(second->isVisible());
        QVERIFY(find<QAction>(*lab, "labLinkAxesAction")->isChecked());
        QVERIFY(second->property("legendEntries").toStringList().contains("nodes (11, Chebyshev points)"));
        QVERIFY2(second->property("titleText").toString().endsWith("11 Chebyshev points"),
                 qPrintable(second->property("titleText").toString()));
        QVERIFY2(std::abs(second->width() - first->width()) <= 8, "the panels share the room");
        QVERIFY(first->property("legendEntries").toStringList().contains("nodes (11, evenly spaced)"));
        const auto same = [&] {
            return first->property("visibleWorld").toRectF() == second->property("visibleWorld").toRectF();
        };
        QVERIFY(same());
        first->zoomAboutCentre(2);
        QVERIFY(same());
        second->panBy(QPointF(30, -20));
        QVERIFY(same());
        first->showWholePicture();
        QVERIFY(same());
        // A drag of a node of the first panel: both hold still, then both fit again.
        QTest::mousePress(first, Qt::LeftButton, {}, nodeAt(*lab, 5).toPoint());
        QTest::mouseMove(first, (nodeAt(*lab, 5) + QPointF(0, -60)).toPoint());
        QVERIFY(same());
        QTest::mouseRelease(first, Qt::LeftButton, {}, (nodeAt(*lab, 5)).toPoint());
        QVERIFY(same());
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 15);
        QVERIFY(same());
        QCOMPARE(lab->secondModel()->nodes().size(), std::size_t{15});
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QCOMPARE(numbers->rowCount(), 4);
        QCOMPARE(numbers->item(0, 0)->text(), QString("Global polynomial · panel 1"));
        QCOMPARE(numbers->item(2, 0)->text(), QString("Global polynomial · panel 2"));
        QVERIFY(numbers->item(0, 1)->text() != numbers->item(2, 1)->text());
        find<QAction>(*lab, "labLinkAxesAction")->trigger();
        first->zoomAboutCentre(2);
        QVERIFY(!same());
        find<QAction>(*lab, "labSplitAction")->trigger();
        QVERIFY(!second->isVisible());
        QCOMPARE(numbers->rowCount(), 2);
    }

    // While a node is dragged the numbers table follows it within a moment
    // ("…" while the figures are computed), and once the node is let go it
    // shows the node's figures there; the second panel's rows stay as they were.
    void theNumbersFollowADragAndShowTheNodeWhereItIsLetGo()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        find<QAction>(*lab, "labSplitAction")->trigger();
        auto* plot = find<LabPlot>(*lab, "labPlot");
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        const auto largestError = [&] {
            const std::optional<double> figure = lab->model().numbersRows().front().largestError;
            return figure ? qstr(compactNumber(*figure, ".", 6)) : QString("…");
        };
        const QString before = numbers->item(0, 1)->text();
        const QString secondPanel = numbers->item(1, 1)->text();
        const QPointF from = nodeAt(*lab, 5);
        QTest::mousePress(plot, Qt::LeftButton, {}, from.toPoint());
        QTest::mouseMove(plot, (from + QPointF(0, -60)).toPoint());
        QTRY_COMPARE(numbers->item(0, 1)->text(), largestError());
        QVERIFY(numbers->item(0, 1)->text() != before);
        QTest::mouseMove(plot, (from + QPointF(0, -120)).toPoint());
        QTest::mouseRelease(plot, Qt::LeftButton, {}, (from + QPointF(0, -120)).toPoint());
        QTRY_VERIFY(lab->model().numbersRows().front().largestError.has_value());
        QTRY_COMPARE(numbers->item(0, 1)->text(), largestError());
        QCOMPARE(numbers->item(1, 1)->text(), secondPanel);
    }

    // The second panel's own function and view; a choice it cannot show is
    // refused beside its control and in the status line, the panel as it
    // was; its convergence view is computed and fitted like the first's.
    void theSecondPanelTakesItsOwnFunctionAndView()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"global", "natural"}));
        auto* first = find<LabPlot>(*lab, "labPlot");
        auto* second = find<LabPlot>(*lab, "labPlot2");
        find<QAction>(*lab, "labSplitAction")->trigger();
        QVERIFY(find<QWidget>(*lab, "labSecondPanel")->isVisible());
        choose(find<QComboBox>(*lab, "labFunction2"), "runge");
        choose(find<QComboBox>(*lab, "labView2"), "error");
        QVERIFY2(second->titleText().startsWith("Runge"), qPrintable(second->titleText()));
        QCOMPARE(second->axisCaptions().value(1), QString("p(x) − f(x)"));
        QCOMPARE(first->axisCaptions().value(1), QString("p(x), f(x)"));
        QVERIFY2(first->property("visibleWorld") != second->property("visibleWorld"),
                 "panels of two views keep their own axes");
        QVERIFY2(statusOf(*lab).startsWith("Panel 2: "), qPrintable(statusOf(*lab)));

        auto* function2 = find<QComboBox>(*lab, "labFunction2");
        choose(function2, "expression");
        QCOMPARE(function2->currentData().toString(), QString("runge"));
        QCOMPARE(statusOf(*lab), QString("Type your function of x in the entry f(x) = first."));
        QCOMPARE(function2->toolTip(), statusOf(*lab));
        QVERIFY(second->titleText().startsWith("Runge"));

        QSignalSpy finished(lab.get(), &LabWindow::convergenceFinished);
        choose(find<QComboBox>(*lab, "labView2"), "convergence");
        QVERIFY(finished.wait(60000));
        QVERIFY(lab->convergenceComplete());
        QCOMPARE(lab->secondConvergence().size(), std::size_t{2});
        QVERIFY(lab->convergence().empty());
        QCOMPARE(second->axisCaptions().value(0), QString("n (number of nodes)"));
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QCOMPARE(numbers->item(2, 0)->text(), QString("Global polynomial · panel 2"));
        QVERIFY2(!numbers->item(2, 6)->text().isEmpty(), "panel 2's observed order");
        QVERIFY(numbers->item(0, 6)->text().isEmpty());
        find<QAction>(*lab, "labSplitAction")->trigger();
        QVERIFY(!find<QWidget>(*lab, "labSecondPanel")->isVisible());
    }

    void everyControlIsNamedAndThePlotSaysItsFigures()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        for (const char* name : {"labFunction", "labNodes", "labCount", "labDegree",
                                 "labParameter_fh", "labParameter_bspline", "labView",
                                 "labNumbers", "labMethod_global", "labMethod_akima",
                                 "labMethod_bspline", "labNoise"}) {
            auto* widget = find<QWidget>(*lab, name);
            QVERIFY2(!widget->accessibleName().isEmpty(), name);
            QVERIFY2(!widget->accessibleDescription().isEmpty(), name);
        }
        const QString description = find<LabPlot>(*lab, "labPlot")->accessibleDescription();
        QVERIFY2(description.contains("Global polynomial: largest error 1.916 at x = 0.0299"),
                 qPrintable(description));
    }

    // Tab goes down the settings, then to the plot and the numbers on their
    // right: each stop lies below the last one or in a column further right.
    void theTabOrderFollowsTheScreen()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        QWidget* widget = find<QWidget>(*lab, "labFunction");
        QStringList names{widget->objectName()};
        QRect last(widget->mapTo(lab.get(), QPoint()), widget->size());
        const QWidget* lastStop = widget;
        for (int stops = 0; stops < 400; ++stops) {
            widget = widget->nextInFocusChain();
            // The entry inside a combo box is part of the same stop.
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->objectName().startsWith("lab") ||
                !widget->isVisible() || lastStop->isAncestorOf(widget))
                continue;
            lastStop = widget;
            if (widget->objectName() == "labFunction")
                break;
            const QRect place(widget->mapTo(lab.get(), QPoint()), widget->size());
            QVERIFY2(place.top() >= last.bottom() || place.left() >= last.right(),
                     qPrintable(names.last() + " then " + widget->objectName()));
            names << widget->objectName();
            last = place;
        }
        QVERIFY2(names.size() >= 5 + static_cast<int>(kStudyMethods.size()) + 2,
                 qPrintable(names.join(' ')));
        QCOMPARE(names.mid(names.size() - 2), QStringList({"labPlot", "labNumbers"}));
    }

    void returnOnAFocusedButtonPressesIt()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 5, {"linear"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* add = find<QWidget>(*lab, "labAddNodeButton");
        const struct {
            int key;
            std::size_t nodes;
        } presses[] = {{Qt::Key_Return, 6}, {Qt::Key_Enter, 7}, {Qt::Key_Space, 8}};
        for (const auto& press : presses) {
            add->setFocus(Qt::TabFocusReason);
            QTest::keyClick(add, static_cast<Qt::Key>(press.key));
            QCOMPARE(lab->model().nodes().size(), press.nodes);
        }
    }

    void aDragMovesTheNodeAndUndoBringsItBack()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"natural"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        auto* table = find<QTableWidget>(*lab, "labNumbers");
        const QString errorBefore = table->item(0, 1)->text();
        const double yBefore = lab->model().nodes()[5].y;
        const QPoint from = nodeAt(*lab, 5).toPoint();
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step) {
            QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(0, -15 * step)),
                             plot->mapToGlobal(QPointF(from + QPoint(0, -15 * step))), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(plot, &move);
        }
        QTest::mouseRelease(plot, Qt::LeftButton, {}, from + QPoint(0, -60));
        QVERIFY(lab->model().nodes()[5].y > yBefore);
        QCOMPARE(lab->model().nodes()[5].x, 0.5);
        QVERIFY(plot->property("legendEntries").toStringList().contains("edited nodes (11, evenly spaced)"));
        QVERIFY(table->item(0, 1)->text() != errorBefore);

        auto* undo = find<QAction>(*lab, "labUndoAction");
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(lab->model().nodes()[5].y, yBefore);
        QCOMPARE(table->item(0, 1)->text(), errorBefore);
        QVERIFY(!undo->isEnabled());
        find<QAction>(*lab, "labRedoAction")->trigger();
        QVERIFY(lab->model().nodes()[5].y > yBefore);
        find<QAction>(*lab, "labResetNodesAction")->trigger();
        QCOMPARE(lab->model().nodes()[5].y, yBefore);
    }

    void theLegendHoldsStillDuringADragAndLeavesTheDataAfterIt()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"natural"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        const QRect before = plot->property("legendArea").toRect();
        QVERIFY(!before.isEmpty());
        // A node below the legend, dragged up into the middle of it.
        int node = -1;
        for (int i = 0; i < 11 && node < 0; ++i)
            if (nodeAt(*lab, i).x() > before.left() + 5 && nodeAt(*lab, i).x() < before.right() - 5)
                node = i;
        QVERIFY2(node >= 0, "some node lies below the legend");
        const QPoint from = nodeAt(*lab, node).toPoint();
        const QPoint into(from.x(), before.center().y());
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step) {
            const QPointF at(from + (into - from) * step / 4);
            QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(plot, &move);
            plot->repaint();
        }
        const QRect during = plot->property("legendArea").toRect();
        QVERIFY2(during.contains(nodeAt(*lab, node).toPoint()), "the node is under the legend");
        QVERIFY(shareACorner(during, before));
        QTest::mouseRelease(plot, Qt::LeftButton, {}, into);
        plot->repaint();
        const QRect after = plot->property("legendArea").toRect();
        QVERIFY(!after.isEmpty());
        for (int i = 0; i < 11; ++i)
            QVERIFY2(!after.contains(nodeAt(*lab, i).toPoint()), qPrintable(QString::number(i)));
    }

    // Quick changes of n (a held arrow) keep the legend where it was, as a
    // drag does; once they stop, the legend goes where a fresh picture of the
    // last n has it, and the tables (the numbers follow a run every little
    // while, the node table once it stops) show what a fresh lab of the
    // last n shows.
    void theLegendHoldsStillThroughARunOfChangesAndSettlesAfter()
    {
        const auto freshLegend = [](int count) {
            std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, count, {"global"}));
            if (!QTest::qWaitForWindowExposed(lab.get()))
                return QRect();
            return find<LabPlot>(*lab, "labPlot")->property("legendArea").toRect();
        };
        const auto tablesOf = [](LabWindow& lab) {
            QStringList cells;
            for (const char* name : {"labNodeTable", "labNumbers"}) {
                const QAbstractItemModel* table = find<QAbstractItemView>(lab, name)->model();
                for (int r = 0; r < table->rowCount(); ++r)
                    for (int c = 0; c < table->columnCount(); ++c)
                        cells << table->index(r, c).data().toString();
            }
            return cells;
        };
        const int first = 3;
        const QRect before = freshLegend(first);
        int last = first + 1;
        while (last < 30 && shareACorner(freshLegend(last), before))
            ++last;
        QVERIFY2(last < 30, "some n puts the legend in another corner");
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, first, {"global"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        QCOMPARE(plot->property("legendArea").toRect(), before);
        for (int n = first + 1; n <= last; ++n) {
            setSpinBox(find<QSpinBox>(*lab, "labCount"), n);
            plot->repaint();
            QVERIFY2(shareACorner(plot->property("legendArea").toRect(), before),
                     qPrintable(QString("n = %1").arg(n)));
        }
        const QRect settled = freshLegend(last);
        QTRY_COMPARE(plot->property("legendArea").toRect(), settled);
        std::unique_ptr<LabWindow> fresh(openLab(LabFunction::Runge, last, {"global"}));
        QTRY_COMPARE(tablesOf(*lab), tablesOf(*fresh));
    }

    // Whatever was done last is what the status line says; the pointer's
    // readout from before it is gone.
    void theStatusSentenceSaysWhatWasLastDone()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"natural"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        const auto trigger = [&](const char* name) { find<QAction>(*lab, name)->trigger(); };
        const struct {
            const char* what;
            std::function<void()> act;
            const char* said;
        } steps[] = {
            {"a drag", [&] { dragNode(*lab, 5, nodeAt(*lab, 5).toPoint() + QPoint(0, -30)); },
             "Values p and f of sin(2πx) at 11 edited nodes"},
            {"Play stopped", [&] { trigger("labPlayAction"); trigger("labPlayAction"); },
             "Play stopped at n = 2."},
            {"a zoom", [&] { wheelOver(plot, Qt::ControlModifier); }, "The plot shows x from"},
            {"Ctrl+Home",
             [&] {
                 plot->setFocus();
                 QTest::keyClick(plot, Qt::Key_Home, Qt::ControlModifier);
             },
             "The plot shows the whole picture."},
            {"holding the axes", [&] { trigger("labHoldAxesAction"); }, "The axes hold"},
            {"a copy", [&] { trigger("labCopyNumbersAction"); }, "Copied the numbers of 1 method."},
            {"a setting", [&] { setSpinBox(find<QSpinBox>(*lab, "labCount"), 7); },
             "Values p and f of sin(2πx) at 7 nodes"},
        };
        for (const auto& step : steps) {
            // The pointer rests on the plot first, so that its readout shows.
            movePointer(plot, plot->property("plotArea").toRect().center(), Qt::NoButton);
            QVERIFY2(lab->statusBar()->currentMessage().contains("x = "), step.what);
            step.act();
            QVERIFY2(lab->statusBar()->currentMessage().isEmpty(), step.what);
            QVERIFY2(statusOf(*lab).startsWith(step.said), qPrintable(statusOf(*lab)));
        }
    }

    void aLongStatusSentenceWrapsAndEndsInAnEllipsisWithTheWholeAsTooltip()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "natural"}));
        lab->resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* sentence = find<StatusSentence>(*lab, "labStatus");
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 12);
        const QString whole = statusOf(*lab);
        QVERIFY(sentence->fontMetrics().horizontalAdvance(whole) > sentence->width());
        QTRY_VERIFY(sentence->height() >= 2 * sentence->fontMetrics().lineSpacing());
        QVERIFY(!sentence->shortened());
        QString words;
        while (sentence->fontMetrics().horizontalAdvance(words) < sentence->width() * 4)
            words += "interpolation ";
        sentence->setSentence(words);
        QVERIFY(sentence->shortened());
        QCOMPARE(sentence->toolTip(), words);
    }

    // However long the sentence, the status line is as high: the plot
    // does not move, nor the window relayout, as sentences come and go.
    void theStatusLineKeepsItsHeightWhateverTheSentenceIsLong()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"natural"}));
        lab->resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* sentence = find<StatusSentence>(*lab, "labStatus");
        auto* plot = find<LabPlot>(*lab, "labPlot");
        QString twoLines;
        while (sentence->fontMetrics().horizontalAdvance(twoLines) < sentence->width() * 3 / 2)
            twoLines += "interpolation ";
        std::optional<QRect> frame;
        for (const QString& said : {QString("Short."), twoLines, twoLines + twoLines + twoLines,
                                    QString("Short again.")}) {
            sentence->setSentence(said);
            QTest::qWait(20);
            QCOMPARE(sentence->height(), StatusSentence::kMaxLines *
                                                 sentence->fontMetrics().lineSpacing() +
                                             sentence->contentsMargins().top() +
                                             sentence->contentsMargins().bottom() +
                                             2 * sentence->margin());
            if (!frame)
                frame = plot->geometry();
            QCOMPARE(plot->geometry(), *frame);
        }
    }

    void theWorldHoldsStillThroughADragAndAfterIt()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"natural"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        const QRectF world = plot->property("visibleWorld").toRectF();
        const QRect area = plot->property("plotArea").toRect();
        const QRect legend = plot->property("legendArea").toRect();
        // Far above the plot: the node stops at its top edge, under the pointer's x.
        const QPoint above(nodeAt(*lab, 5).toPoint().x(), area.top() - 200);
        dragNode(*lab, 5, above, [&] {
            QCOMPARE(plot->property("visibleWorld").toRectF(), world);
            QVERIFY(QRectF(area).adjusted(-1, -1, 1, 1).contains(nodeAt(*lab, 5)));
        });
        QVERIFY(std::abs(nodeAt(*lab, 5).y() - area.top()) <= 2);
        QCOMPARE(plot->property("visibleWorld").toRectF(), world);
        QCOMPARE(plot->property("plotArea").toRect(), area);
        plot->repaint();
        QCOMPARE(plot->property("plotArea").toRect(), area);
        QVERIFY(!plot->property("legendArea").toRect().isEmpty());
        // The legend keeps its corner; it widens as "nodes" become "edited nodes".
        if (!legend.contains(nodeAt(*lab, 5).toPoint()))
            QCOMPARE(plot->property("legendArea").toRect().topRight(), legend.topRight());
        // The next press grabs the same node where it was let go.
        QSignalSpy grabbed(plot, &LabPlot::dragStarted);
        const QPoint again = nodeAt(*lab, 5).toPoint();
        QTest::mousePress(plot, Qt::LeftButton, {}, again);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, again);
        QCOMPARE(grabbed.size(), 1);
        QCOMPARE(grabbed.at(0).at(0).value<std::size_t>(), std::size_t{5});
        // Ctrl+Home fits the moved node's picture.
        plot->setFocus();
        QTest::keyClick(plot, Qt::Key_Home, Qt::ControlModifier);
        QVERIFY(plot->property("visibleWorld").toRectF().top() > world.top());
        // A typed function after another drag is a new picture, fitted to its own curve.
        dragNode(*lab, 5, above, [] {});
        auto* entry = find<QLineEdit>(*lab, "labExpression");
        entry->setText("3 sin(2pi x)");
        QTest::keyClick(entry, Qt::Key_Return);
        const QRectF fitted = plot->property("visibleWorld").toRectF();
        QVERIFY2(std::max(fitted.top(), fitted.bottom()) >= 3 &&
                     std::min(fitted.top(), fitted.bottom()) <= -3,
                 "the new function's curve is in sight");
    }

    // Through which changes the axes stay, with and without holding them.
    void theAxesHoldThroughPlayAndHeldSettingChanges()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        auto* count = find<QSpinBox>(*lab, "labCount");
        auto* hold = find<QAction>(*lab, "labHoldAxesAction");
        QVERIFY(hold->isCheckable());
        const auto world = [&] { return plot->property("visibleWorld").toRectF(); };
        const QRectF at11 = world();
        setSpinBox(count, 15);
        QVERIFY2(world() != at11, "a change fits while the axes are free");
        hold->trigger();
        const QRectF held = world();
        setSpinBox(count, 21);
        QCOMPARE(world(), held);
        choose(find<QComboBox>(*lab, "labNodes"), "lobatto");
        QCOMPARE(world(), held);
        hold->trigger();
        choose(find<QComboBox>(*lab, "labNodes"), "equispaced");
        setSpinBox(count, 11);
        QCOMPARE(world(), at11);
        find<QAction>(*lab, "labPlayAction")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(lab->model().settings().count > 4, 5000);
        QCOMPARE(world(), at11);
    }

    void theNumbersTableShowsEveryMethodByNameAndSortsByEachColumn()
    {
        std::unique_ptr<LabWindow> lab(openLab(
            LabFunction::Runge, 11,
            {"global", "local", "linear", "natural", "clamped", "notaknot", "pw", "akima", "pchip",
             "makima", "steffen", "fh", "trig", "periodic", "bspline", "aaa"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        auto* table = find<QTableWidget>(*lab, "labNumbers");
        QCOMPARE(table->rowCount(), static_cast<int>(kStudyMethods.size()));
        for (int r = 0; r < table->rowCount(); ++r) {
            QCOMPARE(table->item(r, 0)->text(), QString(studyMethodName(kStudyMethods[r])));
            const QRect row = table->visualItemRect(table->item(r, 0));
            QVERIFY2(table->viewport()->rect().contains(row), qPrintable(table->item(r, 0)->text()));
        }
        const auto figure = [&](int r, int c) {
            bool number = false;
            const double value = table->item(r, c)->text().toDouble(&number);
            return number ? value : std::numeric_limits<double>::infinity();
        };
        const struct {
            int column;
            Qt::SortOrder order;
        } sorts[] = {{1, Qt::AscendingOrder}, {1, Qt::DescendingOrder}, {3, Qt::AscendingOrder},
                     {5, Qt::AscendingOrder}, {2, Qt::DescendingOrder}};
        for (const auto& sort : sorts) {
            table->sortByColumn(sort.column, sort.order);
            for (int r = 1; r < table->rowCount(); ++r) {
                const double a = figure(r - 1, sort.column);
                const double b = figure(r, sort.column);
                QVERIFY2(sort.order == Qt::AscendingOrder ? a <= b : a >= b,
                         qPrintable(QString("column %1 row %2").arg(sort.column).arg(r)));
            }
        }
        table->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(table->item(0, 0)->text(), QString("AAA rational approximant"));
        // A new figure keeps the order chosen.
        table->sortByColumn(1, Qt::AscendingOrder);
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 15);
        for (int r = 1; r < table->rowCount(); ++r)
            QVERIFY(figure(r - 1, 1) <= figure(r, 1));
        // Copy numbers keeps the ids in the model's order.
        find<QAction>(*lab, "labCopyNumbersAction")->trigger();
        QVERIFY(QApplication::clipboard()->text().split('\n').value(1).startsWith("global\t"));
    }

    // The poles view adds AAA's support points and nearest pole to the
    // numbers, the node polynomial's view the largest |ω|, each column shown
    // and copied in its view only.
    void eachViewShowsAndCopiesItsOwnColumns_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("extraHeaders");
        QTest::addColumn<QStringList>("aaaCells");  // AAA's cells in those columns
        QTest::addColumn<QStringList>("globalCells");
        QTest::newRow("values") << "values" << QStringList() << QStringList() << QStringList();
        QTest::newRow("poles") << "poles" << QStringList({"support points", "nearest pole"})
                               << QStringList({"3", "0.5 ± 0.1i"}) << QStringList({"", ""});
        // 21 evenly spaced nodes: |ω| is largest between the first two.
        QTest::newRow("omega") << "omega" << QStringList({"largest |ω|"})
                               << QStringList({"1.11395e-10"}) << QStringList({"1.11395e-10"});
    }
    void eachViewShowsAndCopiesItsOwnColumns()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, extraHeaders);
        QFETCH(QStringList, aaaCells);
        QFETCH(QStringList, globalCells);
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 21, {"global", "aaa"}));
        choose(find<QComboBox>(*lab, "labView"), qPrintable(view));
        QTRY_VERIFY(!lab->workPending());
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QStringList shown;
        for (int c = 0; c < numbers->columnCount(); ++c)
            if (!numbers->isColumnHidden(c))
                shown << numbers->horizontalHeaderItem(c)->text().replace('\n', ' ');
        QCOMPARE(shown.mid(7), extraHeaders);
        const auto cells = [&](int row) {
            QStringList texts;
            for (int c = 7; c < numbers->columnCount(); ++c)
                if (!numbers->isColumnHidden(c))
                    texts << numbers->item(row, c)->text();
            return texts;
        };
        QCOMPARE(numbers->item(1, 0)->text(), QString("AAA rational approximant"));
        QCOMPARE(cells(1), aaaCells);
        QCOMPARE(cells(0), globalCells);
        find<QAction>(*lab, "labCopyNumbersAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.at(0).split('\t').mid(7), extraHeaders);
        QCOMPARE(lines.at(2).split('\t').size(), 7 + extraHeaders.size());
    }

    void aSmallLabCutsNoHeaderAndRoundingIsNoOvershoot()
    {
        std::unique_ptr<LabWindow> lab(openLab(
            LabFunction::Sine, 7, {"global", "local", "natural", "pw", "akima", "pchip"}));
        lab->resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        QCOMPARE(lab->size(), QSize(640, 480));
        QVERIFY(find<LabPlot>(*lab, "labPlot")->height() >= 200);
        auto* table = find<QTableWidget>(*lab, "labNumbers");
        const QHeaderView* header = table->horizontalHeader();
        for (int c = 0; c < table->columnCount(); ++c) {
            if (table->isColumnHidden(c))
                continue;  // another view's
            const QString caption = table->horizontalHeaderItem(c)->text();
            int widest = 0;
            for (const QString& line : caption.split('\n'))
                widest = std::max(widest, header->fontMetrics().horizontalAdvance(line));
            QVERIFY2(header->sectionSize(c) > widest, qPrintable(caption));
        }
        // New figures widen their columns: every cell shows whole.
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 9);
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 7);
        QCoreApplication::processEvents();
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount() - 1; ++c) {
                if (table->isColumnHidden(c))
                    continue;
                const QString text = table->item(r, c)->text();
                QVERIFY2(header->sectionSize(c) > table->fontMetrics().horizontalAdvance(text),
                         qPrintable(text));
            }
        const std::vector<NumbersRow> rows = lab->model().numbersRows();
        int rounded = 0;
        for (int r = 0; r < table->rowCount(); ++r) {
            const double raw = *rows[static_cast<std::size_t>(r)].overshoot;
            if (raw > 0 && raw < 1e-15) {
                ++rounded;
                QCOMPARE(table->item(r, 4)->text(), QString("0"));
            }
        }
        QVERIFY2(rounded > 0, "some method overshoots by rounding only");
    }

    void theKeyboardPicksAndMovesANode()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 5, {"linear"}));
        auto* plot = find<LabPlot>(*lab, "labPlot");
        plot->setFocus();
        QTest::keyClick(plot, Qt::Key_Right);
        QTest::keyClick(plot, Qt::Key_Right);
        QCOMPARE(plot->selectedNode(), std::optional<std::size_t>(1));
        const double y = lab->model().nodes()[1].y;
        QTest::keyClick(plot, Qt::Key_Up);
        const double step = lab->model().nodes()[1].y - y;
        QVERIFY(step > 0);
        QTest::keyClick(plot, Qt::Key_Down, Qt::ShiftModifier);
        // Ten steps of the (refitted) visible height down, far more than one up.
        QVERIFY(y + step - lab->model().nodes()[1].y > 5 * step);
        lab->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lab.get()));
        QTest::keyClick(plot, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(plot, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lab->model().nodes()[1].y, y);
    }

    // In the influence view a click or Left/Right picks the node whose
    // curve is drawn; nothing moves the nodes there.
    void theClickAndTheKeysPickANodeWithoutMovingIt()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 7, {"global", "pchip"}));
        choose(find<QComboBox>(*lab, "labView"), "cardinal");
        QVERIFY(find<QCheckBox>(*lab, "labMethod_pchip")->text().contains("not linear in the data"));
        QVERIFY(!find<QCheckBox>(*lab, "labMethod_global")->text().contains("not linear"));
        const NodeList nodes = lab->model().nodes();
        auto* plot = find<LabPlot>(*lab, "labPlot");
        QTest::mousePress(plot, Qt::LeftButton, {}, nodeAt(*lab, 4).toPoint());
        QTest::mouseRelease(plot, Qt::LeftButton, {}, nodeAt(*lab, 4).toPoint() + QPoint(0, 30));
        QCOMPARE(lab->model().settings().pickedNode, std::size_t{4});
        QCOMPARE(plot->picture().nodes[4].y, 1.0);
        QVERIFY(statusOf(*lab).contains("node 4 at x = 0.6667"));
        plot->setFocus();
        QTest::keyClick(plot, Qt::Key_Right);
        QTest::keyClick(plot, Qt::Key_Right);
        QTest::keyClick(plot, Qt::Key_Right);
        QCOMPARE(lab->model().settings().pickedNode, std::size_t{6});
        QTest::keyClick(plot, Qt::Key_Left);
        QTest::keyClick(plot, Qt::Key_Up);
        QTest::keyClick(plot, Qt::Key_Delete);
        QCOMPARE(lab->model().settings().pickedNode, std::size_t{5});
        QCOMPARE(plot->selectedNode(), std::optional<std::size_t>(5));
        QCOMPARE(lab->model().nodes(), nodes);
        QVERIFY(!lab->model().edited());
    }

    void refusalsSayWhyAndChangeNothing()
    {
        const NodeList unordered = {{0, 0}, {0.6, 1}, {0.3, 0}, {1, 2}};
        std::unique_ptr<LabWindow> lab(
            openLab(LabFunction::Data, 4, {"linear", "clamped"}, unordered));
        auto* clamped = find<QCheckBox>(*lab, "labMethod_clamped");
        QVERIFY(clamped->text().contains("unavailable"));
        QVERIFY(clamped->toolTip().contains("f′(0)"));
        QVERIFY(find<QCheckBox>(*lab, "labMethod_linear")->text().contains("unavailable"));
        QVERIFY(statusOf(*lab).contains("unavailable"));
        // A picture's description names a refusal once.
        {
            std::unique_ptr<LabWindow> local(openLab(LabFunction::Sine, 101, {"local"}));
            setSpinBox(find<QSpinBox>(*local, "labDegree"), 100);
            setSpinBox(find<QSpinBox>(*local, "labCount"), 20);
            const QString said = statusOf(*local);
            const QString refusal = qstr(local->model().outcome(StudyMethod::Local).refusal);
            QVERIFY(!refusal.isEmpty());
            QCOMPARE(said.count(refusal), 1);
        }
        QCOMPARE(find<LabPlot>(*lab, "labPlot")->picture().series.size(), std::size_t{0});
        QVERIFY(!find<QSpinBox>(*lab, "labCount")->isEnabled());

        auto* view = find<QComboBox>(*lab, "labView");
        choose(view, "error");
        QCOMPARE(view->currentData().toString(), QString("values"));
        QVERIFY(view->toolTip().contains("no exact function"));
        QVERIFY(statusOf(*lab).contains("no exact function"));
        choose(view, "lebesgue");
        QVERIFY(!view->toolTip().contains("no exact function"));
        QVERIFY(!find<QAction>(*lab, "labPlayAction")->isEnabled());
    }

    // The tableau's steps, clicks on nodes and between them, and its
    // refusals beside it and in the status line, each leaving the steps.
    void theTableauGrowsStepByStepAndAClickPicksANodeOrNevillesX()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 5, {"global"}));
        QVERIFY(QTest::qWaitForWindowExposed(lab.get()));
        find<QAction>(*lab, "labTableauAction")->trigger();
        auto* table = find<QTableWidget>(*lab, "labTableauTable");
        QCOMPARE(table->rowCount(), 5);
        QVERIFY2(table->item(4, 5)->font().bold(), "the Newton coefficients are marked");
        QVERIFY(!table->item(4, 4)->font().bold());
        find<QAction>(*lab, "labRemoveNodeStepAction")->trigger();
        find<QAction>(*lab, "labRemoveNodeStepAction")->trigger();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(statusOf(*lab), QString("The tableau holds 3 nodes."));
        const auto named = [&lab](const std::string& label) {
            for (const LabSeries& series : find<LabPlot>(*lab, "labPlot")->picture().series)
                if (series.label == label)
                    return true;
            return false;
        };
        QVERIFY(named("p₂ (tableau, newest)"));
        QVERIFY(named("newest term f[x₀…x₂]·ω₂(x)"));

        choose(find<QComboBox>(*lab, "labTableauOrder"), "clicked");
        QCOMPARE(table->rowCount(), 0);
        auto* plot = find<LabPlot>(*lab, "labPlot");
        QTest::mouseClick(plot, Qt::LeftButton, {}, nodeAt(*lab, 3).toPoint());
        QCOMPARE(lab->tableau().taken(), std::vector<std::size_t>{3});
        QVERIFY2(statusOf(*lab).startsWith("Node 3 joins the tableau"), qPrintable(statusOf(*lab)));
        QTest::mouseClick(plot, Qt::LeftButton, {}, nodeAt(*lab, 3).toPoint());
        QVERIFY(statusOf(*lab).contains("Node 3 is in the tableau already."));
        QVERIFY(find<QLabel>(*lab, "labTableauNote")->text().contains("already"));
        find<QAction>(*lab, "labAddNodeStepAction")->trigger();
        QVERIFY(statusOf(*lab).contains("Click the node to take next"));
        QCOMPARE(lab->tableau().taken(), std::vector<std::size_t>{3});
        plot->setFocus();
        for (int step = 0; step < 3; ++step)  // from node 3, clicked last, to node 0
            QTest::keyClick(plot, Qt::Key_Left);
        QTest::keyClick(plot, Qt::Key_Return);
        QCOMPARE(lab->tableau().taken(), (std::vector<std::size_t>{3, 0}));
        const QPoint between = ((nodeAt(*lab, 1) + nodeAt(*lab, 2)) / 2 + QPointF(0, 40)).toPoint();
        QTest::mouseClick(plot, Qt::LeftButton, {}, between);
        QCOMPARE(find<QTableWidget>(*lab, "labNevilleTable")->rowCount(), 2);
        QVERIFY2(statusOf(*lab).startsWith("Neville's tableau at x = 0.3"), qPrintable(statusOf(*lab)));
        QVERIFY(!lab->model().edited());

        find<QAction>(*lab, "labCopyTableauAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0), QString("Divided differences"));
        QVERIFY2(lines.value(2).startsWith("0.75\t-1"), qPrintable(lines.value(2)));
        QVERIFY2(lines.value(5).startsWith("Neville at x = 0.3"), qPrintable(lines.value(5)));
    }

    void aTableauOfMoreThanSixteenNodesSaysWhyItIsNone()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 17, {"global"}));
        find<QAction>(*lab, "labAddNodeStepAction")->trigger();
        QVERIFY(find<QLabel>(*lab, "labTableauNote")->text().contains("at most 16 nodes"));
        QVERIFY(statusOf(*lab).contains("at most 16 nodes, and the lab has 17"));
        QCOMPARE(find<QTableWidget>(*lab, "labTableauTable")->rowCount(), 0);
        choose(find<QComboBox>(*lab, "labTableauOrder"), "leja");
        QCOMPARE(find<QComboBox>(*lab, "labTableauOrder")->currentData().toString(), QString("left"));
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 16);
        QCOMPARE(find<QTableWidget>(*lab, "labTableauTable")->rowCount(), 16);
    }

    // The slider's decades reach the node values, the status line says what
    // the noise does, and another seed draws other values.
    void noiseFromTheSliderReachesTheNodesAndTheStatusLine()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 21, {"global"}));
        const NodeList clean = lab->model().nodes();
        auto* noise = find<QSlider>(*lab, "labNoise");
        noise->setValue(10);
        QCOMPARE(lab->model().settings().noise, 1e-6);
        QCOMPARE(find<QLabel>(*lab, "labNoiseLevel")->text(), QString("1e-6 of the range"));
        // The effects are computed on a worker and said once they arrive.
        QTRY_VERIFY2(
            statusOf(*lab).contains("Noise 1e-6 of the range, seed 1: Global polynomial error "),
            qPrintable(statusOf(*lab)));
        QVERIFY(!lab->workPending());
        const QString tip = find<QTableWidget>(*lab, "labNumbers")->item(0, 1)->toolTip();
        QVERIFY2(tip.startsWith("From the noise: error ") && tip.endsWith(" ×."), qPrintable(tip));
        const NodeList noisy = lab->model().nodes();
        QVERIFY(noisy != clean);
        find<QAction>(*lab, "labNoiseSeedAction")->trigger();
        const std::uint64_t seed = lab->model().settings().noiseSeed;
        QCOMPARE(seed, nextNoiseSeed(kFirstNoiseSeed));
        QCOMPARE(find<QLabel>(*lab, "labNoiseSeed")->text(), QString("Seed %1").arg(seed));
        QVERIFY(lab->model().nodes() != noisy);
        noise->setValue(0);
        QCOMPARE(lab->model().nodes(), clean);
        QVERIFY(!statusOf(*lab).contains("Noise"));
    }

    void eachParameterHasItsSpinBoxAndReachesItsMethodAlone()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 5, {"fh", "bspline"}));
        auto* k = find<QSpinBox>(*lab, "labParameter_bspline");
        auto* d = find<QSpinBox>(*lab, "labParameter_fh");
        QCOMPARE(k->value(), 5);
        QCOMPARE(d->value(), 3);
        auto* bspline = find<QCheckBox>(*lab, "labMethod_bspline");
        QVERIFY2(bspline->text().contains("unavailable"), "k = 5 needs six nodes");
        QVERIFY(bspline->toolTip().contains("from 1 to 3; it is 5"));
        setSpinBox(k, 3);
        QVERIFY(!bspline->text().contains("unavailable"));
        QCOMPARE(lab->model().settings().parameters.of(StudyMethod::BSpline), 3);
        setSpinBox(d, 1);
        QCOMPARE(lab->model().outcome(StudyMethod::Fh).interpolant->parameter(), 1);
        QCOMPARE(lab->model().outcome(StudyMethod::BSpline).interpolant->parameter(), 3);
        const QStringList legend =
            find<LabPlot>(*lab, "labPlot")->property("legendEntries").toStringList();
        QVERIFY2(legend.contains("Floater–Hormann rational (d = 1)"), qPrintable(legend.join("|")));
        QVERIFY(legend.contains("B-spline (k = 3)"));
        // Another control's change before a press is taken keeps the press,
        // and two boxes changed in one turn both reach the model.
        k->setValue(1);
        find<QCheckBox>(*lab, "labMethod_linear")->setChecked(true);
        QCoreApplication::processEvents();
        QCOMPARE(k->value(), 1);
        QCOMPARE(lab->model().outcome(StudyMethod::BSpline).interpolant->parameter(), 1);
        k->setValue(3);
        d->setValue(2);
        QCoreApplication::processEvents();
        QCOMPARE(lab->model().outcome(StudyMethod::BSpline).interpolant->parameter(), 3);
        QCOMPARE(lab->model().outcome(StudyMethod::Fh).interpolant->parameter(), 2);
    }

    void theConvergenceViewArrivesWithTheCurrentCount()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 37, {"global", "pchip"}));
        QSignalSpy finished(lab.get(), &LabWindow::convergenceFinished);
        choose(find<QComboBox>(*lab, "labView"), "convergence");
        QVERIFY(finished.wait(60000));
        QVERIFY(lab->convergenceComplete());
        const ConvergenceTable& table = lab->convergence();
        QCOMPARE(table.size(), std::size_t{2});
        for (const auto& [method, points] : table) {
            QCOMPARE(points.size(), convergenceCounts(37).size());
            QVERIFY(points.count(37));
        }
        const QStringList entries =
            find<LabPlot>(*lab, "labPlot")->property("legendEntries").toStringList();
        QVERIFY(entries.contains("reference slope n⁻²"));
        QVERIFY(entries.contains("reference slope n⁻⁴"));
        // Each method's observed behaviour: in the legend, the table and the copy.
        QVERIFY2(entries.contains("Global polynomial — no steady rate"), qPrintable(entries.join('|')));
        QVERIFY2(entries.contains("PCHIP — order 2.0"), qPrintable(entries.join('|')));
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QCOMPARE(numbers->horizontalHeaderItem(6)->text(), QString("observed\norder"));
        QCOMPARE(numbers->horizontalHeaderItem(2)->text(), QString("at x"));
        QCOMPARE(numbers->item(0, 6)->text(), QString("no steady rate"));
        QCOMPARE(numbers->item(1, 6)->text(), QString("order 2.0"));
        find<QAction>(*lab, "labCopyNumbersAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QVERIFY(lines.at(0).endsWith("\tobserved order"));
        QVERIFY(lines.at(1).endsWith("\t"));
        QVERIFY2(lines.at(2).section('\t', 6).startsWith("2.0"), qPrintable(lines.at(2)));
        // A new setting starts again; the earlier points are gone.
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 38);
        QVERIFY(!lab->convergenceComplete());
        QVERIFY(finished.wait(60000));
        QVERIFY(lab->convergence().begin()->second.count(38));
    }

    // A convergence run that ends after the view was changed leaves the new
    // view's sentence in the status line.
    void aConvergenceRunEndingAfterTheViewChangedSaysNothing()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 37, {"global", "pchip"}));
        auto* view = find<QComboBox>(*lab, "labView");
        choose(view, "convergence");
        choose(view, "values");
        const QString said = statusOf(*lab);
        QVERIFY(said.startsWith("Values p and f"));
        const auto complete = [&lab] {
            const ConvergenceTable& table = lab->convergence();
            return table.size() == 2 && std::all_of(table.begin(), table.end(), [](const auto& m) {
                       return m.second.size() == convergenceCounts(37).size();
                   });
        };
        QTRY_VERIFY_WITH_TIMEOUT(complete(), 60000);
        QTest::qWait(200);  // the run's end, posted after its last point
        QCOMPARE(statusOf(*lab), said);
    }

    // At many nodes the global polynomial's values are computed away from
    // the window: the table says so at once, and the values and the
    // Lebesgue constant are drawn when they arrive; a burst of changes
    // leaves only the last one's values.
    void slowValuesArriveAfterTheChangeAndOnlyTheLastOnes()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "linear"}));
        auto* count = find<QSpinBox>(*lab, "labCount");
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QSignalSpy finished(lab.get(), &LabWindow::workFinished);
        for (const int n : {301, 302, 303})
            count->setValue(n);
        // The presses are taken as one change once the events waiting are.
        QCOMPARE(lab->model().settings().count, 11);
        QCoreApplication::processEvents();
        QCOMPARE(lab->model().settings().count, 303);
        QVERIFY(lab->workPending());
        QCOMPARE(numbers->item(0, 5)->text(), QString("…"));
        QVERIFY(!numbers->item(1, 1)->text().isEmpty());  // linear at once
        for (const LabSeries& series : lab->plot().picture().series)
            QVERIFY2(series.label.find("Global") == std::string::npos, series.label.c_str());
        QVERIFY(statusOf(*lab).contains("Global polynomial: being computed."));
        QVERIFY(finished.wait(60000));
        QVERIFY(!lab->workPending());
        QVERIFY2(statusOf(*lab).contains("Global polynomial: largest error "),
                 qPrintable(statusOf(*lab)));
        QCOMPARE(lab->model().outcome(StudyMethod::Global).interpolant->xs().size(), 303u);
        QVERIFY(numbers->item(0, 5)->text().toDouble() > 1);
        QStringList drawn;
        for (const LabSeries& series : lab->plot().picture().series)
            drawn << QString::fromStdString(series.label);
        QVERIFY2(drawn.filter("Global").size() == 1, qPrintable(drawn.join(", ")));
    }

    // Split, the second panel's slow values are computed away from the
    // window too; what arrives is drawn in the picture as it was: its own
    // title kept, both panels on one world.
    void theSecondPanelsSlowValuesArriveLikeTheFirstsAndKeepThePicture()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "linear"}));
        find<QAction>(*lab, "labSplitAction")->trigger();
        lab->setTitle(QString("Runge at many nodes"));
        auto* first = find<LabPlot>(*lab, "labPlot");
        auto* second = find<LabPlot>(*lab, "labPlot2");
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QSignalSpy finished(lab.get(), &LabWindow::workFinished);
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 301);
        QVERIFY(lab->secondModel()->workPending());
        QCOMPARE(numbers->item(2, 0)->text(), QString("Global polynomial · panel 2"));
        QCOMPARE(numbers->item(2, 1)->text(), QString("…"));
        QVERIFY(finished.wait(60000));
        QVERIFY(!lab->workPending());
        QCOMPARE(lab->secondModel()->outcome(StudyMethod::Global).interpolant->xs().size(), 301u);
        QVERIFY(numbers->item(2, 1)->text() != QString("…"));
        QCOMPARE(first->property("titleText").toString(), QString("Runge at many nodes"));
        QCOMPARE(first->property("visibleWorld").toRectF(), second->property("visibleWorld").toRectF());
    }

    // AAA at many nodes is built away from the window: the poles view says
    // so at once and draws the poles, with their numbers, when they arrive.
    void aaaAtManyNodesIsBuiltAwayFromTheWindow()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Abs, 11, {"aaa"}));
        choose(find<QComboBox>(*lab, "labView"), "poles");
        QSignalSpy finished(lab.get(), &LabWindow::workFinished);
        setSpinBox(find<QSpinBox>(*lab, "labCount"), 1001);
        QVERIFY(lab->workPending());
        QVERIFY(!lab->model().outcome(StudyMethod::Aaa).interpolant);
        QCOMPARE(lab->plot().picture().emptyReason, std::string("Computing the AAA approximant…"));
        auto* numbers = find<QTableWidget>(*lab, "labNumbers");
        QCOMPARE(numbers->item(0, 1)->text(), QString("…"));
        QVERIFY(finished.wait(60000));
        QVERIFY(lab->plot().picture().emptyReason.empty());
        QVERIFY(!numbers->item(0, static_cast<int>(kSupportPointsColumn))->text().isEmpty());
        QVERIFY(find<QCheckBox>(*lab, "labMethod_aaa")->text().endsWith("approximant"));
        QVERIFY2(statusOf(*lab).contains("AAA: "), qPrintable(statusOf(*lab)));
    }

    // Closing the lab, or the main window with it, asks first when the lab
    // holds edited nodes not saved: Save goes through the save dialog,
    // Discard closes, Cancel keeps every window open.
    void closingAsksAboutUnsavedEdits_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("fromMainWindow");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("byQuit");
        QTest::newRow("nothing edited")
            << false << false << int(QMessageBox::Cancel) << true << 0 << false;
        QTest::newRow("cancel") << true << false << int(QMessageBox::Cancel) << false << 1 << false;
        QTest::newRow("discard") << true << false << int(QMessageBox::Discard) << true << 1 << false;
        QTest::newRow("save") << true << false << int(QMessageBox::Save) << true << 1 << false;
        QTest::newRow("main window, cancel")
            << true << true << int(QMessageBox::Cancel) << false << 1 << false;
        QTest::newRow("main window, discard")
            << true << true << int(QMessageBox::Discard) << true << 1 << false;
        QTest::newRow("Quit, cancel") << true << true << int(QMessageBox::Cancel) << false << 1 << true;
        QTest::newRow("Quit, discard") << true << true << int(QMessageBox::Discard) << true << 1 << true;
    }
    void closingAsksAboutUnsavedEdits()
    {
        QFETCH(bool, edit);
        QFETCH(bool, fromMainWindow);
        QFETCH(int, button);
        QFETCH(bool, closes);
        QFETCH(int, asked);
        QFETCH(bool, byQuit);
        MainWindow window;
        window.show();
        find<QAction>(window, "labAction")->trigger();
        QPointer<LabWindow> lab = window.findChild<LabWindow*>("labWindow");
        QVERIFY(lab);
        if (edit)
            editANode(*lab);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.dsf");
        UnsavedAnswer answer(static_cast<QMessageBox::StandardButton>(button), path);
        QWidget& closed = fromMainWindow ? static_cast<QWidget&>(window) : *lab;
        if (byQuit)
            find<QAction>(window, "quitAction")->trigger();
        else
            QCOMPARE(closed.close(), closes);
        QCOMPARE(answer.asked, asked);
        if (asked > 0)
            QCOMPARE(answer.question, QString("The lab holds edited nodes not saved."));
        QCOMPARE(window.isVisible(), !(closes && fromMainWindow));
        if (!fromMainWindow)
            QCOMPARE(lab && lab->isVisible(), !closes);
        QCOMPARE(QFileInfo(path).isFile(), button == QMessageBox::Save);
        if (lab && closes)
            QVERIFY(lab->mayClose());  // asked once only
    }

    // Saved nodes are no longer unsaved edits; a further edit is.
    void savedNodesCloseWithoutAsking()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 5, {"linear"}));
        editANode(*lab);
        QTemporaryDir dir;
        QVERIFY(!lab->saveNodes(dir.filePath("nodes.dsf")));
        UnsavedAnswer answer(QMessageBox::Cancel, {});
        QVERIFY(lab->mayClose());
        QCOMPARE(answer.asked, 0);
        editANode(*lab);
        QVERIFY(!lab->mayClose());
        QCOMPARE(answer.asked, 1);
    }

    void playStepsNUpwardUntilAnEdit()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 11, {"linear"}));
        auto* play = find<QAction>(*lab, "labPlayAction");
        play->trigger();
        QCOMPARE(lab->model().settings().count, 2);
        QTRY_VERIFY_WITH_TIMEOUT(lab->model().settings().count > 2, 5000);
        find<QCheckBox>(*lab, "labMethod_pchip")->setChecked(true);
        QVERIFY(!play->isChecked());
        const int stoppedAt = lab->model().settings().count;
        QTest::qWait(600);
        QCOMPARE(lab->model().settings().count, stoppedAt);
    }

    // Each kind of file is saved where the last one of its kind went, in
    // either window. (Earlier tests of this run may have saved already, so
    // where the first save of a kind opens is not checked.)
    void eachSaveDialogOpensInTheFolderLastUsedForItsKind()
    {
        MainWindow window;
        window.show();
        find<QAction>(window, "labAction")->trigger();
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QTemporaryDir pictures;
        QTemporaryDir values;
        QTemporaryDir nodes;
        const struct {
            QObject* owner;
            const char* action;
            QString answer;  // empty: cancel
            QString opensIn;  // empty: not checked
        } saves[] = {
            {lab, "labSavePictureAction", pictures.filePath("a.png"), QString()},
            {lab, "labSaveValuesAction", values.filePath("v.csv"), QString()},
            {lab, "labSaveNodesAction", nodes.filePath("n.dsf"), QString()},
            {lab, "labSavePictureAction", QString(), pictures.path()},
            {&window, "savePictureAction", QString(), pictures.path()},
            {lab, "labSaveValuesAction", QString(), values.path()},
            {&window, "saveGivenPointsAction", QString(), nodes.path()},
        };
        click(window, "Command1");
        click(window, "Command2");
        for (const auto& save : saves) {
            QString openedIn;
            answerSaveDialog(save.answer, openedIn);
            auto* action = save.owner->findChild<QAction*>(save.action);
            QVERIFY2(action && action->isEnabled(), save.action);
            action->trigger();
            if (!save.opensIn.isEmpty())
                QCOMPARE(QDir(openedIn).canonicalPath(), QDir(save.opensIn).canonicalPath());
        }
        QVERIFY(QFile::exists(pictures.filePath("a.png")));
    }

    void copiesAndSavesWriteWhatTheyShow()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "akima"}));
        find<QAction>(*lab, "labCopyNumbersAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.value(0),
                 QString("method\tlargest error\tat x\tRMS error\tovershoot\tLebesgue constant\t"
                         "observed order"));
        QVERIFY(lines.value(1).startsWith("global\t1.915"));
        QVERIFY(lines.value(2).startsWith("akima\t"));
        find<QAction>(*lab, "labCopyPictureAction")->trigger();
        QVERIFY(!QApplication::clipboard()->image().isNull());

        QTemporaryDir dir;
        QVERIFY(!lab->saveNodes(dir.filePath("nodes.dsf")));
        QFile nodes(dir.filePath("nodes.dsf"));
        QVERIFY(nodes.open(QIODevice::ReadOnly));
        const DataSetRead read = parseDataSet(nodes.readAll().toStdString());
        QVERIFY(read.set);
        QCOMPARE(read.set->count, 11);
        QCOMPARE(read.set->y[3], lab->model().nodes()[3].y);

        QVERIFY(!lab->saveValues(dir.filePath("values.csv")));
        QFile values(dir.filePath("values.csv"));
        QVERIFY(values.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = values.readAll().split('\n');
        QCOMPARE(rows.value(0),
                 QByteArray("x,f,f',f'',global,global',global'',akima,akima',akima''"));
        QCOMPARE(rows.size(), 1003);  // 1001 points, the header, the last line end

        for (const char* name : {"plot.png", "plot.svg", "plot.pdf"}) {
            QVERIFY2(!lab->savePicture(dir.filePath(name)), name);
            QVERIFY2(QFileInfo(dir.filePath(name)).size() > 500, name);
        }
        QCOMPARE(QImage(dir.filePath("plot.png")).width(), 2 * lab->plot().contentsRect().width());
        QVERIFY(lab->savePicture(dir.filePath("plot.bmp"))->contains(".png, .svg, .pdf or .tex"));
        QVERIFY(!QFile::exists(dir.filePath("plot.bmp")));

        // A failed save keeps the earlier file whole.
        const QByteArray earlier = [&] {
            QFile f(dir.filePath("values.csv"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        QVERIFY(lab->saveValues(dir.filePath("gone/values.csv")));
        QFile again(dir.filePath("values.csv"));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), earlier);
    }

    void nodesArePastedTypedAddedAndDeletedEachAsOneStepOfUndo()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"natural"}));
        auto* table = find<QTableView>(*lab, "labNodeTable");
        QApplication::clipboard()->setText(
            "x\ty\n0\t1\n0,2\t1\n0,3\t1\n0,5\t1\n0,6\t1\n0,8\t1\n1\t1\n");
        lab->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lab.get()));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(lab->model().nodes().size(), std::size_t{7});
        QCOMPARE(table->model()->rowCount(), 7);
        QCOMPARE(table->verticalHeader()->count(), 7);  // the view shows them too
        QCOMPARE(table->model()->index(1, 0).data().toString(), QString("0.2"));
        QCOMPARE(find<QComboBox>(*lab, "labNodes")->currentData().toString(), QString("custom"));
        QCOMPARE(find<QSpinBox>(*lab, "labCount")->value(), 7);
        QVERIFY(!find<QSpinBox>(*lab, "labCount")->isEnabled());
        QVERIFY2(!(table->model()->flags(table->model()->index(0, 1)) & Qt::ItemIsEditable),
                 "with a function, y is f(x)");

        const NodeList pasted = lab->model().nodes();
        QVERIFY(lab->pasteNodes("0 1\n0.5 2\n0.5 3\n"));
        QVERIFY(statusOf(*lab).contains("line 3: x = 0.5 is already the x of line 2."));
        QCOMPARE(lab->model().nodes(), pasted);

        // A typed x moves its row into place.
        table->model()->setData(table->model()->index(1, 0), "0.9");
        QCOMPARE(lab->model().nodes()[5].x, 0.9);
        QCOMPARE(table->model()->index(5, 0).data().toString(), QString("0.9"));
        find<QAction>(*lab, "labUndoAction")->trigger();
        QCOMPARE(lab->model().nodes(), pasted);
        // A cell typed wrong, or as another spelling of its number, shows the node again.
        for (const char* typed : {"abc", "0.20"}) {
            table->model()->setData(table->model()->index(1, 0), typed);
            QCOMPARE(table->model()->index(1, 0).data().toString(), QString("0.2"));
        }
        QCOMPARE(lab->model().nodes(), pasted);

        table->selectRow(2);
        find<QPushButton>(*lab, "labDeleteNodesButton")->click();
        QCOMPARE(lab->model().nodes().size(), std::size_t{6});
        find<QPushButton>(*lab, "labAddNodeButton")->click();
        QCOMPARE(lab->model().nodes().size(), std::size_t{7});
        QCOMPARE(lab->model().nodes()[2].x, 0.35);  // into the widest gap, 0.2 to 0.5

        // A file is read the same way; one the reader refuses leaves the nodes.
        QTemporaryDir dir;
        QFile tsv(dir.filePath("nodes.tsv"));
        QVERIFY(tsv.open(QIODevice::WriteOnly));
        tsv.write("x\ty\n0\t5\n0,5\t6\n1\t7\n");
        tsv.close();
        QVERIFY(!lab->importNodes(tsv.fileName()));
        QCOMPARE(lab->model().nodes().size(), std::size_t{3});
        // The file's name with its escape written out, as every message shows names.
        QFile bad(dir.filePath("bad\x1B.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("0,1\n0.5,one\n");
        bad.close();
        const std::optional<QString> why = lab->importNodes(bad.fileName());
        QVERIFY2(why && why->contains("bad⟨U+001B⟩.csv: line 2: 'one' is not a number."),
                 qPrintable(why.value_or("")));
        QCOMPARE(lab->model().nodes().size(), std::size_t{3});
        find<QAction>(*lab, "labUndoAction")->trigger();
        QCOMPARE(lab->model().nodes().size(), std::size_t{7});

        auto* plot = find<LabPlot>(*lab, "labPlot");
        const QPoint empty = plot->contentsRect().center() + QPoint(0, -plot->height() / 4);
        QTest::mouseDClick(plot, Qt::LeftButton, {}, empty);
        QCOMPARE(lab->model().nodes().size(), std::size_t{8});
        find<QAction>(*lab, "labUndoAction")->trigger();
        QCOMPARE(lab->model().nodes().size(), std::size_t{7});

        // Delete removes the node picked from the keyboard.
        const double second = lab->model().nodes()[1].x;
        plot->setFocus();
        QTest::keyClick(plot, Qt::Key_Right);
        QTest::keyClick(plot, Qt::Key_Right);
        QTest::keyClick(plot, Qt::Key_Delete);
        QCOMPARE(lab->model().nodes().size(), std::size_t{6});
        QVERIFY(lab->model().nodes()[1].x != second);

        // A family chosen is one step too: Undo brings the own nodes back.
        const NodeList own = lab->model().nodes();
        auto* nodes = find<QComboBox>(*lab, "labNodes");
        nodes->setCurrentIndex(nodes->findData("lobatto"));
        QCOMPARE(lab->model().nodes().size(), std::size_t{6});
        QVERIFY(find<QSpinBox>(*lab, "labCount")->isEnabled());
        find<QAction>(*lab, "labUndoAction")->trigger();
        QCOMPARE(lab->model().nodes(), own);
        QCOMPARE(nodes->currentData().toString(), QString("custom"));
        QVERIFY(!find<QSpinBox>(*lab, "labCount")->isEnabled());
        QVERIFY(statusOf(*lab).contains("Undid one change of the nodes."));
    }

    // A lab at many nodes shows at once, its slow methods built on workers,
    // whether it is opened with settings or from a study file.
    void aLabAtManyNodesLeavesItsSlowMethodsToTheWorkersFromTheStart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("many.tarvel");
        {
            std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 1001, {"global"}));
            QVERIFY(lab->workPending());
            QTRY_VERIFY_WITH_TIMEOUT(!lab->workPending(), 30000);
            QVERIFY(lab->model().outcome(StudyMethod::Global).figures);
            // A typed function's sentence waits for them too, and then says them.
            auto* entry = find<QLineEdit>(*lab, "labExpression");
            entry->setText("exp(x) sin(10x)");
            QTest::keyClick(entry, Qt::Key_Return);
            QVERIFY(statusOf(*lab).contains("Global polynomial: being computed"));
            QTRY_VERIFY_WITH_TIMEOUT(statusOf(*lab).contains("Global polynomial: largest error"),
                                     30000);
            QVERIFY(!lab->saveStudy(path));
        }
        MainWindow window;
        window.show();
        QVERIFY(!openLabWithStudy(window, path));
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QVERIFY(lab->model().defersLongWork());
        QTRY_VERIFY_WITH_TIMEOUT(!lab->workPending(), 30000);
        QVERIFY(lab->model().outcome(StudyMethod::Global).figures);
    }

    void aSavedStudyOpensAgainAndADamagedOneChangesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("runge.tarvel");
        {
            std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"natural"}));
            auto* entry = find<QLineEdit>(*lab, "labExpression");
            entry->setText("exp(x) sin(10x)");
            QTest::keyClick(entry, Qt::Key_Return);
            QVERIFY(!lab->pasteNodes("0\n0.25\n0.5\n0.9\n1\n"));
            find<QAction>(*lab, "labSplitAction")->trigger();
            find<QAction>(*lab, "labLinkAxesAction")->trigger();
            choose(find<QComboBox>(*lab, "labNodes2"), "gauss");
            choose(find<QComboBox>(*lab, "labView2"), "lebesgue");
            lab->plot().zoomAboutCentre(2);
            lab->setTitle(QString("Exercise 3: a damped wave"));
            QVERIFY(!lab->saveStudy(path));
        }
        MainWindow window;
        window.show();
        QVERIFY(!openLabWithStudy(window, path));
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QVERIFY(lab && lab->isVisible());
        QCOMPARE(lab->model().functionLabel(), std::string("f(x) = exp(x) sin(10x)"));
        QCOMPARE(find<QLineEdit>(*lab, "labExpression")->text(), QString("exp(x) sin(10x)"));
        QCOMPARE(lab->model().nodes().size(), std::size_t{5});
        QCOMPARE(lab->model().nodes()[3].x, 0.9);
        QVERIFY(lab->plot().zoomed());
        QCOMPARE(lab->plot().property("titleText").toString(), QString("Exercise 3: a damped wave"));
        QVERIFY(statusOf(*lab).contains("Opened the study runge.tarvel"));
        QVERIFY(find<QAction>(*lab, "labSplitAction")->isChecked());
        QVERIFY(find<LabPlot>(*lab, "labPlot2")->isVisible());
        QVERIFY(!find<QAction>(*lab, "labLinkAxesAction")->isChecked());
        QCOMPARE(find<QComboBox>(*lab, "labNodes2")->currentData().toString(), QString("gauss"));
        QCOMPARE(find<QComboBox>(*lab, "labView2")->currentData().toString(), QString("lebesgue"));
        QCOMPARE(find<QComboBox>(*lab, "labFunction2")->currentIndex(), 0);
        QVERIFY(lab->secondModel());
        QCOMPARE(lab->secondModel()->settings().family, NodeFamily::Gauss);
        QCOMPARE(lab->secondModel()->settings().view, LabView::Lebesgue);

        QFile damaged(dir.filePath("damaged\n.tarvel"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"format\": \"tarvel-study\", \"version\": 7}");
        damaged.close();
        const NodeList before = lab->model().nodes();
        const std::optional<QString> why = lab->openStudy(damaged.fileName());
        QVERIFY(why && why->startsWith("damaged⟨U+000A⟩.tarvel: "));
        QVERIFY(why->contains("newer Tarvel (version 7)"));
        QVERIFY(statusOf(*lab).contains("newer Tarvel"));
        QCOMPARE(lab->model().nodes(), before);
        QCOMPARE(lab->model().functionLabel(), std::string("f(x) = exp(x) sin(10x)"));
        QVERIFY(find<QAction>(*lab, "labSplitAction")->isChecked());
        QCOMPARE(lab->secondModel()->settings().family, NodeFamily::Gauss);
    }

    // Every lesson shipped beside the program is in the Lessons menu in the
    // order of its file name, opens the lab as its file holds it with no
    // method refused, and shows its text with the answer held back.
    void everyLessonOpensFromTheMenuShowsItsTextAndRefusesNothing()
    {
        const QStringList shipped = lessonFiles(TARVEL_SOURCE_LESSONS_DIR);
        QVERIFY(!shipped.isEmpty());
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Sine, 5, {"linear"}));
        auto* menu = find<QMenu>(*lab, "labLessonsMenu");
        auto* panel = find<LessonPanel>(*lab, "labLessonText");
        QVERIFY(!panel->isVisibleTo(lab.get()));
        QStringList titles;
        for (const QString& file : shipped) {
            const QString name = QFileInfo(file).completeBaseName();
            const tarvel::Study study = studyIn(file);
            QVERIFY2(study.lesson, qPrintable(name));
            auto* open = find<QAction>(*lab, qPrintable("labLesson_" + name));
            QVERIFY(menu->actions().contains(open));
            titles.append(open->text());
            open->trigger();
            QCOMPARE(lab->lesson(), study.lesson);
            QCOMPARE(lab->model().settings(), study.start.settings);
            for (const StudyMethod method : kStudyMethods)
                if (study.start.settings.shown[methodIndex(method)])
                    QVERIFY2(lab->model().outcome(method).available(), studyMethodKey(method));
            QVERIFY(statusOf(*lab).startsWith("Opened the lesson “" + qstr(study.lesson->title)));
            QVERIFY(!statusOf(*lab).contains("unavailable"));
            QVERIFY(panel->isVisibleTo(lab.get()));
            const QString text = panel->toPlainText();
            QVERIFY(text.contains(qstr(study.lesson->title)));
            QVERIFY(text.contains(qstr(study.lesson->question).split('\n').front()));
            QVERIFY(text.contains("Show answer"));
            const QString answer = qstr(study.lesson->answer).split('\n').front();
            QVERIFY(!text.contains(answer));
            followLessonLink(*lab);
            QVERIFY(panel->answerShown());
            QVERIFY(panel->toPlainText().contains(answer));
            QVERIFY2(lab->mayClose(), "a lesson just opened has nothing unsaved");
        }
        // Named in the menu by the number of their file and their title,
        // numbered 1 to 8 with none missing.
        QCOMPARE(titles.size(), 8);
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const QString number = QFileInfo(shipped[i]).fileName().section('-', 0, 0);
            QCOMPARE(number.toInt(), i + 1);
            const QString title = qstr(studyIn(shipped[i]).lesson->title);
            QCOMPARE(titles[i], "&" + QString::number(number.toInt()) + " " + title);
        }

        // A study that is no lesson hides the panel again.
        QTemporaryDir dir;
        const QString plain = dir.filePath("plain.tarvel");
        lab->setLesson(std::nullopt);
        QVERIFY(!lab->saveStudy(plain));
        QVERIFY(!lab->openStudy(shipped.front()));
        QVERIFY(!lab->openStudy(plain));
        QVERIFY(!lab->lesson());
        QVERIFY(!panel->isVisibleTo(lab.get()));
        QVERIFY(statusOf(*lab).startsWith("Opened the study plain.tarvel"));
    }

    // The main window's Study menu offers the same lessons, each opening
    // the lab at it.
    void aLessonOpensTheLabFromTheMainWindowsStudyMenu()
    {
        MainWindow window;
        window.show();
        auto* lessons = find<QMenu>(window, "lessonsMenu");
        QVERIFY(find<QMenu>(window, "Mn_Study")->actions().contains(lessons->menuAction()));
        const QStringList shipped = lessonFiles(TARVEL_SOURCE_LESSONS_DIR);
        QCOMPARE(lessons->actions().size(), shipped.size());
        const QString last = QFileInfo(shipped.back()).completeBaseName();
        find<QAction>(window, qPrintable("lesson_" + last))->trigger();
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QVERIFY(lab && lab->isVisible());
        QCOMPARE(lab->lesson(), studyIn(shipped.back()).lesson);
        QVERIFY(find<LessonPanel>(*lab, "labLessonText")->isVisibleTo(lab));
    }

    // The program finds its lessons installed (share/ beside bin/), in the
    // build tree (share/ beside the program) and in the desktop's data
    // folders; a folder without lesson files is no lesson folder.
    void theLessonsAreFoundInstalledInTheBuildTreeAndInTheDesktopsData_data()
    {
        QTest::addColumn<QString>("lessonsIn");  // empty: none anywhere
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("found");
        QTest::newRow("installed") << "usr/share/tarvel/lessons" << true << "usr/bin" << true;
        QTest::newRow("build tree") << "build/share/tarvel/lessons" << true << "build" << true;
        QTest::newRow("desktop data") << "data/tarvel/lessons" << true << "elsewhere" << true;
        QTest::newRow("an empty folder") << "usr/share/tarvel/lessons" << false << "usr/bin"
                                         << false;
        QTest::newRow("none") << "" << false << "usr/bin" << false;
    }

    void theLessonsAreFoundInstalledInTheBuildTreeAndInTheDesktopsData()
    {
        QFETCH(QString, lessonsIn);
        QFETCH(bool, withFile);
        QFETCH(QString, program);
        QFETCH(bool, found);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(program));
        QVERIFY(QDir(root.path()).mkpath("data"));
        // The desktop's data folders are the scratch one alone while the lab looks.
        const auto setData = [](const char* name, const std::optional<QByteArray>& value) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        };
        const auto was = [](const char* name) {
            return qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                   : std::nullopt;
        };
        const std::optional<QByteArray> dataHome = was("XDG_DATA_HOME");
        const std::optional<QByteArray> dataDirs = was("XDG_DATA_DIRS");
        setData("XDG_DATA_HOME", root.filePath("data").toUtf8());
        setData("XDG_DATA_DIRS", root.filePath("data").toUtf8());
        const QString folder = root.filePath(lessonsIn);
        if (!lessonsIn.isEmpty())
            QVERIFY(QDir(root.path()).mkpath(lessonsIn));
        if (withFile)
            QVERIFY(QFile::copy(lessonFiles(TARVEL_SOURCE_LESSONS_DIR).front(),
                                folder + "/01-lesson.tarvel"));
        const QString seen = lessonFolder(root.filePath(program));
        setData("XDG_DATA_HOME", dataHome);
        setData("XDG_DATA_DIRS", dataDirs);
        QCOMPARE(seen, found ? QDir(folder).canonicalPath() : QString());
    }

    // A teacher's lesson text, typed in the dialog, is kept by Save study,
    // asked about when the lab closes unsaved, and comes back from the
    // command line.
    void anEditedLessonSavesAndOpensAgainFromTheCommandLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("my-lesson.tarvel");
        const Lesson typed{"Splines on Runge", "The natural spline at 11 nodes.",
                           "Where is its error largest?", "Near x = 0.44.\n\nIn the middle."};
        {
            std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"natural"}));
            QTimer::singleShot(0, [&typed] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->objectName() == "labLessonDialog");
                find<QLineEdit>(*dialog, "labLessonTitle")->setText(qstr(typed.title));
                find<QPlainTextEdit>(*dialog, "labLessonLook")->setPlainText(qstr(typed.look));
                find<QPlainTextEdit>(*dialog, "labLessonQuestion")
                    ->setPlainText(qstr(typed.question));
                find<QPlainTextEdit>(*dialog, "labLessonAnswer")->setPlainText(qstr(typed.answer));
                dialog->accept();
            });
            find<QAction>(*lab, "labLessonEditAction")->trigger();
            QCOMPARE(lab->lesson(), std::optional<Lesson>(typed));
            QVERIFY(find<LessonPanel>(*lab, "labLessonText")->isVisibleTo(lab.get()));
            UnsavedAnswer answer(QMessageBox::Cancel, {});
            QVERIFY(!lab->mayClose());
            QCOMPARE(answer.question, QString("The lab holds an edited lesson not saved."));
            QVERIFY(!lab->saveStudy(path));
            QVERIFY(lab->mayClose());
        }
        MainWindow window;
        window.show();
        QVERIFY(!openLabWithStudy(window, path));
        auto* lab = window.findChild<LabWindow*>("labWindow");
        QCOMPARE(lab->lesson(), std::optional<Lesson>(typed));
        const QString text = find<LessonPanel>(*lab, "labLessonText")->toPlainText();
        QVERIFY(text.contains("Splines on Runge"));
        QVERIFY(text.contains("Where is its error largest?"));
        QVERIFY(!text.contains("In the middle."));
        QCOMPARE(lab->model().settings().function, LabFunction::Runge);
    }

    void aTypedFunctionIsTakenOnReturnAndARefusalStaysBesideTheEntry()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"natural"}));
        auto* entry = find<QLineEdit>(*lab, "labExpression");
        auto* refusal = find<QLabel>(*lab, "labExpressionRefusal");
        auto* function = find<QComboBox>(*lab, "labFunction");
        const double before = lab->model().nodes()[2].y;

        entry->setText("2 + 3*");
        QTest::keyClick(entry, Qt::Key_Return);
        const QString expected = "col 7: a number, x, a name or '(' expected after '*'";
        QCOMPARE(refusal->text(), expected);
        QVERIFY(refusal->isVisibleTo(lab.get()));
        QVERIFY(statusOf(*lab).startsWith(expected));
        QCOMPARE(function->currentData().toString(), QString("runge"));
        QCOMPARE(lab->model().nodes()[2].y, before);

        entry->setText("exp(x) sin(10x)");
        QTest::keyClick(entry, Qt::Key_Return);
        QVERIFY(!refusal->isVisibleTo(lab.get()));
        QCOMPARE(function->currentData().toString(), QString("expression"));
        QCOMPARE(lab->model().functionLabel(), std::string("f(x) = exp(x) sin(10x)"));
        QVERIFY(statusOf(*lab).contains("f(x) = exp(x) sin(10x)"));

        // The drop-down keeps the last ten accepted entries, newest first.
        auto* history = find<QComboBox>(*lab, "labExpressionHistory");
        for (int k = 1; k <= 11; ++k) {
            entry->setText(QString("%1x").arg(k));
            QTest::keyClick(entry, Qt::Key_Return);
        }
        entry->setText("x^");
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(history->count(), 10);
        QCOMPARE(history->itemText(0), QString("11x"));
        QCOMPARE(history->itemText(9), QString("2x"));
        QCOMPARE(lab->model().expression()->text(), std::string("11x"));
    }
};

QTEST_MAIN(LabWindowTest)
#include "lab_window_test.moc"
