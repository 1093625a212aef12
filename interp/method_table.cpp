// The table of study methods. A method is its own file, its row here and its
// rows in the tests; nothing else names it.
#include "interp/method_table.h"

#include "interp/aaa.h"
#include "interp/akima.h"
#include "interp/bspline.h"
#include "interp/cubic_spline.h"
#include "interp/floater_hormann.h"
#include "data/capacities.h"
#include "interp/pchip.h"
#include "interp/periodic_spline.h"
#include "interp/pw_cubic_spline.h"
#include "interp/steffen.h"
#include "interp/trigonometric.h"

namespace tarvel {
namespace {

template <void (*rule)(std::span<const double>, std::span<const double>, std::span<double>)>
bool alwaysSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes)
{
    rule(xs, ys, slopes);
    return true;
}

template <SplineEnds ends>
bool splineRows(const PieceInput& in, std::span<CoefRow> rows)
{
    return cubicSplineRows(ends, {in.leftSlope, in.rightSlope}, in.xs, in.ys, rows) ==
           SolveStatus::Solved;
}

bool linearRows(const PieceInput& in, std::span<CoefRow> rows)
{
    for (std::size_t j = 0; j + 1 < in.xs.size(); ++j)
        rows[j] = {in.ys[j], (in.ys[j + 1] - in.ys[j]) / (in.xs[j + 1] - in.xs[j]), 0, 0};
    return true;
}

bool periodicRows(const PieceInput& in, std::span<CoefRow> rows)
{
    return periodicSplineRows(in.xs, in.ys, rows);
}

constexpr StudyMethodRow named(StudyMethod method, const char* key, const char* name,
                               const char* subject, std::uint32_t colour)
{
    StudyMethodRow row;
    row.method = method;
    row.key = key;
    row.name = name;
    row.subject = subject;
    row.colour = colour;
    return row;
}

constexpr StudyMethodRow hermite(StudyMethod method, const char* key, const char* name,
                            const char* subject, std::uint32_t colour, SlopeRule slopes)
{
    StudyMethodRow row = named(method, key, name, subject, colour);
    row.dividesByCubedWidths = true;
    row.slopes = slopes;
    return row;
}

// A piece rule solves for the pieces linearly in the values.
constexpr StudyMethodRow pieces(StudyMethod method, const char* key, const char* name,
                           const char* subject, std::uint32_t colour, PieceRule rule)
{
    StudyMethodRow row = named(method, key, name, subject, colour);
    row.pieces = rule;
    row.linearInData = true;
    return row;
}

constexpr StudyMethodRow own(StudyMethod method, const char* key, const char* name,
                        const char* subject, std::uint32_t colour, OwnBuild build, OwnAt at)
{
    StudyMethodRow row = named(method, key, name, subject, colour);
    row.form = MethodForm::Own;
    row.build = build;
    row.at = at;
    return row;
}

constexpr StudyMethodRow withParameter(StudyMethodRow row, MethodParameter parameter)
{
    row.parameter = parameter;
    return row;
}

// Periodic data: the last value repeats the first; some methods also need
// the nodes evenly spaced.
constexpr StudyMethodRow onPeriodicData(StudyMethodRow row, bool evenlySpaced)
{
    row.periodic = true;
    row.evenlySpaced = evenlySpaced;
    return row;
}

constexpr StudyMethodRow withEndSlopes(StudyMethodRow row)
{
    row.needsFunction = true;
    return row;
}

constexpr StudyMethodRow linear(StudyMethodRow row)
{
    row.linearInData = true;
    return row;
}

constexpr StudyMethodRow formed(StudyMethodRow row, MethodForm form)
{
    row.form = form;
    return row;
}

constexpr std::array<StudyMethodRow, kStudyMethodCount> kRows = {{
        linear(formed(named(StudyMethod::Global, "global", "Global polynomial",
                            "The global polynomial", 0xB4771F),
                      MethodForm::Global)),
        linear(withParameter(formed(named(StudyMethod::Local, "local", "Local Lagrange polynomial",
                                          "The local Lagrange polynomial", 0x0E7FFF),
                                    MethodForm::Local),
                             {"degree", "degree ", "labDegree", 0, kMaxInterpolationDegree, 3})),
        pieces(StudyMethod::Linear, "linear", "Linear interpolation", "Linear interpolation",
               0x7F7F7F, linearRows),
        pieces(StudyMethod::Natural, "natural", "Natural cubic spline",
               "The natural cubic spline", 0x2CA02C, splineRows<SplineEnds::Natural>),
        withEndSlopes(pieces(StudyMethod::Clamped, "clamped", "Clamped cubic spline",
                             "The clamped cubic spline", 0xBD6794,
                             splineRows<SplineEnds::Clamped>)),
        pieces(StudyMethod::NotAKnot, "notaknot", "Not-a-knot cubic spline",
               "The not-a-knot cubic spline", 0x4B568C, splineRows<SplineEnds::NotAKnot>),
        hermite(StudyMethod::Pw, "pw", "PW cubic spline", "The PW cubic spline", 0xC277E3,
                chordBisectorSlopes),
        hermite(StudyMethod::Pchip, "pchip", "PCHIP", "PCHIP", 0x22BDBC,
                alwaysSlopes<pchipSlopes>),
        hermite(StudyMethod::Akima, "akima", "Akima spline", "The Akima spline", 0xCFBE17,
                alwaysSlopes<akimaSlopes>),
        hermite(StudyMethod::Makima, "makima", "Modified Akima spline",
                "The modified Akima spline", 0x800000, alwaysSlopes<makimaSlopes>),
        hermite(StudyMethod::Steffen, "steffen", "Steffen spline", "The Steffen spline",
                0x006400, alwaysSlopes<steffenSlopes>),
        onPeriodicData(pieces(StudyMethod::Periodic, "periodic", "Periodic cubic spline",
                              "The periodic cubic spline", 0x8B008B, periodicRows),
                       false),
        linear(withParameter(own(StudyMethod::Fh, "fh", "Floater–Hormann rational",
                                 "The Floater–Hormann interpolant", 0x20A5DA,
                                 floaterHormannBuild, floaterHormannAt),
                             {"blending degree d", "d = ", "labParameter_fh", 0, 20, 3})),
        linear(onPeriodicData(own(StudyMethod::Trig, "trig", "Trigonometric interpolation",
                                  "Trigonometric interpolation", 0x8B8B00, trigonometricBuild,
                                  trigonometricAt),
                              true)),
        linear(withParameter(own(StudyMethod::BSpline, "bspline", "B-spline", "The B-spline",
                                 0x4F4F2F, bsplineBuild, bsplineAt),
                             {"degree k", "k = ", "labParameter_bspline", 1, 9, 5, true})),
        own(StudyMethod::Aaa, "aaa", "AAA rational approximant", "The AAA approximant",
            0x008080, aaaBuild, aaaAt),
    }};

// Every method has its row, in the order of the enumeration, and every row
// can be built.
constexpr bool complete(const std::array<StudyMethodRow, kStudyMethodCount>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const StudyMethodRow& row = rows[i];
        if (static_cast<std::size_t>(row.method) != i || row.key == nullptr ||
            row.name == nullptr || row.subject == nullptr)
            return false;
        const bool built = row.form == MethodForm::Global || row.form == MethodForm::Local ||
                           (row.form == MethodForm::Pieces && (row.slopes || row.pieces)) ||
                           (row.form == MethodForm::Own && row.build && row.at);
        if (!built)
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (rows[j].colour == row.colour)
                return false;
    }
    return true;
}
static_assert(complete(kRows), "each study method needs one whole row, in enumeration order");

}  // namespace

MethodParameters::MethodParameters()
{
    for (const StudyMethodRow& row : kRows)
        if (row.parameter)
            set(row.method, row.parameter->fallback);
}

const StudyMethodRow& methodRow(StudyMethod method)
{
    return kRows[static_cast<std::size_t>(method)];
}

std::span<const StudyMethodRow> methodRows()
{
    return kRows;
}

}  // namespace tarvel
