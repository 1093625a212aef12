// Nodes from text copied out of a spreadsheet, a text file or a web page,
// and from a CSV/TSV file: one node a line, "x" or "x y", the two separated
// by a tab, a comma, a semicolon or spaces (the first of these the text
// holds is its separator). A first line of words is a header and skipped;
// blank lines are skipped. With a tab or a semicolon as separator, a comma
// in a number is its decimal point ("0,25"). The nodes come back in
// increasing x; a refusal names the line and the value. Between
// kLabMinCount and kLabMaxCount nodes are taken.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lab/lab_nodes.h"

namespace tarvel {

struct NodeTextRead {
    NodeList nodes;       // in increasing x; y is 0 on lines of x alone
    bool withY = false;   // every line held x and y
    std::string refusal;  // empty when the text was taken
};

NodeTextRead readNodeText(std::string_view text);

// One value as a cell of such a text holds it: a period as decimal point,
// or with decimalComma a comma; a leading plus sign; finite.
std::optional<double> readNodeValue(std::string_view text, bool decimalComma);

// A file's nodes: a *.dsf data set read as the main window reads it, any
// other file (CSV, TSV, text) as readNodeText.
NodeTextRead readNodeFile(std::string_view fileName, std::string_view bytes);

}  // namespace tarvel
