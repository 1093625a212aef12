// The interpolation methods a student compares, each built once from nodes
// and values and then evaluated, with its first and second derivative, at
// any x. Pure numerics: no window, no list, no message box.
//
//   global    the polynomial of degree n - 1 through all nodes, barycentric
//             formula of the second kind
//   local     the main window's local Lagrange polynomial of a given degree,
//             with the main window's windows
//   linear    straight lines between the nodes
//   natural   the main window's natural cubic spline
//   clamped   the cubic spline with given end slopes
//   notaknot  the not-a-knot cubic spline (two nodes: the line; three: the
//             parabola)
//   pw        the main window's chord-bisector Hermite spline
//   pchip     the monotone piecewise cubic Hermite interpolant
//   akima     Akima's piecewise cubic Hermite interpolant
//
// Outside [xs.front(), xs.back()] the piecewise methods extend their end
// pieces; global and local extend their polynomials.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

enum class StudyMethod { Global, Local, Linear, Natural, Clamped, NotAKnot, Pw, Pchip, Akima };

inline constexpr std::array<StudyMethod, 9> kStudyMethods = {
    StudyMethod::Global,  StudyMethod::Local,    StudyMethod::Linear,
    StudyMethod::Natural, StudyMethod::Clamped,  StudyMethod::NotAKnot,
    StudyMethod::Pw,      StudyMethod::Pchip,    StudyMethod::Akima,
};

// The short key: "global", "local", "linear", "natural", "clamped",
// "notaknot", "pw", "pchip", "akima".
const char* studyMethodKey(StudyMethod method);

// A name for people, e.g. "Not-a-knot cubic spline".
const char* studyMethodName(StudyMethod method);

std::optional<StudyMethod> studyMethodFromKey(std::string_view key);

// Nodes: from 2 up to this many.
inline constexpr int kMinStudyNodes = 2;
inline constexpr int kMaxStudyNodes = 1001;

// What some methods need besides the nodes. Others ignore it.
struct MethodSettings {
    int localDegree = 3;     // local: 0 .. min(100, n - 1)
    double leftSlope = 0;    // clamped: p'(xs.front())
    double rightSlope = 0;   // clamped: p'(xs.back())
};

// p(x), p'(x), p''(x).
struct PointValues {
    double value = 0;
    double first = 0;
    double second = 0;
};

// One built interpolant. Cheap to move; evaluation is const and may run on
// several threads at once.
class Interpolant {
public:
    StudyMethod method() const { return method_; }
    std::span<const double> xs() const { return xs_; }
    std::span<const double> ys() const { return ys_; }
    int localDegree() const { return localDegree_; }  // local only

    // p, p' and p'' at x. At a node, value is the node's y exactly.
    PointValues at(double x) const;
    double value(double x) const;

    // Batched: p(x[k]) into value[k] and, when the spans are not empty,
    // p'(x[k]) into first[k] and p''(x[k]) into second[k]. Each non-empty
    // output must be at least as long as x. The same numbers as at().
    void evaluate(std::span<const double> x, std::span<double> value, std::span<double> first = {},
                  std::span<double> second = {}) const;

    // For global: the barycentric weights (scaled so that the largest has
    // magnitude 1). Empty for the other methods.
    std::span<const double> weights() const { return weights_; }

private:
    friend class InterpolantBuilder;
    StudyMethod method_ = StudyMethod::Linear;
    int localDegree_ = 0;
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::vector<double> weights_;  // global
    // global: p' and p'' at the nodes, computed when first asked for
    std::shared_ptr<struct NodeSlopes> nodeSlopes_;
    // Piecewise cubics: piece j on [xs[j], xs[j+1]] is
    // a + b t + c t^2 + d t^3 in t = x - xs[j], stored as 4 numbers a, b, c, d.
    std::vector<std::array<double, 4>> pieces_;
};

// Either the built interpolant, or the sentence that says why the nodes or
// the settings were refused (e.g. "The not-a-knot cubic spline needs
// distinct abscissae; nodes 3 and 4 both have x = 0.5."). Refused: fewer
// than 2 or more than 1001 nodes, xs and ys of different lengths, a value
// that is not finite, equal or unordered abscissae (xs must rise
// strictly), nodes spread beyond the range of numbers, for pw, pchip and
// akima nodes so close that the cube of their distance underflows, a
// local degree outside 0 .. min(100, n - 1), clamped end slopes that are
// not finite, coefficients that overflow, and for global nodes whose
// weights span more than the range of numbers.
struct BuildResult {
    std::optional<Interpolant> interpolant;
    std::string refusal;
};

BuildResult buildInterpolant(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings = {});

}  // namespace tarvel
