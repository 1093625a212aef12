// The program of a typed function run on truncated Taylor series
// a(t) = a_0 + a_1 t + ... + a_{n-1} t^{n-1} about x. Each operation takes
// the series of its operands to the series of its result by the usual
// recurrences; those of the functions come from g' = h(a) a', which gives
//   g_k = (1/k) sum_{j=1..k} j a_j h_{k-j},
// with h = g (exp), the companion (sin, cos and their hyperbolic twins),
// 1 ± g^2 (tan, tanh), 1/(1 + a^2) (atan) and ±(1 - a^2)^(-1/2) (asin, acos).
// A power with a constant exponent c follows a g' = c a' g; a whole one's
// higher terms are products of series. Every division
// goes through quotient(), so a zero divisor gives the infinity or NaN of
// IEEE division without dividing by zero.
#include "interp/expression.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <type_traits>
#include <utility>

namespace tarvel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double quotient(double a, double b)
{
    if (b != 0)
        return a / b;
    if (a == 0 || std::isnan(a))
        return kNaN;
    return std::signbit(a) != std::signbit(b) ? -kInfinity : kInfinity;
}

// How many series besides its result a step works with.
int workSeries(ExpressionOp op)
{
    switch (op) {
    case ExpressionOp::Sin:
    case ExpressionOp::Cos:
    case ExpressionOp::Sinh:
    case ExpressionOp::Cosh:
    case ExpressionOp::Tan:
    case ExpressionOp::Tanh:
    case ExpressionOp::PowerInteger:
        return 1;
    case ExpressionOp::Atan:
    case ExpressionOp::Asin:
    case ExpressionOp::Acos:
    case ExpressionOp::Power:
        return 2;
    default:
        return 0;
    }
}

// The series are passed with their length n, a compile-time constant for
// f, f', f'' so that the loops unroll, a run-time one for Taylor series.
// body(k) for k = 0 .. n - 1: for a compile-time n, each k is a
// compile-time constant too, so that the inner loops unroll as well; the
// terms are computed in the same order either way.
template <typename Count, typename Body> void eachTerm(Count n, Body body)
{
    if constexpr (std::is_same_v<Count, int>) {
        for (int k = 0; k < n; ++k)
            body(k);
    } else {
        [&]<int... k>(std::integer_sequence<int, k...>) {
            (body(std::integral_constant<int, k>()), ...);
        }(std::make_integer_sequence<int, n>());
    }
}

template <typename Count> void multiply(const double* a, const double* b, double* r, Count n)
{
    eachTerm(n, [&](auto k) {
        double sum = 0;
        for (int j = 0; j <= k; ++j)
            sum += a[j] * b[k - j];
        r[k] = sum;
    });
}

template <typename Count> void divide(const double* a, const double* b, double* r, Count n)
{
    eachTerm(n, [&](auto k) {
        double sum = a[k];
        for (int j = 0; j < k; ++j)
            sum -= r[j] * b[k - j];
        r[k] = quotient(sum, b[0]);
    });
}

// g_k = (sign/k) sum_{j=1..k} j a_j h_{k-j}, for k >= 1.
void chainTerm(const double* a, const double* h, double* g, int k, double sign)
{
    double sum = 0;
    for (int j = 1; j <= k; ++j)
        sum += j * a[j] * h[k - j];
    g[k] = sign * sum / k;
}

template <typename Count> void exponential(const double* a, double* r, Count n)
{
    r[0] = std::exp(a[0]);
    for (int k = 1; k < n; ++k)
        chainTerm(a, r, r, k, 1);
}

template <typename Count> void logarithm(const double* a, double* r, Count n)
{
    r[0] = std::log(a[0]);
    for (int k = 1; k < n; ++k) {
        double sum = 0;
        for (int j = 1; j < k; ++j)
            sum += j * r[j] * a[k - j];
        r[k] = quotient(a[k] - sum / k, a[0]);
    }
}

template <typename Count>
void sineCosine(const double* a, double* s, double* c, Count n, bool hyperbolic)
{
    // Apart, and of a copy that the first store cannot change, so that the
    // compiler may compute sin and cos in one call.
    const double a0 = a[0];
    if (hyperbolic) {
        s[0] = std::sinh(a0);
        c[0] = std::cosh(a0);
    } else {
        s[0] = std::sin(a0);
        c[0] = std::cos(a0);
    }
    for (int k = 1; k < n; ++k) {
        chainTerm(a, c, s, k, 1);
        chainTerm(a, s, c, k, hyperbolic ? 1 : -1);
    }
}

// tan and tanh, with u = 1 + g^2 or 1 - g^2.
template <typename Count>
void tangent(const double* a, double* g, double* u, Count n, bool hyperbolic)
{
    const double sign = hyperbolic ? -1 : 1;
    g[0] = hyperbolic ? std::tanh(a[0]) : std::tan(a[0]);
    u[0] = 1 + sign * g[0] * g[0];
    for (int k = 1; k < n; ++k) {
        chainTerm(a, u, g, k, 1);
        double square = 0;
        for (int j = 0; j <= k; ++j)
            square += g[j] * g[k - j];
        u[k] = sign * square;
    }
}

// r = a^c for a_0 != 0: a r' = c a' r.
template <typename Count> void powerSeries(const double* a, double c, double* r, Count n)
{
    r[0] = std::pow(a[0], c);
    for (int k = 1; k < n; ++k) {
        double sum = 0;
        for (int j = 1; j <= k; ++j)
            sum += ((c + 1) * j - k) * a[j] * r[k - j];
        r[k] = quotient(sum, k * a[0]);
    }
}

// a^m for a whole m: where a_0 = 0 and m >= 0, a = t^z b with b_0 != 0 and
// a^m = t^(zm) b^m, so x^2 has its derivatives at x = 0.
template <typename Count>
void wholePowerByRecurrence(const double* a, double m, double* r, double* b, Count n)
{
    // a^0 is pow's 1 with no slope, whatever a's series: the sign of a
    // first nonzero term, which a longer series may reach, is left out.
    if (m == 0) {
        r[0] = std::pow(a[0], m);
        for (int k = 1; k < n; ++k)
            r[k] = 0;
        return;
    }
    int z = 0;
    while (z < n && a[z] == 0)
        ++z;
    if (z == 0 || m < 0 || z == n) {
        powerSeries(a, m, r, n);
        if (z == n && m >= 0)
            for (int k = 1; k < n; ++k)
                r[k] = 0;
        return;
    }
    for (int k = 0; k < n; ++k)
        b[k] = k + z < n ? a[k + z] : 0;
    powerSeries(b, m, r, n);
    const double shift = z * m;
    for (int k = n - 1; k >= 0; --k)
        r[k] = k >= shift ? r[k - static_cast<int>(shift)] : 0;
    // The value as f(x) alone gives it, with the sign of zero: (-x)^13 at 0 is -0.
    r[0] = std::pow(a[0], m);
}

// a^m for a whole m > 0 by binary powering, m's bits read from the lowest.
// Products of series lose no digits where a_0 is small, unlike the
// recurrence, which divides by a_0.
void wholePowerByProducts(const double* a, double m, double* r, int n)
{
    std::array<double, kTaylorMaxOrder + 1> square;
    std::array<double, kTaylorMaxOrder + 1> product;
    std::copy(a, a + n, square.begin());
    for (int k = 0; k < n; ++k)
        r[k] = k == 0;
    for (auto bits = static_cast<std::int64_t>(m);; bits >>= 1) {
        if (bits & 1) {
            multiply(r, square.data(), product.data(), n);
            std::copy(product.begin(), product.begin() + n, r);
        }
        if (bits == 1)
            return;
        multiply(square.data(), square.data(), product.data(), n);
        std::copy(product.begin(), product.begin() + n, square.begin());
    }
}

// Where a_0 is small but not 0, the recurrence's terms from the (m + 2)-th
// on are differences of numbers 1/a_0 times larger than they are, so they
// come from products. Below that it is as accurate, and f, f' and f'' keep
// the recurrence's bits, the values of one point or many the same.
template <typename Count> void wholePower(const double* a, double m, double* r, double* b, Count n)
{
    constexpr int kByRecurrence = 3;
    if constexpr (std::is_same_v<Count, int>) {
        if (m > 0 && n > kByRecurrence) {
            wholePowerByProducts(a, m, r, n);
            wholePowerByRecurrence(a, m, r, b, kByRecurrence);
            return;
        }
    }
    wholePowerByRecurrence(a, m, r, b, n);
}

template <typename Count> void squareRoot(const double* a, double* r, Count n)
{
    r[0] = std::sqrt(a[0]);
    for (int k = 1; k < n; ++k) {
        double sum = a[k];
        for (int j = 1; j < k; ++j)
            sum -= r[j] * r[k - j];
        r[k] = quotient(sum, 2 * r[0]);
    }
}

// atan, asin and acos: g' = sign a' h(a).
template <typename Count>
void inverseTrigonometric(ExpressionOp op, const double* a, double* g, double* w, double* h,
                          Count n)
{
    const double inner = op == ExpressionOp::Atan ? 1 : -1;
    multiply(a, a, w, n);
    for (int k = 0; k < n; ++k)
        w[k] *= inner;
    w[0] += 1;
    if (op == ExpressionOp::Atan) {
        for (int k = 0; k < n; ++k)
            g[k] = k == 0;
        divide(g, w, h, n);
    } else {
        powerSeries(w, -0.5, h, n);
    }
    const double sign = op == ExpressionOp::Acos ? -1 : 1;
    g[0] = op == ExpressionOp::Atan   ? std::atan(a[0])
           : op == ExpressionOp::Asin ? std::asin(a[0])
                                      : std::acos(a[0]);
    for (int k = 1; k < n; ++k)
        chainTerm(a, h, g, k, sign);
}

// a^b = exp(b log a) with b depending on x.
template <typename Count>
void variablePower(const double* a, const double* b, double* r, double* logA, double* exponent,
                   Count n)
{
    logarithm(a, logA, n);
    multiply(b, logA, exponent, n);
    r[0] = std::pow(a[0], b[0]);
    for (int k = 1; k < n; ++k)
        chainTerm(exponent, r, r, k, 1);
}

// One step of the program at the points `each` visits: each(body) calls
// body(x, a, b, r) for each point, with its x, the series of the step's
// operands and the series of its result, the step's work series after it.
// The step's kind is looked up once for all of the points.
template <typename Count, typename Each> void runStep(const ExpressionStep& step, Count n, Each each)
{
    using Point = const double*;
    switch (step.op) {
    case ExpressionOp::Constant:
    case ExpressionOp::X:
        return each([&](double x, Point, Point, double* r) {
            r[0] = step.op == ExpressionOp::X ? x : step.constant;
            for (int k = 1; k < n; ++k)
                r[k] = k == 1 && step.op == ExpressionOp::X;
        });
    case ExpressionOp::Add:
        return each([&](double, Point a, Point b, double* r) {
            for (int k = 0; k < n; ++k)
                r[k] = a[k] + b[k];
        });
    case ExpressionOp::Subtract:
        return each([&](double, Point a, Point b, double* r) {
            for (int k = 0; k < n; ++k)
                r[k] = a[k] - b[k];
        });
    case ExpressionOp::Negate:
        return each([&](double, Point a, Point, double* r) {
            for (int k = 0; k < n; ++k)
                r[k] = -a[k];
        });
    case ExpressionOp::Multiply:
        return each([&](double, Point a, Point b, double* r) { multiply(a, b, r, n); });
    case ExpressionOp::Divide:
        return each([&](double, Point a, Point b, double* r) { divide(a, b, r, n); });
    case ExpressionOp::PowerInteger:
        // The square as a product: exact like pow, and much quicker.
        if (step.constant == 2)
            return each([&](double, Point a, Point, double* r) { multiply(a, a, r, n); });
        return each([&](double, Point a, Point, double* r) {
            wholePower(a, step.constant, r, r + n, n);
        });
    case ExpressionOp::PowerConstant:
        return each(
            [&](double, Point a, Point, double* r) { powerSeries(a, step.constant, r, n); });
    case ExpressionOp::Power:
        return each([&](double, Point a, Point b, double* r) {
            variablePower(a, b, r, r + n, r + 2 * n, n);
        });
    case ExpressionOp::Sin:
        return each([&](double, Point a, Point, double* r) { sineCosine(a, r, r + n, n, false); });
    case ExpressionOp::Cos:
        return each([&](double, Point a, Point, double* r) { sineCosine(a, r + n, r, n, false); });
    case ExpressionOp::Sinh:
        return each([&](double, Point a, Point, double* r) { sineCosine(a, r, r + n, n, true); });
    case ExpressionOp::Cosh:
        return each([&](double, Point a, Point, double* r) { sineCosine(a, r + n, r, n, true); });
    case ExpressionOp::Tan:
        return each([&](double, Point a, Point, double* r) { tangent(a, r, r + n, n, false); });
    case ExpressionOp::Tanh:
        return each([&](double, Point a, Point, double* r) { tangent(a, r, r + n, n, true); });
    case ExpressionOp::Asin:
    case ExpressionOp::Acos:
    case ExpressionOp::Atan:
        return each([&](double, Point a, Point, double* r) {
            inverseTrigonometric(step.op, a, r, r + n, r + 2 * n, n);
        });
    case ExpressionOp::Exp:
        return each([&](double, Point a, Point, double* r) { exponential(a, r, n); });
    case ExpressionOp::Log:
        return each([&](double, Point a, Point, double* r) { logarithm(a, r, n); });
    case ExpressionOp::Log10:
        return each([&](double, Point a, Point, double* r) {
            logarithm(a, r, n);
            r[0] = std::log10(a[0]);
            for (int k = 1; k < n; ++k)
                r[k] /= std::numbers::ln10;
        });
    case ExpressionOp::Sqrt:
        return each([&](double, Point a, Point, double* r) { squareRoot(a, r, n); });
    case ExpressionOp::Abs:
        return each([&](double, Point a, Point, double* r) {
            const double sign = a[0] < 0 ? -1 : 1;
            for (int k = 0; k < n; ++k)
                r[k] = sign * a[k];
            r[0] = std::fabs(a[0]);
        });
    }
}

std::vector<double>& seriesStore()
{
    // Each thread (the window's, the convergence worker's) has its own.
    thread_local std::vector<double> store;
    return store;
}

std::string numberText(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "−∞" : "∞";
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, std::fabs(value)).ptr;
    return (std::signbit(value) && value != 0 ? "−" : "") + std::string(digits, end);
}

std::string operandText(double value)
{
    return value < 0 ? "(" + numberText(value) + ")" : numberText(value);
}

const char* functionName(ExpressionOp op)
{
    switch (op) {
    case ExpressionOp::Sin:
        return "sin";
    case ExpressionOp::Cos:
        return "cos";
    case ExpressionOp::Tan:
        return "tan";
    case ExpressionOp::Asin:
        return "asin";
    case ExpressionOp::Acos:
        return "acos";
    case ExpressionOp::Atan:
        return "atan";
    case ExpressionOp::Sinh:
        return "sinh";
    case ExpressionOp::Cosh:
        return "cosh";
    case ExpressionOp::Tanh:
        return "tanh";
    case ExpressionOp::Exp:
        return "exp";
    case ExpressionOp::Log:
        return "log";
    case ExpressionOp::Log10:
        return "log10";
    case ExpressionOp::Sqrt:
        return "sqrt";
    case ExpressionOp::Abs:
        return "abs";
    default:
        return nullptr;
    }
}

std::string stepText(const ExpressionStep& step, double a, double b)
{
    switch (step.op) {
    case ExpressionOp::Add:
        return numberText(a) + " + " + operandText(b);
    case ExpressionOp::Subtract:
        return numberText(a) + " − " + operandText(b);
    case ExpressionOp::Multiply:
        return operandText(a) + "·" + operandText(b);
    case ExpressionOp::Divide:
        return operandText(a) + "/" + operandText(b);
    case ExpressionOp::PowerInteger:
    case ExpressionOp::PowerConstant:
        return operandText(a) + "^" + operandText(step.constant);
    case ExpressionOp::Power:
        return operandText(a) + "^" + operandText(b);
    default:
        break;
    }
    if (const char* name = functionName(step.op))
        return std::string(name) + "(" + numberText(a) + ")";
    return numberText(a);
}

}  // namespace

Expression::Expression(std::string text, std::vector<ExpressionStep> steps)
    : text_(std::move(text)), steps_(std::move(steps))
{
    for (const ExpressionStep& step : steps_) {
        seriesStart_.push_back(seriesCount_);
        seriesCount_ += 1 + workSeries(step.op);
    }
}

double stepValue(const ExpressionStep& step, double left, double right)
{
    double result[3]{};
    runStep(step, std::integral_constant<int, 1>(),
            [&](auto body) { body(0, &left, &right, result); });
    return result[0];
}

// Runs the program at each of xs, each point on series of its own, step by
// step over all of the points: each step's kind is looked up once for all
// of them, and their independent chains of operations overlap. Point p's
// series begin at the pointer returned plus p * count * n. A span of fixed
// extent (one point) lets the compiler drop the loops over the points.
template <typename Count, std::size_t extent>
const double* runProgram(const std::vector<ExpressionStep>& steps, const std::vector<int>& start,
                         int count, std::span<const double, extent> xs, Count n)
{
    std::vector<double>& store = seriesStore();
    const std::size_t stride = static_cast<std::size_t>(count) * static_cast<std::size_t>(n);
    if (store.size() < xs.size() * stride)
        store.resize(xs.size() * stride);
    const auto offset = [&](int slot) {
        return static_cast<std::size_t>(start[static_cast<std::size_t>(slot)]) *
               static_cast<std::size_t>(n);
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const ExpressionStep& step = steps[i];
        const std::size_t a = offset(step.left);
        const std::size_t b = offset(step.right);
        const std::size_t r = offset(static_cast<int>(i));
        runStep(step, n, [&](auto body) {
            for (std::size_t p = 0; p < xs.size(); ++p) {
                double* own = store.data() + p * stride;
                body(xs[p], own + a, own + b, own + r);
            }
        });
    }
    return store.data();
}

// The program's result at the one point x.
template <typename Count>
const double* resultAt(const std::vector<ExpressionStep>& steps, const std::vector<int>& start,
                       int count, double x, Count n)
{
    return runProgram(steps, start, count, std::span<const double, 1>(&x, 1), n) +
           static_cast<std::size_t>(start.back()) * static_cast<std::size_t>(n);
}

double Expression::value(double x) const
{
    return *resultAt(steps_, seriesStart_, seriesCount_, x, std::integral_constant<int, 1>());
}

FunctionValues Expression::values(double x) const
{
    const double* series =
        resultAt(steps_, seriesStart_, seriesCount_, x, std::integral_constant<int, 3>());
    return {series[0], series[1], 2 * series[2]};
}

void Expression::values(std::span<const double> xs, std::span<FunctionValues> out) const
{
    // Enough points for their chains to overlap, few enough for their
    // series to stay in the fastest cache.
    constexpr std::size_t kBlock = 32;
    constexpr std::integral_constant<int, 3> n;
    const std::size_t stride = static_cast<std::size_t>(seriesCount_) * n;
    const std::size_t result = static_cast<std::size_t>(seriesStart_.back()) * n;
    for (std::size_t first = 0; first < xs.size(); first += kBlock) {
        const std::span<const double> block = xs.subspan(first, std::min(kBlock, xs.size() - first));
        const double* store = runProgram(steps_, seriesStart_, seriesCount_, block, n);
        for (std::size_t p = 0; p < block.size(); ++p) {
            const double* series = store + p * stride + result;
            out[first + p] = {series[0], series[1], 2 * series[2]};
        }
    }
}

std::vector<double> Expression::taylor(double x, int order) const
{
    const int n = std::clamp(order, 0, kTaylorMaxOrder) + 1;
    const double* series = resultAt(steps_, seriesStart_, seriesCount_, x, n);
    return std::vector<double>(series, series + n);
}

std::string Expression::notFiniteReason(double x) const
{
    if (std::isfinite(
            *resultAt(steps_, seriesStart_, seriesCount_, x, std::integral_constant<int, 1>())))
        return {};
    const std::vector<double>& store = seriesStore();
    const auto valueOf = [&](int slot) {
        return store[static_cast<std::size_t>(seriesStart_[static_cast<std::size_t>(slot)])];
    };
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        const double result = valueOf(static_cast<int>(i));
        if (std::isfinite(result))
            continue;
        const ExpressionStep& step = steps_[i];
        const std::string text = stepText(step, valueOf(step.left), valueOf(step.right));
        return std::isnan(result) ? text + " is not a number" : text + " = " + numberText(result);
    }
    return {};
}

}  // namespace tarvel
