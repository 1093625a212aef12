// Timings of the Calculate command, driven through the headless window the
// way a user drives the real one: fill in the text boxes, choose the
// options, press OK once, then press Calculate again and again.
//
// The polynomial method spends nearly all its time in the Lagrange basis:
// for every interpolation point strictly inside an interval, each of the
// floor(nDeg) + 1 basis values takes floor(nDeg) factors, one multiplication
// and one division each. A plain kernel with the same number of independent
// multiply-then-divide steps, built with -march=native for this processor,
// gives the floor that Calculate cannot beat; the ratio of the two says how
// much is left beyond the divisions. The Lagrange loop itself is built for
// the baseline, AVX2 and AVX-512 and chosen at run time; each is timed.
//
// The spline cases are set beside SciPy's compute time for the same work
// (bench/scipy_reference.py, run once at start when Debian's python3-scipy
// is installed).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/form_tarvel.h"
#include "interp/lagrange.h"
#include "native_floor.h"
#include "ui/headless/headless_toolkit.h"

namespace tarvel::bench {
namespace {

// What the user types and chooses before OK and Calculate. The test
// function is always the sine.
struct CalculateInput {
    std::string method;  // the option button of the interpolation method
    std::string nU;
    std::string nI;
    std::string nDeg;  // read by the polynomial method only; empty leaves the box alone
};

std::string describe(const CalculateInput& input)
{
    std::string text = "sine nU=" + input.nU + " nI=" + input.nI;
    if (!input.nDeg.empty())
        text += " nDeg=" + input.nDeg;
    return text + " " + input.method;
}

// Degree 100 over 1001 interpolation points. With nU = 1001 the
// interpolation abscissae are the given ones, bit for bit (both are
// i * (1/1000)), so every point is copied and no basis is computed; nU = 1000
// puts 999 points strictly inside intervals, which is the work the method
// is about.
CalculateInput polynomialInput(std::int64_t nU)
{
    return {"Option_Tarvel", std::to_string(nU), "1001", "100"};
}

// Fills in the window, presses OK and one untimed Calculate. Returns the
// first message the program showed; empty when it showed none.
std::string prepare(ui::HeadlessWindow& window, const CalculateInput& input)
{
    window.select("Option_SinFunc");
    window.setText("Text_nU", input.nU);
    window.select(input.method);
    window.setText("Text_nI", input.nI);
    if (!input.nDeg.empty())
        window.setText("Text_nDeg", input.nDeg);
    window.form.Command1_Click();
    if (window.messages.messages.empty())
        window.form.Command2_Click();
    window.List1.lines.clear();
    return window.messages.messages.empty() ? std::string() : window.messages.messages.front();
}

// The interpolation points that go through the interior value, found by the
// same first-match scan as Calculate: a point equal to a given abscissa is
// copied and costs no basis at all.
std::int64_t interiorPointCount(const Form_Tarvel& form)
{
    const int lastI = loopBound(form.lastI);
    const int lastU = loopBound(form.lastU);
    std::int64_t count = 0;
    for (int i = 0; i <= lastI; ++i) {
        const double x = form.xI[static_cast<std::size_t>(i)];
        for (int j = 0; j < lastU; ++j) {
            const double left = form.xU[static_cast<std::size_t>(j)];
            const double right = form.xU[static_cast<std::size_t>(j + 1)];
            if (x == left || x == right)
                break;
            if (left < x && x < right) {
                ++count;
                break;
            }
        }
    }
    return count;
}

// Size of the Lagrange window: floor(nDeg) + 1 points, never more than the
// window holds.
int windowSize(double nDeg)
{
    const double wanted = std::floor(nDeg) + 1.0;
    return wanted >= kWindowCapacity ? kWindowCapacity : static_cast<int>(wanted);
}

struct PolynomialWork {
    std::int64_t points = 0;  // interior interpolation points
    int window = 0;           // basis values per point
    std::int64_t steps() const { return points * window * (window - 1); }
};

PolynomialWork polynomialWork(const Form_Tarvel& form)
{
    return {interiorPointCount(form), windowSize(form.nDeg)};
}

// Sets the window up for input; a window that refuses it skips the case.
bool prepareOrSkip(benchmark::State& state, ui::HeadlessWindow& window, const CalculateInput& input)
{
    const std::string problem = prepare(window, input);
    if (!problem.empty())
        state.SkipWithError(problem.c_str());
    return problem.empty();
}

void setWorkCounters(benchmark::State& state, const PolynomialWork& work)
{
    state.counters["interior_points"] = static_cast<double>(work.points);
    state.counters["factor_steps"] = static_cast<double>(work.steps());
}

// Presses Calculate once per iteration; the list is emptied between presses
// (untimed) so that it does not grow.
void timeCalculate(benchmark::State& state, ui::HeadlessWindow& window)
{
    for (auto _ : state) {
        window.form.Command2_Click();
        state.PauseTiming();
        window.List1.lines.clear();
        state.ResumeTiming();
    }
    if (!window.messages.messages.empty())
        state.SkipWithError(window.messages.messages.front().c_str());
}

void BM_CalculatePolynomial(benchmark::State& state)
{
    const CalculateInput input = polynomialInput(state.range(0));
    ui::HeadlessWindow window;
    state.SetLabel(describe(input));
    if (!prepareOrSkip(state, window, input))
        return;
    setWorkCounters(state, polynomialWork(window.form));
    timeCalculate(state, window);
}

// The forced instruction sets, one case each; a set this processor lacks
// skips its case.
void BM_CalculatePolynomialOn(benchmark::State& state)
{
    const auto set = static_cast<InstructionSet>(state.range(0));
    if (!forceInstructionSet(set)) {
        state.SkipWithError((std::string(instructionSetName(set)) + " not available").c_str());
        return;
    }
    const CalculateInput input = polynomialInput(1000);
    ui::HeadlessWindow window;
    state.SetLabel(describe(input) + " on " + instructionSetName(set));
    if (prepareOrSkip(state, window, input))
        timeCalculate(state, window);
    chooseInstructionSetAutomatically();
}

// The work of the polynomial case with the same nU, without the program
// around it, built for this processor.
void BM_NativeFloor(benchmark::State& state)
{
    const CalculateInput input = polynomialInput(state.range(0));
    ui::HeadlessWindow window;
    if (!prepareOrSkip(state, window, input))
        return;
    const PolynomialWork work = polynomialWork(window.form);
    state.SetLabel("steps of: " + describe(input));
    setWorkCounters(state, work);
    NativeFloorKernel kernel(work.window);
    for (auto _ : state)
        kernel.run(work.points);
}

// Processor time rather than wall time: on a busy machine the wall clock
// also counts the time other processes held the processor.
double cpuSecondsSince(std::clock_t start)
{
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// Calculate and the kernel one after the other in each iteration, so that
// both see the same machine state; the ratio of the summed processor times
// is shown as a counter.
void BM_PolynomialToNativeFloor(benchmark::State& state)
{
    const CalculateInput input = polynomialInput(state.range(0));
    ui::HeadlessWindow window;
    if (!prepareOrSkip(state, window, input))
        return;
    const PolynomialWork work = polynomialWork(window.form);
    state.SetLabel(describe(input));
    NativeFloorKernel kernel(work.window);
    double polynomialSeconds = 0;
    double kernelSeconds = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        window.form.Command2_Click();
        polynomialSeconds += cpuSecondsSince(start);
        const std::clock_t kernelStart = std::clock();
        kernel.run(work.points);
        kernelSeconds += cpuSecondsSince(kernelStart);
        state.PauseTiming();
        window.List1.lines.clear();
        state.ResumeTiming();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["polynomial_ms"] = 1e3 * polynomialSeconds / iterations;
    state.counters["native_floor_ms"] = 1e3 * kernelSeconds / iterations;
    state.counters["ratio"] = kernelSeconds > 0 ? polynomialSeconds / kernelSeconds : 0.0;
    setWorkCounters(state, work);
}

// SciPy's median compute time per case, in milliseconds; empty when the
// reference could not run.
std::map<std::string, double>& scipyMilliseconds()
{
    static std::map<std::string, double> times;
    return times;
}

// Runs the SciPy reference with Debian's interpreter (where python3-scipy
// installs) and keeps its medians.
void readScipyReference()
{
    const char* python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    const std::string command = std::string(python) + " '" TARVEL_SCIPY_REFERENCE "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        char name[64];
        double median = 0;
        double best = 0;
        if (std::sscanf(line, "%63s %lf %lf", name, &median, &best) == 3)
            scipyMilliseconds()[name] = median;
        else
            std::fputs(line, stdout);
    }
    pclose(pipe);
}

// Calculate with processor time per press, beside SciPy's time for the same
// spline when there is one.
void runSplineCase(benchmark::State& state, const CalculateInput& input, const std::string& scipyCase)
{
    ui::HeadlessWindow window;
    state.SetLabel(describe(input));
    if (!prepareOrSkip(state, window, input))
        return;
    // Each reading of the processor clock is a system call that costs about
    // a microsecond, so each reading times a run of presses. The figure is
    // the median of the readings, the statistic SciPy's figure is given in:
    // on a shared machine a mean takes in whatever else ran meanwhile.
    constexpr int kPressesPerReading = 8;
    std::vector<double> readings;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        for (int press = 0; press < kPressesPerReading; ++press)
            window.form.Command2_Click();
        readings.push_back(cpuSecondsSince(start));
        state.PauseTiming();
        window.List1.lines.clear();
        state.ResumeTiming();
    }
    if (!window.messages.messages.empty())
        state.SkipWithError(window.messages.messages.front().c_str());
    if (readings.empty())
        return;
    double total = 0;
    for (const double seconds : readings)
        total += seconds;
    state.counters["tarvel_mean_ms"] =
        1e3 * total / (static_cast<double>(readings.size()) * kPressesPerReading);
    std::nth_element(readings.begin(), readings.begin() + readings.size() / 2, readings.end());
    const double ownMs = 1e3 * readings[readings.size() / 2] / kPressesPerReading;
    state.counters["tarvel_ms"] = ownMs;
    const auto scipy = scipyMilliseconds().find(scipyCase);
    if (scipy != scipyMilliseconds().end()) {
        state.counters["scipy_ms"] = scipy->second;
        state.counters["ratio"] = ownMs / scipy->second;
    }
}

void BM_CalculateCubicSpline(benchmark::State& state)
{
    runSplineCase(state, {"Option_InterCubc", "101", "1001", ""}, "cubic_spline");
}

void BM_CalculatePwSpline(benchmark::State& state)
{
    runSplineCase(state, {"Option_InterPwCb", "302", "1001", ""}, "pw_cubic_spline");
}

}  // namespace
}  // namespace tarvel::bench

using tarvel::bench::BM_CalculateCubicSpline;
using tarvel::bench::BM_CalculatePolynomial;
using tarvel::bench::BM_CalculatePolynomialOn;
using tarvel::bench::BM_CalculatePwSpline;
using tarvel::bench::BM_NativeFloor;
using tarvel::bench::BM_PolynomialToNativeFloor;

// The machine is shared: every case is repeated and only the aggregates
// (read the medians) are reported.
#define TARVEL_CASE(function) \
    BENCHMARK(function)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)

TARVEL_CASE(BM_CalculatePolynomial)->ArgName("nU")->Arg(1001)->Arg(1000);
TARVEL_CASE(BM_CalculatePolynomialOn)
    ->ArgName("set")
    ->Arg(static_cast<int>(tarvel::InstructionSet::Baseline))
    ->Arg(static_cast<int>(tarvel::InstructionSet::Avx2))
    ->Arg(static_cast<int>(tarvel::InstructionSet::Avx512));
// With nU = 1001 there are no steps to compare against.
TARVEL_CASE(BM_NativeFloor)->ArgName("nU")->Arg(1000);
TARVEL_CASE(BM_PolynomialToNativeFloor)->ArgName("nU")->Arg(1000);
TARVEL_CASE(BM_CalculateCubicSpline);
TARVEL_CASE(BM_CalculatePwSpline);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::AddCustomContext("lagrange_instruction_set",
                                tarvel::instructionSetName(tarvel::lagrangeInstructionSet()));
    tarvel::bench::readScipyReference();
    for (const auto& [name, ms] : tarvel::bench::scipyMilliseconds())
        benchmark::AddCustomContext("scipy_" + name + "_ms", std::to_string(ms));
    if (tarvel::bench::scipyMilliseconds().empty())
        benchmark::AddCustomContext("scipy", "not measured (python3-scipy missing)");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
