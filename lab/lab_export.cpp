#include "lab/lab_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "plot/ticks.h"

namespace tarvel {
namespace {

void appendFigure(std::string& line, const std::optional<double>& figure)
{
    line += '\t';
    if (figure)
        line += fullNumber(*figure);
}

std::string systemReason(int error)
{
    return std::generic_category().message(error);
}

}  // namespace

std::string numbersText(std::span<const NumbersRow> rows)
{
    std::string text(kNumbersHeader);
    text += '\n';
    for (const NumbersRow& row : rows) {
        text += row.method;
        appendFigure(text, row.largestError);
        appendFigure(text, row.atX);
        appendFigure(text, row.rmsError);
        appendFigure(text, row.overshoot);
        appendFigure(text, row.lebesgueConstant);
        text += '\n';
    }
    return text;
}

double valuesAbscissa(int k)
{
    return k / 1000.0;
}

std::string valuesCsv(std::span<const ValuesColumn> columns)
{
    std::string text = "x";
    for (const ValuesColumn& column : columns) {
        text += ',';
        text += column.name;
    }
    text += '\n';
    for (int k = 0; k < kValuesPoints; ++k) {
        text += fullNumber(valuesAbscissa(k));
        for (const ValuesColumn& column : columns) {
            text += ',';
            const auto at = static_cast<std::size_t>(k);
            if (at < column.values.size())
                text += fullNumber(column.values[at]);
        }
        text += '\n';
    }
    return text;
}

std::string nodesDataSet(const NodeList& nodes)
{
    std::string text = std::to_string(nodes.size());
    text += '\n';
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        text += std::to_string(i);
        text += ',';
        text += fullNumber(nodes[i].x);
        text += ',';
        text += fullNumber(nodes[i].y);
        text += '\n';
    }
    return text;
}

std::optional<std::string> writeWholeFile(const std::filesystem::path& target,
                                          std::string_view text)
{
    namespace fs = std::filesystem;
    fs::path temporary = target;
    temporary += ".part";
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (!file)
        return systemReason(errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && !closed)
        error = errno;
    if (!written || !closed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return systemReason(error);
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return renamed.message();
    }
    return std::nullopt;
}

}  // namespace tarvel
