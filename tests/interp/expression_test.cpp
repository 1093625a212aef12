// Typed functions: what each entry means (precedence, implicit products,
// every function) with its derivatives written out by hand, the refusals
// with their columns, and the Taylor coefficients against known series.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "interp/expression.h"
#include "support/exact_bits.h"

namespace tarvel {
namespace {

using Values = std::function<FunctionValues(double)>;

struct GoodEntry {
    const char* text;
    Values exact;  // f, f', f'' written out by hand
};

std::shared_ptr<const Expression> parsed(std::string_view text)
{
    ExpressionParse parse = parseExpression(text);
    EXPECT_TRUE(parse.expression) << text << ": " << parse.refusal;
    return parse.expression;
}

// Agreement to a few units of rounding of the larger of the two.
void expectClose(double expected, double actual, const std::string& what)
{
    const double tolerance = 64 * std::numeric_limits<double>::epsilon() *
                             std::max({1.0, std::fabs(expected), std::fabs(actual)});
    EXPECT_NEAR(expected, actual, tolerance) << what;
}

const double pi = std::numbers::pi;

const std::vector<GoodEntry> kGoodEntries = {
    {"2.5",
     [](double) {
         return FunctionValues{2.5, 0, 0};
     }},
    {"1e-3 x",
     [](double x) {
         return FunctionValues{1e-3 * x, 1e-3, 0};
     }},
    {"1 + 2*x - x/4",
     [](double x) {
         return FunctionValues{1 + 2 * x - x / 4, 1.75, 0};
     }},
    {"-x^2",
     [](double x) {
         return FunctionValues{-x * x, -2 * x, -2};
     }},
    {"2^-x",
     [](double x) {
         const double v = std::pow(2, -x);
         const double l = std::log(2.0);
         return FunctionValues{v, -l * v, l * l * v};
     }},
    {"2^3^2 + 0x",
     [](double) {
         return FunctionValues{512, 0, 0};
     }},
    {"2^x + x^2 + sin(x^2)",
     [](double x) {
         const double l = std::log(2.0);
         const double v = std::pow(2, x);
         const double s = std::sin(x * x);
         const double c = std::cos(x * x);
         return FunctionValues{v + x * x + s, l * v + 2 * x + 2 * x * c,
                               l * l * v + 2 + 2 * c - 4 * x * x * s};
     }},
    {"x^3",
     [](double x) {
         return FunctionValues{x * x * x, 3 * x * x, 6 * x};
     }},
    {"x^-1",
     [](double x) {
         return FunctionValues{1 / x, -1 / (x * x), 2 / (x * x * x)};
     }},
    {"x^1.5",
     [](double x) {
         return FunctionValues{std::pow(x, 1.5), 1.5 * std::sqrt(x), 0.75 / std::sqrt(x)};
     }},
    {"x^x",
     [](double x) {
         const double v = std::pow(x, x);
         const double g = std::log(x) + 1;
         return FunctionValues{v, v * g, v * (g * g + 1 / x)};
     }},
    {"10x",
     [](double x) {
         return FunctionValues{10 * x, 10, 0};
     }},
    {"2 sin(x)",
     [](double x) {
         return FunctionValues{2 * std::sin(x), 2 * std::cos(x), -2 * std::sin(x)};
     }},
    {"3pi x",
     [](double x) {
         return FunctionValues{3 * pi * x, 3 * pi, 0};
     }},
    {"(x+1)(x-1)",
     [](double x) {
         return FunctionValues{x * x - 1, 2 * x, 2};
     }},
    {"x sin(x)",
     [](double x) {
         return FunctionValues{x * std::sin(x), std::sin(x) + x * std::cos(x),
                               2 * std::cos(x) - x * std::sin(x)};
     }},
    {"x(x+1)",
     [](double x) {
         return FunctionValues{x * x + x, 2 * x + 1, 2};
     }},
    {"2x^2",
     [](double x) {
         return FunctionValues{2 * x * x, 4 * x, 4};
     }},
    {"1/2x",
     [](double x) {
         return FunctionValues{x / 2, 0.5, 0};
     }},
    {"π − e·x × 2",
     [](double x) {
         return FunctionValues{pi - std::numbers::e * x * 2, -2 * std::numbers::e, 0};
     }},
    {"cos(3x)",
     [](double x) {
         return FunctionValues{std::cos(3 * x), -3 * std::sin(3 * x), -9 * std::cos(3 * x)};
     }},
    {"tan(x)",
     [](double x) {
         const double t = std::tan(x);
         return FunctionValues{t, 1 + t * t, 2 * t * (1 + t * t)};
     }},
    {"asin(x)",
     [](double x) {
         const double w = 1 - x * x;
         return FunctionValues{std::asin(x), 1 / std::sqrt(w), x / (w * std::sqrt(w))};
     }},
    {"acos(x)",
     [](double x) {
         const double w = 1 - x * x;
         return FunctionValues{std::acos(x), -1 / std::sqrt(w), -x / (w * std::sqrt(w))};
     }},
    {"atan(2x)",
     [](double x) {
         const double d = 1 + 4 * x * x;
         return FunctionValues{std::atan(2 * x), 2 / d, -16 * x / (d * d)};
     }},
    {"sinh(x)",
     [](double x) {
         return FunctionValues{std::sinh(x), std::cosh(x), std::sinh(x)};
     }},
    {"cosh(x)",
     [](double x) {
         return FunctionValues{std::cosh(x), std::sinh(x), std::cosh(x)};
     }},
    {"tanh(x)",
     [](double x) {
         const double t = std::tanh(x);
         return FunctionValues{t, 1 - t * t, -2 * t * (1 - t * t)};
     }},
    {"exp(-x^2)",
     [](double x) {
         const double v = std::exp(-x * x);
         return FunctionValues{v, -2 * x * v, (4 * x * x - 2) * v};
     }},
    {"log(x)",
     [](double x) {
         return FunctionValues{std::log(x), 1 / x, -1 / (x * x)};
     }},
    {"ln(1+x)",
     [](double x) {
         return FunctionValues{std::log1p(x), 1 / (1 + x), -1 / ((1 + x) * (1 + x))};
     }},
    {"log10(x)",
     [](double x) {
         const double l = std::log(10.0);
         return FunctionValues{std::log10(x), 1 / (x * l), -1 / (x * x * l)};
     }},
    {"sqrt(x)",
     [](double x) {
         return FunctionValues{std::sqrt(x), 0.5 / std::sqrt(x), -0.25 / (x * std::sqrt(x))};
     }},
    {"abs(x - 0.5)",
     [](double x) {
         return FunctionValues{std::fabs(x - 0.5), x < 0.5 ? -1.0 : 1.0, 0};
     }},
    {"1/(1+25x^2)",
     [](double x) {
         const double d = 1 + 25 * x * x;
         return FunctionValues{1 / d, -50 * x / (d * d), (3750 * x * x - 50) / (d * d * d)};
     }},
    {"exp(x) sin(10x)",
     [](double x) {
         const double e = std::exp(x);
         const double s = std::sin(10 * x);
         const double c = std::cos(10 * x);
         return FunctionValues{e * s, e * (s + 10 * c), e * (20 * c - 99 * s)};
     }},
};

TEST(Expression, EachEntryGivesItsValueAndExactDerivatives)
{
    for (const GoodEntry& entry : kGoodEntries) {
        const std::shared_ptr<const Expression> f = parsed(entry.text);
        if (!f)
            continue;
        for (const double x : {0.1, 0.3, 0.7, 0.95}) {
            const FunctionValues expected = entry.exact(x);
            const FunctionValues got = f->values(x);
            const std::string where = std::string(entry.text) + " at x = " + std::to_string(x);
            expectClose(expected.value, got.value, where + ": f");
            expectClose(expected.first, got.first, where + ": f'");
            expectClose(expected.second, got.second, where + ": f''");
            EXPECT_EQ(got.value, f->value(x)) << where << ": value alone";
        }
    }
}

// To the bit, -0 included; IEEE leaves the sign of a NaN made of 0·∞ open,
// so any NaN is as good as another.
::testing::AssertionResult sameNumber(double actual, double expected)
{
    if (std::isnan(actual) && std::isnan(expected))
        return ::testing::AssertionSuccess();
    return support::sameBitsAs(actual, expected);
}

// Many points at once go another way through the program (unrolled, step
// by step over blocks of points); f, f' and f'' stay those of one point
// and of the plain order-2 Taylor series.
TEST(Expression, ValuesAtManyPointsAreBitForBitThoseAtEachPoint)
{
    std::vector<double> xs = {-0.0, 0.0, 1e-310, 0.5, 1, 2, -3, INFINITY, -INFINITY, NAN};
    for (int k = 0; xs.size() < 101; ++k)
        xs.push_back(k / 89.0);
    std::vector<std::string> texts = {"log(x)", "1/x", "sqrt(x-0.5)", "(-x)^13", "x^x", "x^-2.5"};
    for (const GoodEntry& entry : kGoodEntries)
        texts.push_back(entry.text);
    for (const std::string& text : texts) {
        const std::shared_ptr<const Expression> f = parsed(text);
        if (!f)
            continue;
        std::vector<FunctionValues> many(xs.size());
        f->values(xs, many);
        for (std::size_t k = 0; k < xs.size(); ++k) {
            SCOPED_TRACE(text + " at x = " + support::hexFloat(xs[k]));
            const FunctionValues one = f->values(xs[k]);
            const std::vector<double> series = f->taylor(xs[k], 2);
            EXPECT_TRUE(sameNumber(many[k].value, one.value));
            EXPECT_TRUE(sameNumber(many[k].first, one.first));
            EXPECT_TRUE(sameNumber(many[k].second, one.second));
            EXPECT_TRUE(sameNumber(one.value, series[0]));
            EXPECT_TRUE(sameNumber(one.first, series[1]));
            EXPECT_TRUE(sameNumber(one.second, 2 * series[2]));
        }
    }
    // sin and cos of one argument may be computed in one call: they stay
    // the library's own.
    const std::shared_ptr<const Expression> sine = parsed("sin(x)");
    const std::shared_ptr<const Expression> cosine = parsed("cos(x)");
    for (const double x : xs) {
        EXPECT_TRUE(support::sameBitsAs(sine->values(x).value, std::sin(x)));
        EXPECT_TRUE(support::sameBitsAs(cosine->values(x).value, std::cos(x)));
    }
}

TEST(Expression, WholePowersHaveTheirDerivativesWhereTheBaseIsZero)
{
    const std::shared_ptr<const Expression> f = parsed("x^2 + (x-0.5)^3");
    const FunctionValues at0 = f->values(0);
    EXPECT_EQ(at0.value, -0.125);
    EXPECT_EQ(at0.first, 0.75);
    EXPECT_EQ(at0.second, -1);
    const FunctionValues atHalf = f->values(0.5);
    EXPECT_EQ(atHalf.value, 0.25);
    EXPECT_EQ(atHalf.first, 1);
    EXPECT_EQ(atHalf.second, 2);
    // An odd power of a base that is -0 keeps its sign in every form, so
    // 1/(-x)^13 at 0 is -inf whichever way it is evaluated.
    const std::shared_ptr<const Expression> odd = parsed("(-x)^13");
    EXPECT_TRUE(std::signbit(odd->value(0)));
    EXPECT_TRUE(std::signbit(odd->values(0).value));
    EXPECT_TRUE(std::signbit(odd->taylor(0, 5).front()));
    // The zeroth power is 1 with no slope in every form, at every order of
    // the series, though the base's series (-x^3 here) reaches a term of
    // its own sign only at the third.
    const std::shared_ptr<const Expression> zeroth = parsed("abs(-x*x*x)^0");
    for (int order = 1; order <= 8; ++order) {
        const std::vector<double> series = zeroth->taylor(0, order);
        EXPECT_EQ(series.front(), 1) << order;
        EXPECT_TRUE(sameNumber(series[1], zeroth->values(0).first)) << order;
        EXPECT_FALSE(std::signbit(series[1])) << order;
    }
}

struct BadEntry {
    std::string text;
    int column;
    std::string message;
};

TEST(Expression, BadEntriesAreRefusedWithTheColumnAndWhatWasExpected)
{
    const std::vector<BadEntry> entries = {
        {"", 1, "col 1: a number, x, a name or '(' expected"},
        {"2 + 3*", 7, "col 7: a number, x, a name or '(' expected after '*'"},
        {"sinx", 1, "col 1: 'sinx' is not known; did you mean sin(x)?"},
        {"x2", 1, "col 1: 'x2' is not known; did you mean x?"},
        {"sqr(x)", 1, "col 1: 'sqr' is not known; did you mean sqrt?"},
        {"2 pix", 3, "col 3: 'pix' is not known; did you mean pi x?"},
        {"foo", 1, "col 1: 'foo' is not known"},
        {"sin x", 5, "col 5: '(' expected after 'sin'"},
        {"(x+1", 5, "col 5: ')' expected to close the '(' at col 1"},
        {"(x 2)", 4, "col 4: an operator or ')' expected before '2'"},
        {"x)", 2, "col 2: ')' without a matching '('"},
        {"2 3", 3, "col 3: an operator expected before '3'"},
        {"x $ 2", 3, "col 3: '$' is not part of a formula"},
        {"π×x·$", 5, "col 5: '$' is not part of a formula"},
        {"1e999x", 1, "col 1: the number 1e999 is beyond the range of numbers"},
        {"x^", 3, "col 3: a number, x, a name or '(' expected after '^'"},
        {"*x", 1, "col 1: a number, x, a name or '(' expected"},
        {"sin()", 5, "col 5: a number, x, a name or '(' expected after '('"},
        {std::string(101, '(') + "x" + std::string(101, ')'), 101,
         "col 101: the function is nested deeper than 100 levels"},
        {std::string(101, '-') + "x", 101,
         "col 101: the function is nested deeper than 100 levels"},
        {std::string(1001, ' '), 0, "The function has 1001 characters; at most 1000 are read."},
    };
    for (const BadEntry& entry : entries) {
        const ExpressionParse parse = parseExpression(entry.text);
        EXPECT_FALSE(parse.expression) << entry.text;
        EXPECT_EQ(parse.column, entry.column) << entry.text;
        EXPECT_EQ(parse.refusal, entry.message) << entry.text;
    }
}

TEST(Expression, TheLongestAndDeepestEntriesTakenAreRead)
{
    EXPECT_TRUE(parseExpression(std::string(100, '(') + "x" + std::string(100, ')')).expression);
    EXPECT_TRUE(parseExpression(std::string(999, ' ') + "x").expression);
    EXPECT_TRUE(parseExpression(std::string(997, ' ') + "π×x").expression);
}

TEST(Expression, ANotFiniteValueNamesTheStepThatMadeIt)
{
    const std::vector<std::tuple<const char*, double, const char*>> cases = {
        {"log(x)", 0, "log(0) = −∞"},
        {"1/(x-0.5)", 0.5, "1/0 = ∞"},
        {"sqrt(x-0.5)", 0.25, "sqrt(−0.25) is not a number"},
        {"sin(x)/x", 0, "0/0 is not a number"},
        {"exp(1000x)", 1, "exp(1000) = ∞"},
        {"(x-1)^-2 + 1", 1, "0^(−2) = ∞"},
        {"x + 1", 0.5, ""},
        {"exp(-1/x)", 0, ""},
    };
    for (const auto& [text, x, reason] : cases)
        EXPECT_EQ(parsed(text)->notFiniteReason(x), reason) << text;
}

// top choose k, for any top: C(-3, 2) = 6.
double binomial(double top, int k)
{
    double product = 1;
    for (int i = 0; i < k; ++i)
        product *= (top - i) / (i + 1);
    return product;
}

// Near 0.1, their differences from it exact; the farther one keeps the
// coefficients of a negative power below the largest double.
const double kNearTenth = 0.1 + 0x1p-30;
const double kFartherTenth = 0.1 + 0x1p-12;

struct KnownSeries {
    const char* text;
    double x;
    std::function<double(int)> coefficient;  // f^(k)(x)/k!
};

TEST(Expression, TaylorCoefficientsFollowTheKnownSeries)
{
    const std::vector<KnownSeries> series = {
        {"exp(x)", 0, [](int k) { return 1 / std::tgamma(k + 1.0); }},
        {"sin(x)", 0,
         [](int k) { return k % 2 == 0 ? 0 : (k % 4 == 1 ? 1 : -1) / std::tgamma(k + 1.0); }},
        {"1/(1+x)", 0, [](int k) { return k % 2 == 0 ? 1.0 : -1.0; }},
        {"1/(1+x)", 1, [](int k) { return (k % 2 == 0 ? 1.0 : -1.0) / std::pow(2.0, k + 1); }},
        {"atan(x)", 0, [](int k) { return k % 2 == 0 ? 0.0 : (k % 4 == 1 ? 1.0 : -1.0) / k; }},
        {"exp(2x)", 0.5,
         [](int k) { return std::exp(1.0) * std::pow(2.0, k) / std::tgamma(k + 1.0); }},
        {"x^3", 0, [](int k) { return k == 3 ? 1.0 : 0.0; }},
        // Whole powers of a base near but not at 0, whose series the
        // recurrence a r' = m a' r loses by dividing by the base.
        {"cos(2pi x)^10", 0.25,
         [written = parsed("cos(2pi x) cos(2pi x) cos(2pi x) cos(2pi x) cos(2pi x) cos(2pi x) "
                           "cos(2pi x) cos(2pi x) cos(2pi x) cos(2pi x)")
                        ->taylor(0.25, kTaylorMaxOrder)](int k) {
             return written[static_cast<std::size_t>(k)];
         }},
        {"((x - 0.1)(x + 1))^5", kNearTenth,
         [](int k) {
             double sum = 0;
             for (int j = std::max(0, k - 5); j <= std::min(k, 5); ++j)
                 sum += binomial(5, j) * std::pow(kNearTenth - 0.1, 5 - j) * binomial(5, k - j) *
                        std::pow(kNearTenth + 1, 5 - k + j);
             return sum;
         }},
        {"(x - 0.1)^-3", kFartherTenth,
         [](int k) { return binomial(-3, k) * std::pow(kFartherTenth - 0.1, -3 - k); }},
        {"(1 + x)^37", 0, [](int k) { return binomial(37, k); }},
    };
    for (const KnownSeries& known : series) {
        const std::vector<double> got = parsed(known.text)->taylor(known.x, kTaylorMaxOrder);
        ASSERT_EQ(got.size(), static_cast<std::size_t>(kTaylorMaxOrder + 1));
        for (int k = 0; k <= kTaylorMaxOrder; ++k)
            expectClose(known.coefficient(k), got[static_cast<std::size_t>(k)],
                        std::string(known.text) + " at " + std::to_string(known.x) +
                            ", k = " + std::to_string(k));
    }
}

TEST(Expression, TaylorCoefficientsOfOrderTwoAreTheDerivatives)
{
    const std::shared_ptr<const Expression> f = parsed("exp(-x^2)*sin(10x) + 1/(1+25x^2)");
    const std::vector<double> series = f->taylor(0.3, 2);
    const FunctionValues values = f->values(0.3);
    EXPECT_EQ(series, (std::vector<double>{values.value, values.first, values.second / 2}));
}

}  // namespace
}  // namespace tarvel
