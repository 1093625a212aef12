// The study aids in the real window on the offscreen platform: every action
// by its name, the copies on the clipboard, kept results, the readout in the
// status line, keys, the About window and the scrolling client area.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

#include <bit>
#include <filesystem>

#include "data/dsf_reader.h"
#include "plot/occupancy.h"
#include "support/study_of.h"
#include "support/window_controls.h"
#include "support/zoom_walk.h"
#include "ui/headless/headless_toolkit.h"
#include "ui/qt/about_window.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/line_list.h"
#include "ui/qt/main_window.h"
#include "ui/qt/file_save.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/status_sentence.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/study_painter.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

bool ofColour(QRgb pixel, Colour colour)
{
    const int r = static_cast<int>(colour & 0xFF);
    const int g = static_cast<int>((colour >> 8) & 0xFF);
    const int b = static_cast<int>((colour >> 16) & 0xFF);
    return std::abs(qRed(pixel) - r) < 40 && std::abs(qGreen(pixel) - g) < 40 &&
           std::abs(qBlue(pixel) - b) < 40;
}

int pixelsOf(const QImage& image, Colour colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += ofColour(image.pixel(x, y), colour);
    return count;
}

// The picture's size in the window at its default size.
const QSize kDefaultPicture(797, 262);

// Where a world point of the picture is, in the widget's pixels.
QPoint onPicture(const PictureWidget& picture, double x, double y)
{
    const QRect area = picture.plotArea();
    const Viewport view(picture.shownWorld(), area.width(), area.height());
    return {area.left() + static_cast<int>(std::lround(view.toDeviceX(x))),
            area.top() + static_cast<int>(std::lround(view.toDeviceY(y)))};
}

PlotGeometry paintedGeometry(const Drawing& drawing, const StudyAids& aids, QSize size,
                             const std::optional<LegendPlace>& heldLegend = std::nullopt)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    PlotOptions options;
    options.showScale = aids.showScale;
    options.showLegend = aids.showLegend;
    const PlotScene scene = pictureScene(drawing, aids);
    return paintPlot(scene, scene.world, options, painter, size, QFont(), ".", heldLegend);
}

// The cells of drawn data (pixel cells) that the legend's box covers.
int dataUnderLegend(const Drawing& drawing, const PlotGeometry& placed)
{
    const QRectF area = placed.plotArea;
    Occupancy data(area.width(), area.height(), 1);
    markDrawing(data, drawing, Viewport(placed.visibleWorld, area.width(), area.height()));
    const QRectF legend = placed.legendArea.translated(-area.topLeft());
    return data.count({legend.left(), legend.top(), legend.right(), legend.bottom()});
}

}  // namespace

class StudyWindowTest : public QObject {
    Q_OBJECT

private:
    // OK and Calculate with the defaults, then the picture's study as the
    // commands hand it over.
    void okAndCalculate(MainWindow& window)
    {
        click(window, "Command1");
        click(window, "Command2");
        window.picture().drawing().setStudy(support::sineStudy(window.form()));
    }
    QAction* action(MainWindow& window, const char* name) { return find<QAction>(window, name); }

private slots:
    void init() { QApplication::clipboard()->clear(); }

    void everyActionExistsByName()
    {
        MainWindow window;
        window.show();
        for (const char* name :
             {"showScaleAction", "showLegendAction", "showErrorAction", "keepCurveAction",
              "clearKeptCurvesAction", "copyPictureAction", "copyValuesAction"}) {
            QAction* found = window.findChild<QAction*>(name);
            QVERIFY2(found, name);
            QVERIFY2(window.picture().menu()->actions().contains(found), name);
        }
        QVERIFY(action(window, "showScaleAction")->isCheckable());
        QVERIFY(action(window, "showScaleAction")->isChecked());
        QVERIFY(action(window, "showLegendAction")->isChecked());
        QVERIFY(action(window, "showErrorAction")->isCheckable());
        QVERIFY(!action(window, "showErrorAction")->isChecked());
        QVERIFY2(!action(window, "showErrorAction")->isEnabled(), "nothing to compare yet");
        auto* list = find<QAbstractItemView>(window, "List1");
        QVERIFY(list->findChild<QAction*>("copySelectionAction"));
        QVERIFY(list->findChild<QAction*>("copyListAction"));
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    }

    void scaleAndLegendSwitchOff()
    {
        MainWindow window;
        window.show();
        okAndCalculate(window);
        action(window, "showScaleAction")->trigger();
        action(window, "showLegendAction")->trigger();
        QVERIFY(!window.picture().aids().showScale);
        QVERIFY(!window.picture().aids().showLegend);
        // Without overlays the picture is the drawing alone.
        PictureWidget& picture = window.picture();
        const QImage bare = picture.pictureImage();
        QImage drawingOnly(bare.size(), QImage::Format_ARGB32_Premultiplied);
        drawingOnly.fill(kBackground);
        QPainter painter(&drawingOnly);
        paintDrawing(picture.drawing(), painter, picture.contentsRect().size());
        painter.end();
        QCOMPARE(bare, drawingOnly);
        action(window, "showLegendAction")->trigger();
        const QImage withLegend = picture.pictureImage();
        QVERIFY(withLegend != bare);
        action(window, "showScaleAction")->trigger();
        QVERIFY(picture.pictureImage() != withLegend);
    }

    void copyValuesGivesOneRowPerInterpolationPoint()
    {
        MainWindow window;
        window.show();
        okAndCalculate(window);
        action(window, "copyValuesAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        const Form_Tarvel& form = window.form();
        QCOMPARE(lines.size(), 1 + 150);
        QCOMPARE(lines[0], QString("i\tx\tp(x)\tf(x)\tp(x)-f(x)"));
        for (int i = 0; i < 150; ++i) {
            const QStringList fields = lines[i + 1].split('\t');
            QCOMPARE(fields.size(), 5);
            QCOMPARE(fields[0].toInt(), i);
            QCOMPARE(fields[1].toDouble(), form.xI[static_cast<std::size_t>(i)]);
            QCOMPARE(fields[2].toDouble(), form.yI[static_cast<std::size_t>(i)]);
            QCOMPARE(fields[3].toDouble(), form.SinFunc(form.xI[static_cast<std::size_t>(i)]));
        }
    }

    void copyPictureIsThePictureAsShown()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        okAndCalculate(window);
        action(window, "keepCurveAction")->trigger();
        action(window, "copyPictureAction")->trigger();
        const QImage copied =
            QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        PictureWidget& picture = window.picture();
        const QImage shown =
            picture.grab(picture.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), shown.size());
        QCOMPARE(copied, shown);
        QVERIFY2(pixelsOf(copied, 0x00A000) > 0, "the kept result is in the copy");
    }

    // Right after Keep the shown result is the kept one: the legend names
    // it once, in either view; the next Calculate names both.
    void aResultJustKeptIsNamedOnce()
    {
        MainWindow window;
        window.show();
        click(window, "Command1");
        click(window, "Command2");
        action(window, "keepCurveAction")->trigger();
        const QString result = "Polynomial interpolation of degree 1 (11 given, 150 points)";
        const auto count = [&](const QString& entry) {
            return window.picture().legendEntries().count(entry);
        };
        QCOMPARE(count(result), 1);
        action(window, "showErrorAction")->trigger();
        QCOMPARE(count("error of " + result.left(1).toLower() + result.mid(1)), 1);
        find<QLineEdit>(window, "Text_nI")->setText("40");
        click(window, "Command2");
        QCOMPARE(count("error of " + result.left(1).toLower() + result.mid(1)), 1);
        QCOMPARE(count("error of polynomial interpolation of degree 1 (11 given, 40 points)"), 1);
    }

    void keptCurveIsPaintedAndCleared()
    {
        MainWindow window;
        window.show();
        okAndCalculate(window);  // degree 1: straight pieces, away from the sine
        const QImage before = window.picture().pictureImage();
        QCOMPARE(pixelsOf(before, 0x00A000), 0);
        QVERIFY(!action(window, "clearKeptCurvesAction")->isEnabled());
        action(window, "keepCurveAction")->trigger();
        find<QLineEdit>(window, "Text_nDeg")->setText("6");
        click(window, "Command2");
        window.picture().drawing().setStudy(support::sineStudy(window.form()));
        QVERIFY(pixelsOf(window.picture().pictureImage(), 0x00A000) > 50);
        QVERIFY(action(window, "clearKeptCurvesAction")->isEnabled());
        action(window, "clearKeptCurvesAction")->trigger();
        QCOMPARE(pixelsOf(window.picture().pictureImage(), 0x00A000), 0);
    }

    // Results of one function are compared across OK and Calculate,
    // whatever the number of given points; another function clears them.
    void keptResultsFollowTheFunctionNotTheNumberOfPoints()
    {
        MainWindow window;
        window.show();
        auto* sentence = find<QLabel>(window, "statusSentence");
        const auto kept = [&window] { return window.picture().aids().kept.results().size(); };
        find<QLineEdit>(window, "Text_nU")->setText("101");
        click(window, "Command1");
        for (const char* degree : {"1", "2", "3", "4"}) {
            find<QLineEdit>(window, "Text_nDeg")->setText(degree);
            click(window, "Command2");
            action(window, "keepCurveAction")->trigger();
        }
        QCOMPARE(sentence->text(), QString("Kept polynomial interpolation of degree 4 (101 given "
                                           "points, 150 points)."));
        for (const char* count : {"50", "101"}) {
            find<QLineEdit>(window, "Text_nU")->setText(count);
            click(window, "Command2");
            QCOMPARE(kept(), std::size_t{4});
        }
        find<QLineEdit>(window, "Text_nU")->setText("21");
        click(window, "Command1");
        QCOMPARE(kept(), std::size_t{4});
        QVERIFY(!sentence->text().contains("kept"));
        click(window, "Command2");
        action(window, "keepCurveAction")->trigger();
        QCOMPARE(kept(), std::size_t{4});
        QVERIFY2(sentence->text().contains("The oldest kept result, Polynomial interpolation of "
                                           "degree 1 (101 given, 150 points), was let go"),
                 qPrintable(sentence->text()));
        QVERIFY(window.picture().legendEntries().contains(
            "Polynomial interpolation of degree 4 (21 given, 150 points)"));

        QTest::mouseClick(find<QRadioButton>(window, "Option_Cos10Fu"), Qt::LeftButton);
        click(window, "Command1");
        QCOMPARE(kept(), std::size_t{0});
        QVERIFY2(sentence->text().endsWith("The 4 kept results were cleared: the given points "
                                           "now come from cos\u00B9\u2070(2\u03C0x)."),
                 qPrintable(sentence->text()));
        QVERIFY(!action(window, "clearKeptCurvesAction")->isEnabled());
    }

    // Copy and keep say in the status line what they did.
    void copiesAndKeepConfirmInTheStatusLine()
    {
        MainWindow window;
        window.show();
        auto* sentence = find<QLabel>(window, "statusSentence");
        QTest::mouseClick(find<QRadioButton>(window, "Option_InterCubc"), Qt::LeftButton);
        click(window, "Command1");
        click(window, "Command2");
        action(window, "copyValuesAction")->trigger();
        QCOMPARE(sentence->text(), QString("Copied 150 values."));
        action(window, "keepCurveAction")->trigger();
        QCOMPARE(sentence->text(),
                 QString("Kept the natural cubic spline (11 given points, 150 points)."));
        action(window, "copyPictureAction")->trigger();
        QVERIFY(sentence->text().startsWith("Copied the picture ("));
        find<QAction>(*find<QWidget>(window, "List1"), "copyListAction")->trigger();
        QVERIFY(sentence->text().startsWith("Copied ") && sentence->text().endsWith(" lines."));
    }

    void errorViewOnlyWithATestFunction()
    {
        MainWindow window;
        window.show();
        okAndCalculate(window);
        QAction* error = action(window, "showErrorAction");
        QVERIFY(error->isEnabled());
        const QImage ordinary = window.picture().pictureImage();
        error->trigger();
        QVERIFY(window.picture().aids().showError);
        QVERIFY(window.picture().pictureImage() != ordinary);
        error->trigger();
        QCOMPARE(window.picture().pictureImage(), ordinary);

        error->trigger();
        window.picture().drawing().setStudy(
            support::studyOf(window.form(), nullptr, "runge.dsf", "the natural cubic spline"));
        QVERIFY(!error->isEnabled());
        QVERIFY2(!error->isChecked(), "a data set has no error to show");
    }

    // Comparing 11 with 21 given points in the error view takes no new
    // switching on after each OK.
    void theErrorViewAndItsDecadesStayOnAcrossOkAndCalculate()
    {
        MainWindow window;
        window.show();
        okAndCalculate(window);
        QAction* error = action(window, "showErrorAction");
        QAction* decades = action(window, "showLogErrorAction");
        for (QAction* a : {error, decades})
            QVERIFY2(find<QMenu>(window, "Mn_Study")->actions().contains(a), qPrintable(a->objectName()));
        error->trigger();
        decades->trigger();
        const struct {
            const char* count;
            const char* button;
            bool errorShown;
        } steps[] = {{"21", "Command1", false}, {"21", "Command2", true},
                     {"11", "Command1", false}, {"11", "Command2", true}};
        for (const auto& step : steps) {
            find<QLineEdit>(window, "Text_nU")->setText(step.count);
            click(window, step.button);
            QVERIFY2(error->isChecked() && decades->isChecked(), step.button);
            QVERIFY(error->isEnabled());
            QCOMPARE(window.picture().legendEntries().join(' ').contains("error of"),
                     step.errorShown);
        }
    }

    void hoverReadoutCoversTheSentenceUntilTheMouseLeaves()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        okAndCalculate(window);
        auto* sentence = find<QLabel>(window, "statusSentence");
        sentence->setText("the command's sentence");
        PictureWidget& picture = window.picture();
        const QPoint onPoint = onPicture(picture, 0.2, window.form().yU[2]);
        QTest::mouseMove(&picture, onPoint);
        QTRY_VERIFY(window.statusBar()->currentMessage().startsWith("Given point 2: x = 0"));
        // A ring marks the point read, and the readout is also beside the pointer.
        const QImage shown = picture.grab().toImage();
        int ring = 0;
        for (int dy = -9; dy <= 9; ++dy)
            for (int dx = -9; dx <= 9; ++dx)
                ring += shown.pixelColor(onPoint + QPoint(dx, dy)) == QColor(160, 0, 160);
        QVERIFY(ring > 10);
        int readoutBox = 0;
        for (int dx = 14; dx < 60; ++dx)
            readoutBox += shown.pixelColor(onPoint + QPoint(dx, 16)) == QColor(255, 255, 225);
        QVERIFY(readoutBox > 20);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&picture, &leave);
        QVERIFY(window.statusBar()->currentMessage().isEmpty());
        QCOMPARE(sentence->text(), QString("the command's sentence"));
    }

    void contextMenuOpensFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
        QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    }

    void contextMenuOpensFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PictureWidget& picture = window.picture();
        QCOMPARE(picture.focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(&picture, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY(picture.menu()->isVisible());
        picture.menu()->close();
    }

    void listCopiesSelectedLinesAndAll()
    {
        MainWindow window;
        window.show();
        click(window, "Command1");
        auto* list = find<LineList>(window, "List1");
        const auto selectRow = [list](int row) {
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select |
                                               QItemSelectionModel::Rows);
        };
        list->clearSelection();
        selectRow(5);
        selectRow(3);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), list->line(3) + "\n" + list->line(5) + "\n");
        QApplication::clipboard()->clear();
        find<QAction>(*list, "copySelectionAction")->trigger();
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 2);
        find<QAction>(*list, "copyListAction")->trigger();
        // With extended selection a command's newest line still becomes the
        // only selected one.
        QTest::mouseClick(find<QRadioButton>(window, "Option_InterCubc"), Qt::LeftButton);
        click(window, "Command2");
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].row(), list->count() - 1);
        find<QAction>(*list, "copyListAction")->trigger();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), list->count() + 1);  // the last line ends too
        for (int row = 0; row < list->count(); ++row)
            QCOMPARE(lines[row], list->line(row));
    }

    void returnPressesTheRightButton_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("calculates");
        for (const char* name : {"Text_nU", "Text_nPoly", "Text_a0", "Text_a4"})
            QTest::newRow(name) << name << false;
        QTest::newRow("Text_nI") << "Text_nI" << true;
        QTest::newRow("Text_nDeg") << "Text_nDeg" << true;
    }

    void returnPressesTheRightButton()
    {
        QFETCH(QString, entry);
        QFETCH(bool, calculates);
        MainWindow window;
        window.show();
        QTest::mouseClick(find<QRadioButton>(window, "Option_Polynom"), Qt::LeftButton);
        find<QLineEdit>(window, "Text_nU")->setText("7");
        click(window, "Command1");
        // Fewer points than exist: Calculate may use them, OK lists them.
        find<QLineEdit>(window, "Text_nU")->setText("5");
        auto* list = find<LineList>(window, "List1");
        QCOMPARE(list->count(), 3 + 7);
        QSignalSpy ok(find<QPushButton>(window, "Command1"), &QPushButton::clicked);
        QSignalSpy calculate(find<QPushButton>(window, "Command2"), &QPushButton::clicked);
        QTest::keyClick(find<QLineEdit>(window, qPrintable(entry)), Qt::Key_Return);
        QCOMPARE(ok.count(), calculates ? 0 : 1);
        QCOMPARE(calculate.count(), calculates ? 1 : 0);
        if (!calculates)
            QCOMPARE(list->count(), 3 + 5);
    }

    void aboutClosesWithEscapeAndItsButtonAndOpensOverTheWindow()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* about = find<QAction>(window, "Mn_About");
        about->trigger();
        QPointer<AboutWindow> shown = window.about().window();
        QVERIFY(shown && shown->isVisible());
        const QPoint offset = shown->frameGeometry().center() - window.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, "centred on the main window");
        QTest::keyClick(shown.data(), Qt::Key_Escape);
        QVERIFY(!shown || !shown->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        about->trigger();
        shown = window.about().window();
        QVERIFY(shown && shown->isVisible());
        QTest::mouseClick(find<QPushButton>(*shown, "closeButton"), Qt::LeftButton);
        QVERIFY(!shown || !shown->isVisible());
    }

    void dataSetChosenAgainShowsTheBrowser()
    {
        MainWindow window(TARVEL_EXAMPLES_DIR);
        window.show();
        auto* option = find<QRadioButton>(window, "Option_DataSet");
        auto* browser = find<QGroupBox>(window, "Frame_DataSet");
        QTest::mouseClick(option, Qt::LeftButton);
        QVERIFY(browser->isVisible());
        QVERIFY(browser->autoFillBackground());
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "File1"));
        QListWidgetItem* runge = files->findItems("runge.dsf", Qt::MatchExactly).value(0);
        QVERIFY(runge);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(runge).center());
        QVERIFY(!browser->isVisible());
        QTest::mouseClick(option, Qt::LeftButton);
        QVERIFY(option->isChecked());
        QVERIFY(browser->isVisible());
    }

    void windowSmallerThanItsDesignScrolls()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* client = find<QWidget>(window, "client");
        window.resize(400, 300);
        QCoreApplication::processEvents();
        QVERIFY(window.width() <= 400);
        auto* scroll = find<QScrollArea>(window, "clientScroll");
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->verticalScrollBar()->isVisible());
        QCOMPARE(client->size(), client->minimumSize());
        // Every control can be scrolled into view.
        auto* calculate = find<QPushButton>(window, "Command2");
        scroll->ensureWidgetVisible(find<QWidget>(window, "Picture1"));
        scroll->ensureWidgetVisible(calculate);
        const QRect onViewport(calculate->mapTo(scroll->viewport(), QPoint()), calculate->size());
        QVERIFY(scroll->viewport()->rect().contains(onViewport));
    }

    // Painted into an image: the legend covers no drawn point or line, and
    // every scale label sits in the margins, outside the plot area.
    void legendAndScaleKeepOffTheData_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("calculate");
        QTest::newRow("design size after OK") << QSize(609, 217) << false;
        QTest::newRow("design size after Calculate") << QSize(609, 217) << true;
        QTest::newRow("larger") << QSize(1000, 500) << true;
    }

    void legendAndScaleKeepOffTheData()
    {
        QFETCH(QSize, size);
        QFETCH(bool, calculate);
        HeadlessWindow w;
        w.form.Command1_Click();
        if (calculate)
            w.form.Command2_Click();
        w.Picture1.setStudy(support::sineStudy(w.form, calculate));
        const PlotGeometry placed = paintedGeometry(w.Picture1, StudyAids{}, size);
        QVERIFY(!placed.legendArea.isEmpty());
        QVERIFY(placed.labelledTicks >= 8);
        QCOMPARE(dataUnderLegend(w.Picture1, placed), 0);
    }

    void aHeldLegendKeepsItsPlaceWithoutLookingAtTheData()
    {
        HeadlessWindow w;
        w.form.Command1_Click();
        w.form.Command2_Click();
        w.Picture1.setStudy(support::sineStudy(w.form, true));
        const PlotGeometry searched = paintedGeometry(w.Picture1, StudyAids{}, kDefaultPicture);
        QVERIFY(searched.legendPlace && !searched.legendPlace->inStrip);
        int coveringData = 0;
        for (const Corner corner :
             {Corner::TopRight, Corner::TopLeft, Corner::BottomRight, Corner::BottomLeft}) {
            const PlotGeometry held =
                paintedGeometry(w.Picture1, StudyAids{}, kDefaultPicture, LegendPlace{false, corner});
            QVERIFY(held.legendPlace && held.legendPlace->corner == corner);
            QCOMPARE(held.plotArea, searched.plotArea);
            const QRectF area = held.plotArea;
            // 4 pixels: the legend's inset from the plot area's edges.
            const DeviceRect box = cornerRect(corner, area.width(), area.height(),
                                              held.legendArea.width(), held.legendArea.height(), 4);
            QCOMPARE(held.legendArea.topLeft(), area.topLeft() + QPointF(box.left, box.top));
            coveringData += dataUnderLegend(w.Picture1, held) > 0;
        }
        QVERIFY2(coveringData > 0, "some held corner lies over the data");
        const PlotGeometry strip =
            paintedGeometry(w.Picture1, StudyAids{}, kDefaultPicture, LegendPlace{true, {}});
        QVERIFY(strip.legendPlace && strip.legendPlace->inStrip);
        QVERIFY(!strip.plotArea.intersects(strip.legendArea));
        QVERIFY(strip.plotArea.width() * strip.plotArea.height() <
                searched.plotArea.width() * searched.plotArea.height());
    }

    // The legend names exactly what is drawn and covers none of it, for the
    // test functions and the four example data sets, at the picture's size
    // in the window at its default size.
    void legendNamesWhatIsDrawnAndCoversNothing_data()
    {
        QTest::addColumn<QString>("source");  // an option, or a data set's file
        QTest::addColumn<QString>("curve");   // the option chosen before Calculate
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("degree");
        QTest::addColumn<bool>("errorView");
        QTest::addColumn<QStringList>("entries");
        const QString sine = QString::fromUtf8("sin(2\u03C0x)");
        const QString cos10 = QString::fromUtf8("cos\u00B9\u2070(2\u03C0x)");
        const QString noFunction = "y = 0 (no test function chosen)";
        const QString spline = "Natural cubic spline (%1 given, 150 points)";
        QTest::newRow("sine after OK") << "Option_SinFunc" << "" << "" << "1" << false
                                       << QStringList{sine, "given points of " + sine + " (11)"};
        QTest::newRow("cos10 drawn over sine points")
            << "Option_SinFunc" << "Option_Cos10Fu" << "Option_Tarvel" << "1" << false
            << QStringList{cos10, "given points of " + sine + " (11)",
                           "Polynomial interpolation of degree 1 (11 given, 150 points)"};
        QTest::newRow("cos10 cubic spline")
            << "Option_Cos10Fu" << "" << "Option_InterCubc" << "1" << false
            << QStringList{cos10, "given points of " + cos10 + " (11)", spline.arg(11)};
        QTest::newRow("polynomial, PW spline")
            << "Option_Polynom" << "" << "Option_InterPwCb" << "1" << false
            << QStringList{"the test polynomial", "given points of the test polynomial (11)",
                           "PW cubic spline (11 given, 150 points)"};
        QTest::newRow("sine error view")
            << "Option_SinFunc" << "" << "Option_InterCubc" << "1" << true
            << QStringList{sine + " (zero line)",
                           "error of natural cubic spline (11 given, 150 points)"};
        QTest::newRow("runge.dsf degree 10")
            << "runge.dsf" << "" << "Option_Tarvel" << "10" << false
            << QStringList{noFunction, "given points of runge.dsf (11)",
                           "Polynomial interpolation of degree 10 (11 given, 150 points)"};
        for (const auto& [file, count] : {std::pair{"damped wave.dsf", 21}, {"step.dsf", 12},
                                          {"uneven.dsf", 10}})
            QTest::newRow(file) << file << "" << "Option_InterCubc" << "1" << false
                                << QStringList{noFunction,
                                               QString("given points of %1 (%2)").arg(file).arg(count),
                                               spline.arg(count)};
    }

    void legendNamesWhatIsDrawnAndCoversNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, curve);
        QFETCH(QString, method);
        QFETCH(QString, degree);
        QFETCH(bool, errorView);
        QFETCH(QStringList, entries);
        HeadlessWindow w(TARVEL_EXAMPLES_DIR);
        if (source.startsWith("Option_")) {
            w.select(source.toStdString());
        } else {
            w.select("Option_DataSet");
            w.clickFile(source.toStdString());
        }
        w.form.Command1_Click();
        if (!curve.isEmpty())
            w.select(curve.toStdString());
        if (!method.isEmpty()) {
            w.select(method.toStdString());
            w.setText("Text_nDeg", degree.toStdString());
            w.form.Command2_Click();
        }
        QVERIFY(w.messages.messages.empty());
        StudyAids aids;
        aids.showError = errorView;
        const PlotGeometry placed = paintedGeometry(w.Picture1, aids, kDefaultPicture);
        QCOMPARE(placed.legendEntries, entries);
        QVERIFY(!placed.legendArea.isEmpty());
        QVERIFY(QRectF(QPointF(0, 0), QSizeF(kDefaultPicture)).contains(placed.legendArea));
        if (!errorView)
            QCOMPARE(dataUnderLegend(w.Picture1, placed), 0);
        QVERIFY2(placed.labelledTicks >= 6, "both axes carry labels");
    }

    void savedFilesHoldWhatThePictureShows()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command1");
        click(window, "Command2");
        QTemporaryDir dir;
        PictureWidget& picture = window.picture();
        QCOMPARE(picture.saveGivenPoints(dir.filePath("given.dsf")), QString());
        const DataSetRead read =
            readDataSetFile(std::filesystem::path(dir.filePath("given.dsf").toStdString()));
        QVERIFY(read.set);
        QCOMPARE(read.set->count, 11);
        for (std::size_t i = 0; i < 11; ++i) {
            QCOMPARE(std::bit_cast<quint64>(read.set->x[i]), std::bit_cast<quint64>(window.form().xU[i]));
            QCOMPARE(std::bit_cast<quint64>(read.set->y[i]), std::bit_cast<quint64>(window.form().yU[i]));
        }
        QCOMPARE(picture.saveValues(dir.filePath("values.csv")), QString());
        QFile csv(dir.filePath("values.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 151);
        QCOMPARE(rows[0], QString("i,x,p(x),f(x),p(x)-f(x)"));
        QCOMPARE(rows[150].section(',', 1, 1).toDouble(), 1.0);

        QCOMPARE(picture.savePicture(dir.filePath("p.png")), QString());
        QCOMPARE(QImage(dir.filePath("p.png")).size(), picture.contentsRect().size() * 2);
        QCOMPARE(picture.savePicture(dir.filePath("p.svg")), QString());
        QCOMPARE(picture.savePicture(dir.filePath("p.pdf")), QString());
        for (const auto& [name, start] : {std::pair{"p.svg", "<?xml"}, {"p.pdf", "%PDF"}}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.read(5).startsWith(start), name);
        }
        QVERIFY(!picture.savePicture(dir.filePath("p.bmp")).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("p.bmp")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 5);  // no temporary file left
    }

    // A save that fails (no room, the folder gone) says why and leaves the
    // earlier file as it was.
    void failedSaveLeavesTheEarlierFileWhole()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath("values.csv");
        QCOMPARE(saveWhole(name, QByteArray("earlier\n")), QString());
        const QString halfWritten = saveWhole(name, [](QIODevice& device) {
            device.write("half of the new");
            return false;  // as a full disk stops a write
        });
        QVERIFY(!halfWritten.isEmpty());
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"values.csv"});
        QVERIFY(!saveWhole(dir.filePath("gone/values.csv"), QByteArray("x")).isEmpty());
    }

    // Zoom and pan change what is shown, never the drawing; the whole
    // picture comes back by a double click and by Ctrl+Home.
    void zoomAndPanShowPartsOfTheSameDrawing()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command1");
        click(window, "Command2");
        PictureWidget& picture = window.picture();
        const std::vector<DrawOp> ops = picture.drawing().ops();
        const QRectF whole = picture.visibleWorld();
        const QPoint at = onPicture(picture, 0.3, 0.5);
        // The wheel passing over the picture scrolls the window; it zooms
        // with the focus on the picture or with Ctrl.
        find<QLineEdit>(window, "Text_nU")->setFocus();
        const auto wheelAt = [&](const QPoint& p, Qt::KeyboardModifiers keys) {
            QWheelEvent wheel(p, picture.mapToGlobal(p), QPoint(), QPoint(0, 120), Qt::NoButton,
                              keys, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&picture, &wheel);
            return wheel.isAccepted();
        };
        QVERIFY(!wheelAt(at, Qt::NoModifier));
        QCOMPARE(picture.visibleWorld(), whole);
        QVERIFY(wheelAt(at, Qt::ControlModifier));
        QVERIFY(picture.visibleWorld().width() < whole.width());
        QTest::mouseDClick(&picture, Qt::LeftButton, {}, at);
        picture.setFocus();
        QVERIFY(wheelAt(at, Qt::NoModifier));
        QVERIFY(picture.visibleWorld().width() < whole.width());
        QVERIFY((onPicture(picture, 0.3, 0.5) - at).manhattanLength() <= 1);
        QTest::mousePress(&picture, Qt::LeftButton, {}, at);
        QMouseEvent drag(QEvent::MouseMove, at + QPoint(40, 0), picture.mapToGlobal(at + QPoint(40, 0)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&picture, &drag);
        QTest::mouseRelease(&picture, Qt::LeftButton, {}, at + QPoint(40, 0));
        QVERIFY((onPicture(picture, 0.3, 0.5) - (at + QPoint(40, 0))).manhattanLength() <= 1);
        QTest::mouseDClick(&picture, Qt::LeftButton, {}, at);
        QCOMPARE(picture.visibleWorld(), whole);
        picture.setFocus();
        QTest::keyClick(&picture, Qt::Key_Plus);
        QVERIFY(picture.visibleWorld().width() < whole.width());
        QTest::keyClick(&picture, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(picture.visibleWorld(), whole);
        QTest::keyClick(&picture, Qt::Key_Minus);
        QVERIFY(picture.visibleWorld().width() > whole.width());
        QCOMPARE(picture.drawing().ops().size(), ops.size());
        QVERIFY(std::equal(ops.begin(), ops.end(), picture.drawing().ops().begin(),
                           [](const DrawOp& a, const DrawOp& b) {
                               return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
                           }));
        // A command that draws in the same world keeps the zoom, for a
        // comparison; one with another world shows it whole.
        QTest::keyClick(&picture, Qt::Key_Plus);
        const QRectF zoomed = picture.visibleWorld();
        click(window, "Command2");
        QCOMPARE(picture.visibleWorld(), zoomed);
        find<QLineEdit>(window, "Text_nDeg")->setText("7");
        click(window, "Command2");
        QVERIFY(!picture.zoomed());
        QVERIFY(picture.visibleWorld() != whole);
    }

    // 400 presses of + and of -, and drags out to 1e300 and -1e300, in the
    // picture and in its error view on the decade scale: the window answers,
    // the status line says where the numbers stop and the labels and the
    // readout stay numbers.
    void zoomAndPanStopAtTheEndsOfTheNumbers()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command1");
        click(window, "Command2");
        PictureWidget& picture = window.picture();
        const support::ZoomWalk walk{
            picture, [&window] { return find<StatusSentence>(window, "statusSentence")->text(); },
            [&window] { return window.statusBar()->currentMessage(); }};
        support::zoomToTheEndsOfTheNumbers(walk);
        find<QAction>(window, "showErrorAction")->setChecked(true);
        find<QAction>(window, "showLogErrorAction")->setChecked(true);
        QCOMPARE(picture.property("legendEntries").toStringList().isEmpty(), false);
        support::ZoomWalk decades = walk;
        decades.decadeY = true;
        support::zoomToTheEndsOfTheNumbers(decades);
    }

    // As close as the numbers allow the x labels need 14 digits: none of
    // them is cut off at the picture's edges.
    void longLabelsDeepInAZoomStayWithinThePicture()
    {
        PlotScene scene;
        scene.world = {0, 1, 1, -1};
        scene.series.push_back({SeriesStyle::Line, Qt::red, {}, {{0, 0}, {1, 0}}});
        const double at = 0.50058807806;
        const WorldRect closest{at, 1, at * (1 + kClosestExtent), -1};
        const QSize size(800, 260);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const PlotGeometry geometry =
            paintPlot(scene, closest, {true, false}, painter, size, QFont(), ".");
        painter.end();
        QVERIFY(geometry.labelledTicks > 2);
        for (const int x : {0, 1, size.width() - 2, size.width() - 1})
            for (int y = 0; y < size.height(); ++y)
                QVERIFY2(image.pixel(x, y) == QColor(Qt::white).rgb(),
                         qPrintable(QString("ink at the edge, x = %1, y = %2").arg(x).arg(y)));
    }

    void statusSentenceWrapsToThreeLinesThenEndsInAnEllipsis()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* sentence = find<StatusSentence>(window, "statusSentence");
        const int line = sentence->fontMetrics().lineSpacing();
        const bool scrolled =
            find<QScrollArea>(window, "clientScroll")->verticalScrollBar()->isVisible();
        QString words;
        while (sentence->fontMetrics().horizontalAdvance(words) < sentence->width() * 3 / 2)
            words += "interpolation ";
        sentence->setSentence(words);
        QTRY_VERIFY(sentence->height() >= 2 * line);
        QTRY_VERIFY(window.statusBar()->height() >= sentence->height());
        QVERIFY(!sentence->shortened());
        QVERIFY(sentence->toolTip().isEmpty());
        // The extra line comes from the picture: no scroll bar appears for it.
        QCOMPARE(find<QScrollArea>(window, "clientScroll")->verticalScrollBar()->isVisible(),
                 scrolled);
        sentence->setSentence(words + words + words);
        QTRY_VERIFY(sentence->height() >= 3 * line);
        QVERIFY(sentence->shortened());
        QCOMPARE(sentence->toolTip(), words + words + words);
        QVERIFY(sentence->height() < 4 * line);
    }

    void studyMenuBesideAboutSavesAndTheDecadeScaleFollowsTheErrorView()
    {
        MainWindow window;
        window.show();
        auto* study = find<QMenu>(window, "Mn_Study");
        const QList<QAction*> bar = window.menuBar()->actions();
        QCOMPARE(bar.indexOf(study->menuAction()) + 1, bar.indexOf(action(window, "Mn_About")));
        for (const char* name : {"savePictureAction", "saveValuesAction", "saveGivenPointsAction"}) {
            QVERIFY2(study->actions().contains(action(window, name)), name);
            QVERIFY2(window.picture().menu()->actions().contains(action(window, name)), name);
        }
        QAction* decades = action(window, "showLogErrorAction");
        QVERIFY(decades->isCheckable());
        QVERIFY(!decades->isEnabled());
        QVERIFY(!action(window, "saveValuesAction")->isEnabled());
        click(window, "Command1");
        click(window, "Command2");
        QVERIFY(!decades->isEnabled());
        QVERIFY(action(window, "saveValuesAction")->isEnabled());
        action(window, "showErrorAction")->trigger();
        QVERIFY(decades->isEnabled());
        decades->trigger();
        QVERIFY(window.picture().legendEntries().contains(
            "error of polynomial interpolation of degree 1 (11 given, 150 points)"));
        QVERIFY2(window.picture().legendEntries().isEmpty() ||
                     window.picture().shownWorld().top < 1,
                 "errors of the sine's straight pieces lie below 1: the top decade is 1 at most");
    }

    void entriesAndMethodsCarryTooltips()
    {
        MainWindow window;
        for (const char* name :
             {"Text_nU", "Text_nPoly", "Text_a0", "Text_a1", "Text_a2", "Text_a3", "Text_a4",
              "Text_nI", "Text_nDeg", "Option_Tarvel", "Option_InterCubc", "Option_InterPwCb"})
            QVERIFY2(!find<QWidget>(window, name)->toolTip().isEmpty(), name);
        QVERIFY(find<QWidget>(window, "Option_InterCubc")->toolTip().contains("1 to 101"));
        QVERIFY(find<QWidget>(window, "Option_InterPwCb")->toolTip().contains("2 to 302"));
        QVERIFY(find<QWidget>(window, "Text_nI")->toolTip().contains("2 to 1001"));
    }
};

QTEST_MAIN(StudyWindowTest)
#include "study_window_test.moc"
