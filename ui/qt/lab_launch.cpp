#include "ui/qt/lab_launch.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "data/numeric_text.h"
#include "ui/qt/lab_lessons.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/main_window.h"

namespace tarvel::ui {
namespace {

bool selected(MainWindow& window, const char* option)
{
    const auto* button = window.findChild<QRadioButton*>(option);
    return button && button->isChecked();
}

double entry(MainWindow& window, const char* box)
{
    const auto* edit = window.findChild<QLineEdit*>(box);
    return edit ? numericValue(edit->text().toStdString()) : 0;
}

// A whole number within lo..hi as the entry reads, else the fallback.
int wholeEntry(MainWindow& window, const char* box, int lo, int hi, int fallback)
{
    const double value = entry(window, box);
    if (value >= lo && value <= hi && value == std::floor(value))
        return static_cast<int>(value);
    return fallback;
}

// Closing the main window closes the lab with it: first the lab asks about
// edits it has not saved, and a "Cancel" keeps both open.
class LabCloseGuard : public QObject {
public:
    LabCloseGuard(QObject* window, std::shared_ptr<QPointer<LabWindow>> lab)
        : QObject(window), lab_(std::move(lab))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && watched == parent() && *lab_ &&
            !(*lab_)->mayClose()) {
            event->ignore();
            return true;
        }
        return false;
    }

private:
    std::shared_ptr<QPointer<LabWindow>> lab_;
};

}  // namespace

LabStart labStartOf(MainWindow& window)
{
    LabStart start;
    LabSettings& s = start.settings;
    if (selected(window, "Option_Cos10Fu"))
        s.function = LabFunction::Cos10;
    else if (selected(window, "Option_Polynom"))
        s.function = LabFunction::Polynomial;
    else if (selected(window, "Option_DataSet"))
        s.function = LabFunction::Data;
    s.count = wholeEntry(window, "Text_nU", kLabMinCount, kLabMaxCount, s.count);
    s.parameters.set(StudyMethod::Local, wholeEntry(window, "Text_nDeg", 0, kLabMaxDegree,
                                                    s.parameters.of(StudyMethod::Local)));
    StudyMethod method = StudyMethod::Local;
    if (selected(window, "Option_InterCubc"))
        method = StudyMethod::Natural;
    else if (selected(window, "Option_InterPwCb"))
        method = StudyMethod::Pw;
    s.shown[methodIndex(method)] = true;

    start.polynomial.degree = entry(window, "Text_nPoly");
    const char* coefs[] = {"Text_a0", "Text_a1", "Text_a2", "Text_a3", "Text_a4"};
    for (std::size_t k = 0; k < start.polynomial.coefs.size(); ++k)
        start.polynomial.coefs[k] = entry(window, coefs[k]);

    const Form_Tarvel& form = window.form();
    const int existing = loopBound(form.givenPointsOrigin().existingPoints - 1);
    for (int i = 0; i <= existing; ++i)
        start.data.push_back(
            {form.xU[static_cast<std::size_t>(i)], form.yU[static_cast<std::size_t>(i)]});
    return start;
}

QRect labPlaceBeside(const QRect& beside, const QRect& screen, const QSize& wanted,
                     const QSize& smallest)
{
    const int right = screen.right() - beside.right();
    const int left = beside.left() - screen.left();
    const int room = std::max(right, left);
    if (room < smallest.width() || screen.height() < smallest.height())
        return {};
    const QSize size(std::min(wanted.width(), room), std::min(wanted.height(), screen.height()));
    const int top = std::clamp(beside.top(), screen.top(), screen.bottom() + 1 - size.height());
    const int x = right >= smallest.width() ? beside.right() + 1 : beside.left() - size.width();
    return QRect(QPoint(x, top), size);
}

void addLabAction(MainWindow& window, QMenu& study)
{
    auto* action = new QAction("Interpolation lab…", &window);
    action->setObjectName("labAction");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    study.addAction(action);
    window.addAction(action);
    auto lab = std::make_shared<QPointer<LabWindow>>();
    window.installEventFilter(new LabCloseGuard(&window, lab));
    QObject::connect(action, &QAction::triggered, &window, [&window, lab] {
        if (!*lab) {
            *lab = new LabWindow(labStartOf(window), &window);
            // Beside the main window, so that both stay in sight.
            const QScreen* screen = window.screen();
            const QRect place = screen ? labPlaceBeside(window.frameGeometry(),
                                                        screen->availableGeometry(),
                                                        (*lab)->size(),
                                                        (*lab)->minimumSizeHint())
                                       : QRect();
            if (!place.isEmpty()) {
                (*lab)->resize(place.size());
                (*lab)->move(place.topLeft());  // where the frame goes
            }
        }
        (*lab)->show();
        (*lab)->raise();
        (*lab)->activateWindow();
    });
}

void addLessonsMenu(MainWindow& window, QMenu& study)
{
    QMenu* lessons = study.addMenu("Lessons");
    lessons->setObjectName("lessonsMenu");
    addLessonItems(*lessons, QStringLiteral("lesson_"), [&window](const QString& path) {
        if (const std::optional<QString> why = openLabWithStudy(window, path))
            QMessageBox::warning(&window, window.windowTitle(), *why);
    });
}

std::optional<QString> openLabWithStudy(MainWindow& window, const QString& path)
{
    window.findChild<QAction*>("labAction")->trigger();
    return window.findChild<LabWindow*>("labWindow")->openStudy(path);
}

}  // namespace tarvel::ui
