#include "app/status_text.h"

#include <algorithm>
#include <cmath>

#include "data/list_format.h"
#include "data/numeric_text.h"

namespace tarvel {
namespace {

// A quoted text is cut so that a pasted page does not fill the status line.
std::string quoted(std::string_view text)
{
    constexpr std::size_t kMaxQuoted = 24;
    if (text.size() <= kMaxQuoted)
        return "'" + std::string(text) + "'";
    std::size_t cut = kMaxQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 sequence
    return "'" + std::string(text.substr(0, cut)) + "…'";
}

}  // namespace

std::string formatThreeDigits(double value, std::string_view decimalSeparator)
{
    return formatSignificant(value, 3, -2, 3, decimalSeparator);
}

std::string readingNote(std::string_view label, std::string_view text, double value,
                        std::string_view decimalSeparator)
{
    if (isNumberAlone(text))
        return {};
    std::string note = std::string(label) + ": " + quoted(text) + " was read as " +
                       formatThreeDigits(value, decimalSeparator);
    if (text.find(',') != std::string_view::npos)
        note += " — the decimal point is a period";
    return note + ".";
}

std::optional<ErrorFigure> errorFigure(const std::vector<ui::StudyPoint>& points)
{
    ErrorFigure figure;
    std::size_t count = 0;
    for (const ui::StudyPoint& point : points) {
        if (!point.exact)
            continue;
        const double error = std::abs(point.y - *point.exact);
        if (count == 0 || error > figure.largest) {
            figure.largest = error;
            figure.at = point.x;
        }
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    if (figure.largest == 0 || !std::isfinite(figure.largest)) {
        figure.rms = figure.largest;
        return figure;
    }
    // Scaled by the largest error, so that squares neither overflow nor
    // vanish.
    double sum = 0;
    for (const ui::StudyPoint& point : points) {
        if (!point.exact)
            continue;
        const double scaled = (point.y - *point.exact) / figure.largest;
        sum += scaled * scaled;
    }
    figure.rms = figure.largest * std::sqrt(sum / static_cast<double>(count));
    return figure;
}

}  // namespace tarvel
