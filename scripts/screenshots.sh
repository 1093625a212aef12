#!/bin/sh
# Takes the README's screenshots of the real window under Xvfb, at its
# default size:
#   docs/cubic-spline.png    sine, 11 points, the natural cubic spline
#   docs/browser.png         the data-set browser over the picture
#   docs/runge-data-set.png  runge.dsf, polynomial interpolation of degree 10
#   docs/study-aids.png      cos^10: the cubic spline kept, degree 3 over it,
#                            the pointer on an interpolated point
#   docs/error-decades.png   the same as errors on a decade scale
#   docs/lab-runge-evenly-spaced.png, docs/lab-runge-chebyshev.png
#                            the lab: Runge's function at 11 evenly spaced
#                            nodes and at 11 Chebyshev points
#   docs/lab-convergence.png the lab's convergence view
#   docs/lab-split.png       the same at Chebyshev points beside evenly spaced
#   docs/lab-lesson.png      the lesson on Chebyshev points, opened as a file
#   docs/lab-bound.png, docs/lab-cardinal.png
#                            the first lesson in the error bound's view and
#                            in the influence of node 0
#   docs/lab-poles.png       the lesson on rational approximation, its poles
#   scripts/screenshots.sh [output directory]
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

start() {
    cd "$root/examples"
    "$tarvel" &
    pid=$!
    wid=$(xdotool search --sync --onlyvisible --name "Tarvel - Polynomial interpolation" | head -n 1)
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"  # WIDTH, HEIGHT
}
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
trap stop EXIT

# Controls sit at their design places in twips, scaled by one factor: the
# client area is 9465 twips wide and starts under the menu bar.
at() {  # twips x y -> window pixels
    awk -v w="$WIDTH" -v x="$1" -v y="$2" 'BEGIN { s = w / 9465; printf "%d %d", x * s, 18 + y * s }'
}
click() {  # twips x y [button]
    set -- "$1" "$2" "${3:-1}"
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(at "$1" "$2") click "$3"
    sleep 0.4
}
menu() {  # the picture's context menu, then keys
    click 7000 7600 3
    # shellcheck disable=SC2068
    xdotool key $@
    sleep 0.4
}
degree() { click 4627 4102; xdotool key ctrl+a type "$1"; xdotool key Return; sleep 0.5; }
shot() { import -window "$wid" "$out/$1"; echo "wrote $out/$1"; }

start
click 4087 847                 # OK
click 400 3487                 # Cubic Spline Interpolation
click 4147 3187                # Calculate
shot cubic-spline.png
stop

start
click 400 2287                 # Data Set from a File
shot browser.png
click 3425 5171                # runge.dsf, the second file listed
sleep 1
click 4087 847                 # OK
degree 10                      # Return presses Calculate
shot runge-data-set.png
stop

start
click 400 1567                 # Cos^10 function
click 4087 847                 # OK
click 400 3487                 # Cubic Spline Interpolation
click 4147 3187                # Calculate
menu Down Down Down Down Return   # Keep this result
click 400 4207                 # Polynomial interpolation
degree 3
xdotool mousemove --window "$wid" 387 565   # an interpolated point near x = 0.45
sleep 0.6
shot study-aids.png
menu Down Down Down Return        # Show error
menu Down Down Down Down Return   # Error on a decade scale
xdotool mousemove --window "$wid" 600 740
sleep 0.4
shot error-decades.png
stop

# The lab's figures, each opened as a study made from a lesson file: the
# lesson's function and nodes, other methods, view or panels, no lesson text.
work=$(mktemp -d)
labstudy() {  # name lesson methods view [extra keys]
    sed -e "s/^  \"methods\": .*/  \"methods\": [$3],/" \
        -e "s/^  \"view\": .*/  \"view\": \"$4\",${5:-}/" \
        -e '/^  "lesson"/d' -e 's/^  "title": "",$/  "title": ""/' \
        "$root/lessons/$2" >"$work/$1.tarvel"
    cd "$root/examples"
    "$tarvel" "$work/$1.tarvel" &
    pid=$!
    lab=$(xdotool search --sync --onlyvisible --name "Interpolation lab" | head -n 1)
    sleep 2
}
labshot() { sleep 1; import -window "$lab" "$out/$1"; echo "wrote $out/$1"; }
labstudy runge-evenly 01-runge.tarvel '"global", "natural"' values
labshot lab-runge-evenly-spaced.png
stop
labstudy runge-chebyshev 02-chebyshev.tarvel '"global", "natural"' values
labshot lab-runge-chebyshev.png
stop
labstudy convergence 02-chebyshev.tarvel '"global", "natural", "clamped", "pw"' convergence
sleep 3
labshot lab-convergence.png
stop
labstudy split 02-chebyshev.tarvel '"global", "natural"' values ' "split": true, "linkAxes": true,'
labshot lab-split.png
stop
rm -rf "$work"

# A lesson, opened from the command line as the file manager opens it.
cd "$root/examples"
"$tarvel" "$root/lessons/02-chebyshev.tarvel" &
pid=$!
lab=$(xdotool search --sync --onlyvisible --name "Interpolation lab" | head -n 1)
labshot lab-lesson.png
stop

# The views of why, from the lessons: the error bound and a node's
# influence of the first, chosen with View's mnemonic (Alt+V) and the
# arrow keys up from the list's end (passing no slow view), and the poles
# as the seventh opens.
view() {  # the view's place in the View list, counted from its end
    xdotool key alt+v End
    i=0
    while [ "$i" -lt "$1" ]; do xdotool key Up; i=$((i + 1)); done
    sleep 1
}
"$tarvel" "$root/lessons/01-runge.tarvel" &
pid=$!
lab=$(xdotool search --sync --onlyvisible --name "Interpolation lab" | head -n 1)
sleep 1
view 3
labshot lab-bound.png
view 1
labshot lab-cardinal.png
stop
"$tarvel" "$root/lessons/07-rational.tarvel" &
pid=$!
lab=$(xdotool search --sync --onlyvisible --name "Interpolation lab" | head -n 1)
labshot lab-poles.png
