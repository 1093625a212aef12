#!/bin/sh
# Installs the Debian packages that building, running and testing Tarvel
# need, skipping those already installed; with the argument `bench`, also
# what the benchmarks need.
set -eu
packages="cmake make g++ qt6-base-dev qt6-svg-dev libgtest-dev libbenchmark-dev libeigen3-dev clang libclang-rt-14-dev xvfb xauth dpkg-dev desktop-file-utils appstream texlive-latex-base texlive-pictures texlive-latex-extra"
# `bench` adds what the benchmarks compare against: SciPy's convergence table.
if [ "${1:-}" = bench ]; then packages="$packages python3-scipy"; fi
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
