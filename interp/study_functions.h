// The functions a student interpolates, each with its exact first and
// second derivative.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/capacities.h"

namespace tarvel {

enum class StudyFunctionId {
    Sine,        // sin(2 pi x)
    Cos10,       // cos^10(2 pi x)
    Polynomial,  // the main window's test polynomial (a0 + ... + an x^n) / (n + 1)
    Runge,       // 1 / (1 + 25 (2x - 1)^2)
    Abs,         // |2x - 1|; at x = 1/2 the right-hand derivatives (2 and 0)
    Expression,  // a function typed by the user
};

class Expression;

// The main window's two test functions as both windows name them.
inline constexpr std::string_view kSineName = "sin(2πx)";
inline constexpr std::string_view kCos10Name = "cos¹⁰(2πx)";
inline constexpr std::string_view kTestPolynomialName = "Test polynomial";
// The lab's two functions beside them.
inline constexpr std::string_view kRungeName = "Runge 1/(1 + 25(2x − 1)²)";
inline constexpr std::string_view kAbsName = "|2x − 1|";

// The test polynomial inside a sentence: "the test polynomial".
inline std::string theTestPolynomial()
{
    std::string text = "the " + std::string(kTestPolynomialName);
    text[4] = static_cast<char>(text[4] - 'A' + 'a');
    return text;
}

// Each function's key, in files and as item data: "sine", "cos10", ...
constexpr const char* studyFunctionKey(StudyFunctionId id)
{
    constexpr std::array<const char*, 6> kKeys = {"sine",  "cos10", "polynomial",
                                                  "runge", "abs",   "expression"};
    return kKeys[static_cast<std::size_t>(id)];
}

// The test polynomial's entries, read exactly as the main window reads them:
// the terms k = 0, 1, ... while k <= degree (at most kPolyCapacity terms). The defaults
// are the main window's default texts.
struct PolynomialEntries {
    double degree = 4;
    std::array<double, kPolyCapacity> coefs = {1, 1, 1, 1, 1};
};

struct StudyFunction {
    StudyFunction() = default;
    StudyFunction(StudyFunctionId function, PolynomialEntries entries = {},
                  std::shared_ptr<const Expression> typed = nullptr)
        : id(function), polynomial(entries), expression(std::move(typed))
    {
    }

    StudyFunctionId id = StudyFunctionId::Runge;
    PolynomialEntries polynomial;  // used by Polynomial only
    std::shared_ptr<const Expression> expression;  // used by Expression only
};

// The formula of a study function with a fixed one, written as a typed
// function is, so that what a typed function offers (its Taylor series)
// comes from the same program; nullptr for the others.
const char* studyFunctionFormula(StudyFunctionId id);

// f(x), f'(x), f''(x).
struct FunctionValues {
    double value = 0;
    double first = 0;
    double second = 0;
};

FunctionValues evaluateFunction(const StudyFunction& function, double x);
// The same at each of xs: a typed function runs its program over all of
// them at once, which is quicker and gives the same bits.
std::vector<FunctionValues> evaluateFunction(const StudyFunction& function,
                                             std::span<const double> xs);

// f(x) alone: evaluateFunction(function, x).value without the derivatives.
double functionValue(const StudyFunction& function, double x);
// f alone at each of xs: the values a method is built from at its nodes.
std::vector<double> functionValues(const StudyFunction& function, std::span<const double> xs);

// 2 pi as the main window forms its TwoPi: 4 atan(1), doubled.
extern const double kTwoPi;

// The main window's test functions at x, bit for bit the values its OK
// command samples: sin(twoPi x), cos^10(twoPi x) and the test polynomial.
// The main window passes its own TwoPi, which is kTwoPi once it has loaded.
double sineValue(double x, double twoPi = kTwoPi);
double cos10Value(double x, double twoPi = kTwoPi);
double testPolynomialValue(const PolynomialEntries& entries, double x);

}  // namespace tarvel
