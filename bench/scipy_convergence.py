"""SciPy's time for the convergence table of the methods benchmark.

The same functions, node families, methods and counts as
tarvel_methods_bench for the methods SciPy has, each interpolant built with
SciPy (or NumPy where SciPy has no such method: the local cubic and the
chord-bisector slopes); the periodic spline only where the data are
periodic, as there
and evaluated on the grid k / 10000, k = 0..10000, its largest and RMS
error computed. Prints `scipy_convergence_table seconds=S` (process time,
the best of three runs) and, with --lines, the table's lines themselves.
"""
import math
import sys
import time

try:
    import numpy as np
    from scipy.interpolate import (Akima1DInterpolator, BarycentricInterpolator,
                                   CubicHermiteSpline, CubicSpline, PchipInterpolator,
                                   make_interp_spline)
except ImportError:
    print("SciPy reference skipped: python3-scipy is not installed")
    sys.exit(0)

TWO_PI = 2 * math.pi
COUNTS = [5, 11, 21, 41, 81, 161, 321, 641, 1001]
METHODS = ["global", "local3", "linear", "natural", "clamped", "notaknot", "pw", "pchip",
           "akima", "periodic", "bspline5"]


def polynomial(x):
    return (1 + x + x**2 + x**3 + x**4) / 5


def polynomial_slope(x):
    return (1 + 2 * x + 3 * x**2 + 4 * x**3) / 5


FUNCTIONS = {
    "sine": (lambda x: np.sin(TWO_PI * x), lambda x: TWO_PI * np.cos(TWO_PI * x)),
    "cos10": (lambda x: np.cos(TWO_PI * x) ** 10,
              lambda x: -10 * TWO_PI * np.cos(TWO_PI * x) ** 9 * np.sin(TWO_PI * x)),
    "runge": (lambda x: 1 / (1 + 25 * (2 * x - 1) ** 2),
              lambda x: -100 * (2 * x - 1) / (1 + 25 * (2 * x - 1) ** 2) ** 2),
    "abs": (lambda x: np.abs(2 * x - 1), lambda x: np.where(2 * x - 1 >= 0, 2.0, -2.0)),
    "polynomial": (polynomial, polynomial_slope),
}


def nodes(family, n):
    i = np.arange(n)
    if family == "equispaced":
        return i * (1 / (n - 1))
    return (1 - np.cos(math.pi * i / (n - 1))) / 2


def chord_bisector_slopes(x, y):
    dx, dy = np.diff(x), np.diff(y)
    length = np.hypot(dx, dy)
    cos, sin = dx / length, dy / length
    s = np.empty_like(x)
    s[1:-1] = (sin[:-1] + sin[1:]) / (cos[:-1] + cos[1:])
    s[0], s[-1] = s[1], s[-2]
    return s


def local_cubic(x, y, grid):
    j = np.clip(np.searchsorted(x, grid, side="right") - 1, 0, len(x) - 2)
    start = np.clip(j - 1, 0, len(x) - 4)
    window = start[:, None] + np.arange(4)[None, :]
    xw, yw = x[window], y[window]
    value = np.zeros_like(grid)
    for k in range(4):
        basis = np.ones_like(grid)
        for m in range(4):
            if m != k:
                basis *= (grid - xw[:, m]) / (xw[:, k] - xw[:, m])
        value += basis * yw[:, k]
    return value


def interpolate(method, x, y, slopes, grid):
    if method == "global":
        return BarycentricInterpolator(x, y)(grid)
    if method == "local3":
        return local_cubic(x, y, grid)
    if method == "linear":
        return np.interp(grid, x, y)
    if method == "natural":
        return CubicSpline(x, y, bc_type="natural")(grid)
    if method == "clamped":
        return CubicSpline(x, y, bc_type=((1, slopes[0]), (1, slopes[1])))(grid)
    if method == "notaknot":
        return CubicSpline(x, y, bc_type="not-a-knot")(grid)
    if method == "pw":
        return CubicHermiteSpline(x, y, chord_bisector_slopes(x, y))(grid)
    if method == "pchip":
        return PchipInterpolator(x, y)(grid)
    if method == "periodic":
        if abs(y[-1] - y[0]) > 8 * np.finfo(float).eps * np.max(np.abs(y)):
            return None
        y = y.copy()
        y[-1] = y[0]
        return CubicSpline(x, y, bc_type="periodic")(grid)
    if method == "bspline5":
        return make_interp_spline(x, y, k=5)(grid) if len(x) > 5 else None
    return Akima1DInterpolator(x, y)(grid)


def table(lines):
    grid = np.arange(10001) / 10000
    for name, (f, df) in FUNCTIONS.items():
        exact = f(grid)
        slopes = (float(df(np.array(0.0))), float(df(np.array(1.0))))
        for family in ("equispaced", "lobatto"):
            for method in METHODS:
                for n in COUNTS:
                    x = nodes(family, n)
                    values = interpolate(method, x, f(x), slopes, grid)
                    if values is None:
                        continue
                    error = np.abs(values - exact)
                    if lines is not None:
                        lines.append(
                            f"convergence function={name} nodes={family} method={method} "
                            f"n={n} max_error={np.max(error):.6e} "
                            f"rms_error={math.sqrt(np.mean(error * error)):.6e}")


def main():
    best = math.inf
    for _ in range(3):
        start = time.process_time()
        table(None)
        best = min(best, time.process_time() - start)
    if "--lines" in sys.argv:
        lines = []
        table(lines)
        print("\n".join(lines))
    print(f"scipy_convergence_table seconds={best:.3f}")


if __name__ == "__main__":
    with np.errstate(all="ignore"):
        main()
