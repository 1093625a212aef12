// The real window on the offscreen platform: controls by name, clicks
// through to the list and the drawing, the About window, message boxes.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "support/window_controls.h"
#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/line_list.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/qt_controls.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

// Closes the next modal message box as soon as it opens and keeps its text.
class MessageCatcher {
public:
    MessageCatcher()
    {
        QTimer::singleShot(0, [this] { close(); });
    }
    QString text;

private:
    void close()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        } else {
            QTimer::singleShot(10, [this] { close(); });
        }
    }
};

int countOps(const Drawing& drawing, DrawOp::Kind kind, std::optional<Colour> colour)
{
    int count = 0;
    for (const DrawOp& op : drawing.ops())
        count += op.kind == kind && op.colour == colour;
    return count;
}

int aboutWindows()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == "Form_About" && widget->isVisible();
    return count;
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:

private slots:
    void controlsStartInTheirInitialState()
    {
        MainWindow window;
        window.show();
        QCOMPARE(window.windowTitle(), QString("Tarvel - Polynomial interpolation"));
        for (const ControlSpec& spec : mainWindowControls()) {
            const QString name = QString::fromUtf8(spec.name.data(), spec.name.size());
            QWidget* widget = window.findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable("missing " + name));
            QCOMPARE(widget->isVisibleTo(&window),
                     !spec.hidden &&
                         !(spec.parent == "Frame_Poly" || spec.parent == "Frame_DataSet"));
            const QString text = QString::fromUtf8(spec.text.data(), spec.text.size());
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                QCOMPARE(edit->text(), text);
            if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
                QCOMPARE(radio->text(), text);
                QCOMPARE(radio->isChecked(), spec.selected);
            }
            if (auto* button = qobject_cast<QPushButton*>(widget))
                QCOMPARE(button->text(), text);
        }
        QVERIFY(window.findChild<QAction*>("Mn_About"));
    }

    void okFillsTheListAndDraws()
    {
        MainWindow window;
        window.show();
        click(window, "Command1");
        auto* list = find<LineList>(window, "List1");
        QCOMPARE(list->count(), 14);
        QCOMPARE(list->line(4).replace(QLocale().decimalPoint(), "."),
                 QString("1   0.1000   0.5878"));
        const Drawing& drawing = window.picture().drawing();
        QCOMPARE(countOps(drawing, DrawOp::Kind::LineTo, kRed), 100);
        QCOMPARE(countOps(drawing, DrawOp::Kind::Circle, kRed), 11);
    }

    void statusBarSaysWhatOkAndCalculateDid()
    {
        MainWindow window;
        window.show();
        auto* sentence = window.statusBar()->findChild<QLabel*>("statusSentence");
        QVERIFY(sentence);
        click(window, "Command1");
        QCOMPARE(sentence->text(),
                 QString::fromUtf8("11 given points of sin(2πx) listed and drawn."));
        QTest::mouseClick(find<QRadioButton>(window, "Option_InterCubc"), Qt::LeftButton);
        click(window, "Command2");
        QVERIFY2(sentence->text().startsWith(
                     "150 interpolation points by the natural cubic spline: 148 evaluated, "
                     "2 copied; largest error "),
                 qPrintable(sentence->text()));
        QVERIFY(sentence->isVisible());
    }

    void calculateWithEachMethod_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("linesAdded");
        QTest::newRow("polynomial") << "Option_Tarvel" << 0;
        QTest::newRow("cubic spline") << "Option_InterCubc" << 3 + 10;
        QTest::newRow("PW cubic spline") << "Option_InterPwCb" << 3 + 10;
    }

    void calculateWithEachMethod()
    {
        QFETCH(QString, method);
        QFETCH(int, linesAdded);
        MainWindow window;
        window.show();
        click(window, "Command1");
        QTest::mouseClick(find<QRadioButton>(window, qPrintable(method)), Qt::LeftButton);
        QCOMPARE(find<QGroupBox>(window, "Frame_nDeg")->isVisible(), method == "Option_Tarvel");
        click(window, "Command2");
        auto* list = find<LineList>(window, "List1");
        QCOMPARE(list->count(), 14 + linesAdded);
        if (linesAdded)
            QCOMPARE(list->line(15), QString("Cubic spline coefficients"));
        QCOMPARE(countOps(window.picture().drawing(), DrawOp::Kind::Circle, kBlue), 150);
    }

    // The list grows past its height; after each command its last line is
    // the current one and in sight, not the first screenful.
    void listShowsItsLastLineAfterEachCommand()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = find<LineList>(window, "List1");
        const auto lastLineInSight = [&] {
            const QRect last = list->visualRect(list->model()->index(list->count() - 1, 0));
            const QRect first = list->visualRect(list->model()->index(0, 0));
            const QRect sight = list->viewport()->rect();
            return last.top() >= sight.top() && last.bottom() <= sight.bottom() &&
                   !sight.intersects(first);
        };
        find<QLineEdit>(window, "Text_nU")->setText("101");
        click(window, "Command1");
        QCOMPARE(list->count(), 3 + 101);
        QCOMPARE(list->currentLine(), list->count() - 1);
        QVERIFY(lastLineInSight());
        QTest::mouseClick(find<QRadioButton>(window, "Option_InterCubc"), Qt::LeftButton);
        for (int calculate = 1; calculate <= 3; ++calculate) {
            click(window, "Command2");
            QCOMPARE(list->count(), 104 + calculate * (3 + 100));
            QCOMPARE(list->currentLine(), list->count() - 1);
            QVERIFY(lastLineInSight());
            QCoreApplication::processEvents();
            QVERIFY2(lastLineInSight(), "a late layout moved the list away from its last line");
        }
        click(window, "Command1");
        QCOMPARE(list->count(), 104);
        QCOMPARE(list->currentLine(), 103);
        QVERIFY(lastLineInSight());
    }

    void calculateBeforeOkIsRefusedInAMessageBox()
    {
        MainWindow window;
        window.show();
        MessageCatcher catcher;
        click(window, "Command2");
        QCOMPARE(catcher.text, QString("Set the test function first !"));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(find<LineList>(window, "List1")->count(), 0);
    }

    void messageBoxCarriesTheApplicationTitle()
    {
        MainWindow window;
        window.show();
        QString title;
        QTimer::singleShot(0, [&title] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->accept();
            }
        });
        click(window, "Command2");
        QCOMPARE(title, QString("Tarvel"));
    }

    void aboutTwiceGivesOneWindow()
    {
        MainWindow window;
        window.show();
        auto* about = window.findChild<QAction*>("Mn_About");
        about->trigger();
        about->trigger();
        QCOMPARE(aboutWindows(), 1);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(window.isEnabled());
        window.about().window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(aboutWindows(), 0);
        about->trigger();
        QCOMPARE(aboutWindows(), 1);
        window.about().window()->close();
    }

    void aboutWindowShowsItsLines()
    {
        AboutWindow about;
        QCOMPARE(about.windowTitle(), QString("About"));
        for (const AboutLabelSpec& spec : aboutLabels()) {
            auto* label =
                about.findChild<QLabel*>(QString::fromUtf8(spec.name.data(), spec.name.size()));
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromUtf8(spec.text.data(), spec.text.size()));
        }
    }

    void listAndPictureGrowWithTheWindow()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The window starts no larger than the screen, and the test screen
        // is small: first give the client area its whole design size.
        const QSize design = find<QWidget>(window, "client")->minimumSize();
        window.resize(design.width() + 20, design.height() + 120);
        QCoreApplication::processEvents();
        auto* picture = find<QWidget>(window, "Picture1");
        auto* list = find<QWidget>(window, "List1");
        const QSize pictureBefore = picture->size();
        const int listBefore = list->width();
        window.resize(window.width() + 200, window.height() + 100);
        QCoreApplication::processEvents();
        QCOMPARE(picture->width(), pictureBefore.width() + 200);
        QCOMPARE(picture->height(), pictureBefore.height() + 100);
        QCOMPARE(list->width(), listBefore + 200);
    }

    // In a window lower than the design the controls scroll under a picture
    // that stays whole in sight; a control taking the focus comes out from
    // under it, and the browser over the picture folds to stay whole too.
    void aLowWindowKeepsThePictureInSight_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("640 x 480") << QSize(640, 480);
        QTest::newRow("640 x 600") << QSize(640, 600);
        QTest::newRow("800 x 600") << QSize(800, 600);
    }

    void aLowWindowKeepsThePictureInSight()
    {
        QFETCH(QSize, size);
        MainWindow window;
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* scroll = find<QScrollArea>(window, "clientScroll");
        QWidget* view = scroll->viewport();
        const auto inSight = [&](const char* name) {
            QWidget* widget = find<QWidget>(window, name);
            return view->rect().contains(QRect(widget->mapTo(view, QPoint()), widget->size()));
        };
        auto* picture = find<QWidget>(window, "Picture1");
        const auto clearOfPicture = [&](const char* name) {
            QWidget* widget = find<QWidget>(window, name);
            return widget->mapTo(view, QPoint(0, widget->height())).y() <=
                   picture->mapTo(view, QPoint()).y();
        };
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY2(inSight("Picture1"), qPrintable(QString("picture %1 px high in a view %2 px high")
                                                     .arg(picture->height())
                                                     .arg(view->height())));
        QVERIFY(picture->height() >= view->height() / 3);

        find<QWidget>(window, "Command2")->setFocus();
        QVERIFY(inSight("Command2") && clearOfPicture("Command2"));
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        QVERIFY(inSight("Picture1"));
        for (const char* control : {"Frame2", "List1"})
            QVERIFY2(clearOfPicture(control), control);

        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        QVERIFY(find<QWidget>(window, "Frame_DataSet")->isVisible());
        for (const char* control : {"Frame_DataSet", "Dir1", "File1", "Drive1"})
            QVERIFY2(inSight(control), control);
    }

    // The largest count shows whole with the cursor after its last digit,
    // as after typing it, and the box stays clear of its button.
    void theCountBoxesShowTheLargestCountWhole()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const struct {
            const char* box;
            const char* button;
        } boxes[] = {{"Text_nU", "Command1"}, {"Text_nI", "Command2"}};
        for (const auto& b : boxes) {
            auto* box = find<QLineEdit>(window, b.box);
            box->setFocus();
            box->setText("1001");
            box->end(false);
            box->repaint();
            QCOMPARE(box->cursorPositionAt(QPoint(box->contentsRect().left() + 3, box->height() / 2)),
                     0);
            QVERIFY(box->geometry().right() < find<QWidget>(window, b.button)->geometry().left());
        }
    }

    void browserLoadsAnExampleThatOkDrawsAndCalculateInterpolates()
    {
        MainWindow window(TARVEL_EXAMPLES_DIR);
        window.show();
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        QVERIFY(find<QGroupBox>(window, "Frame_DataSet")->isVisible());
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "File1"));
        QStringList names;
        for (int row = 0; row < files->count(); ++row)
            names << files->item(row)->text();
        QVERIFY(names.contains("runge.dsf"));
        for (const QString& name : names)
            QVERIFY2(name.endsWith(".dsf", Qt::CaseInsensitive), qPrintable(name));

        QListWidgetItem* runge = files->findItems("runge.dsf", Qt::MatchExactly).value(0);
        QVERIFY(runge);
        files->setCurrentItem(runge);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(runge).center());
        QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("11"));
        QVERIFY(!find<QGroupBox>(window, "Frame_DataSet")->isVisible());

        click(window, "Command1");
        QCOMPARE(find<LineList>(window, "List1")->count(), 3 + 11);
        QCOMPARE(countOps(window.picture().drawing(), DrawOp::Kind::Line, kRed), 10);
        QTest::mouseClick(find<QRadioButton>(window, "Option_InterCubc"), Qt::LeftButton);
        click(window, "Command2");
        QCOMPARE(find<LineList>(window, "List1")->count(), 14 + 3 + 10);
        QCOMPARE(countOps(window.picture().drawing(), DrawOp::Kind::Circle, kBlue), 150);
    }

    void directoryListMovesTheFileList()
    {
        const QString examples = QDir(TARVEL_EXAMPLES_DIR).absolutePath();
        MainWindow window(QFileInfo(examples).absolutePath());
        window.show();
        auto* dirs = find<QListWidget>(window, "Dir1");
        QVERIFY(support::listed(window, "Dir1"));
        QListWidgetItem* entry = dirs->findItems("examples", Qt::MatchExactly).value(0);
        QVERIFY(entry);
        emit dirs->itemActivated(entry);
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "File1"));
        QVERIFY(!files->findItems("runge.dsf", Qt::MatchExactly).isEmpty());
        QListWidgetItem* up = dirs->findItems("..", Qt::MatchExactly).value(0);
        QVERIFY(up);
        emit dirs->itemActivated(up);
        QVERIFY(support::listed(window, "File1"));
        QVERIFY(files->findItems("runge.dsf", Qt::MatchExactly).isEmpty());
    }

    // A user's whole session through the real widgets.
    void userSession()
    {
        MainWindow window(QFileInfo(QDir(TARVEL_EXAMPLES_DIR).absolutePath()).absolutePath());
        window.show();
        auto* list = find<LineList>(window, "List1");
        const Drawing& drawing = window.picture().drawing();
        const auto type = [&](const char* box, const QString& text) {
            auto* edit = find<QLineEdit>(window, box);
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QCOMPARE(edit->text(), text);
        };
        const auto choose = [&](const char* option) {
            QTest::mouseClick(find<QRadioButton>(window, option), Qt::LeftButton);
            QVERIFY(find<QRadioButton>(window, option)->isChecked());
        };

        type("Text_nU", "21");
        choose("Option_Polynom");
        QVERIFY(find<QGroupBox>(window, "Frame_Poly")->isVisible());
        type("Text_nPoly", "3");
        type("Text_a2", "-2.5");
        click(window, "Command1");
        QCOMPARE(list->count(), 3 + 21);
        QCOMPARE(countOps(drawing, DrawOp::Kind::Circle, kRed), 21);

        choose("Option_Cos10Fu");
        QVERIFY(!find<QGroupBox>(window, "Frame_Poly")->isVisible());
        click(window, "Command1");
        choose("Option_SinFunc");
        click(window, "Command1");
        QCOMPARE(list->count(), 3 + 21);

        type("Text_nI", "40");
        for (const char* method : {"Option_InterCubc", "Option_InterPwCb", "Option_Tarvel"}) {
            choose(method);
            type("Text_nDeg", "3");
            click(window, "Command2");
            QCOMPARE(countOps(drawing, DrawOp::Kind::Circle, kBlue), 40);
        }
        QCOMPARE(list->count(), 3 + 21 + 2 * (3 + 20));

        choose("Option_DataSet");
        QVERIFY(find<QGroupBox>(window, "Frame_DataSet")->isVisible());
        auto* dirs = find<QListWidget>(window, "Dir1");
        QVERIFY(support::listed(window, "Dir1"));
        QListWidgetItem* examples = dirs->findItems("examples", Qt::MatchExactly).value(0);
        QVERIFY(examples);
        dirs->scrollToItem(examples);
        const QPoint onExamples = dirs->visualItemRect(examples).center();
        QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, onExamples);
        QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, onExamples);
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "File1"));
        QListWidgetItem* step = files->findItems("step.dsf", Qt::MatchExactly).value(0);
        QVERIFY(step);
        files->scrollToItem(step);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(step).center());
        QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("12"));
        click(window, "Command1");
        QCOMPARE(list->count(), 3 + 12);
        QCOMPARE(countOps(drawing, DrawOp::Kind::Line, kRed), 11);
        choose("Option_InterCubc");
        click(window, "Command2");
        QCOMPARE(list->count(), 3 + 12 + 3 + 11);

        auto* about = window.findChild<QAction*>("Mn_About");
        about->trigger();
        about->trigger();
        QCOMPARE(aboutWindows(), 1);
        window.about().window()->close();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void captionsFitTheirControls()
    {
        MainWindow window;
        window.show();
        for (const ControlSpec& spec : mainWindowControls()) {
            if (spec.kind != Kind::OptionButton && spec.kind != Kind::Label)
                continue;
            auto* widget =
                window.findChild<QWidget*>(QString::fromUtf8(spec.name.data(), spec.name.size()));
            QVERIFY2(widget->sizeHint().width() <= widget->width() + 2,
                     qPrintable(widget->objectName() + " is clipped"));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
