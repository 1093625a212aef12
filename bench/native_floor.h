// The floor for the polynomial method: as many multiply-then-divide steps
// as its Lagrange basis takes, as a plain loop built for this very
// processor (-O3 -march=native, in a translation unit of its own).
#pragma once

#include <cstdint>
#include <memory>

namespace tarvel::bench {

class NativeFloorKernel {
public:
    // window: basis values per point (each takes window - 1 steps).
    explicit NativeFloorKernel(int window);
    ~NativeFloorKernel();
    NativeFloorKernel(const NativeFloorKernel&) = delete;
    NativeFloorKernel& operator=(const NativeFloorKernel&) = delete;

    // The steps of `points` interpolation points.
    void run(std::int64_t points);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tarvel::bench
