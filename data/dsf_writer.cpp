#include "data/dsf_writer.h"

#include <algorithm>

#include "data/number_text.h"

namespace tarvel {

std::string dataSetText(std::span<const double> x, std::span<const double> y)
{
    const std::size_t count = std::min(x.size(), y.size());
    std::string text = std::to_string(count) + '\n';
    for (std::size_t i = 0; i < count; ++i)
        text.append(std::to_string(i)).append(",").append(fullNumber(x[i])).append(",")
            .append(fullNumber(y[i])).append("\n");
    return text;
}

}  // namespace tarvel
