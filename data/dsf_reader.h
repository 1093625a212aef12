// Reading a data-set file (*.dsf): a count n, then n records of three items
// (an ignored label, x, y).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/capacities.h"

namespace tarvel {

struct DataSet {
    int count = 0;
    std::vector<double> x;
    std::vector<double> y;
};

// Parses the whole text (bytes as read from the file). Items are separated
// by commas or line ends (LF, CRLF or CR) in any mix; blanks and line ends
// before an item are skipped; an item in double quotes may hold commas.
// Numbers use the period as decimal point and may carry a sign and an
// exponent. Anything after the last record is ignored.
// Returns nothing unless the count is a whole number from 0 to 1001, every
// record is complete and every x and y is a finite number.
std::optional<DataSet> parseDataSet(std::string_view text);

// Reads and parses the file at a UTF-8 path. Returns nothing when the file
// cannot be read (missing, a directory, no permission) or does not parse.
std::optional<DataSet> readDataSetFile(const std::string& utf8Path);

}  // namespace tarvel
