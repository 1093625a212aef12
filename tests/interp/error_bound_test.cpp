// Why interpolation errs as it does: the error of the polynomial through n
// nodes stays under max|f⁽ⁿ⁾|/n! · |ω(x)|, Chebyshev roots give ω its least
// largest value 2¹⁻²ⁿ, and each node's cardinal function sums in magnitude
// to the Lebesgue function.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "interp/cardinal.h"
#include "interp/error_bound.h"
#include "interp/error_figures.h"
#include "interp/expression.h"
#include "interp/nodes.h"

namespace tarvel {
namespace {

struct BandCase {
    std::string name;
    StudyFunction f;
};

std::vector<BandCase> bandCases()
{
    std::vector<BandCase> cases = {
        {"sine", StudyFunction(StudyFunctionId::Sine)},
        {"cos10", StudyFunction(StudyFunctionId::Cos10)},
        {"test polynomial", StudyFunction(StudyFunctionId::Polynomial)},
        {"runge", StudyFunction(StudyFunctionId::Runge)},
    };
    for (const char* typed : {"exp(x) sin(10x)", "1/(1.1 - x)", "sqrt(x + 0.05)", "tanh(20(x - 0.4))",
                              "abs(x + 1) x^3", "log(2 + cos(7x))",
                              "cos(2pi x)^10"})
        cases.push_back(
            {typed, StudyFunction(StudyFunctionId::Expression, {}, parseExpression(typed).expression)});
    return cases;
}

// The bound holds for exact numbers; the computed error also holds the
// rounding of the values, amplified by the Lebesgue constant.
double roundingAllowance(const Interpolant& p)
{
    double largest = 0;
    for (const double y : p.ys())
        largest = std::max(largest, std::fabs(y));
    return 64 * std::numeric_limits<double>::epsilon() * (lebesgueConstant(p)->value + 1) *
           largest;
}

TEST(ErrorBound, TheErrorStaysUnderTheBandForStudyAndTypedFunctions)
{
    const std::vector<double>& grid = errorGrid();
    std::vector<double> values(grid.size());
    for (const BandCase& c : bandCases()) {
        const std::vector<double> exact = valuesOnGrid(c.f);
        for (const NodeFamily family : {NodeFamily::Equispaced, NodeFamily::Lobatto, NodeFamily::Gauss})
            for (const int n : {2, 5, 11, 24, 40}) {
                SCOPED_TRACE(c.name + " at n = " + std::to_string(n) + ", family " +
                             std::to_string(static_cast<int>(family)));
                const std::vector<double> xs = familyNodes(family, n);
                std::vector<double> ys;
                for (const double x : xs)
                    ys.push_back(functionValue(c.f, x));
                for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Local}) {
                    MethodSettings settings;
                    settings.parameters.set(StudyMethod::Local, std::min(3, n - 1));
                    const Interpolant p = *buildInterpolant(method, xs, ys, settings).interpolant;
                    const int order = method == StudyMethod::Global ? n : p.parameter() + 1;
                    const DerivativeMaximum m = taylorCoefficientMaximum(c.f, order);
                    ASSERT_EQ(m.problem, DerivativeProblem::None);
                    const double allowance = roundingAllowance(p);
                    p.evaluate(grid, values);
                    for (std::size_t k = 0; k < grid.size(); ++k) {
                        const ScaledNumber omega = method == StudyMethod::Global
                                                       ? nodePolynomial(xs, grid[k])
                                                       : windowNodePolynomial(p, grid[k]);
                        const double band = m.value * std::fabs(omega.value());
                        ASSERT_LE(std::fabs(values[k] - exact[k]), band + allowance)
                            << "x = " << grid[k] << " " << studyMethodKey(method);
                    }
                }
            }
    }
}

// The formula is read for the Taylor series, the kernel gives the values:
// the two must be one function.
TEST(StudyFunctions, EachFormulaHasItsKernelsValueAndDerivatives)
{
    for (const StudyFunctionId id :
         {StudyFunctionId::Sine, StudyFunctionId::Cos10, StudyFunctionId::Runge}) {
        SCOPED_TRACE(studyFunctionKey(id));
        const std::shared_ptr<const Expression> formula =
            parseExpression(studyFunctionFormula(id)).expression;
        ASSERT_TRUE(formula);
        for (const double x : {0.0, 0.13, 0.37, 0.5, 0.71, 1.0}) {
            const FunctionValues kernel = evaluateFunction(StudyFunction(id), x);
            const FunctionValues typed = formula->values(x);
            const auto near = [](double a, double b, double scale) {
                return std::fabs(a - b) <= 1e-12 * scale;
            };
            EXPECT_TRUE(near(typed.value, kernel.value, 1)) << x;
            EXPECT_TRUE(near(typed.first, kernel.first, 100)) << x;
            EXPECT_TRUE(near(typed.second, kernel.second, 10000)) << x;
        }
    }
}

TEST(ErrorBound, ACoefficientWithoutDerivativesOrBeyondTheSeriesIsRefused)
{
    const auto typed = [](const char* text) {
        return StudyFunction(StudyFunctionId::Expression, {}, parseExpression(text).expression);
    };
    struct Case {
        const char* name;
        StudyFunction f;
        int order;
        DerivativeProblem problem;
        double at;
    };
    const Case cases[] = {
        {"|2x − 1|", StudyFunction(StudyFunctionId::Abs), 3, DerivativeProblem::Kink, 0.5},
        {"a typed kink", typed("abs(x - 0.3) + x"), 3, DerivativeProblem::Kink, 0.3},
        {"an infinite slope", typed("sqrt(x)"), 2, DerivativeProblem::NotFinite, 0},
        {"order 65", StudyFunction(StudyFunctionId::Sine), 65, DerivativeProblem::OrderTooHigh, 0},
        {"order 64 is taken", StudyFunction(StudyFunctionId::Sine), 64, DerivativeProblem::None, 0},
        {"abs without a sign change", typed("abs(x + 1)"), 3, DerivativeProblem::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DerivativeMaximum m = taylorCoefficientMaximum(c.f, c.order);
        EXPECT_EQ(m.problem, c.problem);
        EXPECT_NEAR(m.at, c.at, 1e-3);
    }
    // The sine's coefficient is (2π)ⁿ/n! in closed form.
    const DerivativeMaximum sine = taylorCoefficientMaximum(StudyFunction(StudyFunctionId::Sine), 11);
    EXPECT_NEAR(sine.value, std::pow(2 * M_PI, 11) / 39916800.0, 1e-12 * sine.value);
}

TEST(ErrorBound, ChebyshevRootsGiveOmegaItsLeastLargestValue)
{
    const auto largestDecade = [](const std::vector<double>& xs) {
        double best = -std::numeric_limits<double>::infinity();
        for (int k = 0; k < kBoundGridPoints; ++k)
            best = std::max(best, nodePolynomial(xs, k / 2000.0).log10Magnitude());
        return best;
    };
    for (const int n : {5, 10, 40, 1001}) {
        SCOPED_TRACE(n);
        const double level = (1 - 2 * n) * std::log10(2.0);
        EXPECT_NEAR(largestDecade(familyNodes(NodeFamily::Gauss, n)), level, 1e-3);
        EXPECT_GT(largestDecade(familyNodes(NodeFamily::Equispaced, n)), level + 0.02 * n);
    }
    // One factor at a time, as a double would give it where it can.
    const std::vector<double> xs = {0.1, 0.5, 0.75};
    EXPECT_DOUBLE_EQ(nodePolynomial(xs, 0.3).value(), (0.3 - 0.1) * (0.3 - 0.5) * (0.3 - 0.75));
    EXPECT_EQ(nodePolynomial(xs, 0.5).value(), 0);
}

struct ScaledCase {
    std::string name;
    std::vector<double> factors;
    int repeats;
    double log10Magnitude;
    double value;
    bool asPlain;  // a double holds every step: the same bits as the plain product
};

TEST(ScaledNumber, ProductsBeyondTheDoublesKeepTheirDecadeAndANormalisedMantissa)
{
    const std::vector<ScaledCase> cases = {
        {"ThousandSmallFactors", {1e-3}, 1000, -3000, 0, false},
        {"ThousandLargeFactors", {-1e3}, 1000, 3000, INFINITY, false},
        {"ExtremeFactorsThatCancel", {1e300, 1e-310, 1e10}, 3, 0, 1, false},
        {"PlainProduct", {0.3, -0.7, 1.9}, 5, 5 * std::log10(0.3 * 0.7 * 1.9),
         std::pow(0.3 * -0.7 * 1.9, 5), true},
        {"AZeroFactor", {2, 0, 3}, 2, -INFINITY, 0, true},
    };
    for (const ScaledCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScaledNumber product;
        double plain = 1;
        for (int r = 0; r < c.repeats; ++r)
            for (const double factor : c.factors) {
                product.multiply(factor);
                plain *= factor;
            }
        if (std::isfinite(c.log10Magnitude)) {
            EXPECT_NEAR(product.log10Magnitude(), c.log10Magnitude, 1e-9);
        } else {
            EXPECT_EQ(product.log10Magnitude(), c.log10Magnitude);
        }
        if (std::isfinite(c.value)) {
            EXPECT_NEAR(product.value(), c.value, 1e-12 * std::fabs(c.value));
        } else {
            EXPECT_EQ(product.value(), c.value);
        }
        const ScaledNumber::Parts parts = product.normalised();
        if (parts.mantissa != 0) {
            EXPECT_GE(std::fabs(parts.mantissa), 0.5);
            EXPECT_LT(std::fabs(parts.mantissa), 1);
        }
        EXPECT_EQ(std::ldexp(parts.mantissa, parts.exponent), product.value());
        if (c.asPlain) {
            EXPECT_EQ(product.value(), plain);
        }
    }
}

TEST(Cardinal, TheMagnitudesOfEveryNodesCurveSumToTheLebesgueFunction)
{
    std::vector<double> at;
    for (int k = 0; k <= 500; ++k)
        at.push_back(k / 500.0);
    for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Local, StudyMethod::Fh})
        for (const NodeFamily family : {NodeFamily::Equispaced, NodeFamily::Lobatto})
            for (const int n : {7, 21, 101}) {
                SCOPED_TRACE(std::string(studyMethodKey(method)) + " n = " + std::to_string(n));
                const std::vector<double> xs = familyNodes(family, n);
                MethodParameters parameters;
                parameters.set(StudyMethod::Local, 3);
                std::vector<double> sum(at.size(), 0.0);
                std::vector<double> curve(at.size());
                for (std::size_t j = 0; j < xs.size(); ++j) {
                    ASSERT_TRUE(cardinalCurve(method, xs, j, parameters, at, curve));
                    for (std::size_t k = 0; k < at.size(); ++k)
                        sum[k] += std::fabs(curve[k]);
                }
                MethodSettings settings;
                settings.parameters = parameters;
                const Interpolant p = *buildInterpolant(method, xs, xs, settings).interpolant;
                std::vector<double> lebesgue(at.size());
                ASSERT_TRUE(lebesgueFunction(p, at, lebesgue));
                for (std::size_t k = 0; k < at.size(); ++k)
                    ASSERT_NEAR(sum[k], lebesgue[k], 1e-11 * lebesgue[k]) << "x = " << at[k];
            }
}

TEST(Cardinal, EachLinearMethodGivesOneAtItsNodeAndPeriodicOnesJoinTheEnds)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 9);
    for (const StudyMethodRow& row : methodRows()) {
        if (!row.linearInData)
            continue;
        SCOPED_TRACE(row.key);
        for (const std::size_t j : {std::size_t{0}, std::size_t{4}, std::size_t{8}}) {
            std::vector<double> atNodes(xs.size());
            ASSERT_TRUE(cardinalCurve(row.method, xs, j, MethodParameters(), xs, atNodes));
            const bool joined = row.periodic && (j == 0 || j == 8);
            for (std::size_t i = 0; i < xs.size(); ++i)
                EXPECT_NEAR(atNodes[i], i == j || (joined && (i == 0 || i == 8)) ? 1.0 : 0.0, 1e-12)
                    << i;
        }
    }
    for (const StudyMethod shape : {StudyMethod::Pw, StudyMethod::Pchip, StudyMethod::Akima,
                                    StudyMethod::Makima, StudyMethod::Steffen})
        EXPECT_FALSE(linearInData(shape)) << studyMethodKey(shape);
}

}  // namespace
}  // namespace tarvel
