// How quickly the interpolation lab answers, in the real window on the
// offscreen platform at 1280 x 800:
//   lab_drag n=101 methods=16 median_ms=… p99_ms=… window_cpu_median_ms=…
//   lab_drag n=1001 methods=10 median_ms=… p99_ms=… window_cpu_median_ms=…
//     a node dragged over 300 pointer moves in the values view: the window
//     thread's time from each move to the end of the repaint it causes, and
//     the processor time it used meanwhile;
//   lab_convergence seconds=… longest_stall_ms=…
//     the convergence view of all nine methods from the switch to its last
//     point, and the longest time the window thread was busy meanwhile;
//   lab_export format=tex|svg|pdf ms=… bytes=…
//     the nine-method values view at n = 101 written by the export at
//     16 × 12 cm, the median of 5 writes.
//   lab_drag_split n=101 methods=9 median_ms=… p99_ms=…
//     the same drag with the view split, the first nine methods of the
//     table in both panels on linked axes;
//   lab_drag_typed n=101 methods=9 median_ms=… p99_ms=…
//   lab_convergence_typed seconds=… longest_stall_ms=…
//     the same on the typed function exp(-x^2)*sin(10x) + 1/(1+25x^2);
//   lab_burst n=1001 degree=100 changes=250 rate=50 busy_after_s=… longest_stall_ms=…
//             window_cpu_ms_per_change=…
//     the number of nodes pressed down and up 250 times at 50 presses a
//     second with all nine methods shown and the local degree 100, the keys
//     queued as a keyboard queues them: the time from the last press until
//     every press is taken and every value drawn, the longest time the
//     window thread was busy meanwhile, and the processor time the window
//     thread used per press;
//   lab_noise n=1001 methods=16 noise=1e-6 change_median_ms=… longest_stall_ms=…
//     twenty changes of n by one, noise on the values, every method shown
//     and the local degree 100: each change until its repaint, and the
//     longest time the window thread was busy, the noise's effects arriving;
//   bound n=40 typed median_ms=…
//     the bound view of the global and the local polynomial on the typed
//     function at 40 nodes, from the switch to its picture, the function's
//     Taylor coefficients not yet known (the median of 5);
//   cardinal n=101 methods=10 median_ms=… p99_ms=…
//     the influence view of every method linear in the data: the window
//     thread's time from a press of Right, which picks the next node, to
//     the end of the repaint it causes, over 100 presses;
//   tableau 16 nodes per step median_ms=… p99_ms=…
//     a node taken from the divided-difference table of sin(2πx) at 16
//     nodes and added again, 1000 times each: the step with the table,
//     Neville's tableau and the curves p_0 ... p_15 it shows;
//   tableau_window 16 nodes per step median_ms=… p99_ms=…
//     the same in the panel with the global polynomial shown, 200 times
//     each: the window thread's time from each step to the end of the
//     repaint it causes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputDevice>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <ctime>
#include <thread>
#include <vector>

#include <QFileInfo>
#include <QTemporaryDir>

#include "interp/nodes.h"
#include "lab/tableau.h"
#include "interp/cardinal.h"
#include "ui/qt/lab_plot.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/plot_export.h"

using namespace tarvel;
using namespace tarvel::ui;

namespace {

constexpr int kMoves = 300;
constexpr const char* kTyped = "exp(-x^2)*sin(10x) + 1/(1+25x^2)";

std::unique_ptr<LabWindow> openLab(int count, const std::vector<StudyMethod>& methods,
                                   bool typed = false, int degree = 3)
{
    LabStart start;
    start.settings.function = typed ? LabFunction::Expression : LabFunction::Sine;
    if (typed)
        start.expression = parseExpression(kTyped).expression;
    start.settings.count = count;
    start.settings.parameters.set(StudyMethod::Local, degree);
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

// The processor time the calling thread has used: on a loaded machine it
// tells the window's own work from the time it waited for a processor.
double windowThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

enum class Drag { Plain, Typed, Split };

void dragBench(int count, const std::vector<StudyMethod>& methods, Drag kind = Drag::Plain)
{
    const std::unique_ptr<LabWindow> lab = openLab(count, methods, kind == Drag::Typed);
    if (kind == Drag::Split) {
        lab->findChild<QAction*>("labSplitAction")->trigger();
        QApplication::processEvents();
    }
    LabPlot& plot = lab->plot();
    const std::size_t node = static_cast<std::size_t>(count / 2);
    const QPointF from =
        plot.property("nodePositions").toList().at(static_cast<int>(node)).toPointF();
    sendMouse(plot, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    std::vector<double> times;
    std::vector<double> cpuTimes;
    QElapsedTimer clock;
    for (int k = 0; k < kMoves; ++k) {
        // Up and down over a third of the plot's height.
        const QPointF at = from + QPointF(0, -0.33 * plot.height() * std::sin(k * 0.05));
        clock.start();
        const double cpuBefore = windowThreadCpuSeconds();
        sendMouse(plot, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();  // the repaint the move asked for
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        cpuTimes.push_back(1e3 * (windowThreadCpuSeconds() - cpuBefore));
    }
    sendMouse(plot, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
    const char* suffix = kind == Drag::Typed ? "_typed" : kind == Drag::Split ? "_split" : "";
    std::printf("lab_drag%s n=%d methods=%zu median_ms=%.2f p99_ms=%.2f window_cpu_median_ms=%.2f\n",
                suffix, count, methods.size(), percentile(times, 0.5), percentile(times, 0.99),
                percentile(cpuTimes, 0.5));
}

// A timer due every millisecond fires late by as long as the window thread
// was busy; the longest gap between its firings bounds every stall.
class StallWatch {
public:
    StallWatch()
    {
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, static_cast<double>(since_.nsecsElapsed()) / 1e6);
            since_.start();
        });
        since_.start();
        tick_.start();
    }
    double longestMs() const { return longest_; }

private:
    QTimer tick_;
    QElapsedTimer since_;
    double longest_ = 0;
};

// Counts the key presses a widget has taken.
class KeyCounter : public QObject {
public:
    int taken = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++taken;
        return false;
    }
};

void burstBench()
{
    QInputDevice::primaryKeyboard();  // made here: a key event made elsewhere would ask for it
    constexpr int kCount = 1001;
    constexpr int kDegree = 100;
    constexpr int kChanges = 250;
    constexpr int kRate = 50;
    const std::unique_ptr<LabWindow> lab =
        openLab(kCount, {kStudyMethods.begin(), kStudyMethods.end()}, false, kDegree);
    auto* count = lab->findChild<QSpinBox*>("labCount");
    KeyCounter keys;
    count->installEventFilter(&keys);
    // The window opened and drew its first picture before the presses begin.
    QElapsedTimer opening;
    opening.start();
    while ((lab->workPending() || opening.elapsed() < 200) && opening.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    StallWatch stalls;
    const double cpuBefore = windowThreadCpuSeconds();
    // The presses come from another thread, as from the keyboard: they wait
    // in the queue while the window thread is busy.
    std::chrono::steady_clock::time_point lastPress;
    std::thread keyboard([&] {
        const auto begin = std::chrono::steady_clock::now();
        for (int k = 0; k < kChanges; ++k) {
            std::this_thread::sleep_until(begin + std::chrono::milliseconds(1000 * k / kRate));
            const Qt::Key key = k % 2 == 0 ? Qt::Key_Down : Qt::Key_Up;
            QCoreApplication::postEvent(count,
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
            QCoreApplication::postEvent(count,
                                        new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
        }
        lastPress = std::chrono::steady_clock::now();
    });
    const auto settled = [&] { return keys.taken == kChanges && !lab->workPending(); };
    QElapsedTimer limit;
    limit.start();
    while (!settled() && limit.elapsed() < 300000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    keyboard.join();
    QApplication::processEvents();  // the last values drawn
    const double cpuPerChange = (windowThreadCpuSeconds() - cpuBefore) / kChanges;
    const double busyAfter =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - lastPress).count();
    // What the window does once the run is over (the legend, the tables'
    // last figures) counts among the stalls too.
    QElapsedTimer after;
    after.start();
    while (after.elapsed() < 600)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("lab_burst n=%d degree=%d changes=%d rate=%d busy_after_s=%.3f "
                "longest_stall_ms=%.2f window_cpu_ms_per_change=%.2f\n",
                kCount, kDegree, kChanges, kRate, std::max(0.0, busyAfter), stalls.longestMs(),
                1e3 * cpuPerChange);
}

// Changes of n with noise on the values: the effects of the noise are
// computed away from the window, which draws each change at once.
void noiseBench()
{
    constexpr int kCount = 1001;
    constexpr int kChanges = 20;
    const std::unique_ptr<LabWindow> lab =
        openLab(kCount, {kStudyMethods.begin(), kStudyMethods.end()}, false, 100);
    lab->findChild<QSlider*>("labNoise")->setValue(10);  // 1e-6 of the range
    const auto settle = [&lab] {
        QElapsedTimer limit;
        limit.start();
        while (lab->workPending() && limit.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    settle();
    auto* count = lab->findChild<QSpinBox*>("labCount");
    StallWatch stalls;
    std::vector<double> times;
    QElapsedTimer clock;
    for (int k = 0; k < kChanges; ++k) {
        const int target = k % 2 == 0 ? kCount - 1 : kCount;
        clock.start();
        count->setValue(target);
        while (lab->model().nodes().size() != static_cast<std::size_t>(target))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();  // its repaint
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        settle();
    }
    std::printf("lab_noise n=%d methods=%zu noise=1e-6 change_median_ms=%.2f longest_stall_ms=%.2f\n",
                kCount, kStudyMethods.size(), percentile(times, 0.5), stalls.longestMs());
}

void convergenceBench(bool typed = false)
{
    const std::unique_ptr<LabWindow> lab =
        openLab(101, {kStudyMethods.begin(), kStudyMethods.end()}, typed);
    StallWatch stalls;
    bool finished = false;
    QObject::connect(lab.get(), &LabWindow::convergenceFinished, [&] { finished = true; });
    QElapsedTimer total;
    total.start();
    auto* view = lab->findChild<QComboBox*>("labView");
    view->setCurrentIndex(view->findData(QStringLiteral("convergence")));
    while (!finished && total.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    std::printf("lab_convergence%s seconds=%.3f longest_stall_ms=%.2f\n", typed ? "_typed" : "",
                static_cast<double>(total.nsecsElapsed()) / 1e9, stalls.longestMs());
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

void tableauBench()
{
    NodeList nodes;
    for (const double x : familyNodes(NodeFamily::Equispaced, 16))
        nodes.push_back({x, std::sin(2 * std::numbers::pi * x)});
    TableauSteps steps;
    steps.setNodes(nodes);
    steps.pickX(0.3);
    std::vector<double> times;
    std::size_t shown = 0;
    for (int step = 0; step < 2000; ++step) {
        QElapsedTimer clock;
        clock.start();
        if (step % 2 ? steps.addStep() : steps.removeStep())
            std::printf("tableau step %d refused\n", step);
        shown += steps.table().rows.size() + steps.neville()->rows.size() + steps.series().size();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("tableau 16 nodes per step median_ms=%.4f p99_ms=%.4f rows=%zu\n",
                percentile(times, 0.5), percentile(times, 0.99), shown);
}

void tableauWindowBench()
{
    const std::unique_ptr<LabWindow> lab = openLab(16, {StudyMethod::Global});
    lab->findChild<QAction*>("labTableauAction")->trigger();
    QApplication::processEvents();
    std::vector<double> times;
    for (int step = 0; step < 400; ++step) {
        QElapsedTimer clock;
        clock.start();
        lab->findChild<QAction*>(step % 2 ? "labAddNodeStepAction" : "labRemoveNodeStepAction")
            ->trigger();
        QApplication::processEvents();  // the repaint the step asked for
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("tableau_window 16 nodes per step median_ms=%.3f p99_ms=%.3f\n",
                percentile(times, 0.5), percentile(times, 0.99));
}

void boundBench()
{
    std::vector<double> times;
    for (int k = 0; k < 5; ++k) {
        LabStart start;
        start.settings.function = LabFunction::Expression;
        start.expression = parseExpression(kTyped).expression;
        start.settings.count = 40;
        start.settings.shown[methodIndex(StudyMethod::Global)] = true;
        start.settings.shown[methodIndex(StudyMethod::Local)] = true;
        LabModel model(std::move(start));
        QElapsedTimer clock;
        clock.start();
        model.setView(LabView::Bound);
        const LabPicture picture = labPicture(model, {});
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (picture.series.size() != 4)
            std::printf("bound n=40 typed failed: %s\n", picture.emptyReason.c_str());
    }
    std::printf("bound n=40 typed median_ms=%.2f\n", percentile(times, 0.5));
}

void cardinalBench()
{
    std::vector<StudyMethod> linear;
    for (const StudyMethod method : kStudyMethods)
        if (linearInData(method))
            linear.push_back(method);
    const std::unique_ptr<LabWindow> lab = openLab(101, linear);
    auto* view = lab->findChild<QComboBox*>("labView");
    view->setCurrentIndex(view->findData("cardinal"));
    QApplication::processEvents();
    LabPlot& plot = lab->plot();
    std::vector<double> times;
    QElapsedTimer clock;
    for (int k = 0; k < 100; ++k) {
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&plot, &press);
        QApplication::processEvents();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("cardinal n=101 methods=%zu median_ms=%.2f p99_ms=%.2f\n", linear.size(),
                percentile(times, 0.5), percentile(times, 0.99));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A name on the command line runs that line alone ("burst" for lab_burst).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto runs = [&](const char* name) { return only.isEmpty() || only == name; };
    if (runs("drag")) {
        dragBench(101, {kStudyMethods.begin(), kStudyMethods.end()});
        // At 1001 nodes the piecewise cubics, whose cost grows with n alone.
        std::vector<StudyMethod> piecewise;
        for (const StudyMethodRow& row : methodRows())
            if (row.form == MethodForm::Pieces)
                piecewise.push_back(row.method);
        dragBench(1001, piecewise);
    }
    if (runs("convergence"))
        convergenceBench();
    if (runs("export"))
        exportBench();
    if (runs("drag_split"))
        dragBench(101, {kStudyMethods.begin(), kStudyMethods.begin() + 9}, Drag::Split);
    if (runs("drag_typed"))
        dragBench(101, {kStudyMethods.begin(), kStudyMethods.end()}, Drag::Typed);
    if (runs("convergence_typed"))
        convergenceBench(true);
    if (runs("burst"))
        burstBench();
    if (runs("noise"))
        noiseBench();
    if (runs("bound"))
        boundBench();
    if (runs("cardinal"))
        cardinalBench();
    if (runs("tableau")) {
        tableauBench();
        tableauWindowBench();
    }
    return 0;
}
