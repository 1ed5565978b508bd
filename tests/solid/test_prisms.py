"""Prisms and prismatoids: face order and labels, orientation, caps of awkward loops, loops that
fold back or touch themselves, refusals."""

import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from loops import area, flat, labels, polyomino_loop  # noqa: E402

RNG = random.Random(20240603)
SQUARE = ["0", "0", "1", "0", "1", "1", "0", "1"]
STAIRCASE = [(0, 0), (4, 0), (4, 1), (3, 1), (3, 2), (2, 2), (2, 3), (1, 3), (1, 4), (0, 4)]
H_SHAPE = [(0, 0), (1, 0), (1, 1), (2, 1), (2, 0), (3, 0), (3, 3), (2, 3), (2, 2), (1, 2), (1, 3), (0, 3)]
NOTCHED = [(0, 0), (4, 0), (4, 2), (3, 2), (2, 1), (1, 2), (0, 2)]
SPIKE = [(0, 0), (2, 0), (2, 2), (1, 2), (1, 3), (1, 2), (0, 2)]
BOW_TIE = [(0, 0), (2, 2), (2, 0), (0, 2)]
CROSSED = [(4, 6), (6, 6), (0, 2), (0, 3), (6, 3)]


def faces(solid):
    return [(label, [tuple(Fraction(c) for c in v) for v in loop]) for label, loop in solid.polygons()]


def top_cap_is_a_tiling(solid, loop):
    """Overlapping caps can still give the right volume: require counter-clockwise tops whose areas
    add up to the loop's."""
    total = 0
    for label, loop3 in faces(solid):
        if label.endswith(".top"):
            signed = area([v[:2] for v in loop3])
            if signed < 0:
                return False
            total += signed
    return total == abs(area(loop))


def test_unit_square_prism_faces_in_order():
    prism = br.make_prism(SQUARE, "2", "P")
    assert labels(prism) == ["P.bottom", "P.top", "P.bottom", "P.top", "P.side0", "P.side1", "P.side2", "P.side3"]
    assert prism.volume6_str() == "12/1"
    assert prism.watertight_ok()
    got = faces(prism)
    # The first cap triangle is the ear at (0,0): ((0,1), (0,0), (1,0)), bottom wound the other way.
    assert got[0][1] == [(0, 1, 0), (1, 0, 0), (0, 0, 0)]
    assert got[1][1] == [(0, 1, 2), (0, 0, 2), (1, 0, 2)]
    assert got[4][1] == [(0, 0, 0), (1, 0, 0), (1, 0, 2), (0, 0, 2)]
    clockwise = [(0, 0), (0, 1), (1, 1), (1, 0)]
    reversed_first = br.make_prism(flat(clockwise), "2", "P")
    assert reversed_first.polygons() == br.make_prism(flat(clockwise[::-1]), "2", "P").polygons()
    assert faces(reversed_first)[4][1] == [(1, 0, 0), (1, 1, 0), (1, 1, 2), (1, 0, 2)]


def test_negative_height_turns_every_face_inward():
    down = br.make_prism(SQUARE, "-2", "P")
    assert down.volume6_str() == "-12/1"
    assert down.canonical() == br.make_prism(SQUARE, "2", "P").mirror(2).canonical()


# A loop without area anywhere is nothing but fold-backs (or a point): no cap, and no wall of zero
# thickness either.
@pytest.mark.parametrize("points", [[], [(3, 4)], [(0, 0), (1, 0)], [(0, 0), (1, 0), (2, 0)],
                                    [(0, 0), (1, 0), (2, 0), (3, 0)], [(0, 0), (2, 2), (1, 1), (3, 3)],
                                    [(1, 1), (1, 1), (4, 1), (2, 1)]])
def test_loops_without_area_give_no_faces(points):
    assert br.make_prism(flat(points), "1", "w").polygons() == []
    assert br.make_prismatoid(flat(points), "0", flat(points), "1", "w").polygons() == []


@pytest.mark.parametrize("entries", [["0", "0", "1"], ["0", "0", "1", "0", "1", "1", "x"]])
def test_odd_flat_list_fails_without_parsing_the_lone_text(entries):
    for call in (lambda: br.make_prism(entries, "1", "p"),
                 lambda: br.make_prismatoid(entries, "bad z0", SQUARE, "1", "p"),
                 lambda: br.make_prismatoid(SQUARE, "0", entries, "bad z1", "p")):
        with pytest.raises(br.InternalFailure, match="odd number of coordinate texts"):
            call()
    # Complete pairs are parsed before the odd count is reported.
    with pytest.raises(br.InternalFailure, match="'y'"):
        br.make_prism(["0", "y", "1"], "1", "p")


@pytest.mark.parametrize("loop", [STAIRCASE, H_SHAPE, NOTCHED, SPIKE], ids=["staircase", "h", "notched", "spike"])
@pytest.mark.parametrize("h", ["1", "3/2"])
def test_awkward_simple_loops_make_closed_prisms(loop, h):
    for points in (loop, loop[::-1]):
        prism = br.make_prism(flat(points), h, "s")
        assert Fraction(prism.volume6_str()) == 6 * Fraction(h) * abs(area(points))
        assert prism.watertight_ok()
        assert top_cap_is_a_tiling(prism, points)


# The refusal says where the loop crosses itself, in the caller's numbering (edge i runs from point i
# to point i + 1), whichever way the loop turns.
@pytest.mark.parametrize("loop, where", [
    (BOW_TIE, "edges 0 and 2 cross"),
    (CROSSED, "edges 1 and 3 cross"),
    (BOW_TIE[1:] + BOW_TIE[:1], "edges 1 and 3 cross"),
    (CROSSED[::-1], "edges 0 and 2 cross"),  # clockwise, so turned inside: the numbering is still the caller's
    # Through one point twice, as two lines crossing there.
    ([(0, 0), (1, 1), (2, 2), (2, 0), (1, 1), (0, 2)], "the loop crosses itself at point 1"),
    # A triangle hung into a square from a corner of its outline, entered and left crosswise.
    ([(0, 0), (4, 0), (4, 4), (2, 4), (1, 2), (3, 2), (2, 4), (0, 4)], "the loop crosses itself at point 3"),
], ids=["bow-tie", "crossed", "bow-tie-rotated", "crossed-clockwise", "through-a-point", "hung-triangle"])
def test_self_intersecting_loops_are_refused_naming_where(loop, where):
    with pytest.raises(ValueError, match=f"^make_prism: the loop cannot be triangulated: {where}$"):
        br.make_prism(flat(loop), "1", "x")
    with pytest.raises(ValueError, match=f"^make_prismatoid: the loop cannot be triangulated: {where} in the bottom loop$"):
        br.make_prismatoid(flat(loop), "0", flat(loop), "1", "x")
    with pytest.raises(ValueError, match=f"^make_prismatoid: the loop cannot be triangulated: {where} in the top loop$"):
        br.make_prismatoid(SQUARE, "0", flat(loop), "1", "x")


def test_unit_square_prismatoid():
    solid = br.make_prismatoid(SQUARE, "0", SQUARE, "2", "Q")
    assert labels(solid) == ["Q.bottom"] * 2 + ["Q.top"] * 2 + [f"Q.side{j}" for j in range(4) for _ in range(2)]
    assert solid.volume6_str() == "12/1"
    assert solid.watertight_ok()
    # Side 0 is split along the diagonal from B[0] to T[1].
    assert faces(solid)[4][1] == [(0, 0, 0), (1, 0, 0), (1, 0, 2)]
    assert faces(solid)[5][1] == [(0, 0, 0), (1, 0, 2), (0, 0, 2)]


def test_prismatoid_frustum_and_a_clockwise_bottom():
    # Square of side 2, square of side 1 three higher: a frustum of volume h/3·(A + a + √(A·a)) = 7.
    bottom, top = [(0, 0), (0, 2), (2, 2), (2, 0)], [(0, 0), (0, 1), (1, 1), (1, 0)]
    solid = br.make_prismatoid(flat(bottom[::-1]), "0", flat(top[::-1]), "3", "f")
    assert solid.volume6_str() == "42/1"
    assert solid.watertight_ok()
    assert br.make_prismatoid(flat(bottom), "0", flat(top), "3", "f").polygons() == solid.polygons()


def test_prismatoid_top_checks():
    # A top cap that cannot be triangulated is refused before the missing top points are noticed.
    with pytest.raises(ValueError, match="make_prismatoid"):
        br.make_prismatoid(SQUARE, "0", ["0", "0", "0", "1", "1", "0"], "1", "t")
    with pytest.raises(br.InternalFailure, match="index out of range"):
        br.make_prismatoid(SQUARE, "0", SQUARE[:6], "1", "t")
    extra = br.make_prismatoid(SQUARE, "0", ["0", "0", "1", "0", "2", "1", "1", "2", "0", "1"], "1", "t")
    assert labels(extra).count("t.top") == 3
    assert labels(extra).count("t.side0") == 2


def test_random_simple_loops_give_closed_solids_of_the_right_volume():
    checked = 0
    while checked < 150:
        loop = polyomino_loop(RNG, 6, 13)
        if loop is None:
            continue
        if RNG.random() < 0.5:
            loop = loop[::-1]
        h = Fraction(RNG.randrange(1, 5), RNG.randrange(1, 4))
        prism = br.make_prism(flat(loop), str(h), "r")
        prismatoid = br.make_prismatoid(flat(loop), "1", flat(loop), str(1 + h), "r")
        for solid in (prism, prismatoid):
            assert Fraction(solid.volume6_str()) == 6 * h * abs(area(loop)), loop
            assert solid.watertight_ok(), loop
            assert top_cap_is_a_tiling(solid, loop), loop
        checked += 1


def test_signatures_and_keywords():
    assert br.make_prism.__text_signature__ == "(loop_flat, h, prefix)"
    assert br.make_prismatoid.__text_signature__ == "(bottom, z0, top, z1, prefix)"
    by_keyword = br.make_prismatoid(prefix="k", z1="2", top=tuple(SQUARE), z0="0", bottom=SQUARE)
    assert by_keyword.polygons() == br.make_prismatoid(SQUARE, "0", SQUARE, "2", "k").polygons()
