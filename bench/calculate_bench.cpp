// Timings of the Calculate command, driven through the headless window the
// way a user drives the real one: fill in the text boxes, choose the
// options, press OK once, then press Calculate again and again.
//
// The polynomial method spends nearly all its time in the Lagrange basis:
// for every interpolation point strictly inside an interval, each of the
// floor(nDeg) + 1 basis values takes floor(nDeg) factors, one multiplication
// and one division each. A plain kernel with the same number of independent
// multiply-then-divide steps, built with the same flags, gives the floor
// that Calculate cannot beat; the ratio of the two says how much is left
// beyond the divisions.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/form_tarvel.h"
#include "interp/lagrange.h"
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

// Multiply-then-divide steps in the shape of the Lagrange basis: per point,
// every accumulator but one takes factor m before any takes factor m + 1,
// so the chains are independent and the divider can overlap them. The
// divisors are stored by m so that the inner loop runs along memory.
class DivisionKernel {
public:
    explicit DivisionKernel(int window)
        : window_(window), divisor_(static_cast<std::size_t>(window * window))
    {
        // Factors near 1 keep every product far from overflow and from
        // subnormal numbers, whose division would be slower than usual.
        for (int m = 0; m < window_; ++m)
            for (int k = 0; k < window_; ++k)
                divisor_[at(m, k)] = 1.0 + 1.0e-3 * (k - m);
    }

    void run(std::int64_t points)
    {
        for (std::int64_t p = 0; p < points; ++p) {
            acc_.fill(1.0);
            // The accumulators must start afresh for every point rather than
            // the compiler noticing that every point computes the same.
            benchmark::DoNotOptimize(acc_.data());
            benchmark::ClobberMemory();
            onePoint(1.0 + 1.0e-6 * static_cast<double>(p));
            benchmark::DoNotOptimize(acc_.data());
            benchmark::ClobberMemory();
        }
    }

private:
    std::size_t at(int m, int k) const { return static_cast<std::size_t>(m * window_ + k); }

    void onePoint(double scale)
    {
        for (int m = 0; m < window_; ++m) {
            const double factor = scale + 1.0e-4 * m;
            const double* row = &divisor_[at(m, 0)];
            for (int k = 0; k < m; ++k)
                acc_[static_cast<std::size_t>(k)] =
                    (acc_[static_cast<std::size_t>(k)] * factor) / row[k];
            for (int k = m + 1; k < window_; ++k)
                acc_[static_cast<std::size_t>(k)] =
                    (acc_[static_cast<std::size_t>(k)] * factor) / row[k];
        }
    }

    int window_;
    std::vector<double> divisor_;
    std::array<double, kWindowCapacity> acc_{};
};

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

void runCalculate(benchmark::State& state, const CalculateInput& input)
{
    ui::HeadlessWindow window;
    state.SetLabel(describe(input));
    if (!prepareOrSkip(state, window, input))
        return;
    timeCalculate(state, window);
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

// The work of the polynomial case with the same nU, without the program
// around it.
void BM_DivisionKernel(benchmark::State& state)
{
    const CalculateInput input = polynomialInput(state.range(0));
    ui::HeadlessWindow window;
    if (!prepareOrSkip(state, window, input))
        return;
    const PolynomialWork work = polynomialWork(window.form);
    state.SetLabel("steps of: " + describe(input));
    setWorkCounters(state, work);
    DivisionKernel kernel(work.window);
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
void BM_PolynomialToKernelRatio(benchmark::State& state)
{
    const CalculateInput input = polynomialInput(state.range(0));
    ui::HeadlessWindow window;
    if (!prepareOrSkip(state, window, input))
        return;
    const PolynomialWork work = polynomialWork(window.form);
    state.SetLabel(describe(input));
    DivisionKernel kernel(work.window);
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
    state.counters["kernel_ms"] = 1e3 * kernelSeconds / iterations;
    state.counters["ratio"] = kernelSeconds > 0 ? polynomialSeconds / kernelSeconds : 0.0;
    setWorkCounters(state, work);
}

void BM_CalculateCubicSpline(benchmark::State& state)
{
    runCalculate(state, {"Option_InterCubc", "101", "1001", ""});
}

void BM_CalculatePwSpline(benchmark::State& state)
{
    runCalculate(state, {"Option_InterPwCb", "302", "1001", ""});
}

}  // namespace
}  // namespace tarvel::bench

using tarvel::bench::BM_CalculateCubicSpline;
using tarvel::bench::BM_CalculatePolynomial;
using tarvel::bench::BM_CalculatePwSpline;
using tarvel::bench::BM_DivisionKernel;
using tarvel::bench::BM_PolynomialToKernelRatio;

BENCHMARK(BM_CalculatePolynomial)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("nU")
    ->Arg(1001)
    ->Arg(1000);
// With nU = 1001 there are no steps to compare against.
BENCHMARK(BM_DivisionKernel)->Unit(benchmark::kMillisecond)->ArgName("nU")->Arg(1000);
BENCHMARK(BM_PolynomialToKernelRatio)->Unit(benchmark::kMillisecond)->ArgName("nU")->Arg(1000);
BENCHMARK(BM_CalculateCubicSpline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculatePwSpline)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
