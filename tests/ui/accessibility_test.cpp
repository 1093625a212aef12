// The window as a screen reader and a keyboard-only user meet it, on the
// offscreen platform: every control that takes the focus has a name, the
// text boxes are named by their captions, the picture tells what the last
// command did and announces it, the cursor keys read the picture point by
// point, and message boxes and the About window say what they show.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include <vector>

#include "data/number_text.h"
#include "plot/study_aids.h"
#include "support/window_controls.h"
#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/line_list.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_text.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

struct SeenEvent {
    QObject* object;
    QAccessible::Event type;
};

std::vector<SeenEvent>& seenEvents()
{
    static std::vector<SeenEvent> events;
    return events;
}

void recordEvent(QAccessibleEvent* event)
{
    seenEvents().push_back({event->object(), event->type()});
}

// Records the accessibility events sent while it lives, in place of the
// platform's bridge.
class EventRecorder {
public:
    EventRecorder()
    {
        QAccessible::setActive(true);
        seenEvents().clear();
        previous_ = QAccessible::installUpdateHandler(recordEvent);
    }
    ~EventRecorder() { QAccessible::installUpdateHandler(previous_); }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;
    int count(QObject* object, QAccessible::Event type) const
    {
        int n = 0;
        for (const SeenEvent& seen : seenEvents())
            n += seen.object == object && seen.type == type;
        return n;
    }
    void clear() { seenEvents().clear(); }

private:
    QAccessible::UpdateHandler previous_ = nullptr;
};

QString accessibleText(QObject* object, QAccessible::Text kind)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(kind) : QString();
}

// Closes the next modal message box and keeps what a screen reader is told.
class MessageReader {
public:
    MessageReader()
    {
        QTimer::singleShot(0, [this] { read(); });
    }
    QString text, name, description, role;

private:
    void read()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, [this] { read(); });
            return;
        }
        text = box->text();
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
        name = face->text(QAccessible::Name);
        description = face->text(QAccessible::Description);
        role = QString::number(face->role());
        box->accept();
    }
};

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    QString sentence(MainWindow& window) { return find<QLabel>(window, "statusSentence")->text(); }
    void showWindow(MainWindow& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }
    // Presses Tab until the focus is on target (at most once round the
    // window); the names of the controls it passed, target's last.
    QStringList tabTo(QWidget* target, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QStringList passed;
        while (QApplication::focusWidget() != target && passed.size() < 30) {
            key(Qt::Key_Tab, modifiers);
            passed << QApplication::focusWidget()->objectName();
        }
        return passed;
    }
    QString interpolatedReadout(MainWindow& window, int i)
    {
        Form_Tarvel& form = window.form();
        const double f = form.SinFunc(form.xI[i]);
        return QString("Interpolated point %1: x = %2, p(x) = %3, f(x) = %4, p(x) \u2212 f(x) = %5")
            .arg(i)
            .arg(qstr(compactNumber(form.xI[i], ".")), qstr(compactNumber(form.yI[i], ".")),
                 qstr(compactNumber(f, ".")), qstr(compactNumber(form.yI[i] - f, ".")));
    }
    QString givenReadout(MainWindow& window, int i)
    {
        Form_Tarvel& form = window.form();
        return QString("Given point %1: x = %2, y = %3")
            .arg(i)
            .arg(qstr(compactNumber(form.xU[i], ".")), qstr(compactNumber(form.yU[i], ".")));
    }
    int cursorPixels(PictureWidget& picture)
    {
        const QImage image = picture.grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                count += qRed(pixel) > 120 && qRed(pixel) < 200 && qGreen(pixel) < 60 &&
                         qBlue(pixel) > 120 && qBlue(pixel) < 200;
            }
        return count;
    }

private slots:
    void everyFocusableControlHasAName()
    {
        MainWindow window;
        showWindow(window);
        int walked = 0;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus))
                continue;
            ++walked;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(face, qPrintable(widget->objectName()));
            QVERIFY2(!face->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable("no accessible name: " + widget->objectName() + " (" +
                                widget->metaObject()->className() + ")"));
        }
        // Nine text boxes, seven option buttons, two buttons, four lists, the picture.
        QVERIFY2(walked >= 23, qPrintable(QString::number(walked)));
    }

    void controlsSayWhatTheyDo_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::newRow("OK") << "Command1"
                            << "OK" << int(QAccessible::Button);
        QTest::newRow("Calculate") << "Command2"
                                   << "Calculate" << int(QAccessible::Button);
        QTest::newRow("sine") << "Option_SinFunc"
                              << "Sinus Function" << int(QAccessible::RadioButton);
        QTest::newRow("cos10") << "Option_Cos10Fu"
                               << "Cos to the power 10 function" << int(QAccessible::RadioButton);
        QTest::newRow("polynomial") << "Option_Polynom"
                                    << "Polynomial" << int(QAccessible::RadioButton);
        QTest::newRow("data set") << "Option_DataSet"
                                  << "Data Set from a File" << int(QAccessible::RadioButton);
        QTest::newRow("spline") << "Option_InterCubc"
                                << "Cubic Spline Interpolation" << int(QAccessible::RadioButton);
        QTest::newRow("PW spline") << "Option_InterPwCb"
                                   << "PW Cubic spline" << int(QAccessible::RadioButton);
        QTest::newRow("local polynomial")
            << "Option_Tarvel"
            << "Polynomial interpolation" << int(QAccessible::RadioButton);
        QTest::newRow("list") << "List1"
                              << "Given points and coefficients" << int(QAccessible::Table);
        QTest::newRow("drives") << "Drive1"
                                << "Drive" << int(QAccessible::ComboBox);
        QTest::newRow("folders") << "Dir1"
                                 << "Folders" << int(QAccessible::List);
        QTest::newRow("files") << "File1"
                               << "Data-set files" << int(QAccessible::List);
        QTest::newRow("picture") << "Picture1"
                                 << "Plot of the given and interpolated points"
                                 << int(QAccessible::Graphic);
    }

    void controlsSayWhatTheyDo()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        MainWindow window;
        QWidget* widget = find<QWidget>(window, control.toLatin1().constData());
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(face);
        QCOMPARE(widget->accessibleName().isEmpty() ? face->text(QAccessible::Name)
                                                    : widget->accessibleName(),
                 name);
        // On Linux a combo box's accessible name is its current entry.
        QVERIFY(!face->text(QAccessible::Name).isEmpty());
        QCOMPARE(int(face->role()), role);
        const QString description = face->text(QAccessible::Description);
        // One sentence, and not the name again.
        QVERIFY2(description.endsWith('.'), qPrintable(description));
        QVERIFY(description.count(". ") == 0);
        QVERIFY(description != name);
        QCOMPARE(description, qstr(accessibleDescriptionOf(control.toStdString())).isEmpty()
                                  ? window.findChild<PictureWidget*>()->commandSentence()
                                  : qstr(accessibleDescriptionOf(control.toStdString())));
    }

    void textBoxesAreNamedByTheirCaptions_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");  // the label's text, unchanged
        QTest::addColumn<QString>("name");
        QTest::newRow("nU") << "Text_nU"
                            << "Label1"
                            << "Number of given points ="
                            << "Number of given points =";
        QTest::newRow("nI") << "Text_nI"
                            << "Label2"
                            << "Number of Interp. points  Ni ="
                            << "Number of interpolation points Ni =";
        QTest::newRow("nDeg") << "Text_nDeg"
                              << "Label3"
                              << "Degree of polynomial ="
                              << "Degree of polynomial =";
        const QString heading = "nPoly     a0       a1       a2       a3      a4";
        for (const char* column : {"nPoly", "a0", "a1", "a2", "a3", "a4"})
            QTest::newRow(column) << QString("Text_") + column << "Label4" << heading << column;
    }

    void textBoxesAreNamedByTheirCaptions()
    {
        QFETCH(QString, box);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        MainWindow window;
        auto* edit = find<QLineEdit>(window, box.toLatin1().constData());
        auto* captionLabel = find<QLabel>(window, label.toLatin1().constData());
        QCOMPARE(captionLabel->text(), caption);
        QCOMPARE(accessibleText(edit, QAccessible::Name), name);
        // The name is the caption's own words (spaces aside, Interp. spelt out).
        const QStringList words = name.split(' ');
        QVERIFY2(caption.simplified().replace("Interp.", "interpolation").contains(name) ||
                     caption.split(' ', Qt::SkipEmptyParts).contains(name),
                 qPrintable(name));
        QVERIFY(!words.isEmpty());
        // The description is the sentence of its tooltip.
        QCOMPARE(accessibleText(edit, QAccessible::Description), edit->toolTip());
        if (label != "Label4") {
            // Tied to its caption, so a screen reader relates the two.
            QCOMPARE(captionLabel->buddy(), edit);
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(edit);
            bool labelled = false;
            for (const auto& [other, relation] : face->relations(QAccessible::Label))
                labelled = labelled || other->object() == captionLabel;
            QVERIFY(labelled);
        }
    }

    void pictureDescriptionIsTheSentenceOfEveryCommand()
    {
        MainWindow window;
        showWindow(window);
        EventRecorder events;
        PictureWidget& picture = window.picture();
        QCOMPARE(accessibleText(&picture, QAccessible::Description), qstr(kPictureBlank));

        struct Step {
            const char* name;
            const char* button;
            bool refused;
        };
        for (const Step& step :
             {Step{"OK", "Command1", false}, Step{"Calculate", "Command2", false},
              Step{"Calculate again", "Command2", false},
              Step{"refused Calculate", "Command2", true},
              Step{"OK after a refusal", "Command1", false}}) {
            events.clear();
            QSignalSpy described(&picture, &PictureWidget::described);
            const QString before = sentence(window);
            if (step.refused) {
                find<QLineEdit>(window, "Text_nDeg")->setText("50");
                MessageReader reader;
                QTest::mouseClick(find<QPushButton>(window, step.button), Qt::LeftButton);
                QVERIFY2(!reader.text.isEmpty(), step.name);
                find<QLineEdit>(window, "Text_nDeg")->setText("1");
            } else {
                QTest::mouseClick(find<QPushButton>(window, step.button), Qt::LeftButton);
            }
            QVERIFY2(!sentence(window).isEmpty(), step.name);
            // The sentence, then the legend's entries.
            QVERIFY(accessibleText(&picture, QAccessible::Description).startsWith(sentence(window)));
            QVERIFY(accessibleText(&picture, QAccessible::Description)
                        .endsWith(" Legend: " + picture.legendEntries().join("; ") + "."));
            // A sentence like the last one still tells the reader a command ran.
            QVERIFY2(described.count() == 1,
                     qPrintable(QString(step.name) + ": " + QString::number(described.count())));
            QVERIFY(described.at(0).at(0).toString().startsWith(sentence(window)));
            // The offscreen platform has no accessibility bridge, and Qt
            // passes events on only while one is active; under a desktop
            // with a reader (or QT_LINUX_ACCESSIBILITY_ALWAYS_ON) it is.
            if (QAccessible::isActive()) {
                const int announced = events.count(&picture, QAccessible::DescriptionChanged);
                QVERIFY2(announced == 1,
                         qPrintable(QString(step.name) + ": " + QString::number(announced)));
            }
            if (QString(step.name) == "Calculate again")
                QCOMPARE(sentence(window), before);
        }
    }

    // Tab follows the screen: down the test function's frame, the list on
    // its right, down the interpolation frame, then the picture and the
    // browser over it.
    void tabOrderFollowsTheScreen()
    {
        MainWindow window;
        showWindow(window);
        const QStringList expected = {
            "Text_nU",        "Command1",         "Option_SinFunc",   "Option_Cos10Fu",
            "Text_nPoly",     "Text_a0",          "Text_a1",          "Text_a2",
            "Text_a3",        "Text_a4",          "Option_Polynom",   "Option_DataSet",
            "List1",          "Text_nI",          "Command2",         "Option_InterCubc",
            "Option_InterPwCb", "Text_nDeg",      "Option_Tarvel",    "Picture1",
            "Drive1",         "Dir1",             "File1"};
        QWidget* widget = find<QWidget>(window, "Text_nU");
        QStringList chain{widget->objectName()};
        while (chain.size() < expected.size()) {
            widget = widget->nextInFocusChain();
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty() &&
                widget->window() == &window && findControl(widget->objectName().toStdString()))
                chain << widget->objectName();
        }
        QCOMPARE(chain, expected);
    }

    void returnOnAFocusedButtonPressesIt()
    {
        MainWindow window;
        showWindow(window);
        const struct {
            const char* button;
            int key;
        } presses[] = {{"Command1", Qt::Key_Return}, {"Command2", Qt::Key_Return},
                       {"Command1", Qt::Key_Enter}, {"Command2", Qt::Key_Enter}};
        for (const auto& press : presses) {
            find<QPushButton>(window, press.button)->setFocus(Qt::TabFocusReason);
            window.picture().drawing().setStudy({});
            key(press.key);
            const bool calculate = QString(press.button) == "Command2";
            QCOMPARE(window.picture().drawing().study().interpolated.size(),
                     calculate ? std::size_t(150) : std::size_t(0));
            QCOMPARE(window.picture().drawing().study().given.size(), std::size_t(11));
        }
    }

    void keyboardOnlySessionReadsThePicturePointByPoint()
    {
        MainWindow window;
        showWindow(window);
        PictureWidget& picture = window.picture();
        const auto status = [&window] { return window.statusBar()->currentMessage(); };
        const auto description = [&picture] {
            return accessibleText(&picture, QAccessible::Description);
        };

        // OK by Space, then Tab down the window into the picture.
        find<QPushButton>(window, "Command1")->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Space);
        QCOMPARE(find<LineList>(window, "List1")->count(), 14);
        QCOMPARE(tabTo(&picture),
                 QStringList({"Option_SinFunc", "List1", "Text_nI", "Command2",
                              "Option_InterCubc", "Text_nDeg", "Picture1"}));
        QCOMPARE(cursorPixels(picture), 0);
        QVERIFY(status().isEmpty());

        // With given points only, the cursor steps over them.
        struct Press {
            int key;
            int point;
        };
        for (const Press& press :
             {Press{Qt::Key_Right, 0}, Press{Qt::Key_Right, 1}, Press{Qt::Key_End, 10},
              Press{Qt::Key_Right, 10}, Press{Qt::Key_Left, 9}, Press{Qt::Key_Home, 0},
              Press{Qt::Key_Left, 0}}) {
            key(press.key);
            QCOMPARE(status(), givenReadout(window, press.point));
            QCOMPARE(description(), status());
        }
        QVERIFY(cursorPixels(picture) > 20);

        // Leaving the picture hides the cursor and brings the sentence back.
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text_nU"));
        QVERIFY(status().isEmpty());
        QVERIFY(description().startsWith(sentence(window)));
        QCOMPARE(cursorPixels(picture), 0);

        // Calculate by Return in Ni, back into the picture with Shift+Tab.
        tabTo(find<QWidget>(window, "Text_nI"));
        key(Qt::Key_Return);
        QCOMPARE(picture.drawing().study().interpolated.size(), std::size_t(150));
        QCOMPARE(tabTo(&picture, Qt::ShiftModifier),
                 QStringList({"List1", "Option_SinFunc", "Command1", "Text_nU", "Picture1"}));

        // Now the interpolated points, with the test function and the error.
        for (const Press& press :
             {Press{Qt::Key_Right, 0}, Press{Qt::Key_Right, 1}, Press{Qt::Key_Right, 2},
              Press{Qt::Key_Left, 1}, Press{Qt::Key_End, 149}, Press{Qt::Key_Left, 148},
              Press{Qt::Key_Home, 0}}) {
            key(press.key);
            QCOMPARE(status(), interpolatedReadout(window, press.point));
            QCOMPARE(description(), status());
            QCOMPARE(picture.cursor(), std::optional<std::size_t>(press.point));
        }
        QVERIFY(cursorPixels(picture) > 20);
    }

    void pictureShowsItsFocus()
    {
        MainWindow window;
        showWindow(window);
        PictureWidget& picture = window.picture();
        find<QPushButton>(window, "Command1")->click();
        find<QPushButton>(window, "Command1")->setFocus(Qt::OtherFocusReason);
        const QImage unfocused = picture.grab().toImage();
        // Focus by a mouse click shows the frame as well as focus by Tab.
        picture.setFocus(Qt::MouseFocusReason);
        const QImage focused = picture.grab().toImage();
        const QColor highlight = picture.palette().color(QPalette::Highlight);
        const QRect inside = picture.contentsRect();
        const auto framed = [&](const QImage& image) {
            int count = 0;
            for (int x = inside.left(); x <= inside.right(); ++x)
                count += image.pixelColor(x, inside.top()) == highlight &&
                         image.pixelColor(x, inside.bottom()) == highlight;
            return count;
        };
        QCOMPARE(framed(unfocused), 0);
        QVERIFY(framed(focused) > inside.width() * 9 / 10);
    }

    void commandWhileTheCursorIsShownHidesIt()
    {
        // A cursor left on point 120 of an old result must not read a point
        // of the new one, which may have fewer.
        MainWindow window;
        showWindow(window);
        PictureWidget& picture = window.picture();
        find<QPushButton>(window, "Command1")->click();
        find<QPushButton>(window, "Command2")->click();
        picture.setFocus(Qt::TabFocusReason);
        key(Qt::Key_End);
        QCOMPARE(picture.cursor(), std::optional<std::size_t>(149));
        find<QLineEdit>(window, "Text_nI")->setText("5");
        find<QPushButton>(window, "Command2")->click();
        QCOMPARE(picture.cursor(), std::nullopt);
        QVERIFY(accessibleText(&picture, QAccessible::Description).startsWith(sentence(window)));
        key(Qt::Key_Left);
        QCOMPARE(picture.cursor(), std::optional<std::size_t>(0));
    }

    void messageBoxTextIsWhatAScreenReaderReads()
    {
        MainWindow window;
        showWindow(window);
        MessageReader reader;
        find<QPushButton>(window, "Command2")->click();
        QCOMPARE(reader.text, QString("Set the test function first !"));
        QCOMPARE(reader.name, QString("Tarvel"));
        QCOMPARE(reader.description, reader.text);
        QVERIFY(reader.role == QString::number(QAccessible::Dialog) ||
                reader.role == QString::number(QAccessible::AlertMessage));
    }

    void aboutWindowHasANameAndADescription()
    {
        MainWindow window;
        showWindow(window);
        window.findChild<QAction*>("Mn_About")->trigger();
        AboutWindow* about = window.about().window();
        QVERIFY(about);
        QCOMPARE(accessibleText(about, QAccessible::Name), QString("About Tarvel"));
        QCOMPARE(accessibleText(about, QAccessible::Description), qstr(kAboutDescription));
        about->close();
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
