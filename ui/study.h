// What the last command put in the picture, in numbers: the study aids
// (readout, scale, legend, error view, kept results, copies) work from it,
// beside the drawing operations and without changing them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvel::ui {

struct StudyPoint {
    int index = 0;  // index in xU/yU or xI/yI
    double x = 0;
    double y = 0;
    // The test function at x, for sampled data only.
    std::optional<double> exact;
};

struct Study {
    // Given points drawn by the command.
    std::vector<StudyPoint> given;
    // Interpolation points settled by the last Calculate, in index order;
    // empty after OK and after a refused command that drew nothing new.
    std::vector<StudyPoint> interpolated;
    // The function that gave the given points: "sin(2πx)", "cos¹⁰(2πx)",
    // "the test polynomial"; empty for a data set.
    std::string functionName;
    // The function whose red curve the command drew: the option selected
    // when it drew, which need not be the one that gave the given points;
    // "y = 0 (…)" when no test function is selected.
    std::string curveName;
    // What gave the given points, told apart to the last parameter (the
    // function with its coefficients, or the data set): results kept for
    // one source are compared across commands while it stays the same.
    std::string source;
    // The file name of a data set, empty for a test function.
    std::string dataSetName;
    // "the natural cubic spline", "the PW cubic spline",
    // "polynomial interpolation of degree 3"; empty after OK.
    std::string methodName;
    // The same for the legend: "Natural cubic spline", "PW cubic spline",
    // "Polynomial interpolation of degree 3"; empty after OK.
    std::string methodLegend;
    bool hasTestFunction() const { return !functionName.empty(); }
};

}  // namespace tarvel::ui
