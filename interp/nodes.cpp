#include "interp/nodes.h"

#include <cmath>
#include <numbers>

#include "interp/interpolant.h"

namespace tarvel {
std::vector<double> familyNodes(NodeFamily family, int n)
{
    if (n < kMinStudyNodes || n > kMaxStudyNodes)
        return {};
    std::vector<double> xs(static_cast<std::size_t>(n));
    const double last = n - 1;
    // The main window's sampling: a product with the step, not a quotient.
    const double step = 1 / last;
    for (int i = 0; i < n; ++i) {
        double x = 0;
        switch (family) {
        case NodeFamily::Equispaced:
            x = i * step;
            break;
        case NodeFamily::Lobatto:
            x = (1 - std::cos(std::numbers::pi * i / last)) / 2;
            break;
        case NodeFamily::Gauss:
            x = (1 - std::cos(std::numbers::pi * (2 * i + 1) / (2 * n))) / 2;
            break;
        }
        xs[static_cast<std::size_t>(i)] = x;
    }
    return xs;
}

}  // namespace tarvel
