// The reading of a typed function: the text is cut into tokens with their
// columns, then read by recursive descent (the grammar is in expression.h)
// into a program whose constant parts are folded. A fault stops the reading
// with the column and what was expected there.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

#include "data/printable_text.h"
#include "interp/expression.h"

namespace tarvel {
namespace {

enum class Token { Number, Name, Plus, Minus, Times, Over, Caret, Open, Close, End, Fault };

struct Lexeme {
    Token kind = Token::End;
    int column = 0;
    std::string text;  // as typed
    double number = 0;
    std::string fault;  // why a Fault token is not read
};

struct Named {
    std::string_view name;
    ExpressionOp op;
};

constexpr std::array<Named, 15> kFunctions{{
    {"sin", ExpressionOp::Sin},
    {"cos", ExpressionOp::Cos},
    {"tan", ExpressionOp::Tan},
    {"asin", ExpressionOp::Asin},
    {"acos", ExpressionOp::Acos},
    {"atan", ExpressionOp::Atan},
    {"sinh", ExpressionOp::Sinh},
    {"cosh", ExpressionOp::Cosh},
    {"tanh", ExpressionOp::Tanh},
    {"exp", ExpressionOp::Exp},
    {"log", ExpressionOp::Log},
    {"ln", ExpressionOp::Log},
    {"log10", ExpressionOp::Log10},
    {"sqrt", ExpressionOp::Sqrt},
    {"abs", ExpressionOp::Abs},
}};

constexpr std::array<std::string_view, 4> kValueNames{"x", "pi", "π", "e"};

std::optional<ExpressionOp> functionNamed(std::string_view name)
{
    for (const Named& entry : kFunctions)
        if (entry.name == name)
            return entry.op;
    return std::nullopt;
}

bool isValueName(std::string_view name)
{
    return std::find(kValueNames.begin(), kValueNames.end(), name) != kValueNames.end();
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Edits (insert, delete, replace) from a to b, letters compared without case.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t replace = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, replace});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// What a student most likely meant by an unknown name: a function run into
// its argument ("sinx": sin(x)), a constant run into a name ("pix": pi x),
// or the known name a letter or two away ("sqr": sqrt).
std::string suggestionFor(std::string_view name)
{
    std::string_view longest;
    for (const Named& entry : kFunctions)
        if (name.size() > entry.name.size() && name.starts_with(entry.name) &&
            entry.name.size() > longest.size())
            longest = entry.name;
    if (!longest.empty())
        return std::string(longest) + "(" + std::string(name.substr(longest.size())) + ")";
    for (const std::string_view value : kValueNames) {
        const std::string_view rest = name.substr(std::min(name.size(), value.size()));
        if (name.starts_with(value) && (isValueName(rest) || functionNamed(rest)))
            return std::string(value) + " " + std::string(rest);
    }
    std::string_view nearest;
    std::size_t best = name.size() <= 3 ? 1 : 2;
    const auto consider = [&](std::string_view known) {
        const std::size_t distance = editDistance(name, known);
        if (distance <= best && (nearest.empty() || distance < best)) {
            nearest = known;
            best = distance;
        }
    };
    for (const std::string_view value : kValueNames)
        consider(value);
    for (const Named& entry : kFunctions)
        consider(entry.name);
    return std::string(nearest);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The length of the UTF-8 sequence at text[i], 1 for a byte that starts none.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0xC2   ? 1
                               : byte < 0xE0 ? 2
                               : byte < 0xF0 ? 3
                               : byte < 0xF5 ? 4
                                             : 1;
    if (length == 1 || i + length > text.size())
        return 1;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return length;
}

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += sequenceLength(text, i))
        ++count;
    return count;
}

std::size_t numberLength(std::string_view text, std::size_t i)
{
    std::size_t end = i;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    if (end < text.size() && text[end] == '.')
        for (++end; end < text.size() && isDigit(text[end]);)
            ++end;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t digits = end + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
            ++digits;
        if (digits < text.size() && isDigit(text[digits])) {
            end = digits;
            while (end < text.size() && isDigit(text[end]))
                ++end;
        }
    }
    return end - i;
}

Lexeme numberLexeme(std::string_view text, int column)
{
    Lexeme lexeme{Token::Number, column, std::string(text), 0, {}};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), lexeme.number,
                                              std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(lexeme.number)) {
        lexeme.kind = Token::Fault;
        lexeme.fault = "the number " + lexeme.text + " is beyond the range of numbers";
    }
    return lexeme;
}

std::optional<Token> symbolToken(std::string_view symbol)
{
    static constexpr std::array<std::pair<std::string_view, Token>, 10> kSymbols{{
        {"+", Token::Plus},
        {"-", Token::Minus},
        {"−", Token::Minus},
        {"*", Token::Times},
        {"×", Token::Times},
        {"·", Token::Times},
        {"/", Token::Over},
        {"^", Token::Caret},
        {"(", Token::Open},
        {")", Token::Close},
    }};
    for (const auto& [text, token] : kSymbols)
        if (text == symbol)
            return token;
    return std::nullopt;
}

std::vector<Lexeme> lexemesOf(std::string_view text)
{
    std::vector<Lexeme> lexemes;
    int column = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        std::size_t length = sequenceLength(text, i);
        const std::string_view piece = text.substr(i, length);
        if (c == ' ' || c == '\t') {
        } else if (isDigit(c) || (c == '.' && i + 1 < text.size() && isDigit(text[i + 1]))) {
            length = numberLength(text, i);
            lexemes.push_back(numberLexeme(text.substr(i, length), column));
        } else if (isNameStart(c)) {
            while (i + length < text.size() &&
                   (isNameStart(text[i + length]) || isDigit(text[i + length])))
                ++length;
            lexemes.push_back({Token::Name, column, std::string(text.substr(i, length)), 0, {}});
        } else if (piece == "π") {
            lexemes.push_back({Token::Name, column, std::string(piece), 0, {}});
        } else if (const std::optional<Token> symbol = symbolToken(piece)) {
            lexemes.push_back({*symbol, column, std::string(piece), 0, {}});
        } else {
            lexemes.push_back({Token::Fault, column, std::string(piece), 0,
                               "'" + isolatedText(piece, 8) + "' is not part of a formula"});
        }
        column += static_cast<int>(characterCount(text.substr(i, length)));
        i += length;
    }
    lexemes.push_back({Token::End, column, {}, 0, {}});
    return lexemes;
}

struct ParseFault {
    int column;
    std::string message;
};

class Parser {
public:
    explicit Parser(std::vector<Lexeme> lexemes) : lexemes_(std::move(lexemes)) {}

    std::vector<ExpressionStep> program()
    {
        sum();
        const Lexeme& next = current();
        if (next.kind == Token::Close)
            fail(next, "')' without a matching '('");
        if (next.kind != Token::End)
            fail(next, "an operator expected before '" + next.text + "'");
        return liveSteps();
    }

private:
    const Lexeme& current() const { return lexemes_[at_]; }
    const Lexeme& previous() const { return lexemes_[at_ - 1]; }
    bool next(Token kind) const { return current().kind == kind; }

    [[noreturn]] void fail(const Lexeme& at, std::string expected) const
    {
        throw ParseFault{at.column, at.kind == Token::Fault ? at.fault : std::move(expected)};
    }

    // Each level of parentheses, sign and exponent is one level deeper.
    void descend()
    {
        if (++depth_ > kExpressionMaxNesting)
            fail(current(), "the function is nested deeper than " +
                                std::to_string(kExpressionMaxNesting) + " levels");
    }

    int sum()
    {
        int left = product();
        while (next(Token::Plus) || next(Token::Minus)) {
            const ExpressionOp op = next(Token::Plus) ? ExpressionOp::Add : ExpressionOp::Subtract;
            ++at_;
            left = emit({op, left, product()});
        }
        return left;
    }

    // "2 sin(x)", "(x+1)(x-1)", "3pi x": a value followed by a name or "(".
    bool juxtaposed() const
    {
        const Token before = previous().kind;
        return (before == Token::Number || before == Token::Name || before == Token::Close) &&
               (next(Token::Name) || next(Token::Open));
    }

    int product()
    {
        int left = unary();
        while (true) {
            if (next(Token::Times) || next(Token::Over)) {
                const ExpressionOp op =
                    next(Token::Times) ? ExpressionOp::Multiply : ExpressionOp::Divide;
                ++at_;
                left = emit({op, left, unary()});
            } else if (juxtaposed()) {
                left = emit({ExpressionOp::Multiply, left, power()});
            } else {
                return left;
            }
        }
    }

    int unary()
    {
        if (!next(Token::Minus) && !next(Token::Plus))
            return power();
        const bool negate = next(Token::Minus);
        descend();
        ++at_;
        const int operand = unary();
        --depth_;
        return negate ? emit({ExpressionOp::Negate, operand}) : operand;
    }

    int power()
    {
        const int base = primary();
        if (!next(Token::Caret))
            return base;
        descend();
        ++at_;
        const int exponent = unary();
        --depth_;
        const ExpressionStep& raised = steps_[static_cast<std::size_t>(exponent)];
        if (raised.op != ExpressionOp::Constant)
            return emit({ExpressionOp::Power, base, exponent});
        const double c = raised.constant;
        const bool whole = std::fabs(c) <= 0x1p30 && c == std::trunc(c);
        return emit({whole ? ExpressionOp::PowerInteger : ExpressionOp::PowerConstant, base, 0, c});
    }

    int inParentheses(const Lexeme& opening)
    {
        descend();
        ++at_;
        const int inner = sum();
        --depth_;
        if (next(Token::End))
            fail(current(),
                 "')' expected to close the '(' at col " + std::to_string(opening.column));
        if (!next(Token::Close))
            fail(current(), "an operator or ')' expected before '" + current().text + "'");
        ++at_;
        return inner;
    }

    int primary()
    {
        const Lexeme& token = current();
        if (token.kind == Token::Number) {
            ++at_;
            return emit({ExpressionOp::Constant, 0, 0, token.number});
        }
        if (token.kind == Token::Open)
            return inParentheses(token);
        if (token.kind == Token::Name)
            return named(token);
        std::string expected = "a number, x, a name or '(' expected";
        if (at_ > 0)
            expected += " after '" + previous().text + "'";
        fail(token, std::move(expected));
    }

    int named(const Lexeme& token)
    {
        ++at_;
        if (token.text == "x")
            return emit({ExpressionOp::X});
        if (token.text == "pi" || token.text == "π")
            return emit({ExpressionOp::Constant, 0, 0, std::numbers::pi});
        if (token.text == "e")
            return emit({ExpressionOp::Constant, 0, 0, std::numbers::e});
        if (const std::optional<ExpressionOp> op = functionNamed(token.text)) {
            if (!next(Token::Open))
                fail(current(), "'(' expected after '" + token.text + "'");
            return emit({*op, inParentheses(current())});
        }
        std::string message = "'" + token.text + "' is not known";
        if (const std::string nearest = suggestionFor(token.text); !nearest.empty())
            message += "; did you mean " + nearest + "?";
        fail(token, std::move(message));
    }

    static bool binary(ExpressionOp op)
    {
        return op == ExpressionOp::Add || op == ExpressionOp::Subtract ||
               op == ExpressionOp::Multiply || op == ExpressionOp::Divide ||
               op == ExpressionOp::Power;
    }

    bool constantAt(int slot) const
    {
        return steps_[static_cast<std::size_t>(slot)].op == ExpressionOp::Constant;
    }

    static bool sameStep(const ExpressionStep& a, const ExpressionStep& b)
    {
        return a.op == b.op && a.left == b.left && a.right == b.right &&
               std::memcmp(&a.constant, &b.constant, sizeof a.constant) == 0;
    }

    // A step on constants becomes its constant when that is finite; a step
    // that is not finite stays, so that the refusal can name it. A step
    // the program already holds is not computed twice (x in "x^2 + x", the
    // square in "exp(-x^2) + x^2").
    int emit(ExpressionStep step)
    {
        const bool foldable = step.op != ExpressionOp::Constant && step.op != ExpressionOp::X &&
                              constantAt(step.left) && (!binary(step.op) || constantAt(step.right));
        if (foldable) {
            const double left = steps_[static_cast<std::size_t>(step.left)].constant;
            const double right =
                binary(step.op) ? steps_[static_cast<std::size_t>(step.right)].constant : 0;
            const double value = stepValue(step, left, right);
            if (std::isfinite(value))
                step = {ExpressionOp::Constant, 0, 0, value};
        }
        for (std::size_t i = 0; i < steps_.size(); ++i)
            if (sameStep(steps_[i], step))
                return static_cast<int>(i);
        steps_.push_back(step);
        return static_cast<int>(steps_.size()) - 1;
    }

    // The steps the result depends on, in their order: the operands of
    // folded steps and the exponents taken into their steps go.
    std::vector<ExpressionStep> liveSteps() const
    {
        std::vector<bool> live(steps_.size());
        live.back() = true;
        for (std::size_t i = steps_.size(); i-- > 0;) {
            const ExpressionStep& step = steps_[i];
            if (!live[i] || step.op == ExpressionOp::Constant || step.op == ExpressionOp::X)
                continue;
            live[static_cast<std::size_t>(step.left)] = true;
            if (binary(step.op))
                live[static_cast<std::size_t>(step.right)] = true;
        }
        std::vector<int> renumbered(steps_.size());
        std::vector<ExpressionStep> kept;
        for (std::size_t i = 0; i < steps_.size(); ++i) {
            if (!live[i])
                continue;
            ExpressionStep step = steps_[i];
            step.left = renumbered[static_cast<std::size_t>(step.left)];
            step.right = binary(step.op) ? renumbered[static_cast<std::size_t>(step.right)] : 0;
            renumbered[i] = static_cast<int>(kept.size());
            kept.push_back(step);
        }
        return kept;
    }

    std::vector<Lexeme> lexemes_;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::vector<ExpressionStep> steps_;
};

}  // namespace

ExpressionParse parseExpression(std::string_view text)
{
    const std::size_t length = characterCount(text);
    if (length > kExpressionMaxLength)
        return {nullptr, 0,
                "The function has " + std::to_string(length) + " characters; at most " +
                    std::to_string(kExpressionMaxLength) + " are read."};
    try {
        Parser parser(lexemesOf(text));
        return {std::make_shared<const Expression>(std::string(text), parser.program()), 0, {}};
    } catch (const ParseFault& fault) {
        return {nullptr, fault.column,
                "col " + std::to_string(fault.column) + ": " + fault.message};
    }
}

}  // namespace tarvel
