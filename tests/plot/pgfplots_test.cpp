// The pgfplots writer: program texts become LaTeX that pdflatex sets, long
// curves are thinned to 501 points, and coordinates far off the plot are cut
// where the line leaves it, so TeX's dimensions never overflow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "plot/pgfplots.h"

namespace tarvel {
namespace {

TEST(Pgfplots, TextsBecomeLatexThatPdflatexSets)
{
    const struct {
        const char* text;
        const char* latex;
    } cases[] = {
        {"reference slope n⁻⁴", "reference slope n\\textsuperscript{$-$4}"},
        {"cos¹⁰(2πx)", "cos\\textsuperscript{10}(2$\\pi$x)"},
        {"log₁₀ |p − f|", "log\\textsubscript{10} $|$p $-$ f$|$"},
        {"p′(x), f″(x)", "p$'$(x), f$''$(x)"},
        {"Global polynomial — geometric, ρ = 1.22", "Global polynomial --- geometric, $\\rho$ = 1.22"},
        {"100% of a_1 & {b} #2 $ ~^\\", "100\\% of a\\_1 \\& \\{b\\} \\#2 \\$ "
                                      "\\textasciitilde{}\\textasciicircum{}\\textbackslash{}"},
        {"Hata oluştu\x01", "Hata olu?tu?"},
        {"broken \xE2\x82", "broken ??"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(latexText(c.text), c.latex) << c.text;
}

// A title breaks after its comma where it can: its other spaces cost TeX
// a penalty.
TEST(Pgfplots, ATitleBreaksAfterItsCommaFirst)
{
    PgfFigure figure;
    figure.title = "Runge 1/(1 + x²), 11 evenly spaced nodes";
    EXPECT_NE(pgfplotsDocument(figure).find(
                  "title={Runge\\tarvelspace 1/(1\\tarvelspace +\\tarvelspace "
                  "x\\textsuperscript{2}), 11\\tarvelspace evenly\\tarvelspace "
                  "spaced\\tarvelspace nodes}"),
              std::string::npos);
}

std::string dataOf(const std::string& tex)
{
    const std::size_t from = tex.find("coordinates {");
    return tex.substr(from, tex.find('}', from) - from);
}

TEST(Pgfplots, CurvesAreThinnedAndCutWhereTheyLeaveThePlot)
{
    PgfFigure figure;
    figure.world = {0, 1, 1, -1};
    PgfCurve curve;
    for (int k = 0; k <= 10000; ++k)
        curve.points.push_back({k / 10000.0, std::sin(k / 1000.0)});
    figure.curves = {curve};
    std::string data = dataOf(pgfplotsDocument(figure));
    EXPECT_LE(std::count(data.begin(), data.end(), '('), 501);
    EXPECT_GE(std::count(data.begin(), data.end(), '('), 400);
    EXPECT_NE(data.find("(1,"), std::string::npos) << "the last point is kept";

    // Up to 1e300 and back: cut at the widened world's top (y = 3), broken there.
    curve.points = {{0, 0}, {0.5, 1e300}, {1, 0}};
    figure.curves = {curve};
    data = dataOf(pgfplotsDocument(figure));
    EXPECT_EQ(data.find("e+300"), std::string::npos) << data;
    EXPECT_NE(data.find("(0,0)\n  (1.5e-300,3)\n  (nan,nan)\n  (1,3)\n  (1,0)"), std::string::npos)
        << data;

    // On a log axis the world's decades are written as the values.
    figure.logY = true;
    figure.world = {0, 0, 1, -4};
    curve.points = {{0, -2}, {1, std::nan("")}, {0.5, -3}};
    figure.curves = {curve};
    const std::string tex = pgfplotsDocument(figure);
    EXPECT_NE(tex.find("ymin=0.0001, ymax=1"), std::string::npos);
    EXPECT_NE(dataOf(tex).find("(0,0.01)\n  (nan,nan)\n  (0.5,0.001)"), std::string::npos)
        << dataOf(tex);
}

}  // namespace
}  // namespace tarvel
