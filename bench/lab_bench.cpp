// How quickly the interpolation lab answers, in the real window on the
// offscreen platform at 1280 x 800:
//   lab_drag n=101 methods=9 median_ms=… p99_ms=…
//   lab_drag n=1001 methods=7 median_ms=… p99_ms=…
//     a node dragged over 300 pointer moves in the values view: the window
//     thread's time from each move to the end of the repaint it causes;
//   lab_convergence seconds=… longest_stall_ms=…
//     the convergence view of all nine methods from the switch to its last
//     point, and the longest time the window thread was busy meanwhile;
//   lab_export format=tex|svg|pdf ms=… bytes=…
//     the nine-method values view at n = 101 written by the export at
//     16 × 12 cm, the median of 5 writes.
//   lab_drag_typed n=101 methods=9 median_ms=… p99_ms=…
//   lab_convergence_typed seconds=… longest_stall_ms=…
//     the same on the typed function exp(-x^2)*sin(10x) + 1/(1+25x^2).
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <QFileInfo>
#include <QTemporaryDir>

#include "ui/qt/lab_plot.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/plot_export.h"

using namespace tarvel;
using namespace tarvel::ui;

namespace {

constexpr int kMoves = 300;
constexpr const char* kTyped = "exp(-x^2)*sin(10x) + 1/(1+25x^2)";

std::unique_ptr<LabWindow> openLab(int count, const std::vector<StudyMethod>& methods,
                                   bool typed = false)
{
    LabStart start;
    start.settings.function = typed ? LabFunction::Expression : LabFunction::Sine;
    if (typed)
        start.expression = parseExpression(kTyped).expression;
    start.settings.count = count;
    start.settings.parameters.set(StudyMethod::Local, 3);
    for (const StudyMethod method : methods)
        start.settings.shown[methodIndex(method)] = true;
    auto lab = std::make_unique<LabWindow>(std::move(start));
    lab->resize(1280, 800);
    lab->show();
    QApplication::processEvents();
    return lab;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

void sendMouse(LabPlot& plot, QEvent::Type type, const QPointF& at, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, plot.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&plot, &event);
}

void dragBench(int count, const std::vector<StudyMethod>& methods, bool typed = false)
{
    const std::unique_ptr<LabWindow> lab = openLab(count, methods, typed);
    LabPlot& plot = lab->plot();
    const std::size_t node = static_cast<std::size_t>(count / 2);
    const QPointF from = plot.property("nodePositions").toList().at(static_cast<int>(node)).toPointF();
    sendMouse(plot, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    std::vector<double> times;
    QElapsedTimer clock;
    for (int k = 0; k < kMoves; ++k) {
        // Up and down over a third of the plot's height.
        const QPointF at = from + QPointF(0, -0.33 * plot.height() * std::sin(k * 0.05));
        clock.start();
        sendMouse(plot, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();  // the repaint the move asked for
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    sendMouse(plot, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
    std::printf("lab_drag%s n=%d methods=%zu median_ms=%.2f p99_ms=%.2f\n", typed ? "_typed" : "",
                count, methods.size(), percentile(times, 0.5), percentile(times, 0.99));
}

void convergenceBench(bool typed = false)
{
    const std::unique_ptr<LabWindow> lab =
        openLab(101, {kStudyMethods.begin(), kStudyMethods.end()}, typed);
    // A timer due every millisecond fires late by as long as the window
    // thread was busy; the longest gap between its firings bounds every stall.
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QElapsedTimer sinceTick;
    double longest = 0;
    bool finished = false;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.start();
    });
    QObject::connect(lab.get(), &LabWindow::convergenceFinished, [&] { finished = true; });
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    tick.start();
    auto* view = lab->findChild<QComboBox*>("labView");
    view->setCurrentIndex(view->findData(QStringLiteral("convergence")));
    while (!finished && total.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    std::printf("lab_convergence%s seconds=%.3f longest_stall_ms=%.2f\n", typed ? "_typed" : "",
                static_cast<double>(total.nsecsElapsed()) / 1e9, longest);
}

void exportBench()
{
    const std::unique_ptr<LabWindow> lab = openLab(101, {kStudyMethods.begin(), kStudyMethods.end()});
    QTemporaryDir dir;
    for (const auto& [format, name] : {std::pair{ExportFormat::Tex, "tex"},
                                       std::pair{ExportFormat::Svg, "svg"},
                                       std::pair{ExportFormat::Pdf, "pdf"}}) {
        ExportSettings settings;
        settings.format = format;
        const QString path = dir.filePath(QStringLiteral("figure.") + name);
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            if (!exportPlot(lab->plot(), settings, path).isEmpty())
                std::printf("lab_export format=%s failed\n", name);
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        std::printf("lab_export format=%s ms=%.1f bytes=%lld\n", name, percentile(times, 0.5),
                    static_cast<long long>(QFileInfo(path).size()));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    dragBench(101, {kStudyMethods.begin(), kStudyMethods.end()});
    // At 1001 nodes the piecewise cubics, whose cost grows with n alone.
    std::vector<StudyMethod> piecewise;
    for (const StudyMethodRow& row : methodRows())
        if (row.form == MethodForm::Pieces)
            piecewise.push_back(row.method);
    dragBench(1001, piecewise);
    convergenceBench();
    exportBench();
    dragBench(101, {kStudyMethods.begin(), kStudyMethods.end()}, true);
    convergenceBench(true);
    return 0;
}
