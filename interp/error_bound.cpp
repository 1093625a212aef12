#include "interp/error_bound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "interp/error_figures.h"
#include "interp/expression.h"

namespace tarvel {
namespace {

double boundGridX(int k)
{
    return k / static_cast<double>(kBoundGridPoints - 1);
}

// The study functions that have a formula, read once as typed functions,
// so that their Taylor coefficients come from the same program.
const Expression* formulaOf(StudyFunctionId id)
{
    constexpr std::size_t kFunctions = static_cast<std::size_t>(StudyFunctionId::Expression) + 1;
    static const auto formulas = [] {
        std::array<std::shared_ptr<const Expression>, kFunctions> read;
        for (std::size_t i = 0; i < kFunctions; ++i)
            if (const char* formula = studyFunctionFormula(static_cast<StudyFunctionId>(i)))
                read[i] = parseExpression(formula).expression;
        return read;
    }();
    return formulas[static_cast<std::size_t>(id)].get();
}

// The test polynomial's n-th Taylor coefficient at x: the sum over its
// terms k >= n of C(k, n) a_k x^(k - n), over the number of terms.
double polynomialCoefficient(const PolynomialEntries& entries, int order, double x)
{
    double sum = 0;
    for (int k = order; k <= entries.degree && k < kPolyCapacity; ++k) {
        double binomial = 1;
        for (int i = 1; i <= order; ++i)
            binomial = binomial * (k - order + i) / i;
        sum += binomial * entries.coefs[static_cast<std::size_t>(k)] * std::pow(x, k - order);
    }
    return sum / (entries.degree + 1);
}

// The first grid x past a sign change of an abs(…) operand: there f's
// slope may jump. The operands are followed through the program's steps.
std::optional<double> kinkOf(const Expression& e)
{
    const std::vector<ExpressionStep>& steps = e.steps();
    std::vector<double> slots(steps.size());
    std::vector<int> lastSign(steps.size(), 0);
    for (int k = 0; k < kBoundGridPoints; ++k) {
        const double x = boundGridX(k);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const ExpressionStep& step = steps[i];
            const auto slot = [&](int s) { return slots[static_cast<std::size_t>(s)]; };
            slots[i] =
                step.op == ExpressionOp::X ? x : stepValue(step, slot(step.left), slot(step.right));
            if (step.op != ExpressionOp::Abs)
                continue;
            const double operand = slot(step.left);
            const int sign = operand > 0 ? 1 : operand < 0 ? -1 : 0;
            if (sign != 0 && lastSign[i] != 0 && sign != lastSign[i])
                return x;
            if (sign != 0)
                lastSign[i] = sign;
        }
    }
    return std::nullopt;
}

template <typename Coefficient> DerivativeMaximum gridMaximum(Coefficient coefficient)
{
    DerivativeMaximum best;
    for (int k = 0; k < kBoundGridPoints; ++k) {
        const double x = boundGridX(k);
        const double magnitude = std::fabs(coefficient(x));
        if (!std::isfinite(magnitude))
            return {DerivativeProblem::NotFinite, 0, 0, x};
        if (k == 0 || magnitude > best.value) {
            best.value = magnitude;
            best.x = x;
        }
    }
    return best;
}

}  // namespace

ScaledNumber nodePolynomial(std::span<const double> xs, double x)
{
    ScaledNumber product;
    for (const double node : xs)
        product.multiply(x - node);
    return product;
}

ScaledNumber windowNodePolynomial(const Interpolant& local, double x)
{
    const std::size_t start = localWindowStart(local, x);
    return nodePolynomial(
        local.xs().subspan(start, static_cast<std::size_t>(local.parameter()) + 1), x);
}

DerivativeMaximum taylorCoefficientMaximum(const StudyFunction& f, int order)
{
    if (order > kTaylorMaxOrder)
        return {DerivativeProblem::OrderTooHigh, 0, 0, 0};
    if (f.id == StudyFunctionId::Abs)
        return {DerivativeProblem::Kink, 0, 0, 0.5};
    if (f.id == StudyFunctionId::Polynomial)
        return gridMaximum([&](double x) { return polynomialCoefficient(f.polynomial, order, x); });
    const Expression* e =
        f.id == StudyFunctionId::Expression ? f.expression.get() : formulaOf(f.id);
    if (const std::optional<double> kink = kinkOf(*e))
        return {DerivativeProblem::Kink, 0, 0, *kink};
    return gridMaximum(
        [&](double x) { return e->taylor(x, order)[static_cast<std::size_t>(order)]; });
}

}  // namespace tarvel
