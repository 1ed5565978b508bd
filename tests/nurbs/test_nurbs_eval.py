"""NURBS curve and surface evaluation: worked points, failures, and an independent Cox-de Boor
evaluation with Python fractions."""

import inspect
import random
from fractions import Fraction

import pytest

import brevant_rs as br

RNG = random.Random(20240607)
LINE_KNOTS = ["0", "0", "1", "1"]
QUARTER = [["1", "0", "0"], ["1", "1", "0"], ["0", "1", "0"]]
BEZIER2 = ["0", "0", "0", "1", "1", "1"]
NET = [[["0", "0", "0"], ["0", "2", "0"]], [["2", "0", "0"], ["2", "2", "4"]]]
TWO_SPAN = [["0", "0", "0"], ["1", "0", "0"], ["2", "1", "0"], ["3", "0", "0"]]
TWO_SPAN_KNOTS = ["0", "0", "0", "1", "2", "2", "2"]


def text(q):
    return f"{q.numerator}/{q.denominator}"


def texts(values):
    return [text(v) for v in values]


def test_signatures():
    assert str(inspect.signature(br.nurbs_curve_eval)) == "(degree, cps, knots, t, weights=None)"
    assert str(inspect.signature(br.nurbs_surface_eval)) == "(pu, pv, net, ku, kv, u, v, weights=None)"


def quarter(*args, **kwargs):
    return br.nurbs_curve_eval(2, QUARTER, BEZIER2, *args, **kwargs)


def bilinear(*args):
    return br.nurbs_surface_eval(1, 1, NET, LINE_KNOTS, LINE_KNOTS, *args)


@pytest.mark.parametrize("call, expected", [
    # (3/4, 1, 0, 5/4) projected: a point of the unit circle.
    (lambda: quarter("1/2", ["1", "1", "2"]), ["3/5", "4/5", "0/1"]),
    (lambda: br.nurbs_curve_eval(1, [["0", "0", "0"], ["4", "2", "0"]], LINE_KNOTS, "1/4"), ["1/1", "1/2", "0/1"]),
    (lambda: bilinear("1/2", "1/2"), ["1/1", "1/1", "1/1"]),
    # Homogeneous corners weigh net[1][1] three times: (2+2+2·3, 0+2+2·3, 4·3) / 6.
    (lambda: bilinear("1/2", "1/2", [["1", "1"], ["1", "3"]]), ["4/3", "4/3", "2/1"]),
    (lambda: bilinear("1", "0"), ["2/1", "0/1", "0/1"]),
    # The end of a clamped range is the last control point; tuples work as lists.
    (lambda: br.nurbs_curve_eval(2, tuple(map(tuple, QUARTER)), tuple(BEZIER2), "1", ("1", "1", "2")),
     ["0/1", "1/1", "0/1"]),
    # Surplus weights are ignored; weights omitted, None and all '1' agree.
    (lambda: quarter("1/2", ["1", "1", "2", "7"]), ["3/5", "4/5", "0/1"]),
    (lambda: quarter("1/3", weights=None), ["8/9", "5/9", "0/1"]),
    (lambda: quarter("1/3", ["1", "1", "1"]), ["8/9", "5/9", "0/1"]),
    (lambda: bilinear("1/2", "1/2", [["1", "1", "x"], ["1", "1"], ["x"]]), ["1/1", "1/1", "1/1"]),
    # Degree 0 in v: each row is piecewise constant, then linear across rows.
    (lambda: br.nurbs_surface_eval(1, 0, NET, LINE_KNOTS, ["0", "1", "2"], "1/2", "3/2"), ["1/1", "2/1", "2/1"]),
])
def test_worked_points(call, expected):
    assert call() == expected


@pytest.mark.parametrize("call, message", [
    (lambda: br.nurbs_curve_eval(0, [], ["0", "1"], "0"), "index out of range"),
    (lambda: br.nurbs_surface_eval(0, 0, [], ["0", "1"], ["0", "1"], "0", "0"), "index out of range"),
    (lambda: br.nurbs_surface_eval(0, 0, [[]], ["0", "1"], ["0", "1"], "0", "0"), "index out of range"),
    (lambda: br.nurbs_curve_eval(2, QUARTER, ["0", "0", "0"], "1/2"), "index out of range"),
    (lambda: br.nurbs_curve_eval(3, QUARTER, BEZIER2 + ["1", "1"], "1/2"), "index out of range"),
    # Huge degrees fail at once, whichever span rule applies; so does n == p.
    *((lambda p=p, t=t: br.nurbs_curve_eval(p, TWO_SPAN, TWO_SPAN_KNOTS, t), "index out of range")
      for p in (2**64 - 1, 2**64 - 2, 2**63 - 1, 4) for t in ("-5", "1/2", "2")),
    # A knot of the triangle beyond the end.
    (lambda: br.nurbs_curve_eval(2, TWO_SPAN, TWO_SPAN_KNOTS[:5], "3/2"), "index out of range"),
    (lambda: br.nurbs_surface_eval(1, 2**64 - 1, NET, LINE_KNOTS, LINE_KNOTS, "0", "0"), "index out of range"),
    (lambda: br.nurbs_curve_eval(2, [["1", "0", "0"], ["1", "1"], ["0", "1", "0"]], BEZIER2, "1/2"),
     "index out of range"),
    (lambda: br.nurbs_curve_eval(1, [["0", "0"], ["1", "1"]], LINE_KNOTS, "1/2"), "index out of range"),
    (lambda: quarter("1/2", ["1", "-1", "1"]), "division by zero"),
    # A weight list shorter than the control points fails rather than dropping points.
    (lambda: br.nurbs_curve_eval(1, QUARTER, LINE_KNOTS, "1/2", ["1", "1"]), "missing weight"),
    (lambda: br.nurbs_curve_eval(1, QUARTER, LINE_KNOTS, "1/2", []), "missing weight"),
    (lambda: bilinear("0", "0", [["1", "1"], ["1"]]), "missing weight"),
    (lambda: bilinear("0", "0", [["1", "1"]]), "missing weight"),
])
def test_failures(call, message):
    with pytest.raises(br.InternalFailure, match=message):
        call()


# An independent evaluation: sum of B-spline basis functions by the Cox-de Boor recursion, with
# half-open knot intervals except at the end of the range, which belongs to the last non-empty one.
def basis(knots, p, n, t):
    span = max(i for i in range(p, n) if knots[i] <= t and knots[i] < knots[i + 1])
    values = [Fraction(int(i == span)) for i in range(len(knots) - 1)]
    for r in range(1, p + 1):
        for i in range(len(knots) - 1 - r):
            value = Fraction(0)
            if knots[i + r] != knots[i]:
                value += (t - knots[i]) / (knots[i + r] - knots[i]) * values[i]
            if knots[i + r + 1] != knots[i + 1]:
                value += (knots[i + r + 1] - t) / (knots[i + r + 1] - knots[i + 1]) * values[i + 1]
            values[i] = value
    return values[:n]


def rational_point(terms):
    """terms: (basis value, weight, point); the weighted average of the points."""
    terms = list(terms)
    total = sum(b * w for b, w, _ in terms)
    return [text(sum(b * w * x[c] for b, w, x in terms) / total) for c in range(3)]


def fraction(lo=-72, hi=72, den=8):
    return Fraction(RNG.randint(lo, hi), RNG.randint(1, den))


def random_knots(p, n):
    """n + p + 1 knots, domain [knots[p], knots[n]], interior knots strictly inside it, each at
    most p times (at least once), clamped or not at either end."""
    a = fraction()
    b = a + Fraction(RNG.randint(1, 16), RNG.randint(1, 4))
    interior = []
    while len(interior) < n - p - 1:
        value = a + (b - a) * Fraction(RNG.randint(1, 15), 16)
        interior += [value] * min(RNG.randint(1, max(p, 1)), n - p - 1 - len(interior), max(p, 1) - interior.count(value))
    head = [a] * p if RNG.random() < 0.5 else sorted(a - Fraction(RNG.randint(0, 6), 4) for _ in range(p))
    tail = [b] * p if RNG.random() < 0.5 else sorted(b + Fraction(RNG.randint(0, 6), 4) for _ in range(p))
    return head + [a] + sorted(interior) + [b] + tail


def parameters(knots, p, n):
    """The distinct knots of the domain and three random points inside it."""
    domain = sorted(set(knots[p : n + 1]))
    return domain + [domain[0] + (domain[-1] - domain[0]) * Fraction(RNG.randint(0, 97), 97) for _ in range(3)]


@pytest.mark.parametrize("p", range(6))
def test_curve_matches_cox_de_boor(p):
    for _ in range(30):
        n = p + 1 + RNG.randint(0, 4)
        knots, points = random_knots(p, n), [[fraction() for _ in range(3)] for _ in range(n)]
        weights = [fraction(1, 12, 6) for _ in range(n)]
        cps = [texts(x) for x in points]
        homogeneous = [texts([c * w for c in x] + [w]) for x, w in zip(points, weights)]
        for t in parameters(knots, p, n):
            expected = rational_point(zip(basis(knots, p, n, t), weights, points))
            assert br.nurbs_curve_eval(p, cps, texts(knots), text(t), texts(weights)) == expected, (p, knots, t)
            assert br.nurbs_curve_eval(p, homogeneous, texts(knots), text(t)) == expected  # the same, homogeneous
        # Outside the range only the absence of failure is asserted: there the curve extends its end spans.
        assert len(br.nurbs_curve_eval(p, cps, texts(knots), text(knots[n] + 1), texts(weights))) == 3


def test_surface_matches_cox_de_boor():
    for _ in range(15):
        pu, pv = RNG.randint(0, 3), RNG.randint(0, 3)
        nu, nv = pu + 1 + RNG.randint(0, 2), pv + 1 + RNG.randint(0, 2)
        ku, kv = random_knots(pu, nu), random_knots(pv, nv)
        net = [[[fraction() for _ in range(3)] for _ in range(nv)] for _ in range(nu)]
        weights = [[fraction(1, 12, 6) for _ in range(nv)] for _ in range(nu)]
        args = ([[texts(x) for x in row] for row in net], texts(ku), texts(kv))
        for u in parameters(ku, pu, nu)[-4:]:
            for v in parameters(kv, pv, nv)[-4:]:
                bu, bv = basis(ku, pu, nu, u), basis(kv, pv, nv, v)
                terms = [(bu[i] * bv[j], weights[i][j], net[i][j]) for i in range(nu) for j in range(nv)]
                result = br.nurbs_surface_eval(pu, pv, *args, text(u), text(v), [texts(row) for row in weights])
                assert result == rational_point(terms), (pu, pv, ku, kv, u, v)


# Exact rational circle arcs (radius, control points, knots, weights): a conic arc with end weights
# w0, w2 and middle weight w1 is a quarter circle when w1² = w0·w2 / 2. Then half circles: two quarter
# arcs joined at a double knot; the classic four-point half circle; and one arc whose middle control
# point lies at infinity, given as a homogeneous point.
ARCS = [(r, [[r, 0, 0], [r, r, 0], [0, r, 0]], [0, 0, 0, 1, 1, 1], w)
        for r, w in [(1, (1, 1, 2)), (3, (2, 1, 1)), (5, (1, 2, 8)), (7, (9, 3, 2))]] + [
    (2, [[2, 0, 0], [2, 2, 0], [0, 2, 0], [-2, 2, 0], [-2, 0, 0]], [0, 0, 0, 1, 1, 2, 2, 2], [1, 1, 2, 2, 4]),
    (1, [[1, 0, 0], [1, 1, 0], [-1, 1, 0], [-1, 0, 0]], [0, 0, 0, Fraction(1, 2), 1, 1, 1],
     [1, Fraction(1, 2), Fraction(1, 2), 1]),
    (4, [[4, 0, 0], [0, 4, 0, 0], [-4, 0, 0]], [0, 0, 0, 1, 1, 1], [1, 1, 1]),
]


@pytest.mark.parametrize("r, cps, knots, weights", ARCS)
def test_rational_circle_arcs_are_exact(r, cps, knots, weights):
    end = Fraction(knots[-1])
    for t in [Fraction(0), end, end / 2] + [end * Fraction(RNG.randint(1, 999), 1000) for _ in range(20)]:
        point = br.nurbs_curve_eval(2, [texts(x) for x in cps], texts(knots), text(t), texts(weights))
        x, y, z = (Fraction(c) for c in point)
        assert (x * x + y * y, z) == (r * r, 0), t
