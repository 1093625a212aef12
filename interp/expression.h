// A function of x typed by the user: read by a recursive-descent parser into
// a flat program, which is run on truncated Taylor series. Run on series of
// three terms it gives f, f' and f'' exactly as automatic differentiation
// (forward mode); on longer ones, the Taylor coefficients f^(k)(x)/k!.
//
// The grammar, loosest binding first:
//   sum      = product { ("+" | "-") product }
//   product  = unary { ("*" | "/") unary | power }     juxtaposition, see below
//   unary    = ("-" | "+") unary | power
//   power    = primary [ "^" unary ]                   right-associative
//   primary  = number | "x" | "pi" | "π" | "e" | "(" sum ")" | function "(" sum ")"
// A product is implicit where a number, a constant, x or ")" is followed by
// a name, x or "(". "×" and "·" are read as "*", "−" (U+2212) as "-".
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interp/study_functions.h"

namespace tarvel {

inline constexpr std::size_t kExpressionMaxLength = 1000;  // characters
inline constexpr int kExpressionMaxNesting = 100;
inline constexpr int kTaylorMaxOrder = 64;

class Expression;

// The outcome of reading an entry: the function, or the refusal and the
// column (counted in characters from 1) it points at; column 0 when the
// refusal concerns the whole entry.
struct ExpressionParse {
    std::shared_ptr<const Expression> expression;
    int column = 0;
    std::string refusal;
};

ExpressionParse parseExpression(std::string_view text);

enum class ExpressionOp {
    Constant,
    X,
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    PowerInteger,   // a constant whole exponent
    PowerConstant,  // a constant exponent
    Power,          // an exponent that depends on x
    Sin,
    Cos,
    Tan,
    Asin,
    Acos,
    Atan,
    Sinh,
    Cosh,
    Tanh,
    Exp,
    Log,
    Log10,
    Sqrt,
    Abs,
};

// One step of the program: its result goes to the slot of its own index.
struct ExpressionStep {
    ExpressionOp op = ExpressionOp::Constant;
    int left = 0;  // operand slots
    int right = 0;
    double constant = 0;  // Constant, PowerInteger, PowerConstant
};

// The value of one step on constant operands, as the program computes it:
// the parser folds the constant parts of an entry with it.
double stepValue(const ExpressionStep& step, double left, double right);

class Expression {
public:
    Expression(std::string text, std::vector<ExpressionStep> steps);

    // The entry as typed.
    const std::string& text() const { return text_; }
    const std::vector<ExpressionStep>& steps() const { return steps_; }

    double value(double x) const;
    // f, f' and f''.
    FunctionValues values(double x) const;
    // The same at each of xs, bit for bit, into out (as long as xs).
    void values(std::span<const double> xs, std::span<FunctionValues> out) const;
    // f^(k)(x)/k! for k = 0 .. order (order at most kTaylorMaxOrder).
    std::vector<double> taylor(double x, int order) const;
    // Why f(x) is not finite, as the first step whose operands are finite
    // and its result is not ("log(0) = −∞"); empty when f(x) is finite,
    // even if a step on the way was not (exp(-1/x) at 0).
    std::string notFiniteReason(double x) const;

private:
    std::string text_;
    std::vector<ExpressionStep> steps_;
    // Where each step's series, and the series it works with, begin, in
    // series lengths.
    std::vector<int> seriesStart_;
    int seriesCount_ = 0;
};

}  // namespace tarvel
