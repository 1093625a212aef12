#include "plot/pgfplots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace tarvel {
namespace {

// One code point of UTF-8 text from `at`, which moves past it; a broken
// sequence reads as one byte of U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                     : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(at + static_cast<std::size_t>(k));
        if ((next >> 6) != 2) {
            ++at;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(length);
    return code;
}

std::optional<char> superscript(char32_t code)
{
    switch (code) {
    case U'⁰': return '0';
    case U'¹': return '1';
    case U'²': return '2';
    case U'³': return '3';
    case U'⁴': return '4';
    case U'⁵': return '5';
    case U'⁶': return '6';
    case U'⁷': return '7';
    case U'⁸': return '8';
    case U'⁹': return '9';
    case U'⁻': return '-';
    default: return std::nullopt;
    }
}

std::optional<char> subscript(char32_t code)
{
    if (code >= U'₀' && code <= U'₉')
        return static_cast<char>('0' + (code - U'₀'));
    return std::nullopt;
}

const char* symbolOf(char32_t code)
{
    switch (code) {
    case U'\\': return "\\textbackslash{}";
    case U'{': return "\\{";
    case U'}': return "\\}";
    case U'#': return "\\#";
    case U'$': return "\\$";
    case U'%': return "\\%";
    case U'&': return "\\&";
    case U'_': return "\\_";
    case U'~': return "\\textasciitilde{}";
    case U'^': return "\\textasciicircum{}";
    case U'<': return "$<$";
    case U'>': return "$>$";
    case U'|': return "$|$";
    case U'π': return "$\\pi$";
    case U'ρ': return "$\\rho$";
    case U'λ': return "$\\lambda$";
    case U'Λ': return "$\\Lambda$";
    case U'−': return "$-$";
    case U'′': return "$'$";
    case U'″': return "$''$";
    case U'—': return "---";
    case U'–': return "--";
    case U'…': return "\\ldots{}";
    case U'×': return "$\\times$";
    case U'·': return "$\\cdot$";
    case U'≈': return "$\\approx$";
    case U'’': return "'";
    default: return nullptr;
    }
}

// Runs of superscript (or subscript) characters become one \textsuperscript.
void appendScript(std::string& out, const char* command, const std::string& run)
{
    out += command;
    out += '{';
    for (const char c : run)
        out += c == '-' ? std::string("$-$") : std::string(1, c);
    out += '}';
}

}  // namespace

std::string latexText(std::string_view text)
{
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = at;
        const char32_t code = nextCodePoint(text, next);
        if (superscript(code) || subscript(code)) {
            const bool up = superscript(code).has_value();
            std::string run;
            while (at < text.size()) {
                std::size_t after = at;
                const char32_t c = nextCodePoint(text, after);
                const std::optional<char> digit = up ? superscript(c) : subscript(c);
                if (!digit)
                    break;
                run += *digit;
                at = after;
            }
            appendScript(out, up ? "\\textsuperscript" : "\\textsubscript", run);
            continue;
        }
        at = next;
        if (const char* symbol = symbolOf(code))
            out += symbol;
        else if (code >= 0x20 && code < 0x7F)
            out += static_cast<char>(code);
        else
            out += '?';
    }
    return out;
}

namespace {

std::string number(double value)
{
    if (std::isnan(value))
        return "nan";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// A world coordinate as the axis reads it: the power of ten on a log axis.
double shown(double world, bool log)
{
    return log ? std::pow(10.0, world) : world;
}

// The points kept of a long curve: every k-th and the last.
std::vector<WorldPoint> thinned(const std::vector<WorldPoint>& points)
{
    if (points.size() <= kPgfMaxPoints)
        return points;
    const std::size_t step = (points.size() - 2) / (kPgfMaxPoints - 1) + 1;
    std::vector<WorldPoint> kept;
    for (std::size_t i = 0; i < points.size() - 1; i += step)
        kept.push_back(points[i]);
    kept.push_back(points.back());
    return kept;
}

// The world rectangle widened by its own extent on every side: coordinates
// far outside it would overflow TeX's dimensions, so lines are cut there.
struct Box {
    double left, bottom, right, top;
};

Box roomAround(const WorldRect& world)
{
    const double left = std::min(world.left, world.right);
    const double right = std::max(world.left, world.right);
    const double bottom = std::min(world.top, world.bottom);
    const double top = std::max(world.top, world.bottom);
    const double w = right - left;
    const double h = top - bottom;
    return {left - w, bottom - h, right + w, top + h};
}

bool inside(const Box& box, const WorldPoint& p)
{
    return p.x >= box.left && p.x <= box.right && p.y >= box.bottom && p.y <= box.top;
}

// The points of a line cut to the box, a NaN where it leaves and comes back.
std::vector<WorldPoint> cutLine(const std::vector<WorldPoint>& points, const Box& box)
{
    const double nan = std::nan("");
    std::vector<WorldPoint> out;
    const auto breakLine = [&out, nan] {
        if (!out.empty() && !std::isnan(out.back().x))
            out.push_back({nan, nan});
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const WorldPoint& p = points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            breakLine();
            continue;
        }
        if (inside(box, p)) {
            out.push_back(p);
            continue;
        }
        // Outside: keep where the segments to its neighbours cross the box.
        const auto crossing = [&box, &p](const WorldPoint& from) -> std::optional<Segment> {
            if (!std::isfinite(from.x) || !std::isfinite(from.y))
                return std::nullopt;
            const auto cut = clipSegment({from.x, -from.y, p.x, -p.y}, box.left, -box.top,
                                         box.right, -box.bottom);
            if (!cut)
                return std::nullopt;
            return Segment{cut->x1, -cut->y1, cut->x2, -cut->y2};
        };
        if (i > 0)
            if (const auto in = crossing(points[i - 1])) {
                if (!inside(box, points[i - 1]))
                    out.push_back({in->x1, in->y1});
                out.push_back({in->x2, in->y2});
            }
        breakLine();
        if (i + 1 < points.size() && inside(box, points[i + 1]))
            if (const auto back = crossing(points[i + 1]))
                out.push_back({back->x2, back->y2});
    }
    return out;
}

std::string colourName(std::size_t index)
{
    return "tarvel" + std::string(1, static_cast<char>('A' + index / 26)) +
           std::string(1, static_cast<char>('A' + index % 26));
}

std::string styleOf(PgfCurve::Style style, const std::string& colour, const std::string& dash)
{
    std::string options = "color=" + colour;
    switch (style) {
    case PgfCurve::Style::Line:
        options += ", mark=none";
        break;
    case PgfCurve::Style::Marks:
        options += ", only marks, mark=o, mark size=2pt";
        break;
    case PgfCurve::Style::LineAndMarks:
        options += ", mark=o, mark size=1.5pt, mark options={solid}";
        break;
    case PgfCurve::Style::Dots:
        options += ", only marks, mark=*, mark size=0.8pt";
        break;
    }
    if (!dash.empty())
        options += ", " + dash;
    return options;
}

// The title as LaTeX that breaks a line after a comma rather than at
// another space: those cost TeX a penalty (\tarvelspace).
std::string titleText(std::string_view title)
{
    std::string tex;
    std::size_t at = 0;
    while (at <= title.size()) {
        const std::size_t comma = std::min(title.find(", ", at), title.size());
        std::string part = latexText(title.substr(at, comma - at));
        for (std::size_t space = part.find(' '); space != std::string::npos;
             space = part.find(' ', space + 13))
            part.replace(space, 1, "\\tarvelspace ");
        tex += part;
        if (comma < title.size())
            tex += ", ";
        at = comma + 2;
    }
    return tex;
}

void appendAxisOptions(std::string& tex, const PgfFigure& f)
{
    const auto option = [&tex](const std::string& text) { tex += "  " + text + ",\n"; };
    option("width=\\tarvelwidth, height=\\tarvelheight");
    option("scale only axis");
    if (!f.title.empty()) {
        option("title={" + titleText(f.title) + "}");
        option("title style={text width=\\tarvelwidth, align=flush center}");
    }
    if (!f.xCaption.empty())
        option("xlabel={" + latexText(f.xCaption) + "}");
    if (!f.yCaption.empty())
        option("ylabel={" + latexText(f.yCaption) + "}");
    option(std::string("xmode=") + (f.logX ? "log" : "normal"));
    option(std::string("ymode=") + (f.logY ? "log" : "normal"));
    const double xLo = std::min(f.world.left, f.world.right);
    const double xHi = std::max(f.world.left, f.world.right);
    const double yLo = std::min(f.world.top, f.world.bottom);
    const double yHi = std::max(f.world.top, f.world.bottom);
    option("xmin=" + number(shown(xLo, f.logX)) + ", xmax=" + number(shown(xHi, f.logX)));
    option("ymin=" + number(shown(yLo, f.logY)) + ", ymax=" + number(shown(yHi, f.logY)));
    option("unbounded coords=jump");
    option("clip=true");
    if (f.legend) {
        // Under the x caption, where there is one.
        char below[48];
        std::snprintf(below, sizeof below, "tarvel legend=%.1fpt",
                      f.xCaption.empty() ? 3 : 1.5 * f.fontPt + 3);
        option(std::string("legend cell align=left, ") + below);
    }
    char width[96];
    std::snprintf(width, sizeof width, "every axis plot/.append style={line width=%.2fpt}",
                  f.lineWidthPt);
    option(width);
}

}  // namespace

namespace {

// The panels are typeset side by side, measured, and typeset again with
// their axes widened or narrowed by the difference, so that the panels with
// their labels, titles and legends take the size asked for; twice, because
// the legend's distance grows with the axis. The first guess leaves the
// axes 70 % of the page. All axes come out of one size. The legends stand
// right of their axes, or in columns under them when the widest entry would
// leave an axis less than about half its panel. Where labels and legends
// leave the axes no room, the figure is shrunk to the page. A title breaks
// at a \tarvelspace only where it must.
constexpr const char* kFitPanels =
    "\\newsavebox\\tarvelbox\n"
    "\\newlength\\tarvelwidth\n"
    "\\newlength\\tarvelheight\n"
    "\\newlength\\tarvelentry\n"
    "\\newlength\\tarvelcolumn\n"
    "\\newcount\\tarvelentries\n"
    "\\newcount\\tarvelcolumns\n"
    "\\newif\\iftarvelbelow\n"
    "\\newcommand\\tarvelspace{\\penalty500\\ }\n"
    "\\newcommand\\tarvelwidest[1]{%\n"
    "  \\settowidth\\tarvelcolumn{#1}\\advance\\tarvelentries by 1\n"
    "  \\ifdim\\tarvelcolumn>\\tarvelentry \\setlength\\tarvelentry{\\tarvelcolumn}\\fi}\n"
    "\\pgfplotsset{tarvel legend/.code={\\iftarvelbelow\n"
    "  \\pgfplotsset{legend style={at={(xticklabel cs:0.5,#1)}, anchor=north},\n"
    "    legend columns=\\the\\tarvelcolumns,\n"
    "    /tikz/every even column/.append style={column sep=4pt}}%\n"
    "  \\else\\pgfplotsset{legend pos=outer north east}\\fi}}\n"
    "% \\tarvelmeasure{panels}{count}{panel width}{height}\n"
    "\\newcommand\\tarvelmeasure[4]{%\n"
    "  \\sbox\\tarvelbox{#1}%\n"
    "  \\setlength\\tarvelwidth{\\dimexpr\\tarvelwidth+((#3)*#2-\\wd\\tarvelbox)/#2\\relax}%\n"
    "  \\setlength\\tarvelheight{\\dimexpr\\tarvelheight+#4-\\ht\\tarvelbox-\\dp\\tarvelbox\\relax}%\n"
    "  \\ifdim\\tarvelwidth<1cm \\setlength\\tarvelwidth{1cm}\\fi\n"
    "  \\ifdim\\tarvelheight<1cm \\setlength\\tarvelheight{1cm}\\fi}\n"
    "% \\tarvelfit{panels}{count}{panel width}{height}{legend entries}\n"
    "\\newcommand\\tarvelfit[5]{%\n"
    "  \\setlength\\tarvelentry{0pt}\\tarvelentries=0 #5%\n"
    "  \\setlength\\tarvelcolumn{\\dimexpr\\tarvelentry+1.2cm\\relax}%\n"
    "  \\ifdim\\tarvelcolumn>\\dimexpr(#3)*45/100\\relax \\tarvelbelowtrue\\else\\tarvelbelowfalse\\fi\n"
    "  \\tarvelcolumns=\\numexpr(\\dimexpr#3\\relax-\\tarvelcolumn/2)/\\tarvelcolumn\\relax\n"
    "  \\ifnum\\tarvelcolumns>\\tarvelentries \\tarvelcolumns=\\tarvelentries\\fi\n"
    "  \\ifnum\\tarvelcolumns<1 \\tarvelcolumns=1 \\fi\n"
    "  \\setlength\\tarvelwidth{\\dimexpr(#3)*7/10\\relax}%\n"
    "  \\setlength\\tarvelheight{\\dimexpr(#4)*7/10\\relax}%\n"
    "  \\tarvelmeasure{#1}{#2}{#3}{#4}\\tarvelmeasure{#1}{#2}{#3}{#4}%\n"
    "  \\sbox\\tarvelbox{#1}\\tarvelshow{\\dimexpr(#3)*#2\\relax}{\\dimexpr#4\\relax}}\n"
    "% \\tarvelshow{width}{height}: the figure, shrunk to them if it must be\n"
    "\\newcommand\\tarvelshow[2]{%\n"
    "  \\ifdim\\dimexpr\\ht\\tarvelbox+\\dp\\tarvelbox\\relax>\\dimexpr#2+0.5pt\\relax\n"
    "    \\sbox\\tarvelbox{\\resizebox*{!}{#2}{\\usebox\\tarvelbox}}\\fi\n"
    "  \\ifdim\\wd\\tarvelbox>\\dimexpr#1+0.5pt\\relax\n"
    "    \\sbox\\tarvelbox{\\resizebox{#1}{!}{\\usebox\\tarvelbox}}\\fi\n"
    "  \\makebox[#1]{\\rule[-\\dp\\tarvelbox]{0pt}{#2}\\usebox\\tarvelbox}}\n";

// The page's border on each side, in TeX points; the panels share the rest.
constexpr double kBorderPt = 4;

// A panel's name as a TeX command: letters only.
std::string panelCommand(std::size_t index)
{
    return "\\tarvelpanel" + std::string(1, static_cast<char>('A' + index % 26));
}

}  // namespace

std::string pgfplotsDocument(std::span<const PgfFigure> figures)
{
    char border[64];
    std::snprintf(border, sizeof border, "\\documentclass[border=%gpt]{standalone}\n", kBorderPt);
    std::string tex = std::string("% Written by Tarvel: compile with pdflatex.\n") + border +
                      "\\usepackage{graphicx}\n"
                      "\\usepackage{tikz}\n"
                      "\\usepackage{pgfplots}\n"
                      "\\pgfplotsset{compat=1.16}\n";
    std::vector<unsigned> colours;
    const auto colourOf = [&colours](unsigned rgb) {
        const auto at = std::find(colours.begin(), colours.end(), rgb);
        if (at != colours.end())
            return colourName(static_cast<std::size_t>(at - colours.begin()));
        colours.push_back(rgb);
        return colourName(colours.size() - 1);
    };
    std::string panels;
    std::string placed;
    std::string entries;
    double widthCm = 0;
    for (std::size_t k = 0; k < figures.size(); ++k) {
        const PgfFigure& f = figures[k];
        std::string body;
        const auto entry = [&body, &entries](const std::string& text) {
            body += "\\addlegendentry{" + latexText(text) + "}\n";
            entries += "\\tarvelwidest{" + latexText(text) + "}";
        };
        if (f.legend)
            for (const PgfLegendLine& line : f.legendLines) {
                body += "\\addlegendimage{" + styleOf(line.style, colourOf(line.rgb), "") + "}\n";
                entry(line.text);
            }
        const Box box = roomAround(f.world);
        for (const PgfCurve& curve : f.curves) {
            std::vector<WorldPoint> points = thinned(curve.points);
            if (curve.style == PgfCurve::Style::Line || curve.style == PgfCurve::Style::LineAndMarks)
                points = cutLine(points, box);
            else
                std::erase_if(points, [&box](const WorldPoint& p) { return !inside(box, p); });
            const bool named = f.legend && !curve.name.empty();
            body += "\\addplot[" + styleOf(curve.style, colourOf(curve.rgb), curve.dash) +
                    (named ? "" : ", forget plot") + "] coordinates {\n";
            for (const WorldPoint& p : points)
                body += "  (" + number(shown(p.x, f.logX)) + "," + number(shown(p.y, f.logY)) + ")\n";
            body += "}";
            if (!curve.endLabel.empty())
                body += " node[pos=1, anchor=south east, font=\\footnotesize] {" +
                        latexText(curve.endLabel) + "}";
            body += ";\n";
            if (named)
                entry(curve.name);
        }
        // On the axis's lower edge, so that the panels' axes line up.
        panels += "\\newcommand" + panelCommand(k) +
                  "{%\n\\begin{tikzpicture}[baseline]\n\\begin{axis}[\n";
        appendAxisOptions(panels, f);
        panels += "]\n" + body + "\\end{axis}\n\\end{tikzpicture}}\n";
        placed += panelCommand(k);
        widthCm += f.widthCm;
    }
    for (std::size_t i = 0; i < colours.size(); ++i) {
        char definition[80];
        std::snprintf(definition, sizeof definition, "\\definecolor{%s}{HTML}{%06X}\n",
                      colourName(i).c_str(), colours[i]);
        tex += definition;
    }
    tex += kFitPanels + panels;
    const double fontPt = figures.empty() ? 10 : figures.front().fontPt;
    char font[80];
    std::snprintf(font, sizeof font, "\\begin{document}\n\\fontsize{%.1f}{%.1f}\\selectfont\n",
                  fontPt, fontPt * 1.2);
    tex += font;
    if (!figures.empty()) {
        // Side by side, left to right, with the page's two borders shared
        // out over the panels' widths.
        const double count = static_cast<double>(figures.size());
        char size[128];
        std::snprintf(size, sizeof size, "}{%zu}{%.3fcm-%.3fpt}{%.3fcm-%.3fpt}{", figures.size(),
                      widthCm / count, 2 * kBorderPt / count, figures.front().heightCm,
                      2 * kBorderPt);
        tex += "\\tarvelfit{" + placed + size + entries + "}\n";
    }
    tex += "\\end{document}\n";
    return tex;
}

std::string pgfplotsDocument(const PgfFigure& figure)
{
    return pgfplotsDocument(std::span(&figure, 1));
}

}  // namespace tarvel
