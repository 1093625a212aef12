#include "ui/qt/lab_launch.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>

#include <cmath>

#include "data/numeric_text.h"
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
        start.data.push_back({form.xU[static_cast<std::size_t>(i)],
                              form.yU[static_cast<std::size_t>(i)]});
    return start;
}

void addLabAction(MainWindow& window, QMenu& study)
{
    auto* action = new QAction("Interpolation lab…", &window);
    action->setObjectName("labAction");
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    study.addAction(action);
    window.addAction(action);
    auto lab = std::make_shared<QPointer<LabWindow>>();
    QObject::connect(action, &QAction::triggered, &window, [&window, lab] {
        if (!*lab) {
            *lab = new LabWindow(labStartOf(window), &window);
        }
        (*lab)->show();
        (*lab)->raise();
        (*lab)->activateWindow();
    });
}

std::optional<QString> openLabWithStudy(MainWindow& window, const QString& path)
{
    window.findChild<QAction*>("labAction")->trigger();
    return window.findChild<LabWindow*>("labWindow")->openStudy(path);
}

}  // namespace tarvel::ui
