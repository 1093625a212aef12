// Reading and running typed functions: arbitrary bytes, and expressions
// built from the grammar out of the bytes. Nothing may crash or run away;
// a refusal points at a column inside the entry (or just after it); a
// function that is read gives the same f(x) alone, with its derivatives
// (at one point and at several at once) and as the first Taylor
// coefficients, and names a reason exactly where f(x) is not finite.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "interp/expression.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property, const std::string& text)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n  entry: \"%s\"\n", property, text.c_str());
    __builtin_trap();
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// An entry the grammar can read, mostly, with now and then a slip.
std::string builtEntry(FuzzedDataProvider& in, int depth)
{
    static const char* const kNames[] = {"sin",   "cos",  "tan",  "asin", "acos", "atan",
                                         "sinh",  "cosh", "tanh", "exp",  "log",  "ln",
                                         "log10", "sqrt", "abs",  "sinx", "x2"};
    static const char* const kOperators[] = {"+", "-", "*", "/", "^", " ", "×", "·", "−", ""};
    if (depth > 6 || in.remaining_bytes() == 0)
        return "x";
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
        return std::to_string(in.ConsumeIntegralInRange(-3, 40)) +
               (in.ConsumeBool() ? "." + std::to_string(in.ConsumeIntegralInRange(0, 99)) : "") +
               (in.ConsumeBool() ? "e" + std::to_string(in.ConsumeIntegralInRange(-320, 320)) : "");
    case 1:
        return in.PickValueInArray({"x", "pi", "π", "e", " x "});
    case 2:
        return "(" + builtEntry(in, depth + 1) + ")";
    case 3:
        return std::string(in.PickValueInArray(kNames)) + "(" + builtEntry(in, depth + 1) + ")";
    case 4:
        return "-" + builtEntry(in, depth + 1);
    case 5:
        return builtEntry(in, depth + 1) + "x";
    default:
        return builtEntry(in, depth + 1) + in.PickValueInArray(kOperators) +
               builtEntry(in, depth + 1);
    }
}

void check(const std::string& text, FuzzedDataProvider& in)
{
    const ExpressionParse parse = parseExpression(text);
    if (!parse.expression) {
        if (parse.refusal.empty())
            violated("a refusal says why", text);
        if (parse.column < 0 || static_cast<std::size_t>(parse.column) > text.size() + 1)
            violated("the column lies inside the entry or just after it", text);
        if (parse.column > 0 &&
            parse.refusal.rfind("col " + std::to_string(parse.column) + ": ", 0) != 0)
            violated("the refusal starts with its column", text);
        return;
    }
    const Expression& f = *parse.expression;
    const std::vector<double> xs = {0.0, 0.5, 1.0, in.ConsumeFloatingPointInRange(0.0, 1.0)};
    std::vector<FunctionValues> atOnce(xs.size());
    f.values(xs, atOnce);
    for (std::size_t k = 0; k < xs.size(); ++k) {
        const double x = xs[k];
        const double value = f.value(x);
        const FunctionValues values = f.values(x);
        if (!same(atOnce[k].value, values.value) || !same(atOnce[k].first, values.first) ||
            !same(atOnce[k].second, values.second))
            violated("f, f' and f'' at several points at once are those at each point", text);
        const std::vector<double> series =
            f.taylor(x, in.ConsumeIntegralInRange(0, kTaylorMaxOrder));
        if (!same(value, values.value) || !same(value, series.front()))
            violated("f(x) alone, with its derivatives and as a series agree", text);
        if (series.size() > 2 && !same(series[1], values.first))
            violated("f'(x) is the first Taylor coefficient", text);
        if (f.notFiniteReason(x).empty() != std::isfinite(value))
            violated("a reason is named exactly where f(x) is not finite", text);
    }
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        const std::string entry = tarvel::builtEntry(in, 0);
        tarvel::check(entry, in);
    } else {
        const std::string entry = in.ConsumeRandomLengthString(1200);
        tarvel::check(entry, in);
    }
    return 0;
}
