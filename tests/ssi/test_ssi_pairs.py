"""ssi_pairs: the level-by-level pair search over two patches given as control nets."""

import random
from fractions import Fraction
from math import comb

import pytest

import brevant_rs as br

RNG = random.Random(20240609)
UNIT_ROW = ["0/1", "1/1", "0/1", "1/1"]
LOW, HIGH = ["0/1", "1/2"], ["1/2", "1/1"]
SQUARE = [[("0", "0", "0"), ("0", "1", "0")], [("1", "0", "0"), ("1", "1", "0")]]
SQUARE_ABOVE = [[("0", "0", "1"), ("0", "1", "1")], [("1", "0", "1"), ("1", "1", "1")]]
SQUARE_RIGHT = [[("1", "0", "0"), ("1", "1", "0")], [("2", "0", "0"), ("2", "1", "0")]]
SQUARE_DIAGONAL = [[("1", "1", "0"), ("1", "2", "0")], [("2", "1", "0"), ("2", "2", "0")]]
VERTICAL = [[("1/4", "0", "-1"), ("1/4", "0", "1")], [("1/4", "1", "-1"), ("1/4", "1", "1")]]


def weighted(net, weights):
    """The homogeneous net of a Cartesian net with one weight per point, row by row."""
    ws = iter(map(Fraction, weights))
    return [[[str(Fraction(c) * w) for c in point] + [str(w)] for point in row for w in [next(ws)]] for row in net]


MIXED = weighted(SQUARE, [1, 1, -1, 2])


def test_docstring_opens_with_its_fixed_lines():
    assert br.ssi_pairs.__doc__.splitlines()[:5] == [
        "Subdivision detection: returns surviving leaf-pair parameter boxes",
        "(au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty",
        "result = certified non-intersection. Clustering/refinement stay in",
        "Python (they are not the hot loop).",
        "",
    ]


@pytest.mark.parametrize("net_b, depth, expected", [
    (SQUARE_ABOVE, 0, [UNIT_ROW + UNIT_ROW]),  # parallel squares meet only at depth zero
    (SQUARE_ABOVE, 1, []), (SQUARE_ABOVE, 5, []),
    # touching along an edge: the four touching quarter pairs, in order; at a corner: one pair
    (SQUARE_RIGHT, 1, [HIGH + av + LOW + bv for av in (LOW, HIGH) for bv in (LOW, HIGH)]),
    (tuple(map(tuple, SQUARE_RIGHT)), 1, [HIGH + av + LOW + bv for av in (LOW, HIGH) for bv in (LOW, HIGH)]),
    (SQUARE_DIAGONAL, 1, [HIGH + HIGH + LOW + LOW]),
])
def test_squares(net_b, depth, expected):
    assert br.ssi_pairs(SQUARE, net_b, depth) == expected


def test_vertical_square_crossing_counts():
    # The plane x = 1/4 crosses a's quarters with u in [0, 1/2] only, and every quarter of b.
    assert [r[:4] for r in br.ssi_pairs(SQUARE, VERTICAL, 1)] == [LOW + v for v in (LOW, HIGH) for _ in range(4)]
    assert len(br.ssi_pairs(SQUARE, VERTICAL, 2)) == 40


def test_parameter_boxes_only_label_the_pieces():
    plain = br.ssi_pairs(SQUARE, VERTICAL, 2)
    labelled = br.ssi_pairs(SQUARE, VERTICAL, 2, a_box=["0", "2", "-1", "1"])
    # a's box [0, 2] x [-1, 1] is the unit box under u -> 2u, v -> 2v - 1.
    relabelled = [[2 * Fraction(x) for x in r[:2]] + [2 * Fraction(x) - 1 for x in r[2:4]] for r in plain]
    assert [[Fraction(x) for x in r[:4]] for r in labelled] == relabelled
    assert [r[4:] for r in labelled] == [r[4:] for r in plain]
    assert labelled[0][:4] == ["0/1", "1/2", "-1/1", "-1/2"]
    assert br.ssi_pairs(SQUARE, VERTICAL, 0, b_box=("1", "2", "3", "4", "x")) == [UNIT_ROW + ["1/1", "2/1", "3/1", "4/1"]]


@pytest.mark.parametrize("call, kind, message", [
    (lambda: br.ssi_pairs(SQUARE, SQUARE, 0, a_box=["0", "1", "0"]), br.InternalFailure, "index out of range"),
    (lambda: br.ssi_pairs(SQUARE, SQUARE, 0, a_box=["x", "1", "0"]), br.InternalFailure, "InvalidDigit"),
    (lambda: br.ssi_pairs(SQUARE, SQUARE, 0, b_box="0110"), TypeError, "Can't extract `str` to `Vec`"),
    (lambda: br.ssi_pairs(SQUARE, [[["1", ""]]], 0), br.InternalFailure, "Empty"),
    (lambda: br.ssi_pairs([], SQUARE, 1), br.InternalFailure, "index out of range"),
    (lambda: br.ssi_pairs(SQUARE, [[]], 1), br.InternalFailure, "index out of range"),
    (lambda: br.ssi_pairs(SQUARE, SQUARE[:1] + [SQUARE[1][:1]], 1), br.InternalFailure, "index out of range"),
    (lambda: br.ssi_pairs(weighted(SQUARE, [1, 1, 0, 2]), SQUARE, 1), br.InternalFailure, "division by zero"),
])
def test_failures(call, kind, message):
    with pytest.raises(kind, match=message):
        call()


@pytest.mark.parametrize("net", [[], [[]], SQUARE[:1] + [SQUARE[1][:1]], weighted(SQUARE, [1, 1, 0, 2]), MIXED])
def test_depth_zero_does_not_look_at_the_nets(net):
    assert br.ssi_pairs(net, net, 0) == [UNIT_ROW + UNIT_ROW]


@pytest.mark.parametrize("net_a, net_b, named", [
    (MIXED, SQUARE, "net_a"), (SQUARE, MIXED, "net_b"), (MIXED, MIXED, "net_a"), ([], MIXED, "net_b"),
    (weighted(SQUARE, [0, -1, 1, 1]), SQUARE, "net_a"),  # the sign mix is refused before the zero weight is met
    (SQUARE, [MIXED[0], [MIXED[1][0]]], "net_b"),  # and before a ragged net is split
])
def test_mixed_sign_weights_are_refused(net_a, net_b, named):
    with pytest.raises(ValueError, match=f"{named}.*no certificate is possible with weights of mixed sign"):
        br.ssi_pairs(net_a, net_b, 1)


def test_one_signed_weights_are_accepted():
    # Negating every homogeneous coordinate keeps the surface and its parametrisation.
    positive = weighted(VERTICAL, [1, 2, 3, Fraction(1, 2)])
    negative = weighted(VERTICAL, [-1, -2, -3, Fraction(-1, 2)])
    assert br.ssi_pairs(SQUARE, negative, 2) == br.ssi_pairs(SQUARE, positive, 2) != []
    assert br.ssi_pairs(SQUARE, weighted(VERTICAL, [-3] * 4), 2) == br.ssi_pairs(SQUARE, VERTICAL, 2)


# Property: patches built to pass through one common point keep, at every depth, the pair of boxes
# holding that point's parameters; and the pairs of each depth nest in those of the depth before.
def evaluate(net, u, v):
    """The Cartesian point of a Bézier net at (u, v), by Bernstein sums (homogeneous when not 3-D)."""
    n, m = len(net) - 1, len(net[0]) - 1
    total = [Fraction(0)] * len(net[0][0])
    for i, row in enumerate(net):
        for j, point in enumerate(row):
            b = comb(n, i) * u**i * (1 - u) ** (n - i) * comb(m, j) * v**j * (1 - v) ** (m - j)
            total = [t + b * Fraction(c) for t, c in zip(total, point)]
    return total if len(total) == 3 else [c / total[3] for c in total[:3]]


def random_net():
    rows, cols = RNG.randint(1, 3), RNG.randint(1, 3)
    net = [[[Fraction(RNG.randint(-4, 4)) for _ in range(3)] for _ in range(cols)] for _ in range(rows)]
    if RNG.random() < 0.5:  # homogeneous
        net = [[[c * w for c in p] + [w] for p in row for w in [Fraction(RNG.randint(1, 3))]] for row in net]
    return net


def moved(net, delta):
    """The net whose surface is the given one moved by delta (weights scale the shift)."""
    return [[[c + d * (p[3] if len(p) > 3 else 1) for c, d in zip(p, delta)] + p[3:] for p in row] for row in net]


def texts(net):
    return [[[str(c) for c in p] for p in row] for row in net]


def contains(row, params):
    return all(Fraction(row[2 * k]) <= x <= Fraction(row[2 * k + 1]) for k, x in enumerate(params))


def test_pairs_nest_and_keep_a_known_common_point():
    for _ in range(12):
        # Parameters with odd denominators never fall on a dyadic box side.
        params = [Fraction(RNG.choice([1, 2]), 3), Fraction(RNG.randint(1, 4), 5), Fraction(RNG.randint(1, 6), 7),
                  Fraction(1, 3)]
        net_a, net_b = random_net(), random_net()
        common = evaluate(net_a, params[0], params[1])
        net_b = moved(net_b, [x - y for x, y in zip(common, evaluate(net_b, params[2], params[3]))])
        previous = None
        for depth in range(4):
            rows = br.ssi_pairs(texts(net_a), texts(net_b), depth)
            side = Fraction(1, 2**depth)
            assert all(Fraction(r[k + 1]) - Fraction(r[k]) == side for r in rows for k in range(0, 8, 2))
            assert sum(contains(r, params) for r in rows) == 1
            for r in rows if previous is not None else []:
                assert any(all(Fraction(p[k]) <= Fraction(r[k]) and Fraction(r[k + 1]) <= Fraction(p[k + 1])
                               for k in range(0, 8, 2)) for p in previous)
            previous = rows
