#!/bin/sh
# Takes the interpolation lab's pictures for the README from the real window
# under Xvfb: Runge's function at 11 evenly spaced nodes and at 11 Chebyshev
# points (global polynomial and natural spline), and the convergence view.
#   scripts/screenshot-lab.sh [output directory, default docs]
# Needs xvfb-run, xdotool and imagemagick; builds nothing (uses build/tarvel).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tarvel=${TARVEL:-$root/build/tarvel}
out=${1:-$root/docs}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
[ -x "$tarvel" ] || { echo "no $tarvel: build first" >&2; exit 1; }

if [ -z "${TARVEL_IN_XVFB:-}" ]; then
    TARVEL_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

cd "$root/examples"
"$tarvel" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
xdotool search --sync --onlyvisible --name "Tarvel - Polynomial interpolation" >/dev/null
sleep 1
# Study menu, its last entry: "Interpolation lab…".
xdotool mousemove 20 8 click 1
sleep 0.5
xdotool key Up Return
lab=$(xdotool search --sync --onlyvisible --name "Interpolation lab" | head -n 1)
sleep 1

# Places in the lab (it opens at the screen's top left corner, 1100 x 720).
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
pick() {  # combo x y, then the keys that choose the entry in its list
    x=$1; y=$2; shift 2
    click "$x" "$y"
    xdotool key "$@" Return
    sleep 0.8
}
pick 220 38 r                      # Function: Runge
click 28 209                       # Global polynomial
click 28 290                       # Natural cubic spline
click 28 236                       # Local Lagrange off
sleep 1
import -window "$lab" "$out/lab-runge-evenly-spaced.png"
pick 220 66 Down                   # Nodes: Chebyshev points
sleep 1
import -window "$lab" "$out/lab-runge-chebyshev.png"
click 28 316                       # Clamped
click 28 368                       # PW cubic spline
pick 220 152 End                   # View: Convergence
sleep 3
import -window "$lab" "$out/lab-convergence.png"
