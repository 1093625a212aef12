// Writing given points as a data-set file that the reader loads back bit
// for bit: the count on the first line, then one record "i,x,y" a line with
// x and y in 17 significant digits (the shortest text that reads back the
// same double is not needed; 17 digits always are enough).
#pragma once

#include <span>
#include <string>

namespace tarvel {

// The file's text for the points (x[i], y[i]), i = 0 .. x.size() - 1; x and
// y have the same length. Lines end in a line feed.
std::string dataSetText(std::span<const double> x, std::span<const double> y);

}  // namespace tarvel
