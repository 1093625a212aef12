"""SciPy's compute time for the two spline cases of the Calculate benchmark.

The same given points as the benchmark (the sine sampled at i * (1/lastU)),
the same 1001 interpolation points (i * (1/1000)). Timed: building the
spline and evaluating it at the 1001 points; the sampling and, for the
piecewise cubic, the chord-bisector slopes are prepared outside the clock,
so SciPy is timed on less work than Tarvel's whole command. Prints one line
per case: its name, the median and the best time in milliseconds (medians
of 2000 calls, 7 rounds), the form the Calculate benchmark reads.
"""
import math
import sys
import time

try:
    import numpy as np
    from scipy.interpolate import CubicHermiteSpline, CubicSpline
except ImportError:
    print("SciPy reference skipped: python3-scipy is not installed")
    sys.exit(0)


def grid(count):
    last = count - 1
    step = 1 / last
    return np.array([i * step for i in range(count)])


def chord_bisector_slopes(x, y):
    dx = np.diff(x)
    dy = np.diff(y)
    length = np.sqrt(dx * dx + dy * dy)
    cos, sin = dx / length, dy / length
    s = np.empty_like(x)
    s[1:-1] = (sin[:-1] + sin[1:]) / (cos[:-1] + cos[1:])
    s[0], s[-1] = s[1], s[-2]
    return s


def timed(work, runs=2000, rounds=7):
    """Median and best of `rounds` medians of processor time per call."""
    medians = []
    for _ in range(rounds):
        times = []
        for _ in range(runs):
            start = time.process_time_ns()
            work()
            times.append(time.process_time_ns() - start)
        times.sort()
        medians.append(times[len(times) // 2] / 1e6)
    medians.sort()
    return medians[len(medians) // 2], medians[0]


def main():
    xi = grid(1001)
    x = grid(101)
    y = np.sin(2 * math.pi * x)
    cubic = timed(lambda: CubicSpline(x, y, bc_type="natural")(xi))
    x = grid(302)
    y = np.sin(2 * math.pi * x)
    slopes = chord_bisector_slopes(x, y)
    hermite = timed(lambda: CubicHermiteSpline(x, y, slopes)(xi))
    print(f"cubic_spline {cubic[0]:.5f} {cubic[1]:.5f}")
    print(f"pw_cubic_spline {hermite[0]:.5f} {hermite[1]:.5f}")


main()
