#!/bin/sh
# Builds the libFuzzer targets with clang (address, undefined and float
# checks on the whole library) in build-fuzz and runs each of them for the
# given number of seconds on a copy of its seed corpus, so the repository
# stays as it is. Fails when any target finds a crash, a sanitizer report,
# a violated property, a timeout or an out-of-memory.
#
#   sh scripts/fuzz.sh [seconds per target, default 60] [seed]
#
# With a seed (as `make fuzz` and CI give one) a run takes the same path on
# every machine, so a short run checks the same inputs each time and a
# failure can be replayed; without one (`make fuzz-long`) each run explores
# from a fresh random seed.
#
# A failing input is kept in fuzz-out/<target>/ and can be replayed with
#   build-fuzz/fuzz/<target> fuzz-out/<target>/crash-...
# (TARVEL_FUZZ_TRACE=1 makes fuzz_form_session print the actions it took).
set -eu

seconds=${1:-60}
seed=${2:-0}
for number in "$seconds" "$seed"; do
    case $number in
        '' | *[!0-9]*) echo "usage: sh scripts/fuzz.sh [seconds per target] [seed]" >&2; exit 2 ;;
    esac
done

cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${FUZZ_BUILD:-build-fuzz}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
targets="fuzz_numeric_text fuzz_dsf_reader fuzz_form_session fuzz_methods fuzz_lab_session
fuzz_plot_layout fuzz_expression fuzz_node_text fuzz_study_file"

CC=clang CXX=clang++ cmake -S . -B "$build_dir" \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVEL_FUZZ=ON -DTARVEL_SANITIZE=ON \
    -DTARVEL_BUILD_GUI=OFF -DTARVEL_BUILD_TESTS=OFF -DTARVEL_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "$jobs"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-fuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS UBSAN_OPTIONS

failed=""
summary=""
for target in $targets; do
    corpus="$work/$target/corpus"
    artifacts="$root/fuzz-out/$target"
    log="$work/$target/log"
    mkdir -p "$corpus" "$artifacts"
    cp "fuzz/corpus/$target/"* "$corpus/"
    extra=""
    [ -f "fuzz/$target.dict" ] && extra="-dict=fuzz/$target.dict"
    # A session is a sequence of actions: let it be long from the start
    # instead of growing the length slowly from the short seeds.
    [ "$target" = fuzz_form_session ] && extra="$extra -len_control=0 -max_len=1024"

    # The session target keeps its data-set files in a directory of its
    # own under TMPDIR; here that is inside the work directory.
    mkdir -p "$work/$target/tmp"
    # Inputs that once found a fault are replayed first.
    for input in fuzz/regressions/"$target"-*; do
        [ -f "$input" ] || continue
        echo "== $target: replaying $input"
        "$build_dir/fuzz/$target" "$input" >"$log" 2>&1 || {
            cat "$log"
            failed="$failed $target"
        }
    done

    # libFuzzer draws a random seed for 0.
    extra="$extra -seed=$seed"

    echo "== $target: ${seconds}s, seed $seed"
    status=0
    # shellcheck disable=SC2086
    TMPDIR="$work/$target/tmp" "$build_dir/fuzz/$target" $extra \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" >"$log" 2>&1 || status=$?

    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(echo "$last" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$last" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    corp=$(echo "$last" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
    used_seed=$(sed -n 's/^INFO: Seed: *//p' "$log" | head -n 1)
    line=$(printf '%-18s executions %-9s cov %-6s ft %-6s corpus %-5s seed %s' \
        "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "${used_seed:-?}")
    if [ "$status" -ne 0 ]; then
        failed="$failed $target"
        line="$line FAILED (exit $status)"
        echo "-- $target failed; what it reported:"
        grep -A 4 -E 'PROPERTY VIOLATED|ERROR: |runtime error' "$log" | head -n 40 || true
        echo "-- the end of its log:"
        tail -n 30 "$log"
        echo "-- failing input kept in $artifacts/"
    fi
    summary="$summary$line
"
    echo "$last"
done

echo
echo "Fuzzing summary (${seconds}s per target):"
printf '%s' "$summary"
if [ -n "$failed" ]; then
    echo "FAILED:$failed"
    exit 1
fi
echo "no target found a fault"
