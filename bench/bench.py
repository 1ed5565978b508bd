"""Benchmark of the module against its double-precision twin: one table row per workload.

Each row gives the median time of the workload through the module, the median time of the twin
(the same boolean pipeline or de Boor kernel on doubles, bench/twin) measured in the same run on the
same inputs, their ratio, the size of the result and a hash of its exact text. The hashes let a
later change show that no result changed. Run through bench/run.sh, which builds what it needs.

For the boolean workloads (W1, W2) the last column is the share of the side tests decided
exactly that reached GMP, counted by bench/side_tests.cpp on the same inputs.

usage: bench.py BUILD_DIR [NAME_PREFIX ...]   (BUILD_DIR holds libbrevant_twin.so and side_tests;
                                              only the workloads whose names start so)
"""

import ctypes
import hashlib
import math
import random
import statistics
import subprocess
import sys
import time
from fractions import Fraction
from pathlib import Path

import brevant_rs as br

OPS = ("union", "cut", "intersect")
BUDGET_S = 0.4  # time to spend on the repetitions of one measurement, beyond the first run
MAX_REPS = 25


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def digest(result_text):
    return hashlib.sha256(result_text.encode()).hexdigest()[:12]


def measure(run):
    """The median time of repeated runs of run() and the value of the first: at least three runs,
    more while the budget lasts."""
    start = time.perf_counter()
    value = run()
    first = time.perf_counter() - start
    times = [first]
    reps = max(3, min(MAX_REPS, int(BUDGET_S / max(first, 1e-9))))
    for _ in range(reps - 1):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return statistics.median(times), value


class Twin:
    """The twin library through ctypes; every function takes the inputs as doubles."""

    def __init__(self, path):
        self.lib = ctypes.CDLL(path)
        dp, ip = ctypes.POINTER(ctypes.c_double), ctypes.POINTER(ctypes.c_int)
        self.lib.twin_box_boolean.argtypes = [dp, dp, ctypes.c_int, ip]
        self.lib.twin_box_boolean.restype = ctypes.c_double
        self.lib.twin_sequential_cuts.argtypes = [dp, ctypes.c_int, dp, ip]
        self.lib.twin_sequential_cuts.restype = ctypes.c_double
        i = ctypes.c_int
        self.lib.twin_curve_eval.argtypes = [i, i, dp, dp, i, dp, i, dp, dp]
        self.lib.twin_surface_eval.argtypes = [i, i, i, i, dp, dp, i, dp, i, dp, i, dp, dp]

    @staticmethod
    def doubles(values):
        values = [float(Fraction(v)) for v in values]
        return (ctypes.c_double * max(1, len(values)))(*values)


# ---------------------------------------------------------------------------------------------
# Workloads. Each gives rows (name, exact, describe, twin, side_args): exact() runs the workload
# through the module and returns its result, describe(result) gives the result's size and exact text
# (outside the timing), twin() runs the double twin on the same inputs and returns its size (None
# where there is no twin), and side_args are the arguments of side_tests for the same work (None
# where it does not apply).


def box_args_integer():
    return ("2", "2", "2"), ("2", "2", "2"), ("1", "1", "1")


def box_args_rational():
    return ("200/71", "53/19", "97/37"), ("64/27", "81/31", "99/43"), ("91/83", "26/25", "67/97")


def w1(twin):
    rows = []
    for kind, (a, b, t) in (("int", box_args_integer()), ("rat", box_args_rational())):
        box_a = Twin.doubles((*a, 0, 0, 0))
        box_b = Twin.doubles((*b, *t))
        for code, op in enumerate(OPS):
            def exact(op=op, args=(*a, *b, *t)):
                return br.box_boolean(*args, op)

            def describe(result, op=op, a=a, b=b, t=t):
                solid = br.make_box(*a, "A").boolean(op, br.make_box(*b, "B").translate(*t))
                return len(solid.polygons()), result[0] + "\n" + result[1]

            def double(code=code, box_a=box_a, box_b=box_b):
                count = ctypes.c_int()
                twin.lib.twin_box_boolean(box_a, box_b, code, ctypes.byref(count))
                return count.value

            rows.append((f"W1 {op} {kind}", exact, describe, double, ["box", *a, *b, *t, op]))
    return rows


def slab_cuts(n):
    """n boxes at seeded rational places, each crossing the top or the bottom face of the 10 × 10 × 1
    slab (drilled through it, or a pocket from above or below); some also cross its sides."""
    rng = random.Random(8)
    cuts = []
    for _ in range(80):
        ex, ey = Fraction(rng.randint(50, 200), 100), Fraction(rng.randint(50, 200), 100)
        tx, ty = Fraction(rng.randint(-50, 950), 100), Fraction(rng.randint(-50, 950), 100)
        kind = rng.randrange(3)
        depth = Fraction(rng.randint(20, 80), 100)
        beyond = Fraction(rng.randint(10, 50), 100)
        if kind == 0:
            tz, ez = -beyond, 1 + 2 * beyond
        elif kind == 1:
            tz, ez = 1 - depth, depth + beyond
        else:
            tz, ez = -beyond, beyond + depth
        cuts.append((ex, ey, ez, tx, ty, tz))
    return cuts[:n]


def sequential_cuts(cuts):
    solid = br.make_box("10", "10", "1", "S")
    for ex, ey, ez, tx, ty, tz in cuts:
        cutter = br.make_box(text(ex), text(ey), text(ez), "C").translate(text(tx), text(ty), text(tz))
        solid = solid.boolean("cut", cutter)
    return solid


def describe_solid(solid):
    return len(solid.polygons()), solid.volume6_str() + "\n" + solid.canonical()


def w2(twin):
    rows = []
    slab = Twin.doubles((10, 10, 1, 0, 0, 0))
    for n in (10, 20, 40, 80):
        cuts = slab_cuts(n)
        flat = Twin.doubles([v for cut in cuts for v in cut])

        def double(n=n, flat=flat):
            count = ctypes.c_int()
            twin.lib.twin_sequential_cuts(slab, n, flat, ctypes.byref(count))
            return count.value

        side_args = ["cuts"] + [text(v) for cut in cuts for v in cut]
        rows.append((f"W2 slab - {n} boxes", lambda cuts=cuts: sequential_cuts(cuts), describe_solid, double, side_args))
    return rows


def fragmented_slab():
    """A 4 × 4 × 1 slab as the union of sixteen unit boxes: convex, with faces cut in pieces."""
    slab = None
    for i in range(4):
        for j in range(4):
            box = br.make_box("1", "1", "1", "u").translate(str(i), str(j), "0")
            slab = box if slab is None else slab.boolean("union", box)
    return slab


def l_prism():
    """The prism over the L (0,0) (4,0) (4,1) (1,1) (1,3) (0,3), height 2: non-convex."""
    return br.make_prism(["0", "0", "4", "0", "4", "1", "1", "1", "1", "3", "0", "3"], "2", "L")


def plate_with_holes():
    """A 10 × 10 × 1 plate with four 2 × 2 holes through it."""
    plate = br.make_box("10", "10", "1", "plate")
    for x, y in ((2, 2), (6, 2), (2, 6), (6, 6)):
        plate = plate.boolean("cut", br.make_box("2", "2", "3", "hole").translate(str(x), str(y), "-1"))
    return plate


def w3(_twin):
    return [(f"W3 chamfer {name}", lambda solid=solid: solid.chamfer("1/10"), describe_solid, None, None)
            for name, solid in (("unit cube", br.make_box("1", "1", "1", "p")),
                                ("10x1x1", br.make_box("10", "1", "1", "p")),
                                ("4x4x1 of 16", fragmented_slab()),
                                ("L prism", l_prism()),
                                ("plate 4 holes", plate_with_holes()))]


def curve_input():
    cps = [(i, Fraction((i * i) % 17, i % 5 + 1), Fraction((7 * i) % 11, 3)) for i in range(50)]
    weights = [Fraction(i % 5 + 1, 3 + i % 3) for i in range(50)]
    knots = [0] * 4 + list(range(1, 47)) + [47] * 4
    params = [Fraction(47 * k, 999) for k in range(1000)]
    return cps, weights, knots, params


def surface_input():
    net = [[(i, j, Fraction((i * j) % 7, i + 1)) for j in range(6)] for i in range(6)]
    weights = [[Fraction(2 + (i + 2 * j) % 3, 2) for j in range(6)] for i in range(6)]
    knots = [0, 0, 0, 0, Fraction(1, 3), Fraction(2, 3), 1, 1, 1, 1]
    params = [(Fraction(2 * a + 1, 20), Fraction(2 * b + 1, 23)) for a in range(10) for b in range(10)]
    return net, weights, knots, params


def describe_points(points):
    return len(points), "\n".join(",".join(p) for p in points)


def w4(twin):
    cps, weights, knots, params = curve_input()
    cps_t = [[text(c) for c in p] for p in cps]
    weights_t = [text(w) for w in weights]
    knots_t = [text(k) for k in knots]
    params_t = [text(t) for t in params]

    def curve():
        return [br.nurbs_curve_eval(3, cps_t, knots_t, t, weights_t) for t in params_t]

    c_cps = Twin.doubles([c for p in cps for c in p])
    c_weights, c_knots, c_params = Twin.doubles(weights), Twin.doubles(knots), Twin.doubles(params)
    c_out = (ctypes.c_double * (3 * len(params)))()

    def curve_twin():
        twin.lib.twin_curve_eval(3, len(cps), c_cps, c_weights, len(knots), c_knots, len(params), c_params, c_out)
        return len(params)

    net, s_weights, s_knots, s_params = surface_input()
    net_t = [[[text(c) for c in p] for p in row] for row in net]
    s_weights_t = [[text(w) for w in row] for row in s_weights]
    s_knots_t = [text(k) for k in s_knots]
    s_params_t = [(text(u), text(v)) for u, v in s_params]

    def surface():
        return [br.nurbs_surface_eval(3, 3, net_t, s_knots_t, s_knots_t, u, v, s_weights_t) for u, v in s_params_t]

    s_net = Twin.doubles([c for row in net for p in row for c in p])
    s_w = Twin.doubles([w for row in s_weights for w in row])
    s_k = Twin.doubles(s_knots)
    s_uv = Twin.doubles([x for pair in s_params for x in pair])
    s_out = (ctypes.c_double * (3 * len(s_params)))()

    def surface_twin():
        twin.lib.twin_surface_eval(3, 3, 6, 6, s_net, s_w, len(s_knots), s_k, len(s_knots), s_k, len(s_params), s_uv,
                                   s_out)
        return len(s_params)

    return [("W4 curve 1000 points", curve, describe_points, curve_twin, None),
            ("W4 surface 100 points", surface, describe_points, surface_twin, None)]


def bump(weights):
    """A bicubic patch over the unit square, z = f(u) + f(v) with f(t) = (1 − 2t)²: control values
    (1, −1/3, −1/3, 1) in each direction; with weights (a 4 × 4 list) it is rational."""
    a = [Fraction(1), Fraction(-1, 3), Fraction(-1, 3), Fraction(1)]
    net = []
    for i in range(4):
        row = []
        for j in range(4):
            point = (Fraction(i, 3), Fraction(j, 3), a[i] + a[j])
            if weights is None:
                row.append([text(c) for c in point])
            else:
                w = weights[i][j]
                row.append([text(c * w) for c in point] + [text(w)])
        net.append(row)
    return net


def plane_patch(z_of):
    return [[[text(Fraction(i, 3)), text(Fraction(j, 3)), text(z_of(Fraction(i, 3))), "1/1"] for j in range(4)]
            for i in range(4)]


def w5(_twin):
    crossing_a = bump([[1 + (i + j) % 2 for j in range(4)] for i in range(4)])
    crossing_b = plane_patch(lambda x: Fraction(1, 4) + x / 2)
    tangent_a = bump(None)
    tangent_b = [[p[:3] for p in row] for row in plane_patch(lambda x: 0)]
    rows = []
    for name, a, b, depth in (("crossing", crossing_a, crossing_b, 4), ("crossing", crossing_a, crossing_b, 5),
                              ("crossing", crossing_a, crossing_b, 6), ("tangent", tangent_a, tangent_b, 4)):
        rows.append((f"W5 {name} depth {depth}", lambda a=a, b=b, depth=depth: br.ssi_pairs(a, b, depth),
                     describe_points, None, None))
    return rows


WORKLOADS = (w1, w2, w3, w4, w5)


def growth(points):
    """The least-squares slope of log(time) against log(size) over (size, seconds) pairs."""
    xs = [math.log(size) for size, _ in points]
    ys = [math.log(seconds) for _, seconds in points]
    mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
    return sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)


def milliseconds(seconds):
    return f"{seconds * 1e3:.3f}"


def gmp_share(side_tests, args):
    """The share of exact side tests that reached GMP, as a table cell."""
    if args is None:
        return "-"
    total, fallbacks = map(int, subprocess.run([side_tests, *args], check=True, capture_output=True,
                                               text=True).stdout.split())
    return f"{100 * fallbacks / total:.1f}% of {total}" if total else "none"


def main():
    build = Path(sys.argv[1])
    twin = Twin(str(build / "libbrevant_twin.so"))
    side_tests = str(build / "side_tests")
    prefixes = sys.argv[2:]
    header = (f"{'workload':<26} {'exact ms':>11} {'twin ms':>11} {'ratio':>8} {'size':>7}  {'result sha256':<13}"
              f"  gmp side tests")
    print(header)
    print("-" * len(header))
    for workload in WORKLOADS:
        key = workload.__name__.upper()
        if prefixes and not any(p.upper().startswith(key) or key.startswith(p.upper()) for p in prefixes):
            continue
        for name, exact, describe, double, side_args in workload(twin):
            if prefixes and not any(name.upper().startswith(p.upper()) for p in prefixes):
                continue
            exact_s, result = measure(exact)
            size, result_text = describe(result)
            twin_cell, ratio_cell, size_cell = "-", "-", str(size)
            if double is not None:
                twin_s, twin_size = measure(double)
                twin_cell, ratio_cell = milliseconds(twin_s), f"{exact_s / twin_s:.1f}"
                if twin_size != size:
                    size_cell += f" ({twin_size})"
            print(f"{name:<26} {milliseconds(exact_s):>11} {twin_cell:>11} {ratio_cell:>8} {size_cell:>7}  "
                  f"{digest(result_text):<13}  {gmp_share(side_tests, side_args)}", flush=True)
    print()
    print("size: polygons of the result (W1-W3), points evaluated (W4), surviving pairs (W5);")
    print("      in parentheses the twin's polygon count where it differs.")
    print("W2 times the whole sequence of cuts; W4 all points of a row, one module call each (so the")
    print("   curve's milliseconds per 1000 points read as microseconds per point).")
    print("gmp side tests: the share of the exact side tests (those the double pre-test left open)")
    print("                that needed GMP, of how many.")


if __name__ == "__main__":
    main()
