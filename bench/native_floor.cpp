// Built with -march=native: nothing here may be inlined into code built for
// other processors, so it shares no inline function with the rest of the
// benchmark (not even the benchmark library's helpers).
#include "native_floor.h"

#include <array>
#include <cstddef>
#include <vector>

#include "interp/lagrange.h"  // kWindowCapacity only

namespace tarvel::bench {
namespace {

constexpr int kMaxWindow = kWindowCapacity;

// Keeps the compiler from assuming anything about memory behind p.
inline void escape(void* p)
{
    asm volatile("" : : "g"(p) : "memory");
}

}  // namespace

// Multiply-then-divide steps in the shape of the Lagrange basis: per point,
// every accumulator but one takes factor m before any takes factor m + 1,
// so the chains are independent and the divider can overlap them. The
// divisors are stored by m so that the inner loop runs along memory.
struct NativeFloorKernel::State {
    int window = 0;
    std::vector<double> divisor;
    std::array<double, kMaxWindow> acc{};

    std::size_t at(int m, int k) const { return static_cast<std::size_t>(m * window + k); }

    void onePoint(double scale)
    {
        for (int m = 0; m < window; ++m) {
            const double factor = scale + 1.0e-4 * m;
            const double* row = &divisor[at(m, 0)];
            for (int k = 0; k < m; ++k)
                acc[static_cast<std::size_t>(k)] =
                    (acc[static_cast<std::size_t>(k)] * factor) / row[k];
            for (int k = m + 1; k < window; ++k)
                acc[static_cast<std::size_t>(k)] =
                    (acc[static_cast<std::size_t>(k)] * factor) / row[k];
        }
    }
};

NativeFloorKernel::NativeFloorKernel(int window) : state_(std::make_unique<State>())
{
    state_->window = window < kMaxWindow ? window : kMaxWindow;
    const int w = state_->window;
    state_->divisor.resize(static_cast<std::size_t>(w * w));
    // Factors near 1 keep every product far from overflow and from
    // subnormal numbers, whose division would be slower than usual.
    for (int m = 0; m < w; ++m)
        for (int k = 0; k < w; ++k)
            state_->divisor[state_->at(m, k)] = 1.0 + 1.0e-3 * (k - m);
}

NativeFloorKernel::~NativeFloorKernel() = default;

void NativeFloorKernel::run(std::int64_t points)
{
    State& s = *state_;
    for (std::int64_t p = 0; p < points; ++p) {
        s.acc.fill(1.0);
        // The accumulators start afresh for every point, and the compiler
        // may not notice that every point computes the same.
        escape(s.acc.data());
        s.onePoint(1.0 + 1.0e-6 * static_cast<double>(p));
        escape(s.acc.data());
    }
}

}  // namespace tarvel::bench
