// The study functions and their exact derivatives, written out by hand:
//   cos10:  f' = -20 pi c^9 s,  f'' = 40 pi^2 (9 c^8 s^2 - c^10)  (c, s of 2 pi x)
//   runge:  with u = 2x - 1, g = 1 / (1 + 25 u^2):
//           f' = -100 u g^2,    f'' = g^3 (15000 u^2 - 200)
#include "interp/study_functions.h"

#include <cmath>
#include <cstddef>
#include <numbers>

#include "interp/expression.h"

namespace tarvel {
namespace {

FunctionValues sine(double x)
{
    const double angle = kTwoPi * x;
    return {sineValue(x), kTwoPi * std::cos(angle), -kTwoPi * kTwoPi * std::sin(angle)};
}

FunctionValues cos10(double x)
{
    const double c = std::cos(kTwoPi * x);
    const double s = std::sin(kTwoPi * x);
    const double c8 = std::pow(c, 8.0);
    return {cos10Value(x), -10 * kTwoPi * c8 * c * s,
            10 * kTwoPi * kTwoPi * (9 * c8 * s * s - c8 * c * c)};
}

FunctionValues polynomial(const PolynomialEntries& entries, double x)
{
    double first = 0;
    double second = 0;
    for (int k = 1; k <= entries.degree && k < kPolyCapacity; ++k) {
        const double a = entries.coefs[static_cast<std::size_t>(k)];
        first += k * a * std::pow(x, k - 1);
        if (k >= 2)
            second += k * (k - 1) * a * std::pow(x, k - 2);
    }
    const double terms = entries.degree + 1;
    return {testPolynomialValue(entries, x), first / terms, second / terms};
}

double rungeValue(double x)
{
    const double u = 2 * x - 1;
    return 1 / (1 + 25 * u * u);
}

double absValue(double x)
{
    return std::fabs(2 * x - 1);
}

FunctionValues runge(double x)
{
    const double u = 2 * x - 1;
    const double g = rungeValue(x);
    return {g, -100 * u * g * g, g * g * g * (15000 * u * u - 200)};
}

FunctionValues absolute(double x)
{
    const double u = 2 * x - 1;
    return {absValue(x), u >= 0 ? 2.0 : -2.0, 0.0};
}

}  // namespace

const double kTwoPi = std::atan(1.0) * 4.0 * 2;

const char* studyFunctionFormula(StudyFunctionId id)
{
    switch (id) {
    case StudyFunctionId::Sine:
        return "sin(2pi x)";
    case StudyFunctionId::Cos10:
        // Squares and products keep their digits where cos(2πx) is near 0;
        // the series of a whole power of it divides by that small value.
        return "((cos(2pi x)^2)^2)^2 cos(2pi x)^2";
    case StudyFunctionId::Runge:
        return "1/(1 + 25(2x - 1)^2)";
    case StudyFunctionId::Polynomial:
    case StudyFunctionId::Abs:
    case StudyFunctionId::Expression:
        break;
    }
    return nullptr;
}

double sineValue(double x, double twoPi)
{
    return std::sin(twoPi * x);
}

double cos10Value(double x, double twoPi)
{
    return std::pow(std::cos(twoPi * x), 10.0);
}

double testPolynomialValue(const PolynomialEntries& entries, double x)
{
    double sum = 0;
    for (int k = 0; k <= entries.degree && k < kPolyCapacity; ++k)
        sum = sum + entries.coefs[static_cast<std::size_t>(k)] * std::pow(x, k);
    return sum / (entries.degree + 1);
}

double functionValue(const StudyFunction& function, double x)
{
    switch (function.id) {
    case StudyFunctionId::Sine:
        return sineValue(x);
    case StudyFunctionId::Cos10:
        return cos10Value(x);
    case StudyFunctionId::Polynomial:
        return testPolynomialValue(function.polynomial, x);
    case StudyFunctionId::Runge:
        return rungeValue(x);
    case StudyFunctionId::Abs:
        return absValue(x);
    case StudyFunctionId::Expression:
        return function.expression->value(x);
    }
    return 0;
}

FunctionValues evaluateFunction(const StudyFunction& function, double x)
{
    switch (function.id) {
    case StudyFunctionId::Sine:
        return sine(x);
    case StudyFunctionId::Cos10:
        return cos10(x);
    case StudyFunctionId::Polynomial:
        return polynomial(function.polynomial, x);
    case StudyFunctionId::Runge:
        return runge(x);
    case StudyFunctionId::Abs:
        return absolute(x);
    case StudyFunctionId::Expression:
        return function.expression->values(x);
    }
    return {};
}

std::vector<FunctionValues> evaluateFunction(const StudyFunction& function,
                                             std::span<const double> xs)
{
    std::vector<FunctionValues> values(xs.size());
    if (function.id == StudyFunctionId::Expression) {
        function.expression->values(xs, values);
        return values;
    }
    for (std::size_t k = 0; k < xs.size(); ++k)
        values[k] = evaluateFunction(function, xs[k]);
    return values;
}

std::vector<double> functionValues(const StudyFunction& function, std::span<const double> xs)
{
    std::vector<double> values(xs.size());
    for (std::size_t k = 0; k < xs.size(); ++k)
        values[k] = functionValue(function, xs[k]);
    return values;
}

}  // namespace tarvel
