#include "lab/node_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "data/dsf_reader.h"
#include "data/number_text.h"
#include "data/printable_text.h"
#include "lab/lab_counts.h"
#include "lab/lab_text.h"

namespace tarvel {
namespace {

struct Line {
    int number;  // from 1
    std::string_view text;
};

// A tab is a separator, so an empty cell at the end of a line stays.
std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<Line> linesOf(std::string_view text)
{
    std::vector<Line> lines;
    int number = 1;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        if (!line.empty())
            lines.push_back({number, line});
        start = end + 1;
    }
    return lines;
}

// ' ' stands for a run of spaces.
char separatorOf(std::string_view text)
{
    for (const char candidate : {'\t', ';', ','})
        if (text.find(candidate) != std::string_view::npos)
            return candidate;
    return ' ';
}

std::vector<std::string_view> fieldsOf(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    if (separator == ' ') {
        for (std::size_t i = 0; i < line.size();) {
            const std::size_t end = std::min(line.find(' ', i), line.size());
            if (end > i)
                fields.push_back(line.substr(i, end - i));
            i = end + 1;
        }
        return fields;
    }
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find(separator, start), line.size());
        std::string_view field = trimmed(line.substr(start, end - start));
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
            field = field.substr(1, field.size() - 2);
        fields.push_back(field);
        start = end + 1;
    }
    return fields;
}

}  // namespace

std::optional<double> readNodeValue(std::string_view field, bool decimalComma)
{
    std::string text(field);
    if (decimalComma)
        std::replace(text.begin(), text.end(), ',', '.');
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const char* end = text.data() + text.size();
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (begin == end || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

bool holdsLetters(std::string_view line)
{
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

std::string lineText(int number)
{
    return "line " + std::to_string(number);
}

struct Row {
    std::string where;  // "line 3", "point 2"
    Node node;
    std::size_t order = 0;  // its place in the text
};

// The rows in increasing x, or why not.
NodeTextRead taken(std::vector<Row> rows, bool withY, std::string_view holder)
{
    NodeTextRead read;
    if (rows.size() < static_cast<std::size_t>(kLabMinCount) ||
        rows.size() > static_cast<std::size_t>(kLabMaxCount)) {
        read.refusal =
            joined({"The ", holder, " holds ", std::to_string(rows.size()),
                    rows.size() == 1 ? " node" : " nodes", "; from ", std::to_string(kLabMinCount),
                    " to ", std::to_string(kLabMaxCount), " are taken."});
        return read;
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.node.x < b.node.x; });
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].node.x == rows[i - 1].node.x) {
            // The later of the two in the text is named first.
            const bool inOrder = rows[i - 1].order < rows[i].order;
            const Row& first = inOrder ? rows[i - 1] : rows[i];
            const Row& second = inOrder ? rows[i] : rows[i - 1];
            read.refusal = joined({second.where, ": x = ", compactNumber(second.node.x, ".", 15),
                                   " is already the x of ", first.where, "."});
            return read;
        }
    }
    for (const Row& row : rows)
        read.nodes.push_back(row.node);
    read.withY = withY;
    return read;
}

}  // namespace

NodeTextRead readNodeText(std::string_view text)
{
    NodeTextRead read;
    std::vector<Line> lines = linesOf(text);
    const char separator = separatorOf(text);
    const bool decimalComma = separator == '\t' || separator == ';';
    std::vector<Row> rows;
    std::optional<int> firstWidth;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const std::vector<std::string_view> fields = fieldsOf(line.text, separator);
        if (fields.size() > 2) {
            read.refusal = joined({lineText(line.number), ": ", std::to_string(fields.size()),
                                   " values; a node is x or x y."});
            return read;
        }
        Row row{lineText(line.number), {}, rows.size()};
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const std::optional<double> value = readNodeValue(fields[f], decimalComma);
            if (!value && i == 0 && holdsLetters(line.text))
                break;  // a header of words
            if (!value) {
                read.refusal = joined({lineText(line.number), ": '", isolatedText(fields[f], 40),
                                       "' is not a number."});
                return read;
            }
            (f == 0 ? row.node.x : row.node.y) = *value;
            if (f + 1 == fields.size()) {
                const int width = static_cast<int>(fields.size());
                if (firstWidth && *firstWidth != width) {
                    read.refusal =
                        joined({lineText(line.number), ": ",
                                width == 1 ? "x alone, while the lines above hold x and y."
                                           : "x and y, while the lines above hold x alone."});
                    return read;
                }
                firstWidth = width;
                rows.push_back(row);
            }
        }
    }
    return taken(std::move(rows), firstWidth == 2, "text");
}

NodeTextRead readNodeFile(std::string_view fileName, std::string_view bytes)
{
    std::string suffix(
        fileName.substr(fileName.size() - std::min<std::size_t>(4, fileName.size())));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    if (suffix != ".dsf")
        return readNodeText(bytes);
    const DataSetRead read = parseDataSet(bytes);
    if (!read.set)
        return {{}, false, describeFailure(read.failure)};
    std::vector<Row> rows;
    for (std::size_t i = 0; i < read.set->x.size(); ++i)
        rows.push_back({"point " + std::to_string(i), {read.set->x[i], read.set->y[i]}, i});
    return taken(std::move(rows), true, "data set");
}

}  // namespace tarvel
