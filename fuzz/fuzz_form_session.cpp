// A user session over the headless main window. The fuzzer's bytes choose a
// sequence of actions: typing into any text box, selecting any option,
// pressing OK or Calculate, writing a data-set file and clicking it,
// clicking prepared or missing files, the About window and the browser.
// After every action the window must be in a state the program describes:
//
// - the loop bounds of the given and interpolation points stay in the arrays,
//   and a drawing is made only with at most 1001 points of each kind;
// - no completed command uses more given points than the last sampling or
//   the last load made, and OK with the data-set option needs a load since
//   the last sampling;
// - Calculate completes only over abscissae in one direction;
// - a refused command (a message other than "Choose an option") leaves the
//   given points, the list and the picture as they were;
// - a refused command (a message other than "Choose an option") leaves what
//   every refusal keeps (ui/headless/form_snapshot.h): the given points, the
//   results, the test polynomial, the list, the picture, Text_nU and the
//   browser;
// - OK lists exactly the header and the given points; Calculate appends
//   nothing or exactly the header and one line per interval;
// - the picture holds the operations the two commands draw (the
//   interpolated points only where this Calculate settled them), every value
//   of them finite, in a world window that contains y = 0 and fits what is
//   drawn;
// - each completed or refused OK and Calculate shows one status sentence;
// - a clicked file loads exactly what the data-set reader makes of its bytes,
//   or loads nothing and says "Hata oluştu";
// - a completed Calculate leaves only finite interpolated values; a refused
//   one leaves them as they were;
// - the option handlers show and hide their frames, and the file list shows
//   the directory the directory list shows.
//
// Set TARVEL_FUZZ_TRACE=1 to print the actions of every input (to read a
// reproducer).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/dsf_reader.h"
#include "interp/evaluation.h"
#include "ui/headless/form_snapshot.h"
#include "ui/headless/headless_toolkit.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using ui::Changes;
using ui::describe;
using ui::FormSnapshot;
using ui::HeadlessWindow;
using ui::sameBits;
using ui::sameWorld;

constexpr std::size_t kMaxActions = 40;
constexpr int kCurveOps = 101;  // the starting point and 100 segments
const std::string kLoadFailed = "Hata oluştu";
const std::string kNoOption = "Choose an option";
const std::string kNoDataYet = "Set the test function first !";
const std::string kWrittenName = "fuzz.dsf";

// ---------------------------------------------------------------------------
// Data-set files of the session.

std::string formatNumber(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// count records of a sine on evenly spaced abscissae, declaring `declared`.
std::string evenDataSet(int declared, int count)
{
    std::string text = std::to_string(declared) + "\n";
    const double step = count > 1 ? 1.0 / (count - 1) : 0;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + ", " + formatNumber(i * step) + ", " +
                formatNumber(std::sin(6.283185307179586 * i * step)) + "\n";
    return text;
}

struct PreparedFile {
    std::string name;
    std::string content;
};

const std::vector<PreparedFile>& preparedFiles()
{
    static const std::vector<PreparedFile> files = {
        {"three.dsf", "3\n0, 0, 1\n1, 0.5, 2\n2, 1, 0\n"},
        {"one line.dsf", "3,0,0,1,1,0.5,2,2,1,0"},
        {"crlf.dsf", "2\r\n\"first, point\", 0, -1\r\n\"second\", 1, 1\r\n"},
        {"zero.dsf", "0\n"},
        {"short.dsf", "3\n0,0,1\n1,0.5,2\n"},
        {"twins.dsf", "4\n0,0,0\n1,0.5,1\n2,0.5,2\n3,1,0\n"},
        {"descending.dsf", "4\na,1,0\nb,0.6,1\nc,0.3,-1\nd,0,0.5\n"},
        {"zigzag.dsf", "5\n0,0,0\n1,0.8,1\n2,0.2,0\n3,1,1\n4,0.5,2\n"},
        {"huge.dsf", "3\n0,0,1e308\n1,0.5,-1e308\n2,1,1e308\n"},
        {"tiny steps.dsf", "3\n0,0,0\n1,1e-200,1\n2,2e-200,0\n"},
        {"wide.dsf", "3\n0,-1e300,1\n1,0,0\n2,1e300,1\n"},
        {"spline limit.dsf", evenDataSet(102, 102)},
        {"pw limit.dsf", evenDataSet(303, 303)},
        {"full.dsf", evenDataSet(1001, 1001)},
        {"over.dsf", evenDataSet(1002, 1002)},
        {"back and forth.dsf", "3\n0,0,0\n1,1,1\n2,0,0\n"},
    };
    return files;
}

void writeFile(const std::string& path, std::string_view content)
{
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A directory of this process, removed at exit, holding the prepared files
// and a nested directory.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/tarvel-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
        fs::create_directory(nested());
        for (const PreparedFile& file : preparedFiles())
            writeFile(path_ + "/" + file.name, file.content);
        writeFile(nested() + "/inner.dsf", preparedFiles().front().content);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string nested() const { return path_ + "/nested"; }

private:
    std::string path_;
};

const ScratchDirectory& scratch()
{
    static const ScratchDirectory directory;
    return directory;
}

// A violated property ends the process without running destructors. (A
// sanitizer report does too; scripts/fuzz.sh points TMPDIR into its own
// work directory, which it removes.)
void removeScratchOnDeath()
{
    std::error_code ignored;
    fs::remove_all(scratch().path(), ignored);
}

// ---------------------------------------------------------------------------
// What the fuzzer's bytes choose.

constexpr const char* kTextBoxes[] = {"Text_nU", "Text_nPoly", "Text_a0", "Text_a1",  "Text_a2",
                                      "Text_a3", "Text_a4",    "Text_nI", "Text_nDeg"};
constexpr const char* kOptions[] = {"Option_SinFunc", "Option_Cos10Fu",   "Option_Polynom",
                                    "Option_DataSet", "Option_InterCubc", "Option_InterPwCb",
                                    "Option_Tarvel"};
constexpr const char* kInterestingTexts[] = {
    "0",   "1",     "2",    "1001", "1002", "101",    "102",    "302",     "303",    "-1",
    "2.5", "1e400", "&HFF", "abc",  "",     "1e300",  "-1e300", "3",       "11",     "150",
    "4",   "100",   "301",  "-0.5", "0.5",  "1e-320", "&O1751", "1 0 0 1", "-1e400", "1000.5"};

std::string chooseText(FuzzedDataProvider& in)
{
    const auto pick = in.ConsumeIntegralInRange<std::size_t>(0, std::size(kInterestingTexts));
    if (pick < std::size(kInterestingTexts))
        return kInterestingTexts[pick];
    return in.ConsumeRandomLengthString(24);
}

double chooseAbscissa(FuzzedDataProvider& in, int shape, int i, int count)
{
    const double step = count > 1 ? 1.0 / (count - 1) : 0;
    switch (shape) {
    case 0:
        return i * step;
    case 1:
        return 1 - i * step;
    case 2:
        return i == count / 2 && i > 0 ? (i - 1) * step : i * step;  // one repeated abscissa
    case 3:
        return i * 1e-300;
    case 4:
        return -1e300 + i * (2e300 * step);
    case 5:
        return i % 2 == 0 ? 0.25 : 0.75;  // back and forth: a spline pivot of zero
    default:
        return in.ConsumeFloatingPoint<double>();
    }
}

double chooseOrdinate(FuzzedDataProvider& in, int shape, double x)
{
    static constexpr double kValues[] = {0, 1, -1, 0.5, 1e308, -1e308, 1e-308, 5e-324, 1e300, 7};
    switch (shape) {
    case 0:
        return std::sin(6.283185307179586 * x);
    case 1:
        return in.ConsumeIntegralInRange<int>(-3, 3);
    case 2:
        return kValues[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kValues) - 1)];
    default:
        return in.ConsumeFloatingPoint<double>();
    }
}

// A data-set file built from the bytes: a count near a limit or small, one
// of several shapes of abscissae and ordinates, a layout of line ends and
// labels, and sometimes a count that differs from the records written.
std::string shapedDataSet(FuzzedDataProvider& in)
{
    static constexpr int kCounts[] = {0, 1, 2, 3, 4, 5, 7, 11, 101, 102, 301, 302, 303, 1001, 1002};
    const int count = kCounts[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kCounts) - 1)];
    const int xShape = in.ConsumeIntegralInRange<int>(0, 6);
    const int yShape = in.ConsumeIntegralInRange<int>(0, 3);
    const int layout = in.ConsumeIntegralInRange<int>(0, 3);
    const int mismatch = in.ConsumeIntegralInRange<int>(0, 3);
    const int declared = count + (mismatch == 2 ? 1 : mismatch == 3 && count > 0 ? -1 : 0);
    const char* const lineEnds[] = {"\n", "\r\n", "\r", ", "};
    const std::string end = lineEnds[layout];

    std::string text = std::to_string(declared) + end;
    for (int i = 0; i < count; ++i) {
        const double x = chooseAbscissa(in, xShape, i, count);
        const double y = chooseOrdinate(in, yShape, x);
        const std::string label =
            layout == 1 ? "\"P, " + std::to_string(i) + "\"" : std::to_string(i);
        text += label + ", " + formatNumber(x) + ", " + formatNumber(y) + end;
    }
    return text;
}

// ---------------------------------------------------------------------------
// The state that the checks compare.

// ---------------------------------------------------------------------------
// The session: actions and the checks after each of them.

enum class Action {
    SetText,
    Select,
    PressOk,
    PressCalculate,
    WriteFileAndClick,
    WriteShapedFileAndClick,
    ClickPreparedFile,
    ClickMissingFile,
    OpenAbout,
    CloseAbout,
    ChooseDrive,
    OpenDirectory,
    ClearTestOptions,
    kCount
};

class Session {
public:
    Session() : w_(scratch().path()) {}
    void run(FuzzedDataProvider& in);

private:
    void perform(Action action, FuzzedDataProvider& in);
    struct Content {
        std::optional<std::string> bytes;
        bool missing = false;
        static Content unknown() { return {}; }
        static Content none() { return {std::nullopt, true}; }
    };
    void writeAndClick(const std::string& bytes);
    void clickFile(const std::string& name, const Content& content);

    [[noreturn]] void fail(const char* property, const std::string& detail = {}) const;
    void require(bool holds, const char* property) const
    {
        if (!holds)
            fail(property);
    }
    // The detail is only worked out when the property fails.
    template <typename Detail>
    void require(bool holds, const char* property, const Detail& detail) const
    {
        if (!holds)
            fail(property, detail());
    }

    std::vector<std::string> newMessages() const;
    bool refused() const;
    void checkEveryStep() const;
    void checkDrawingValues() const;
    void checkLoopBounds() const;
    void checkUnchangedData() const;
    void checkRefusal() const;
    void checkWorldFitted() const;
    void checkPaintable() const;
    void checkOpCount(bool withInterpolated) const;
    void checkOk() const;
    void checkSampledAbscissae() const;
    void checkCalculate() const;
    void checkCopiedValues() const;
    void checkFiniteResults() const;
    void checkLoad(const std::optional<DataSet>& expected) const;
    void checkSelect(std::string_view option, bool isOn) const;
    void checkAbout() const;
    void checkStatusSentence() const;
    void checkExistingPoints() const;
    void checkOrdered() const;
    void checkScaleFitsDrawn(bool withInterpolated) const;
    std::vector<bool> settledNow() const;

    HeadlessWindow w_;
    // The session's own account of the given points that exist.
    double existing_ = 0;
    bool fromFile_ = false;
    FormSnapshot before_ = FormSnapshot::of(w_);
    std::vector<std::string> trace_;
};

void Session::run(FuzzedDataProvider& in)
{
    for (std::size_t step = 0; step < kMaxActions && in.remaining_bytes() > 0; ++step) {
        const auto action = static_cast<Action>(
            in.ConsumeIntegralInRange<int>(0, static_cast<int>(Action::kCount) - 1));
        before_ = FormSnapshot::of(w_);
        perform(action, in);
        checkEveryStep();
        for (const std::string& message : newMessages())
            trace_.push_back("    message: " + message);
    }
    static const bool tracing = std::getenv("TARVEL_FUZZ_TRACE") != nullptr;
    if (tracing) {
        for (std::size_t k = 0; k < trace_.size(); ++k)
            std::fprintf(stderr, "%3zu. %s\n", k + 1, trace_[k].c_str());
        std::fprintf(stderr, "    %zu messages, %zu list lines, %zu drawing operations\n",
                     w_.messages.messages.size(), w_.List1.lines.size(), w_.Picture1.ops().size());
    }
}

std::string printable(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text.substr(0, 60)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') {
            out.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        }
    }
    return out + (text.size() > 60 ? "...\"" : "\"");
}

void Session::perform(Action action, FuzzedDataProvider& in)
{
    switch (action) {
    case Action::SetText: {
        const char* box = kTextBoxes[in.ConsumeIntegralInRange<std::size_t>(0, 8)];
        const std::string text = chooseText(in);
        trace_.push_back(std::string("set ") + box + " to " + printable(text));
        w_.setText(box, text);
        checkUnchangedData();
        break;
    }
    case Action::Select: {
        const char* option = kOptions[in.ConsumeIntegralInRange<std::size_t>(0, 6)];
        trace_.push_back(std::string("select ") + option);
        w_.select(option);
        checkUnchangedData();
        checkSelect(option, w_.option(option).selected);
        break;
    }
    case Action::PressOk: {
        trace_.push_back("press OK");
        const bool sampling =
            w_.Option_SinFunc.selected || w_.Option_Cos10Fu.selected || w_.Option_Polynom.selected;
        w_.form.Command1_Click();
        checkOk();
        checkStatusSentence();
        if (sampling && !refused()) {
            existing_ = loopBound(w_.form.lastU) + 1.0;
            fromFile_ = false;
        }
        break;
    }
    case Action::PressCalculate:
        trace_.push_back("press Calculate");
        w_.form.Command2_Click();
        checkCalculate();
        checkStatusSentence();
        break;
    case Action::WriteFileAndClick: {
        const std::string bytes = in.ConsumeRandomLengthString(4096);
        trace_.push_back("write " + kWrittenName + " as " + printable(bytes) + " and click it");
        writeAndClick(bytes);
        break;
    }
    case Action::WriteShapedFileAndClick: {
        const std::string bytes = shapedDataSet(in);
        trace_.push_back("write " + kWrittenName + " as " + printable(bytes) + " (" +
                         std::to_string(bytes.size()) + " bytes) and click it");
        writeAndClick(bytes);
        break;
    }
    case Action::ClickPreparedFile: {
        const auto& files = preparedFiles();
        const PreparedFile& file =
            files[in.ConsumeIntegralInRange<std::size_t>(0, files.size() - 1)];
        trace_.push_back("click prepared file " + file.name);
        const bool shownHere = w_.File1.path() == scratch().path();
        clickFile(file.name, shownHere ? Content{file.content} : Content::unknown());
        break;
    }
    case Action::ClickMissingFile:
        trace_.push_back("click a missing file");
        clickFile("missing.dsf", Content::none());
        break;
    case Action::OpenAbout:
        trace_.push_back("open About");
        w_.form.Mn_About_Click();
        checkUnchangedData();
        checkAbout();
        break;
    case Action::CloseAbout:
        trace_.push_back("close About");
        w_.Form_About.close();
        checkUnchangedData();
        break;
    case Action::ChooseDrive: {
        static const std::string drives[] = {"/", "/no-such-drive-tarvel", ""};
        const std::string& drive = drives[in.ConsumeIntegralInRange<std::size_t>(0, 2)];
        trace_.push_back("choose drive " + printable(drive));
        w_.chooseDrive(drive);
        checkUnchangedData();
        require(!newMessages().empty() || w_.Dir1.path() == drive,
                "a readable drive moves the directory list to it");
        require(newMessages().empty() ||
                    (w_.Dir1.path() == before_.directory && w_.Drive1.current == before_.drive),
                "an unreadable drive leaves the drive and the directory as they were");
        break;
    }
    case Action::OpenDirectory: {
        const std::string directories[] = {scratch().path(), scratch().nested(),
                                           scratch().path() + "/three.dsf", "/no/such/directory"};
        const std::string& directory = directories[in.ConsumeIntegralInRange<std::size_t>(0, 3)];
        trace_.push_back("open directory " + printable(directory));
        w_.openDirectory(directory);
        checkUnchangedData();
        break;
    }
    case Action::ClearTestOptions:
        // Not reachable by clicking, but the OK command defines what happens
        // when no test-function option is selected.
        trace_.push_back("clear every test-function option");
        w_.Option_SinFunc.selected = w_.Option_Cos10Fu.selected = w_.Option_Polynom.selected =
            w_.Option_DataSet.selected = false;
        checkUnchangedData();
        break;
    case Action::kCount:
        break;
    }
}

// The file is written where the file list looks when that is one of the
// session's directories, so the click finds it.
void Session::writeAndClick(const std::string& bytes)
{
    const std::string shown = w_.File1.path();
    const bool ours = shown == scratch().path() || shown == scratch().nested();
    writeFile((ours ? shown : scratch().path()) + "/" + kWrittenName, bytes);
    clickFile(kWrittenName, ours ? Content{bytes} : Content::unknown());
}

// What the click must do follows from what the directory shown holds under
// that name: nothing (a refusal), known bytes (what the reader makes of
// them), or something this session does not know (a load or a refusal).
void Session::clickFile(const std::string& name, const Content& content)
{
    w_.clickFile(name);
    if (content.missing)
        checkLoad(std::nullopt);
    else if (content.bytes)
        checkLoad(parseDataSet(*content.bytes).set);
    if (newMessages().empty()) {
        existing_ = w_.form.nU;
        fromFile_ = true;
    }
}

void Session::fail(const char* property, const std::string& detail) const
{
    std::fprintf(stderr, "\nPROPERTY VIOLATED: %s\n", property);
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", detail.c_str());
    std::fprintf(stderr, "  after these actions:\n");
    for (std::size_t k = 0; k < trace_.size(); ++k)
        std::fprintf(stderr, "  %3zu. %s\n", k + 1, trace_[k].c_str());
    const Form_Tarvel& f = w_.form;
    std::fprintf(stderr, "  nU %.17g lastU %.17g nI %.17g lastI %.17g nDeg %.17g dataReady %d\n",
                 f.nU, f.lastU, f.nI, f.lastI, f.nDeg, f.dataReady ? 1 : 0);
    std::fprintf(stderr, "  list %zu lines (was %zu), picture %zu operations (was %zu)\n",
                 w_.List1.lines.size(), before_.lines.size(), w_.Picture1.ops().size(),
                 before_.drawOps);
    for (const std::string& message : newMessages())
        std::fprintf(stderr, "       message: %s\n", message.c_str());
    removeScratchOnDeath();
    __builtin_trap();
}

std::vector<std::string> Session::newMessages() const
{
    const auto& all = w_.messages.messages;
    return {all.begin() + static_cast<std::ptrdiff_t>(before_.messageCount), all.end()};
}

bool Session::refused() const
{
    for (const std::string& message : newMessages())
        if (message != kNoOption)
            return true;
    return false;
}

void Session::checkEveryStep() const
{
    checkLoopBounds();
    checkDrawingValues();
    require(w_.messages.messages.size() >= before_.messageCount, "messages are never taken back");
    require(w_.File1.path() == w_.Dir1.path(),
            "the file list shows the directory the directory list shows", [&] {
                return std::string(printable(w_.File1.path()) + " against " +
                                   printable(w_.Dir1.path()));
            });
    if (refused())
        checkRefusal();
}

void Session::checkLoopBounds() const
{
    const Form_Tarvel& f = w_.form;
    const int lastU = loopBound(f.lastU);
    const int lastI = loopBound(f.lastI);
    require(lastU >= -1 && lastU <= 1000, "loopBound(lastU) stays within the arrays",
            [&] { return std::to_string(lastU); });
    require(lastI >= -1 && lastI <= 1000, "loopBound(lastI) stays within the arrays",
            [&] { return std::to_string(lastI); });
}

void Session::checkDrawingValues() const
{
    const std::vector<DrawOp>& ops = w_.Picture1.ops();
    for (std::size_t k = 0; k < ops.size(); ++k) {
        const DrawOp& op = ops[k];
        const bool finite = std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
                            std::isfinite(op.y2) && std::isfinite(op.radius);
        require(finite, "every drawing value is finite", [&] {
            return std::string("operation " + std::to_string(k) + ": " + formatNumber(op.x1) + " " +
                               formatNumber(op.y1) + " " + formatNumber(op.x2) + " " +
                               formatNumber(op.y2) + " r " + formatNumber(op.radius));
        });
    }
    const WorldRect& world = w_.Picture1.world();
    require(std::isfinite(world.left) && std::isfinite(world.top) && std::isfinite(world.right) &&
                std::isfinite(world.bottom),
            "the world corners are finite", [&] {
                return std::string(formatNumber(world.top) + " .. " + formatNumber(world.bottom));
            });
}

// For the actions that neither compute nor load.
void Session::checkUnchangedData() const
{
    const FormSnapshot now = FormSnapshot::of(w_);
    Changes changed = dataChanges(before_, now);
    for (Changes more : {readingChanges(before_, now), displayChanges(before_, now)})
        changed.insert(changed.end(), more.begin(), more.end());
    require(changed.empty(), "an action that neither computes nor loads changes no data",
            [&] { return describe(changed); });
}

void Session::checkRefusal() const
{
    const Changes changed = refusalChanges(before_, FormSnapshot::of(w_));
    require(changed.empty(), "a refused command leaves what it must as it was",
            [&] { return describe(changed); });
}

void Session::checkWorldFitted() const
{
    const WorldRect& world = w_.Picture1.world();
    const Form_Tarvel& f = w_.form;
    require(world.left == -0.1 && world.right == 1.1, "the world runs from x = -0.1 to 1.1");
    require(world.top > world.bottom && world.top >= 0 && world.bottom <= 0,
            "the world window is not empty and contains y = 0", [&] {
                return std::string(formatNumber(world.top) + " .. " + formatNumber(world.bottom));
            });
    require(f.yMin <= 0 && f.yMax >= 0, "yMin <= 0 <= yMax",
            [&] { return std::string(formatNumber(f.yMin) + " .. " + formatNumber(f.yMax)); });
    checkPaintable();
}

// The painter can map the window onto the picture; coordinates that land
// far outside it are the painter's to clip.
void Session::checkPaintable() const
{
    const Viewport viewport(w_.Picture1.world(), 9135, 3255);
    require(viewport.valid(), "the world window can be mapped onto the picture");
}

// Only the points `drawn` says (all when it is empty).
std::size_t markerCount(std::span<const double> xs, std::span<const double> ys, int last,
                        const std::vector<bool>& drawn = {})
{
    std::size_t count = 0;
    for (int i = 0; i <= last; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!drawn.empty() && !drawn[at])
            continue;
        count += !std::isnan(xs[at]) && !std::isnan(ys[at]);
    }
    return count;
}

// Which interpolation points the evaluation settles over the current
// points, worked out apart from the window's own bookkeeping.
std::vector<bool> Session::settledNow() const
{
    const Form_Tarvel& f = w_.form;
    PointArray values = f.yI;
    std::array<Settlement, kPointCapacity> how{};
    evaluatePoints(
        loopBound(f.lastI), f.xI, values, loopBound(f.lastU), f.xU, f.yU,
        [](int, int) { return 0.0; }, how);
    std::vector<bool> settled(kPointCapacity, false);
    for (int i = 0; i <= loopBound(f.lastI); ++i)
        settled[static_cast<std::size_t>(i)] = how[static_cast<std::size_t>(i)] != Settlement::None;
    return settled;
}

void Session::checkScaleFitsDrawn(bool withInterpolated) const
{
    const Form_Tarvel& f = w_.form;
    double low = 0;
    double high = 0;
    const auto take = [&](double y) {
        if (y < low)
            low = y;
        if (y > high)
            high = y;
    };
    for (int i = 0; i <= loopBound(f.lastU); ++i)
        take(f.yU[static_cast<std::size_t>(i)]);
    if (withInterpolated) {
        const std::vector<bool> settled = settledNow();
        for (int i = 0; i <= loopBound(f.lastI); ++i)
            if (settled[static_cast<std::size_t>(i)])
                take(f.yI[static_cast<std::size_t>(i)]);
    }
    require(sameBits(f.yMin, low) && sameBits(f.yMax, high),
            "the scale fits the given points and the settled interpolated points", [&] {
                return std::string(formatNumber(f.yMin) + " .. " + formatNumber(f.yMax) +
                                   ", expected " + formatNumber(low) + " .. " + formatNumber(high));
            });
}

void Session::checkExistingPoints() const
{
    const double reached = loopBound(w_.form.nU - 1) + 1.0;
    require(reached <= existing_, "a completed command uses no more given points than exist", [&] {
        return std::string(formatNumber(reached) + " points used, " + formatNumber(existing_) +
                           " exist");
    });
}

void Session::checkOrdered() const
{
    const Form_Tarvel& f = w_.form;
    int direction = 0;
    for (int j = 0; j < loopBound(f.lastU); ++j) {
        const double from = f.xU[static_cast<std::size_t>(j)];
        const double to = f.xU[static_cast<std::size_t>(j + 1)];
        const int step = to > from ? 1 : to < from ? -1 : 0;
        if (step == 0)
            continue;
        require(direction == 0 || step == direction,
                "Calculate completes only over abscissae in one direction",
                [&] { return std::string("given point " + std::to_string(j + 1)); });
        direction = step;
    }
}

void Session::checkStatusSentence() const
{
    require(w_.statusLine.sentences.size() == before_.sentenceCount + 1,
            "OK and Calculate each show one status sentence", [&] {
                return std::to_string(w_.statusLine.sentences.size() - before_.sentenceCount) +
                       " sentences";
            });
    require(!w_.statusLine.current().empty(), "the status sentence says something");
}

std::size_t joiningLineCount(std::span<const double> xs, std::span<const double> ys, int last)
{
    std::size_t count = 0;
    for (int i = 1; i <= last; ++i) {
        const auto at = static_cast<std::size_t>(i);
        count += !std::isnan(xs[at]) && !std::isnan(ys[at]) && !std::isnan(xs[at - 1]) &&
                 !std::isnan(ys[at - 1]);
    }
    return count;
}

// Two axes, the test-function curve, the given points (joined for a data
// set) and, after Calculate, the interpolated points; a point with a NaN
// coordinate is not drawn.
void Session::checkOpCount(bool withInterpolated) const
{
    const Form_Tarvel& f = w_.form;
    const int lastU = loopBound(f.lastU);
    std::size_t expected = 2 + kCurveOps + markerCount(f.xU, f.yU, lastU);
    if (w_.Option_DataSet.selected)
        expected += joiningLineCount(f.xU, f.yU, lastU);
    if (withInterpolated)
        expected += markerCount(f.xI, f.yI, loopBound(f.lastI), settledNow());
    require(w_.Picture1.ops().size() == expected, "the picture holds exactly what was drawn", [&] {
        return std::string(std::to_string(w_.Picture1.ops().size()) + " operations, expected " +
                           std::to_string(expected));
    });
}

void Session::checkOk() const
{
    if (refused())
        return;  // checked with every refusal
    const Form_Tarvel& f = w_.form;
    const auto& lines = w_.List1.lines;
    const int lastU = loopBound(f.lastU);
    require(lines.size() == static_cast<std::size_t>(3 + lastU + 1),
            "OK lists the header and every given point", [&] {
                return std::string(std::to_string(lines.size()) +
                                   " lines for loopBound(lastU) = " + std::to_string(lastU));
            });
    require(lines[0] == " " && lines[1] == "Data points" && lines[2] == " ",
            "the given-point listing starts with its header");
    require(f.dataReady, "a completed OK sets dataReady");
    require(f.nU <= kPointCapacity, "a drawing is made with at most 1001 given points",
            [&] { return formatNumber(f.nU); });
    checkOpCount(false);
    const bool noOption = !newMessages().empty();
    if (noOption) {
        require(sameWorld(w_.Picture1.world(), before_.world),
                "without a test-function option the world window stays");
    } else {
        checkWorldFitted();
        checkScaleFitsDrawn(false);
    }
    checkSampledAbscissae();
    if (w_.Option_DataSet.selected || noOption)
        checkExistingPoints();
    if (w_.Option_DataSet.selected)
        require(fromFile_, "OK with the data-set option lists only points of a load");
}

void Session::checkSampledAbscissae() const
{
    if (!(w_.Option_SinFunc.selected || w_.Option_Cos10Fu.selected || w_.Option_Polynom.selected))
        return;
    const Form_Tarvel& f = w_.form;
    const double step = 1 / f.lastU;
    for (int i = 0; i <= loopBound(f.lastU); ++i)
        require(sameBits(f.xU[static_cast<std::size_t>(i)], i * step),
                "sampled abscissae are i * (1 / lastU)",
                [&] { return std::string("index " + std::to_string(i)); });
}

void Session::checkCalculate() const
{
    const auto& lines = w_.List1.lines;
    require(lines.size() >= before_.lines.size() &&
                std::equal(before_.lines.begin(), before_.lines.end(), lines.begin()),
            "Calculate only appends to the list");
    if (!before_.dataReady) {
        require(newMessages() == std::vector<std::string>{kNoDataYet},
                "Calculate before OK is refused with its message");
        require(sameBits(w_.form.nI, before_.nI) && sameBits(w_.form.lastI, before_.lastI),
                "Calculate before OK builds no interpolation point");
    }
    if (refused()) {
        require(sameBits(w_.form.yI, before_.yI),
                "a refused Calculate leaves the interpolated values as they were");
        return;
    }
    const Form_Tarvel& f = w_.form;
    require(f.nU <= kPointCapacity && f.nI <= kPointCapacity,
            "a drawing is made with at most 1001 points of each kind",
            [&] { return std::string("nU " + formatNumber(f.nU) + ", nI " + formatNumber(f.nI)); });
    if (w_.Option_Tarvel.selected)
        require(f.nDeg < f.nU, "polynomial interpolation runs only with nDeg < nU");

    const std::size_t added = lines.size() - before_.lines.size();
    const bool spline = w_.Option_InterCubc.selected || w_.Option_InterPwCb.selected;
    const std::size_t rows = static_cast<std::size_t>(std::max(loopBound(f.lastU), 0));
    require(added == (spline ? 3 + rows : 0),
            "Calculate appends the coefficient header and one line per interval, or nothing", [&] {
                return std::string(std::to_string(added) + " lines added, loopBound(lastU) = " +
                                   std::to_string(loopBound(f.lastU)));
            });
    if (spline)
        require(lines[before_.lines.size()] == " " &&
                    lines[before_.lines.size() + 1] == "Cubic spline coefficients" &&
                    lines[before_.lines.size() + 2] == " ",
                "the coefficient listing starts with its header");
    checkOpCount(true);
    checkWorldFitted();
    checkScaleFitsDrawn(true);
    checkExistingPoints();
    checkOrdered();
    checkCopiedValues();
    checkFiniteResults();
}

// With strictly increasing abscissae every interpolation point that meets a
// given point takes that point's value unchanged, whatever the method.
void Session::checkCopiedValues() const
{
    const Form_Tarvel& f = w_.form;
    const int lastU = loopBound(f.lastU);
    for (int j = 0; j < lastU; ++j)
        if (!(f.xU[static_cast<std::size_t>(j)] < f.xU[static_cast<std::size_t>(j + 1)]))
            return;
    const auto xsEnd = f.xU.begin() + lastU + 1;
    for (int i = 0; i <= loopBound(f.lastI); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const auto hit = std::lower_bound(f.xU.begin(), xsEnd, f.xI[at]);
        if (hit == xsEnd || *hit != f.xI[at])
            continue;
        const double given = f.yU[static_cast<std::size_t>(hit - f.xU.begin())];
        require(sameBits(f.yI[at], given),
                "an interpolation point on a given point copies its value", [&] {
                    return std::string("point " + std::to_string(i) + ": " +
                                       formatNumber(f.yI[at]) + " against " + formatNumber(given));
                });
    }
}

void Session::checkFiniteResults() const
{
    const Form_Tarvel& f = w_.form;
    for (int i = 0; i <= loopBound(f.lastI); ++i)
        require(std::isfinite(f.yI[static_cast<std::size_t>(i)]),
                "a completed Calculate leaves only finite interpolated values", [&] {
                    return "point " + std::to_string(i) +
                           " at x = " + formatNumber(f.xI[static_cast<std::size_t>(i)]) + " is " +
                           formatNumber(f.yI[static_cast<std::size_t>(i)]);
                });
}

// expected: what the reader makes of the file's bytes; nothing for a file
// that is missing or does not parse.
void Session::checkLoad(const std::optional<DataSet>& expected) const
{
    const Form_Tarvel& f = w_.form;
    require(w_.List1.lines.size() == before_.lines.size() &&
                w_.Picture1.ops().size() == before_.drawOps && f.dataReady == before_.dataReady,
            "loading a file neither lists, draws nor changes dataReady");
    if (!expected) {
        require(newMessages() == std::vector<std::string>{kLoadFailed},
                "a file that does not load says \"Hata oluştu\"");
        require(sameBits(f.nU, before_.nU) && sameBits(f.lastU, before_.lastU) &&
                    w_.Text_nU.text() == before_.textNU &&
                    w_.Frame_DataSet.visible == before_.browserVisible,
                "a file that does not load changes nothing");
        const std::string_view kKept = ". The former given points are kept.";
        const std::string sentence = w_.statusLine.current();
        require(existing_ > 0 ? sentence.ends_with(kKept)
                              : sentence.ends_with('.') && !sentence.ends_with(kKept),
                "the status line says why a file does not load, and speaks of former given "
                "points only when there are some",
                [&] { return printable(sentence); });
        return;
    }
    require(w_.statusLine.current().starts_with("Loaded "), "the status line says what was loaded",
            [&] { return printable(w_.statusLine.current()); });
    require(newMessages().empty(), "a file that parses loads without a message");
    const auto count = static_cast<std::size_t>(expected->count);
    require(f.nU == expected->count && f.lastU == expected->count - 1,
            "the load sets nU and lastU from the count");
    require(w_.Text_nU.text() == std::to_string(expected->count),
            "the load writes the count into Text_nU", [&] { return printable(w_.Text_nU.text()); });
    require(!w_.Frame_DataSet.visible, "a completed load hides the browser");
    for (std::size_t i = 0; i < f.xU.size(); ++i) {
        const double x = i < count ? expected->x[i] : before_.xU[i];
        const double y = i < count ? expected->y[i] : before_.yU[i];
        require(sameBits(f.xU[i], x) && sameBits(f.yU[i], y),
                "the load stores the records and keeps the entries beyond them",
                [&] { return std::string("index " + std::to_string(i)); });
    }
}

void Session::checkSelect(std::string_view option, bool isOn) const
{
    const bool testFunction = option == "Option_SinFunc" || option == "Option_Cos10Fu" ||
                              option == "Option_Polynom" || option == "Option_DataSet";
    require(isOn, "the selected option is on");
    if (testFunction) {
        require(w_.Frame_Poly.visible == w_.Option_Polynom.selected,
                "Frame_Poly is shown exactly with the polynomial");
        require(w_.Frame_DataSet.visible == w_.Option_DataSet.selected,
                "the browser is shown exactly when the data set is selected");
    } else {
        require(w_.Frame_nDeg.visible == w_.Option_Tarvel.selected,
                "the degree entry is shown exactly with polynomial interpolation");
        require(w_.Frame_DataSet.visible == before_.browserVisible,
                "an interpolation option leaves the browser alone");
    }
}

void Session::checkAbout() const
{
    require(w_.Form_About.open, "About shows its window");
    require(w_.Form_About.created == before_.aboutCreated + (before_.aboutOpen ? 0 : 1),
            "there is never more than one About window");
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    tarvel::Session session;
    session.run(in);
    return 0;
}
