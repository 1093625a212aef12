// Pieces of the sentences that the status line shows after each command:
// numbers to three significant digits, notes on texts that were not a
// number alone, and the error of the interpolation against the test
// function.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/study.h"

namespace tarvel {

// Three significant digits with trailing zeros dropped: 0.973, 150, 2.5;
// an exponent below 0.01 and from 10000 on (1.23e-3, 4.56e+12).
std::string formatThreeDigits(double value, std::string_view decimalSeparator);

// "a0: '2,5' was read as 2 — the decimal point is a period." for a text that
// is not a number alone; empty otherwise. label names the entry.
std::string readingNote(std::string_view label, std::string_view text, double value,
                        std::string_view decimalSeparator);

// The interpolation error p(x) - f(x) over the points that carry the exact
// value: the largest magnitude, the first x where it occurs, and the root
// mean square.
struct ErrorFigure {
    double largest = 0;
    double at = 0;
    double rms = 0;
};

std::optional<ErrorFigure> errorFigure(const std::vector<ui::StudyPoint>& points);

}  // namespace tarvel
