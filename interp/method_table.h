// The study methods as one table: each row says everything the program
// knows about a method — its key, its name, its colour, what it takes, its
// parameter and how it is built and evaluated. Everything that lists or
// offers the methods (the lab, the fuzzers, the benchmark) reads this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "interp/coef_table.h"

namespace tarvel {

// Nodes: from 2 up to this many, unless a method's row says otherwise.
inline constexpr int kMinStudyNodes = 2;
inline constexpr int kMaxStudyNodes = 1001;

enum class StudyMethod {
    Global,
    Local,
    Linear,
    Natural,
    Clamped,
    NotAKnot,
    Pw,
    Pchip,
    Akima,
    Makima,
    Steffen,
    Periodic,
    Fh,
    Trig,
    BSpline,
    Aaa,
};

inline constexpr std::size_t kStudyMethodCount = 16;

// A whole-number parameter of a method: its name for people, the name of
// its control in the lab, and the values it may take. Above n - 1 it is
// refused too (a degree needs that many more nodes).
struct MethodParameter {
    const char* name = nullptr;     // "degree", "blending degree d"
    const char* symbol = nullptr;   // before its value in a legend: "degree ", "d = "
    const char* control = nullptr;  // the lab's spin box
    int low = 0;
    int high = 0;
    int fallback = 0;  // the value before anyone chose one
    bool oddOnly = false;
};

// How the global polynomial is evaluated: the barycentric form, Lagrange's
// first form, Newton's form (nodes left to right), or monomial
// coefficients solved from the Vandermonde system. The same polynomial,
// with each form's own rounding.
enum class GlobalForm { Barycentric, First, Newton, Monomial };

// Each method's parameter, carried from the lab's control to every build.
// Methods without a parameter ignore their entry.
struct MethodParameters {
    MethodParameters();
    int of(StudyMethod method) const { return values[static_cast<std::size_t>(method)]; }
    void set(StudyMethod method, int value) { values[static_cast<std::size_t>(method)] = value; }
    std::array<int, kStudyMethodCount> values{};
    GlobalForm globalForm = GlobalForm::Barycentric;
    bool operator==(const MethodParameters&) const = default;
};

// What a method's own evaluation keeps from its build.
struct MethodData {
    int parameter = 0;
    std::vector<double> weights;
    std::vector<double> coefs;
    std::vector<double> knots;
};

// p, p' and p'' at one x.
struct PointValues {
    double value = 0;
    double first = 0;
    double second = 0;
};

// How a method becomes numbers.
enum class MethodForm {
    Global,  // barycentric polynomial through all nodes
    Local,   // the main window's windows
    Pieces,  // cubic pieces, from a slope rule (Hermite) or a piece rule
    Own,     // its own build and evaluation
};

using SlopeRule = bool (*)(std::span<const double> xs, std::span<const double> ys,
                           std::span<double> slopes);
struct PieceInput {
    std::span<const double> xs;
    std::span<const double> ys;
    double leftSlope = 0;  // for the methods that need the function's end slopes
    double rightSlope = 0;
};
using PieceRule = bool (*)(const PieceInput& input, std::span<CoefRow> rows);
using OwnBuild = bool (*)(std::span<const double> xs, std::span<const double> ys,
                          MethodData& data);
// p at x and, withSlopes, p' and p'' (0 otherwise).
using OwnAt = PointValues (*)(std::span<const double> xs, std::span<const double> ys,
                              const MethodData& data, double x, bool withSlopes);

struct StudyMethodRow {
    StudyMethod method = StudyMethod::Global;
    const char* key = nullptr;      // in controls' names, files and the numbers table
    const char* name = nullptr;     // for people: "Not-a-knot cubic spline"
    const char* subject = nullptr;  // begins a refusal: "The not-a-knot cubic spline"
    std::uint32_t colour = 0;       // 0xBBGGRR
    int minNodes = kMinStudyNodes;
    int maxNodes = kMaxStudyNodes;
    bool needsFunction = false;  // the function's end slopes
    bool periodic = false;       // y at the last node equals y at the first
    bool evenlySpaced = false;
    bool dividesByCubedWidths = false;
    // The curve is a sum of the node values times curves of the nodes alone
    // (the cardinal functions).
    bool linearInData = false;
    std::optional<MethodParameter> parameter;
    MethodForm form = MethodForm::Pieces;
    SlopeRule slopes = nullptr;  // Pieces: a Hermite method's slopes
    PieceRule pieces = nullptr;  // Pieces: the pieces themselves
    OwnBuild build = nullptr;    // Own
    OwnAt at = nullptr;          // Own
};

const StudyMethodRow& methodRow(StudyMethod method);
std::span<const StudyMethodRow> methodRows();

inline constexpr std::array<StudyMethod, kStudyMethodCount> kStudyMethods = [] {
    std::array<StudyMethod, kStudyMethodCount> methods{};
    for (std::size_t i = 0; i < methods.size(); ++i)
        methods[i] = static_cast<StudyMethod>(i);
    return methods;
}();

inline std::size_t methodIndex(StudyMethod method)
{
    return static_cast<std::size_t>(method);
}

}  // namespace tarvel
