#!/bin/sh
# Takes docs/study-aids.png: the real window under Xvfb after OK with the
# cos^10 function, Calculate with the cubic spline, "Keep this result", then polynomial interpolation of
# degree 3 (Return in the degree entry presses Calculate), with the mouse on
# an interpolated point so the status line reads it out.
#   scripts/screenshot-study-aids.sh [output.png]
# Needs xvfb-run, xdotool and imagemagick; builds nothing (uses build/tarvel).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tarvel=${TARVEL:-$root/build/tarvel}
out=${1:-$root/docs/study-aids.png}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
[ -x "$tarvel" ] || { echo "no $tarvel: build first" >&2; exit 1; }

if [ -z "${TARVEL_IN_XVFB:-}" ]; then
    TARVEL_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

cd "$root/examples"
"$tarvel" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
wid=$(xdotool search --sync --onlyvisible --name "Tarvel - Polynomial interpolation" | head -n 1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"  # WIDTH, HEIGHT

# Controls sit at their design places in twips, scaled by one factor: the
# client area is 9465 twips wide, and the menu bar and the status bar share
# what the client's 8235 twips leave of the height.
at() {  # twips x y -> window pixels
    awk -v w="$WIDTH" -v h="$HEIGHT" -v x="$1" -v y="$2" 'BEGIN {
        s = w / 9465; bar = (h - 8235 * s) / 2;
        printf "%d %d", x * s, bar + y * s }'
}
click() {  # twips x y [button]
    set -- "$1" "$2" "${3:-1}"
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(at "$1" "$2") click "$3"
    sleep 0.4
}

click 400 1567                 # Cos^10 function
click 4087 847                 # OK
click 400 3487                 # Cubic Spline Interpolation
click 4147 3187                # Calculate
click 7000 7600 3              # the picture's context menu ...
xdotool key Down Down Down Down Return   # ... "Keep this result"
sleep 0.3
click 400 4207                 # Polynomial interpolation
click 4627 4102                # the degree entry
xdotool key ctrl+a type 3
xdotool key Return             # presses Calculate
sleep 0.5
# The mouse on the interpolated point nearest x = 0.5 (cos^10 = 1).
px=$(awk 'BEGIN { printf "%d", 120 + (0.5 + 0.1) / 1.2 * 9135 }')
py=$(awk 'BEGIN { printf "%d", 4680 + (1.1 - 1.0) / 1.2 * 3255 }')
# shellcheck disable=SC2046
xdotool mousemove --window "$wid" $(at "$px" "$py")
sleep 0.5
import -window "$wid" "$out"
echo "wrote $out"
