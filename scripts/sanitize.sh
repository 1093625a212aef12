#!/bin/sh
# Builds the logic and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang) in a build directory of its own, and
# runs every test there. Any sanitizer report stops the test that made it,
# so a green run means no report at all.
#
# The Qt front end is left out by default: Qt itself is not instrumented,
# and the program's logic is what the tests drive. With WITH_GUI=1 the front
# end and its window tests are built and run too (offscreen); Qt's own code
# then runs unchecked, ours checked.
#
#   sh scripts/sanitize.sh            # build-asan, Debug
#   BUILD_TYPE=RelWithDebInfo sh scripts/sanitize.sh
#   WITH_GUI=1 SANITIZE_BUILD=build-asan-gui sh scripts/sanitize.sh
set -eu

cd "$(dirname "$0")/.."
build_dir=${SANITIZE_BUILD:-build-asan}
build_type=${BUILD_TYPE:-Debug}
gui=OFF
[ "${WITH_GUI:-0}" = 1 ] && gui=ON
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE="$build_type" \
    -DTARVEL_SANITIZE=ON -DTARVEL_BUILD_GUI="$gui" -DTARVEL_BUILD_TESTS=ON \
    -DTARVEL_FUZZ=OFF -DTARVEL_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "$jobs"

# Leaks count as failures; UBSan prints where it happened and stops.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS UBSAN_OPTIONS QT_QPA_PLATFORM
cd "$build_dir"
ctest --output-on-failure -j "$jobs"
echo "sanitize: every test passed under AddressSanitizer and UndefinedBehaviorSanitizer"
