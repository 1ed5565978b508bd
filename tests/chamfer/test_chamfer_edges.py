"""PySolid.chamfer_edges(): chosen edges bevelled or filled by true distances, checked against
volumes by slices and closed forms, the setback measured on the result, the all-edges chamfer where
the two must agree, and the refusals."""

import pathlib
import pickle
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from chamfer_solids import L_LOOP, box, prism, random_rectilinear_loops, text, volume  # noqa: E402

RNG = random.Random()
D = Fraction(1, 10)


def chosen(solid, keep):
    return [i for i, e in enumerate(solid.edges()) if keep(e)]


def top_rim(solid, z):
    """The convex edges lying in the plane at height z."""
    level = text(z)
    return chosen(solid, lambda e: e.kind == "convex" and e.start[2] == level and e.end[2] == level)


def shoelace(loop):
    return Fraction(sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(loop, loop[1:] + loop[:1]))) / 2


def inward_offset(loop, t):
    """The counter-clockwise loop with every side moved inward by t, neighbours meeting in mitres
    (sides along the axes, so each moves by t exactly)."""
    lines = []
    loop = [(Fraction(x), Fraction(y)) for x, y in loop]
    for (ax, ay), (bx, by) in zip(loop, loop[1:] + loop[:1]):
        length = abs(bx - ax) + abs(by - ay)
        nx, ny = -(by - ay) / length, (bx - ax) / length  # inward: left of the direction of travel
        lines.append(((ax + t * nx, ay + t * ny), (bx - ax, by - ay)))
    corners = []
    for (p, u), (q, v) in zip(lines[-1:] + lines[:-1], lines):
        cross = u[0] * v[1] - u[1] * v[0]
        s = ((q[0] - p[0]) * v[1] - (q[1] - p[1]) * v[0]) / cross
        corners.append((p[0] + s * u[0], p[1] + s * u[1]))
    return corners


def top_rim_volume_by_slices(loop, h, d):
    """The prism with its top rim bevelled by d: below h − d it is whole; at depth s < d its slice is
    the loop offset inward by d − s, whose area is quadratic in the offset, so Simpson's rule over
    the three slices s = 0, d/2, d integrates it exactly."""
    d = Fraction(d)
    areas = [shoelace(inward_offset(loop, t)) for t in (d, d / 2, 0)]
    return shoelace(loop) * (h - d) + d * (areas[0] + 4 * areas[1] + areas[2]) / 6


def test_the_l_brackets_top_rim_matches_its_slices():
    h = 2
    result = prism(L_LOOP, h).chamfer_edges(top_rim(prism(L_LOOP, h), h), text(D))
    # closed form: A·h − P·d²/2 + (convex − reflex corners)·d³/3
    assert volume(result) == top_rim_volume_by_slices(L_LOOP, h, D) == 12 - 14 * D**2 / 2 + 4 * D**3 / 3
    assert result.watertight_ok()
    assert result.polygons() == result.merged().polygons()


def test_random_rectilinear_top_rims_match_their_slices():
    for loop in random_rectilinear_loops(RNG, 6):
        h = Fraction(RNG.randint(1, 6), 2)
        d = Fraction(RNG.randint(1, 9), 40)
        solid = prism(loop, h)
        result = solid.chamfer_edges(top_rim(solid, h), text(d))
        assert volume(result) == top_rim_volume_by_slices(loop, h, d), (loop, h, d)
        assert result.watertight_ok()


def test_unequal_distances_on_two_edges_of_a_box():
    """The top edges along the front and the right side, both with the top first in their faces:
    each loses d1·d2/2 along its length, and their wedges overlap at the corner in a pyramid of
    base d1² and height d2 (slices at depth s are squares of side d1·(1 − s/d2))."""
    solid = box((1, 2, 3))
    picked = chosen(solid, lambda e: e.faces in (("b.top", "b.front"), ("b.top", "b.right")))
    assert len(picked) == 2
    for d1, d2 in [(Fraction(1, 10), Fraction(1, 5)), (Fraction(1, 5), Fraction(1, 10)), (D, D)]:
        result = solid.chamfer_edges(picked, text(d1), text(d2))
        assert volume(result) == 6 - d1 * d2 / 2 * (1 + 2) + d1**2 * d2 / 3
        # dist goes to the top (the first face): the top keeps 1 − d1 by 2 − d1
        top = [loop for label, loop in result.polygons() if label == "b.top"]
        assert abs(shoelace([tuple(map(Fraction, p[:2])) for p in top[0]])) == (1 - d1) * (2 - d1)


@pytest.mark.parametrize("name, build, pick, added", [
    # the L's concave vertical edge: a prism of section d²/2 along its height 2
    ("L notch", lambda: prism(L_LOOP, 2), lambda e: e.kind == "concave", D**2 / 2 * 2),
    # the four edges round a post's foot, mitred at its corners: at height s the fill is the post's
    # square grown by d − s less the post, (1 + 2t)² − 1, integrated over t from 0 to d
    ("post foot", lambda: box((4, 4, 1)).union(box((1, 1, 1), (1, 1, 1))), lambda e: e.kind == "concave",
     2 * D**2 + Fraction(4, 3) * D**3),
    # a cavity's twelve edges and eight corners, filled as a box is chamfered, from the inside:
    # the cavity keeps the volume of a chamfered box of its size
    ("cavity", lambda: box((3, 3, 3)).cut(box((1, 1, 1), (1, 1, 1))), lambda e: e.kind == "concave",
     1 - (1 - 6 * D**2 + Fraction(16, 3) * D**3)),
])
def test_concave_fills_add_their_closed_form(name, build, pick, added):
    solid = build()
    result = solid.chamfer_edges(chosen(solid, pick), text(D))
    assert volume(result) - volume(solid) == added
    assert result.watertight_ok()
    assert any(label.startswith("fill(") for label, _ in result.polygons())


def squared_distance_to_line(p, a, b):
    u = tuple(b[i] - a[i] for i in range(3))
    w = tuple(p[i] - a[i] for i in range(3))
    cross = (u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0])
    return sum(c * c for c in cross) / sum(c * c for c in u)


def round_hole_plate(n=32):
    import math

    loop = [(Fraction(round(1000 * (5 + 1.5 * math.cos(2 * math.pi * k / n))), 1000),
             Fraction(round(1000 * (5 + 1.5 * math.sin(2 * math.pi * k / n))), 1000)) for k in range(n)]
    return box((10, 10, 1)).cut(prism(loop, 3, "hole").translate("0", "0", "-1"))


def test_a_round_holes_rim_gets_a_bevel_of_constant_width():
    """Every bevel of the 32-gon hole's top rim meets the top d from its rim edge (within a relative
    2^-62: the in-face direction has an irrational length) and the wall exactly d down."""
    solid = round_hole_plate()
    with pytest.raises(ValueError, match="meet its concave edge at different points"):
        solid.chamfer(text(D))
    rim = [e for e in solid.edges() if e.kind == "convex" and e.start[2] == "1/1" and e.end[2] == "1/1"
           and any(f.startswith("hole") for f in e.faces)]
    assert len(rim) == 32
    result = solid.chamfer_edges(rim, text(D))
    assert result.watertight_ok()
    assert len({label for label, _ in result.polygons() if label.startswith("bevel(")}) == 32
    tolerance = Fraction(1, 2**62)
    for label, loop in result.polygons():
        if not label.startswith("bevel("):
            continue
        edge = next(e for e in rim if label == f"bevel({e.faces[0]},{e.faces[1]})")
        a, b = tuple(map(Fraction, edge.start)), tuple(map(Fraction, edge.end))
        for p in (tuple(map(Fraction, p)) for p in loop):
            if p[2] == 1:  # on the top: set back d from the rim edge's line, within the tolerance
                ratio = squared_distance_to_line(p, a, b) / D**2
                assert (1 - tolerance) ** 2 < ratio < (1 + tolerance) ** 2
            else:  # on the wall: exactly d below the rim
                assert p[2] == 1 - D


def test_chosen_edges_coincide_with_the_all_edges_chamfer_where_they_should():
    """On a box the true distance is the chamfer's setback, so every edge chosen gives chamfer()'s
    solid; and choosing the edges of one of two boxes apart chamfers that box alone."""
    for _ in range(4):
        extents = [Fraction(RNG.randint(2, 12), RNG.randint(1, 3)) for _ in range(3)]
        d = min(extents) * Fraction(RNG.randint(1, 9), 20)
        solid = box(extents, [Fraction(RNG.randint(-9, 9), 4) for _ in range(3)])
        assert solid.chamfer_edges(None, text(d)).canonical() == solid.chamfer(text(d)).merged().canonical()
    left, right = box((1, 2, 3)), box((2, 1, 1), (5, 0, 0), "r")
    pair = left.union(right)
    only_left = chosen(pair, lambda e: Fraction(e.end[0]) <= 1)
    assert len(only_left) == 12
    assert pair.chamfer_edges(only_left, text(D)).canonical() == left.chamfer_edges(None, text(D)).union(right).canonical()
    # the L prism: its convex corners are the chamfer's; at its two inward cap corners the bevels
    # meet in a mitre, which removes d³/6 more than the chamfer's small facet does
    assert volume(prism(L_LOOP, 2).chamfer_edges(None, text(D))) == volume(prism(L_LOOP, 2).chamfer(text(D))) - D**3 / 3


def test_records_name_edges_as_indexes_do():
    solid = prism(L_LOOP, 2)
    edges = solid.edges()
    picked = [2, 5, 7]
    by_index = solid.chamfer_edges(picked, text(D))
    assert solid.chamfer_edges([edges[i] for i in picked], text(D)).canonical() == by_index.canonical()
    # end points in either order, as lists, from JSON
    swapped = [[list(edges[i].end), list(edges[i].start)] for i in picked]
    assert solid.chamfer_edges(swapped, text(D)).canonical() == by_index.canonical()


def test_labels_name_the_faces_an_edge_or_corner_came_from():
    result = box((1, 1, 1)).chamfer_edges(None, text(D))
    labels = {label for label, _ in result.polygons()}
    assert "bevel(b.top,b.front)" in labels and "corner(b.front,b.left,b.top)" in labels
    assert len([label for label in labels if label.startswith("bevel(")]) == 12
    assert len([label for label in labels if label.startswith("corner(")]) == 8


@pytest.mark.parametrize("k", [-1000, 1000])
def test_chosen_chamfers_scale_exactly_at_extreme_magnitudes(k):
    f = Fraction(2) ** k
    solid = prism(L_LOOP, 2)
    big = solid.scale(text(f), text(f), text(f))
    result = big.chamfer_edges(top_rim(big, 2 * f), text(D * f))
    assert volume(result) == top_rim_volume_by_slices(L_LOOP, 2, D) * f**3
    filled = big.chamfer_edges(chosen(big, lambda e: e.kind == "concave"), text(D * f))
    assert volume(filled) == (12 + D**2) * f**3


def test_results_are_operands_of_every_call():
    """A plate with a hole, its top rim bevelled: moved, pickled, merged, united, cut, bevelled
    again (all edges, by a smaller distance) and its concave edges filled."""
    plate = box((4, 3, 1), prefix="plate").cut(box((2, 1, 3), (1, 1, -1), "hole"))
    once = plate.chamfer_edges(top_rim(plate, 1), text(D))
    moved = pickle.loads(pickle.dumps(once.translate("6", "0", "0")))
    assert moved.merged().canonical() == moved.canonical()
    pair = once.union(moved)
    assert volume(pair) == 2 * volume(once)
    half = pair.cut(box((20, 20, 20), (-1, -1, Fraction(1, 2))))
    assert half.watertight_ok()
    again = once.chamfer_edges(None, "1/100")
    assert volume(again) < volume(once) and again.watertight_ok()
    filled = again.chamfer_edges(chosen(again, lambda e: e.kind == "concave"), "1/200")
    assert volume(filled) > volume(again) and filled.watertight_ok()
    assert filled.polygons() == filled.merged().polygons()


def test_failed_calls_change_nothing_and_zero_returns_the_merged_form():
    solid = box((1, 1, 1)).boolean("union", box((1, 1, 1), (1, 0, 0)))
    before = solid.polygons()
    assert solid.chamfer_edges(None, "0").canonical() == solid.merged().canonical()
    assert solid.chamfer_edges([], "1/10").polygons() == solid.merged().polygons()
    with pytest.raises(ValueError):
        solid.chamfer_edges(None, "1")
    assert solid.polygons() == before


CUBE = lambda: box((1, 1, 1))  # noqa: E731
VERTEX = "chamfer_edges: cannot resolve the vertex at "


@pytest.mark.parametrize("build, edges, dist, dist2, message", [
    (CUBE, None, "-1/10", None, "chamfer_edges: the distance is negative"),
    (CUBE, None, "1/10", "-1", "chamfer_edges: the distance is negative"),
    (CUBE, None, "1/10", "0", "chamfer_edges: an unequal chamfer needs both distances positive"),
    (lambda: box((1, 1, 1)).boolean("union", box((1, 1, 1), (1, 1, 0))), None, "1/10", None,
     "chamfer_edges: at (1, 1, 0): more than two faces meet along an edge there"),
    (CUBE, [12], "1/10", None, "chamfer_edges: edge index 12 is out of range: the solid has 12 edges"),
    (CUBE, [-1], "1/10", None, "chamfer_edges: edge index -1 is out of range: the solid has 12 edges"),
    (CUBE, [[["0", "0", "0"], ["1", "1", "0"]]], "1/10", None,
     "chamfer_edges: no edge of the solid runs from (0, 0, 0) to (1, 1, 0)"),
    # a top rim edge at the L's inward corner, and the concave edge below it
    (lambda: prism(L_LOOP, 2), [[["1", "1", "2"], ["1", "3", "2"]], [["1", "1", "0"], ["1", "1", "2"]]], "1/10", None,
     VERTEX + "(1, 1, 2): it joins chosen convex and concave edges"),
    # two bars crossing: one of the two convex edges at the crossing point chosen
    (lambda: box((2, 1, 1)).union(box((1, 2, 1), (0, 0, 1))), [[["0", "1", "1"], ["1", "1", "1"]]], "1/10", None,
     VERTEX + "(1, 1, 1): it joins 1 chosen and 3 unchosen edges"),
    (CUBE, None, "1/2", None, "chamfer_edges: the distance is too large for this solid"),
    (lambda: prism(L_LOOP, 2), None, "1/2", None, "chamfer_edges: the distance is too large for this solid"),
    # the notch filled past the arms' ends
    (lambda: prism(L_LOOP, 2), [[["1", "1", "0"], ["1", "1", "2"]]], "5", None,
     "chamfer_edges: the distance is too large for this solid"),
])
def test_refusals(build, edges, dist, dist2, message):
    solid = build()
    before = solid.polygons()
    with pytest.raises(ValueError) as refusal:
        solid.chamfer_edges(edges, dist, dist2)
    assert str(refusal.value) == message
    assert solid.polygons() == before
