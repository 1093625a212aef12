// Reading pasted or imported nodes from arbitrary bytes: nodes that come
// back are from 2 to 1001, finite and with x strictly rising; a text that
// gives none says why; a *.dsf file is read the same way.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "lab/node_text.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n", property);
    __builtin_trap();
}

void check(const NodeTextRead& read)
{
    if (read.nodes.empty()) {
        if (read.refusal.empty())
            violated("a text that gives no nodes says why");
        return;
    }
    if (!read.refusal.empty())
        violated("nodes come back only without a refusal");
    if (read.nodes.size() < 2 || read.nodes.size() > 1001)
        violated("from 2 to 1001 nodes");
    for (std::size_t i = 0; i < read.nodes.size(); ++i) {
        if (!std::isfinite(read.nodes[i].x) || !std::isfinite(read.nodes[i].y))
            violated("every value is finite");
        if (i > 0 && !(read.nodes[i].x > read.nodes[i - 1].x))
            violated("x rises strictly");
    }
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarvel::check(tarvel::readNodeText(text));
    tarvel::check(tarvel::readNodeFile("nodes.dsf", text));
    return 0;
}
