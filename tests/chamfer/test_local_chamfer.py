"""The chamfer of non-convex solids and of faces whose unit normal is irrational, checked against
volumes derived by hand and against the morphological opening by the octahedron, computed
independently in opening_oracle.py."""

import pathlib
import pickle
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from opening_oracle import (boundary_loop, exact_polygons, in_opening, in_voxel_opening, opening_volume,  # noqa: E402
                            point_in_solid, polyomino, squared_distance_to_segment)
from chamfer_solids import L_LOOP, box, prism, text, volume  # noqa: E402

RNG = random.Random()
D = Fraction(1, 10)


def voxels(*corners):
    """The union of the unit cubes with these lowest corners."""
    solid = None
    for corner in corners:
        cube = box((1, 1, 1), corner, "v")
        solid = cube if solid is None else solid.boolean("union", cube)
    return solid


T_LOOP = [(0, 0), (3, 0), (3, 1), (2, 1), (2, 3), (1, 3), (1, 1), (0, 1)]
U_LOOP = [(0, 0), (3, 0), (3, 3), (2, 3), (2, 1), (1, 1), (1, 3), (0, 3)]
CROSS_LOOP = [(1, 0), (2, 0), (2, 1), (3, 1), (3, 2), (2, 2), (2, 3), (1, 3), (1, 2), (0, 2), (0, 1), (1, 1)]


def test_l_prism_volume_derived_by_hand():
    """The prism over (0,0) (4,0) (4,1) (1,1) (1,3) (0,3), height 2, chamfered by d.

    Area 6, so 12 before. Every convex edge loses a right prism of section d²/2 along its whole
    length: the two cap rings (perimeter 14 each) and the five vertical edges at the convex corners
    (2 each), 38 in all, 19·d². At each of the ten convex corners (five per cap) those prisms overlap
    as at a box corner: three pairwise overlaps of d³/3 less the triple one of d³/4, so 3d³/4 counted
    twice, less the corner piece d³/12 between the facet x+y+z = 2d and the apex (d/2, d/2, d/2)
    (corner at the origin): each corner gives back 2d³/3. At the two corners (1, 1, 0) and (1, 1, 2)
    the cap turns inward: the two bevels there stop at the other wall's plane (x = 1, y = 1), so
    their prisms do not overlap, and the tetrahedron between the corner, the two points set back d
    along the walls' planes in the cap and the point d down the concave edge (legs d, volume d³/6)
    goes too. So V = 12 − 19d² + 10·(2/3)d³ − 2·d³/6 = 12 − 19d² + 19d³/3: 35449/3000 for d = 1/10.
    The opening by slices (opening_oracle.opening_volume) gives the same: A·h − P·d² − n_c·h·d²/2
    + (4/3)·n_c·d³ − n_r·d³/3 with A = 6, h = 2, P = 14, n_c = 5, n_r = 1."""
    result = prism(L_LOOP, 2).chamfer(text(D))
    assert volume(result) == 12 - 19 * D**2 + Fraction(19, 3) * D**3 == Fraction(35449, 3000)
    assert volume(result) == opening_volume(L_LOOP, 2, D)
    assert result.watertight_ok()


def plate_with_hole():
    """A 4 × 3 × 1 plate with a 2 × 1 hole through it: the rim edges of the hole are convex, its
    four vertical edges concave, and its eight corners turn inward in the top and bottom faces."""
    return box((4, 3, 1), prefix="plate").boolean("cut", box((2, 1, 3), (1, 1, -1), "hole"))


# Each value derived as the L prism's above: (edge prisms)·d²/2, 2d³/3 back per convex corner,
# d³/6 more per inward cap corner, and at the foot of a post standing on a face (one convex edge
# between two concave ones) the bevel flares out: it keeps the tetrahedron (0,0,0) (d,0,0) (0,d,0)
# (d/2,d/2,−d/2) of volume d³/12 (post along −z in x, y >= 0, face z = 0 above).
@pytest.mark.parametrize("name, build, expected", [
    ("T", lambda: prism(T_LOOP, 2), 10 - 12 * D**2 - 6 * D**2 + 8 * D**3 - D**3 * Fraction(2, 3)),
    ("U", lambda: prism(U_LOOP, 2), 14 - 16 * D**2 - 6 * D**2 + 8 * D**3 - D**3 * Fraction(2, 3)),
    ("cross", lambda: prism(CROSS_LOOP, 1), 5 - 12 * D**2 - 4 * D**2 + Fraction(32, 3) * D**3 - Fraction(4, 3) * D**3),
    # rings 2·(14 + 6), four outer vertical edges, 8 convex corners, 8 inward cap corners
    ("plate with hole", plate_with_hole, 10 - 22 * D**2 + Fraction(16, 3) * D**3 - Fraction(4, 3) * D**3),
    # a 1 × 1 × 1 post on a 4 × 4 × 1 plate: plate edges 36, post edges 8, 12 convex corners, 4 feet
    ("post on a plate", lambda: box((4, 4, 1)).boolean("union", box((1, 1, 1), (1, 1, 1))),
     17 - 22 * D**2 + Fraction(16 + 8, 3) * D**3 + 4 * D**3 / 12),
    # the post flush with two sides: convex edges 42, 11 convex corners, 2 inward cap corners, 1 foot
    ("post in a corner", lambda: box((4, 4, 1)).boolean("union", box((1, 1, 1), (0, 0, 1))),
     17 - 21 * D**2 + Fraction(22, 3) * D**3 - 2 * D**3 / 6 + D**3 / 12),
    # a 2 × 1 × 1 bar across another on top of it: convex edges 26, 12 convex corners, 2 inward cap
    # corners; where the bars cross, each wedge stops at the other bar's side plane and the two
    # tetrahedra below and above the crossing point, legs d (d³/6 each), go
    ("bars crossing", lambda: voxels((0, 0, 0), (1, 0, 0), (0, 0, 1), (0, 1, 1)),
     4 - 13 * D**2 + 8 * D**3 - D**3 / 3 - D**3 / 3),
    # a cube with cubes on three faces: convex edges 27, 13 convex corners, 3 inward cap corners; at
    # the inside corner where the three bars meet (at the origin, bars along +x, +y, +z), the
    # wedge along +x keeps {x >= 0, x + y <= 0, x + z <= 0, x + y + z <= −d/2} (behind its two
    # flare planes and the facet through the three flares' apexes), ∫₀^{d/2} (3/8)(d − 2x)² dx =
    # d³/16, and the tetrahedron x + y + z > −d/2 in the octant x, y, z < 0 (d³/48) goes
    ("three bars at a corner", lambda: voxels((0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)),
     4 - Fraction(27, 2) * D**2 + Fraction(26, 3) * D**3 - 3 * D**3 / 6 + 3 * D**3 / 16 - D**3 / 48),
    ("L of two boxes", lambda: box((2, 1, 1)).boolean("union", box((1, 2, 1))),
     3 - 8 * D**2 - Fraction(5, 2) * D**2 + Fraction(19, 3) * D**3),
    # disjoint cubes, and a cavity whose edges are all concave, stay as they are
    ("two cubes apart", lambda: box((1, 1, 1)).boolean("union", box((1, 1, 1), (2, 0, 0))),
     2 * (1 - 6 * D**2 + Fraction(16, 3) * D**3)),
    ("cube with a cavity", lambda: box((1, 1, 1)).boolean("cut", box((Fraction(1, 3),) * 3, (Fraction(1, 3),) * 3)),
     1 - 6 * D**2 + Fraction(16, 3) * D**3 - Fraction(1, 27)),
])
def test_volumes_derived_by_hand(name, build, expected):
    solid = build()
    before = solid.canonical()
    result = solid.chamfer(text(D))
    assert volume(result) == expected
    assert result.watertight_ok()
    assert solid.canonical() == before


# The vertices at (1, 1, 1) where one edge meets a face (a post on a plate), two bars cross, three
# bars meet: the shapes that unions of boxes have beside those of prisms.
@pytest.mark.heavy
@pytest.mark.parametrize("cubes", [
    ((0, 0, 0), (1, 0, 0), (0, 1, 0), (1, 1, 0), (0, 0, 1)),
    ((0, 0, 0), (1, 0, 0), (0, 0, 1), (0, 1, 1)),
    ((0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)),
])
def test_unions_of_cubes_are_their_opening_near_the_inside_corner(cubes):
    for d in (D, Fraction(1, 4)):
        polygons = exact_polygons(voxels(*cubes).chamfer(text(d)))
        for _ in range(4):
            p = tuple(1 + Fraction(RNG.randint(-700, 700), 1000) * d + Fraction(1, 7919 + 13 * i) for i in range(3))
            inside = point_in_solid(p, polygons)
            if inside is not None:
                assert inside == in_voxel_opening(p, set(cubes), d), (cubes, d, p)


# Solids the local chamfer takes: non-convex ones, and convex ones with irrational unit normals.
LOCAL = [
    ("L prism", lambda: prism(L_LOOP, 2)),
    ("plate with hole", plate_with_hole),
    ("post on a plate", lambda: box((4, 4, 1)).union(box((1, 1, 1), (1, 1, 1)))),
    ("bars crossing", lambda: voxels((0, 0, 0), (1, 0, 0), (0, 0, 1), (0, 1, 1))),
    ("hexagonal prism", lambda: prism([(2, 0), (1, 2), (-1, 2), (-2, 0), (-1, -2), (1, -2)], 1)),
]


@pytest.mark.parametrize("name, build", LOCAL, ids=[name for name, _ in LOCAL])
def test_local_results_come_back_merged(name, build):
    """Whole faces, no T-junctions: merging the result again changes nothing, so it has no more
    polygons than its merged form, whatever fragments the input had."""
    solid = build()
    result = solid.chamfer(text(D))
    assert result.polygons() == result.merged().polygons()
    assert result.watertight_ok()
    fragmented = solid.boolean("union", box((1, 1, 1), (-5, -5, -5)).boolean("cut", box((1, 1, 1), (-5, -5, -5))))
    assert fragmented.chamfer(text(D)).canonical() == result.canonical()


@pytest.mark.parametrize("k", [-1000, 1000])
def test_local_chamfer_scales_exactly_at_extreme_magnitudes(k):
    """Scaled by 2^k with the distance, the chamfer is the scaled chamfer: the double filters of the
    pieces' separation and of the engine decide nothing wrongly at 2^±1000."""
    f = Fraction(2) ** k
    for name, build in LOCAL[:3]:
        solid = build()
        scaled = solid.scale(text(f), text(f), text(f))
        big = scaled.chamfer(text(D * f))
        assert volume(big) == volume(solid.chamfer(text(D))) * f**3, name
        assert big.watertight_ok()
        # in merged form, the pieces come out from the boundaries, with filters of their own
        assert scaled.merged().chamfer(text(D * f)).merged().polygons() == big.merged().polygons(), name


def test_local_results_are_operands_of_every_call():
    """A chamfered plate moved, pickled, merged, united with a copy, cut, and chamfered again."""
    once = plate_with_hole().chamfer(text(D))
    moved = pickle.loads(pickle.dumps(once.translate("5", "0", "0")))
    pair = once.union(moved)
    assert volume(pair) == 2 * volume(once)
    half = pair.cut(box((20, 20, 20), (-1, -1, Fraction(1, 2))))
    assert volume(half) + volume(pair.intersect(box((20, 20, 20), (-1, -1, Fraction(1, 2))))) == volume(pair)
    assert half.watertight_ok()
    assert pair.merged().canonical() == pair.canonical()
    with pytest.raises(ValueError, match="it joins 2 convex and 3 concave edges"):
        pair.chamfer("1/100")  # the hole's inward facets meet the concave edges
    end = pair.intersect(box((Fraction(3, 2), 20, 20), (-1, -1, -1)))  # a slice beside the hole
    twice = end.chamfer("1/100")
    assert volume(twice) < volume(end)
    assert twice.watertight_ok()
    assert twice.polygons() == twice.merged().polygons()


def test_inward_solids_have_only_concave_edges():
    inward = br.make_box("-1", "1", "1", "p")
    assert inward.chamfer("1/10").polygons() == inward.polygons()


def random_polyomino_prisms(count):
    while count:
        cells = polyomino(RNG, RNG.randint(3, 9), 5, 5)
        loop = boundary_loop(cells)
        h = Fraction(RNG.randint(2, 8), 2)
        d = Fraction(RNG.randint(1, 9), RNG.choice((20, 40)))
        if loop is not None and 2 * d < 1:
            count -= 1
            yield cells, loop, h, d


def sample_near_the_edges(loop, h, d, count):
    """Points within about 2d of the loop's corners and sides, near either cap or midway."""
    for _ in range(count):
        i = RNG.randrange(len(loop))
        (ax, ay), (bx, by) = loop[i], loop[(i + 1) % len(loop)]
        length = abs(bx - ax) + abs(by - ay)
        ux, uy = Fraction(bx - ax, length), Fraction(by - ay, length)
        along = Fraction(RNG.randint(-2000, 2000), 1000) * d
        inward = Fraction(RNG.randint(-300, 2000), 1000) * d  # the inside is to the left
        depth = Fraction(RNG.randint(0, 2000), 1000) * d
        z = RNG.choice((depth, h - depth, Fraction(RNG.randint(0, 1000), 1000) * h))
        # an odd offset keeps the point off every face plane the construction makes
        yield (ax + along * ux - inward * uy + Fraction(1, 7919), ay + along * uy + inward * ux + Fraction(1, 7919), z)


def test_random_rectilinear_prisms_are_their_opening():
    """Prisms over random polyominoes: the volume equals the opening's by slices, and every sampled
    point lies in the result exactly when it lies in the opening (exact membership both ways)."""
    for cells, loop, h, d in random_polyomino_prisms(6):
        result = prism(loop, h).chamfer(text(d))
        assert volume(result) == opening_volume(loop, h, d), (loop, h, d)
        assert result.watertight_ok()
        polygons = exact_polygons(result)
        for p in sample_near_the_edges(loop, h, d, 12):
            inside = point_in_solid(p, polygons)
            if inside is not None:
                assert inside == in_opening(p, cells, h, d), (loop, h, d, p)


def convex_edges_of_prism(loop, h):
    """The cap rings and the vertical edges at convex corners, as segments."""
    edges = []
    for z in (0, h):
        edges += [((*a, z), (*b, z)) for a, b in zip(loop, loop[1:] + loop[:1])]
    for a, b, c in zip(loop[-1:] + loop[:-1], loop, loop[1:] + loop[:1]):
        if (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]) > 0:
            edges.append(((*b, 0), (*b, h)))
    return edges


def test_material_removed_lies_within_twice_the_distance_of_a_convex_edge():
    for cells, loop, h, d in random_polyomino_prisms(4):
        solid = prism(loop, h)
        before, after = exact_polygons(solid), exact_polygons(solid.chamfer(text(d)))
        edges = [tuple(tuple(Fraction(c) for c in p) for p in e) for e in convex_edges_of_prism(loop, h)]
        for p in sample_near_the_edges(loop, h, 2 * d, 16):
            if point_in_solid(p, before) and point_in_solid(p, after) is False:
                assert min(squared_distance_to_segment(p, a, b) for a, b in edges) <= 4 * d * d, (loop, p)


def test_inward_cap_corner_keeps_the_openings_small_tetrahedron():
    """At (1, 1, 2) on the L prism the opening keeps the points with x + y + z <= 4 − d even where
    both bevels would cut them (a mitre along x = y would not): the facet through (1 − d, 1, 2),
    (1, 1 − d, 2) and (1, 1, 2 − d) is a face of the result."""
    result = prism(L_LOOP, 2).chamfer(text(D))
    polygons = exact_polygons(result)
    # x + z > 3 − d and y + z > 3 − d for both points; x + y + z <= 4 − d for the first only
    kept = (1 - Fraction(6, 10) * D, 1 - Fraction(6, 10) * D, 2 - Fraction(1, 10) * D)
    cut = (1 - Fraction(4, 10) * D, 1 - Fraction(4, 10) * D, 2 - Fraction(1, 10) * D)
    assert point_in_solid(kept, polygons) is True
    assert point_in_solid(cut, polygons) is False
    facet = {v for label, loop in zip((label for label, _ in result.polygons()), polygons)
             if label == "corner.a" and all(sum(v) == 4 - D for v in loop) for v in loop}
    assert {(1 - D, 1, 2), (1, 1 - D, 2), (1, 1, 2 - D)} <= facet
    assert all(x >= 1 - D and y >= 1 - D and z >= 2 - D for x, y, z in facet)


VERTEX = "chamfer: cannot resolve the vertex at "
TOO_LARGE = "chamfer: the distance is too large for this solid"


@pytest.mark.parametrize("build, dist, message", [
    # two cubes sharing an edge: four faces along it
    (lambda: box((1, 1, 1)).boolean("union", box((1, 1, 1), (1, 1, 0))), "1/10",
     VERTEX + "(1, 1, 0): more than two faces meet along an edge there"),
    # a reflex corner between sides of lengths 1 and √5: the bevels (set back d·|D|) reach the
    # concave edge at depths d and d·√5
    (lambda: prism([(0, 0), (3, 0), (3, 3), (2, 3), (2, 1), (1, 2), (0, 2)], 1), "1/20",
     VERTEX + "(2, 1, 0): the bevels of its two convex edges meet its concave edge at different points"),
    # where the chamfered L's inward facet meets the concave edge, five edges meet
    (lambda: prism(L_LOOP, 2).chamfer("1/10"), "1/50", VERTEX + "(1, 1, 1/10): it joins 2 convex and 3 concave edges"),
    # the arms are 1 wide: bevels of 1/2 from both sides eat the top, larger ones cross
    (lambda: prism(L_LOOP, 2), "1/2", TOO_LARGE),
    (lambda: prism(L_LOOP, 2), "3/5", TOO_LARGE),
    (lambda: prism(L_LOOP, 2), "5", TOO_LARGE),
    # a step 1/20 high: its convex edge's bevel would run down past the step into the floor
    (lambda: box((4, 2, 1)).boolean("union", box((2, 2, Fraction(1, 20)), (0, 0, 1))), "1/10", TOO_LARGE),
    # a plate 1/10 thick: its side faces are eaten whole
    (lambda: box((4, 4, D)).boolean("cut", box((1, 1, 1), (1, 1, -1))), "1/20", TOO_LARGE),
    # a slot 1/10 deep: its walls are too short for bevels of 1/5
    (lambda: prism([(0, 0), (3, 0), (3, 3), (2, 3), (2, Fraction(29, 10)), (1, Fraction(29, 10)), (1, 3), (0, 3)], 1),
     "1/5", TOO_LARGE),
    (lambda: prism(L_LOOP, 2), "-1/10", "chamfer: the distance is negative"),
    # convex solids: as before
    (lambda: box((1, 1, 1)), "-1/10", "chamfer: the distance is negative"),
    (lambda: box((1, 1, 1)), "1/2", TOO_LARGE), (lambda: box((1, 1, 1)), "2", TOO_LARGE),
])
def test_refusals(build, dist, message):
    solid = build()
    before = solid.canonical()
    with pytest.raises(ValueError) as refusal:
        solid.chamfer(dist)
    assert str(refusal.value) == message
    assert solid.canonical() == before


def test_arms_keep_a_strip_just_below_the_refusal():
    """Arms 1 wide chamfered by 9/20 from both sides keep 1/10 on top: accepted, still the opening."""
    assert volume(prism(L_LOOP, 2).chamfer("9/20")) == opening_volume(L_LOOP, 2, Fraction(9, 20))


def test_zero_distance_returns_any_solid_as_it_is():
    for solid in (prism(L_LOOP, 2), prism([(0, 0), (1, 0), (0, 1)], 1), plate_with_hole()):
        assert solid.chamfer("0").polygons() == solid.polygons()


# --- faces whose unit normal is irrational ----------------------------------------------------

HEXAGON = [(2, 0), (1, 2), (-1, 2), (-2, 0), (-1, -2), (1, -2)]
TOLERANCE = Fraction(1, 2**60)


def highest_z(result, label):
    return max(Fraction(v[2]) for name, loop in result.polygons() if name == label for v in loop)


def within_tolerance(setback, exact_squared):
    """setback = √exact_squared·(1 + e) with |e| < 2^-60, decided exactly by squaring."""
    ratio = setback * setback / exact_squared
    return (1 - TOLERANCE) ** 2 < ratio < (1 + TOLERANCE) ** 2 and ratio != 1


@pytest.mark.parametrize("loop, side, along", [
    # the slanted side x + y = 1 meets the top along D = (1, −1, 0), |D| = √2
    ([(0, 0), (1, 0), (0, 1)], "P.side1", 2),
    # the hexagon's side from (2, 0) to (1, 2) meets the top along D = (1, −2, 0), |D| = √5
    (HEXAGON, "P.side0", 5),
])
def test_faces_with_irrational_unit_normals_are_set_back_within_the_tolerance(loop, side, along):
    """The bevel of a top edge is set back d·|D| in both faces. In the top face (unit normal
    (0, 0, 1)) that is exact; in the vertical side it is measured with the side's approximate unit
    normal: the side ends d·|D|·(1 + e) below the top."""
    result = prism(loop, 1).chamfer(text(D))
    assert result.watertight_ok()
    assert within_tolerance(1 - highest_z(result, side), along * D**2)


def test_hexagonal_prism_is_chamfered_all_round():
    result = prism(HEXAGON, 1).chamfer(text(D))
    assert result.watertight_ok()
    # 8 faces, 18 bevels and a facet at each corner (2, 0) and (−2, 0), top and bottom. At the other
    # corners the slanted sides' bevels, set back d·√5 against d on the sides along x, pass beside
    # the point where the other two bevels meet: the three bevels meet pairwise, leaving no peak.
    assert result.logical_faces() == 8 + 18 + 4
    labels = {label for label, _ in result.polygons()}
    assert labels <= {"P.top", "P.bottom", "chamfer.b", "corner.a"} | {f"P.side{i}" for i in range(6)}


def test_chamfered_solids_can_be_chamfered_again():
    once = box((1, 1, 1)).chamfer(text(D))
    twice = once.chamfer("1/50")
    assert twice.watertight_ok()
    assert volume(twice) < volume(once)
    # the corner facets are triangles of side d·√2, inradius d/√6; their edges along (1, −1, 0) are
    # set back d'·√2, so d' = 1/20 would eat them
    with pytest.raises(ValueError, match=TOO_LARGE):
        once.chamfer("1/20")


def chamfer_outcome(solid, dist):
    """The merged polygons of the chamfer (convex solids come back as the BSP cut leaves them), or
    the refusal."""
    try:
        result = solid.chamfer(dist)
    except ValueError as refusal:
        return str(refusal)
    return result.merged().polygons()


@pytest.mark.parametrize("dist", ["1/10", "1/4", "9/20", "1/2", "1"])
def test_merged_operands_give_what_their_polygon_soups_give(dist):
    """A solid in merged form (a boolean's result, or merged()) has its pieces taken out from the
    boundaries alone where that provably matches the cut; the soup it came from is cut by the
    engine. Both must give the same polygons, or the same refusal, and the opening's volume."""
    d = Fraction(dist)
    for cells, loop, h, _ in random_polyomino_prisms(8):
        soup = prism(loop, h)
        expected = chamfer_outcome(soup, dist)
        assert chamfer_outcome(soup.merged(), dist) == expected, (loop, h, dist)
        if not isinstance(expected, str):
            assert volume(soup.merged().chamfer(dist)) == opening_volume(loop, h, d)
    plate = plate_with_hole()
    assert chamfer_outcome(plate.merged(), dist) == chamfer_outcome(plate, dist)
