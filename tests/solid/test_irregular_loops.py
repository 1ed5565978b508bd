"""Loops that fold back on themselves (zero-width spikes, collinear backtracking) or touch themselves
at points: prisms and prismatoids build the regular region, with no fin of coincident faces, so that
booleans on them keep the volume identities."""

import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from loops import area, flat, labels, polyomino_loop  # noqa: E402

RNG = random.Random(1616)
SPIKE_SQUARE = [(0, 0), (2, 0), (2, 2), (1, 2), (1, 3), (1, 2), (0, 2)]
TWO_SQUARES = [(0, 0), (1, 0), (1, 1), (2, 1), (2, 2), (1, 2), (1, 1), (0, 1)]
# A triangular hole hung from the top edge of a square by one point, passed through twice.
PINCHED_HOLE = [(0, 0), (4, 0), (4, 4), (2, 4), (3, 2), (1, 2), (2, 4), (0, 4)]
# A notch from the top whose tip rests inside the bottom edge, leaving two pieces that touch there.
RESTING_NOTCH = [(0, 0), (4, 0), (4, 4), (3, 4), (2, 0), (1, 4), (0, 4)]


def side_labels(solid):
    return [label for label in labels(solid) if ".side" in label]


def volume6(solid):
    return Fraction(solid.volume6_str())


def has_coincident_opposite_faces(solid):
    loops = [tuple(map(tuple, loop)) for _, loop in solid.polygons()]
    seen = {frozenset(loop): loop for loop in loops}
    return any(frozenset(loop) in seen and seen[frozenset(loop)] == tuple(reversed(loop)) for loop in loops
               if len(set(loop)) == len(loop))


def check_boolean_identities(a, b):
    """vol(A ∪ B) + vol(A ∩ B) = vol(A) + vol(B) and vol(A − B) = vol(A) − vol(A ∩ B), exactly, with
    every result closed."""
    union, meet, cut = (a.boolean(op, b) for op in ("union", "intersect", "cut"))
    assert volume6(union) + volume6(meet) == volume6(a) + volume6(b)
    assert volume6(cut) == volume6(a) - volume6(meet)
    assert union.watertight_ok() and meet.watertight_ok() and cut.watertight_ok()


def test_spike_square_builds_the_plain_square():
    spiked = br.make_prism(flat(SPIKE_SQUARE), "1", "s")
    # The spike's base stays a point of the loop, as in any loop with a point along a side.
    plain = br.make_prism(flat([(0, 0), (2, 0), (2, 2), (1, 2), (0, 2)]), "1", "s")
    assert spiked.polygons() == [(label.replace("side4", "side6").replace("side3", "side5"), loop)
                                 for label, loop in plain.polygons()]
    # Sides keep the index they have in the given loop: 3 and 4 ran up the spike and back.
    assert side_labels(spiked) == ["s.side0", "s.side1", "s.side2", "s.side5", "s.side6"]
    assert spiked.volume6_str() == "24/1" and spiked.watertight_ok()
    assert not has_coincident_opposite_faces(spiked)
    assert spiked.boolean("intersect", spiked).volume6_str() == "24/1"
    assert spiked.boolean("cut", spiked).volume6_str() == "0/1"
    check_boolean_identities(spiked, spiked.translate("1/2", "1/3", "1/5"))


# Backtracks along a side, ending short of their turn or behind their start: the side that holds
# each remaining edge names it.
@pytest.mark.parametrize("loop, sides", [
    ([(0, 0), (3, 0), (2, 0), (4, 0), (4, 4), (0, 4)], [0, 2, 3, 4, 5]),
    ([(0, 0), (4, 0), (4, 4), (3, 4), (5, 4), (0, 4)], [0, 1, 4, 5]),
    ([(0, 0), (4, 0), (4, 4), (0, 4), (0, -1)], [0, 1, 2, 3]),
    ([(0, 0), (4, 0), (4, 4), (0, 4), (0, 2), (0, 3), (0, 1)], [0, 1, 2, 3, 5, 6]),
], ids=["short-of-the-turn", "behind-the-start", "across-the-start-point", "back-and-forth"])
def test_collinear_backtracking_leaves_the_square(loop, sides):
    prism = br.make_prism(flat(loop), "2", "b")
    assert side_labels(prism) == [f"b.side{i}" for i in sides]
    assert prism.volume6_str() == "192/1" and prism.watertight_ok()
    assert not has_coincident_opposite_faces(prism)
    check_boolean_identities(prism, prism.translate("1", "1/2", "1/3"))


@pytest.mark.parametrize("loop, h, volume", [(TWO_SQUARES, "1", 12), (TWO_SQUARES, "1/2", 6), (PINCHED_HOLE, "1", 84),
                                             (RESTING_NOTCH, "1", 72)],
                         ids=["two-squares", "two-squares-half", "pinched-hole", "resting-notch"])
def test_loops_touching_themselves_build_their_region(loop, h, volume):
    for points in (loop, loop[::-1], loop[3:] + loop[:3]):
        prism = br.make_prism(flat(points), h, "t")
        assert volume6(prism) == volume and prism.watertight_ok()
        prismatoid = br.make_prismatoid(flat(points), "0", flat(points), h, "t")
        assert volume6(prismatoid) == volume and prismatoid.watertight_ok()
    check_boolean_identities(prism, prism.translate("1/2", "1/2", "1/7"))


def test_two_squares_match_the_union_of_their_boxes():
    prism = br.make_prism(flat(TWO_SQUARES), "1", "t")
    boxes = br.make_box("1", "1", "1", "a").boolean("union", br.make_box("1", "1", "1", "b").translate("1", "1", "0"))
    assert prism.boolean("cut", boxes).volume6_str() == "0/1"
    assert boxes.boolean("cut", prism).volume6_str() == "0/1"


def test_prismatoid_drops_sides_only_where_both_loops_fold_back():
    top = [(x + Fraction(1, 2), y) for x, y in SPIKE_SQUARE]
    both = br.make_prismatoid(flat(SPIKE_SQUARE), "0", flat(top), "3", "q")
    assert side_labels(both) == [f"q.side{j}" for j in (0, 1, 2, 5, 6) for _ in range(2)]
    assert both.watertight_ok() and not has_coincident_opposite_faces(both)
    assert volume6(both) == 6 * 3 * 4
    # The top comes back from its spike elsewhere (a thin bump): the sides over the bottom's spike
    # are real faces, and the bottom cap alone drops it.
    bump = top[:5] + [(1, 2)] + top[6:]
    one = br.make_prismatoid(flat(SPIKE_SQUARE), "0", flat(bump), "3", "q")
    assert side_labels(one) == [f"q.side{j}" for j in range(7) for _ in range(2)]
    assert one.watertight_ok()
    check_boolean_identities(one, one.translate("1/3", "1/5", "1"))


# ---------------------------------------------------------------------------------------------
# Random loops: polyomino outlines (simple, many collinear points), two of them joined at a corner,
# with spikes and backtracks inserted.


def some_polyomino():
    while (loop := polyomino_loop(RNG, 5, 9)) is None:
        pass
    return loop


def touching_pair():
    """Two outlines joined at one point: the first's rightmost-then-highest point is the second's
    leftmost-then-lowest, so the two lie on either side of a vertical line and share that point only."""
    a, b = some_polyomino(), some_polyomino()
    ia = max(range(len(a)), key=lambda i: a[i])
    ib = min(range(len(b)), key=lambda i: b[i])
    dx, dy = a[ia][0] - b[ib][0], a[ia][1] - b[ib][1]
    b = [(x + dx, y + dy) for x, y in b[ib:] + b[:ib]]
    return a[:ia] + b + a[ia:]


def with_spike(loop):
    i = RNG.randrange(len(loop))
    p = loop[i]
    tip = (p[0] + Fraction(RNG.randint(-3, 3), RNG.randint(1, 3)), p[1] + Fraction(RNG.randint(-3, 3), RNG.randint(1, 3)))
    return loop[:i + 1] + [tip, p] + loop[i + 1:]


def with_backtrack(loop):
    """Along one edge: out past a point, back before it, then on (or out beyond the edge's end and back)."""
    i = RNG.randrange(len(loop))
    a, b = loop[i], loop[(i + 1) % len(loop)]
    at = lambda t: (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]))
    s, t = sorted(Fraction(RNG.randint(1, 11), 12) for _ in range(2))
    stops = [at(t), at(s)] if RNG.random() < 0.5 else [at(Fraction(3, 2)), b]
    return loop[:i + 1] + stops + loop[i + 1:]


def random_irregular_loop(counts):
    touching = RNG.random() < 0.4
    counts["touching"] += touching
    loop = touching_pair() if touching else some_polyomino()
    for _ in range(RNG.randint(1, 3)):
        spike = RNG.random() < 0.5
        counts["spikes" if spike else "backtracks"] += 1
        loop = (with_spike if spike else with_backtrack)(loop)
    return loop[::-1] if RNG.random() < 0.3 else loop


def test_random_loops_with_fold_backs_and_touches():
    counts = dict.fromkeys(("loops", "touching", "spikes", "backtracks", "accepted"), 0)
    while counts["loops"] < 300:
        loop = random_irregular_loop(counts)
        counts["loops"] += 1
        h = Fraction(RNG.randint(1, 4), RNG.randint(1, 3))
        try:
            prism = br.make_prism(flat(loop), str(h), "r")
        except ValueError as refusal:
            # Only a spike or a backtrack poking across another edge may cross it.
            assert "cross" in str(refusal), loop
            continue
        counts["accepted"] += 1
        assert volume6(prism) == 6 * h * abs(area(loop)), loop
        assert prism.watertight_ok(), loop
        assert not has_coincident_opposite_faces(prism), loop
        check_boolean_identities(prism, prism.translate("1/2", "1/3", str(h / 5)))
    print(counts)
    assert counts["accepted"] >= 250
