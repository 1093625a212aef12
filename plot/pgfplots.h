// A plot as a pgfplots figure for LaTeX: a standalone document whose axis
// carries the title, the captions, the log modes, the limits and the
// legend, with every curve and point set an \addplot of its own colour and
// its data inline. Written without any toolkit from a description of the
// plot in world coordinates.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/drawing.h"
#include "plot/study_aids.h"

namespace tarvel {

struct PgfCurve {
    enum class Style { Line, Marks, LineAndMarks, Dots };
    Style style = Style::Line;
    unsigned rgb = 0;  // 0xRRGGBB
    std::string name;  // the legend's text; empty: not in the legend
    std::string dash;  // "", "dashed" or "dashdotted"
    std::string endLabel;  // written at the curve's end; empty: none
    std::vector<WorldPoint> points;  // NaN breaks a line
};

// A legend line for something that is not one curve.
struct PgfLegendLine {
    PgfCurve::Style style = PgfCurve::Style::Line;
    unsigned rgb = 0;
    std::string text;
};

struct PgfFigure {
    std::string title;  // empty: none
    std::string xCaption;
    std::string yCaption;
    bool logX = false;  // world x is log10 of the value shown
    bool logY = false;
    WorldRect world;    // the limits, in world coordinates
    double widthCm = 12;  // of the page, labels, title and legend included
    double heightCm = 8;
    double fontPt = 10;
    double lineWidthPt = 0.8;
    bool legend = true;
    std::vector<PgfLegendLine> legendLines;  // before the named curves
    std::vector<PgfCurve> curves;
};

// No curve is written with more points than this: longer ones keep every
// k-th point and their last.
inline constexpr std::size_t kPgfMaxPoints = 501;

// The whole .tex document.
std::string pgfplotsDocument(const PgfFigure& figure);
// One document of several figures side by side, left to right, on a page
// as wide as their widths together and as high as the first: each its own
// axis, all axes of one size.
std::string pgfplotsDocument(std::span<const PgfFigure> figures);

// A text of the program (UTF-8) as LaTeX typesets it with pdflatex: the
// special characters escaped, Greek letters, primes, minus signs,
// superscript and subscript digits as math or \textsuperscript; any other
// character outside ASCII as "?".
std::string latexText(std::string_view text);

}  // namespace tarvel
