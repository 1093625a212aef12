// How quickly the real window answers: the Qt main window on the offscreen
// platform, driven through its buttons, timed from the click until the
// window has been painted again with the result (list filled and scrolled,
// picture drawn). A plain timed program rather than a microbenchmark: what
// matters is the wait one click costs, and whether that wait grows as the
// list grows.
//
// Each figure is a median over several clicks. The verdict is taken on the
// time the user-interface thread spends working: on a machine shared with
// other busy programs the wall clock measures them too. Both are printed.
// The program always ends successfully; the verdict is in the table.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/qt/about_window.h"
#include "ui/qt/browser_lists.h"
#include "ui/qt/line_list.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"

namespace {

using tarvel::ui::LineList;

double threadMilliseconds()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
#else
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

double wallMilliseconds()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Timing {
    double cpu = 0;  // the user-interface thread's working time, ms
    double wall = 0;
};

Timing median(std::vector<Timing> times)
{
    const auto middle = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    };
    std::vector<double> cpu;
    std::vector<double> wall;
    for (const Timing& t : times) {
        cpu.push_back(t.cpu);
        wall.push_back(t.wall);
    }
    return {middle(cpu), middle(wall)};
}

// Resident memory of this process in MB, from the kernel's account; 0 where
// there is none to read.
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

class Session {
public:
    explicit Session(const QString& startDirectory = {}) : window_(startDirectory)
    {
        window_.show();
        settle();
        list_ = find<LineList>("List1");
    }

    template <typename T> T* find(const char* name)
    {
        T* widget = window_.findChild<T*>(name);
        if (!widget) {
            std::fprintf(stderr, "the window has no control %s\n", name);
            std::exit(1);
        }
        return widget;
    }

    void type(const char* box, const char* text) { find<QLineEdit>(box)->setText(text); }
    void choose(const char* option) { find<QRadioButton>(option)->click(); }

    // From the action until the window shows its result: what the action
    // left behind (timers due now, update requests) is run, and the whole
    // window painted as the screen would show it.
    template <typename Action> Timing timed(Action action)
    {
        const double cpu = threadMilliseconds();
        const double wall = wallMilliseconds();
        action();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        window_.repaint();
        return {threadMilliseconds() - cpu, wallMilliseconds() - wall};
    }

    Timing click(const char* button)
    {
        return timed([&] { find<QPushButton>(button)->click(); });
    }

    void settle()
    {
        timed([] {});
    }

    LineList& list() { return *list_; }

private:
    tarvel::ui::MainWindow window_;
    LineList* list_ = nullptr;
};

struct Row {
    std::string what;
    Timing measured;
    double limit = 0;  // on the thread's time; 0: a figure without a target
    std::string unit = "ms";
};

void print(const std::vector<Row>& rows)
{
    std::printf("\n%-52s %10s %10s %10s\n", "Window responsiveness", "thread", "wall", "target");
    for (const Row& row : rows) {
        std::printf("%-52s %7.2f %-2s", row.what.c_str(), row.measured.cpu, row.unit.c_str());
        if (row.measured.wall > 0)
            std::printf(" %7.2f %-2s", row.measured.wall, row.unit.c_str());
        else
            std::printf(" %10s", "");
        if (row.limit > 0)
            std::printf(" %7.2f %-2s %s", row.limit, row.unit.c_str(),
                        row.measured.cpu <= row.limit ? "within" : "OVER");
        std::printf("\n");
    }
    std::fflush(stdout);
}

constexpr int kRepeats = 9;

// Sine through nU given points, OK pressed once.
void okWith(Session& session, const char* nU)
{
    session.type("Text_nU", nU);
    session.click("Command1");
}

// OK with the largest number of given points: the list is cleared and gets
// 1004 lines, the picture 1001 circles.
std::vector<Row> okWithLargestCount()
{
    Session session;
    okWith(session, "1001");  // the first paint of glyphs is not the user's wait
    std::vector<Timing> times;
    for (int i = 0; i < kRepeats; ++i)
        times.push_back(session.click("Command1"));
    return {{"OK, 1001 given points", median(times), 20}};
}

// Calculate with the cubic spline through 101 given points at 1001
// interpolation points; every Calculate appends its coefficient table.
void prepareCubicSpline(Session& session)
{
    okWith(session, "101");
    session.choose("Option_InterCubc");
    session.type("Text_nI", "1001");
}

// Calculate a hundred times in a row: the last must cost what the first did.
std::vector<Row> calculateHundredTimes()
{
    Session session;
    prepareCubicSpline(session);
    std::vector<Timing> times;
    for (int i = 0; i < 100; ++i)
        times.push_back(session.click("Command2"));
    const Timing first = median({times.begin(), times.begin() + 5});
    const Timing last = median({times.end() - 5, times.end()});
    return {
        {"Calculate no. 1-5 (median)", first},
        {"Calculate no. 96-100 (median, " + std::to_string(session.list().count()) + " lines)",
         last},
        {"Calculate no. 96-100 / no. 1-5",
         {last.cpu / first.cpu, last.wall / first.wall},
         1.2,
         "x"},
    };
}

// A list of a million lines: one more Calculate appends its table and
// shows it; the user scrolls through the list.
std::vector<Row> millionLines()
{
    Session session;
    prepareCubicSpline(session);
    session.click("Command2");
    tarvel::ui::QtListBox lines(&session.list());
    const double before = residentMegabytes();
    const Timing fill = session.timed([&] {
        const std::string text =
            "123   0.1230000000   -0.9876000000   1.5000000000   -2.2500000000";
        while (session.list().count() < 1000000)
            lines.addLine(text);
        lines.showLastLine();
    });
    const double memory = residentMegabytes() - before;
    std::vector<Timing> appends;
    for (int i = 0; i < kRepeats; ++i)
        appends.push_back(session.click("Command2"));
    QScrollBar* bar = session.list().verticalScrollBar();
    std::vector<Timing> scrolls;
    for (int i = 0; i < kRepeats; ++i) {
        const int to = bar->maximum() / (i + 2);
        scrolls.push_back(session.timed([&] { bar->setValue(to); }));
    }
    // 100 ms is about where a wait stops feeling immediate.
    return {
        {"fill a list to 1,000,000 lines", fill},
        {"memory of 1,000,000 lines", {memory, 0}, 0, "MB"},
        {"Calculate at 1,000,000 lines", median(appends), 100},
        {"scroll at 1,000,000 lines", median(scrolls), 100},
    };
}

// Runs the event loop until `done`, as the window runs it for the user, and
// measures the longest stretch between two turns of the loop in which it
// could have answered a click: what a user waits at worst.
struct Stretches {
    Timing longest;
    Timing total;
};

template <typename Done> Stretches runUntil(Done done)
{
    Stretches measured;
    const Timing start{threadMilliseconds(), wallMilliseconds()};
    Timing last = start;
    QEventLoop loop;
    QTimer turn;  // a zero timer fires once per turn of an idle loop
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const Timing now{threadMilliseconds(), wallMilliseconds()};
        measured.longest.cpu = std::max(measured.longest.cpu, now.cpu - last.cpu);
        measured.longest.wall = std::max(measured.longest.wall, now.wall - last.wall);
        last = now;
        if (done())
            loop.quit();
    });
    turn.start(0);
    loop.exec();
    measured.total = {last.cpu - start.cpu, last.wall - start.wall};
    return measured;
}

struct ListingRun {
    Timing longest;    // the longest busy stretch
    Timing allShown;   // from the click until the last name is shown
    double megabytes;  // resident memory the names added
};

// Opens the folder `big` below `root` in the browser of a fresh window.
ListingRun listBigFolder(const QString& root, int files)
{
    Session session(root);
    session.choose("Option_DataSet");
    auto* dirs = session.find<tarvel::ui::DirListWidget>("Dir1");
    auto* list = session.find<tarvel::ui::FileListWidget>("File1");
    runUntil([&] { return !dirs->isListing() && !list->isListing(); });
    QListWidgetItem* big = dirs->findItems("big", Qt::MatchExactly).value(0);
    const double before = residentMegabytes();
    const Timing open = session.timed([&] { emit dirs->itemActivated(big); });
    const Stretches listing = runUntil([&] { return !list->isListing(); });
    session.settle();
    if (list->count() != files)
        std::fprintf(stderr, "the file list shows %d names, not %d\n", list->count(), files);
    return {{std::max(open.cpu, listing.longest.cpu), std::max(open.wall, listing.longest.wall)},
            {open.cpu + listing.total.cpu, open.wall + listing.total.wall},
            residentMegabytes() - before};
}

// A folder of 100,000 data-set files opened in the browser. The names are
// listed on a thread of their own and shown as they arrive: the window
// thread's longest busy stretch meanwhile must stay within a frame (16 ms
// at 60 frames a second). Medians of five windows opening it.
std::vector<Row> bigFolder()
{
    constexpr int kFiles = 100000;
    QTemporaryDir scratch;
    const QString folder = scratch.path() + "/big";
    QDir().mkpath(folder);
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/f%06d.dsf", i);
        const int fd = ::open(QFile::encodeName(folder + name).constData(), O_WRONLY | O_CREAT, 0600);
        if (fd < 0) {
            std::fprintf(stderr, "cannot create the files of the listing case\n");
            return {};
        }
        ::close(fd);
    }
    std::vector<Timing> longest;
    std::vector<Timing> allShown;
    std::vector<Timing> memory;
    for (int run = 0; run < 5; ++run) {
        const ListingRun measured = listBigFolder(scratch.path(), kFiles);
        longest.push_back(measured.longest);
        allShown.push_back(measured.allShown);
        memory.push_back({measured.megabytes, 0});
    }
    return {
        {"100,000 names listed: longest busy stretch", median(longest), 16},
        {"100,000 names listed: until all are shown", median(allShown)},
        {"memory of 100,000 listed names", {median(memory).cpu, 0}, 0, "MB"},
    };
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Naming parts on the command line (ok, calculate, million, listing)
    // runs only those.
    const QStringList wanted = QApplication::arguments().mid(1);
    const std::pair<QString, std::vector<Row> (*)()> parts[] = {
        {"ok", okWithLargestCount},
        {"calculate", calculateHundredTimes},
        {"million", millionLines},
        {"listing", bigFolder},
    };
    std::vector<Row> rows;
    for (const auto& [name, part] : parts) {
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        const std::vector<Row> more = part();
        rows.insert(rows.end(), more.begin(), more.end());
    }
    print(rows);
    return 0;
}
