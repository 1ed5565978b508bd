"""The boolean engine that returns merged faces: union, cut, intersect and union_all."""

import json
import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parents[1] / "merge"))
sys.path.insert(0, str(pathlib.Path(__file__).parent))
from solids import box  # noqa: E402
from engine_chains import chain_digests, star_loop  # noqa: E402

RNG = random.Random()
OPS = ("union", "cut", "intersect")


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def random_box(rng, prefix):
    size = [Fraction(rng.randint(1, 9), rng.choice((1, 2, 3))) for _ in range(3)]
    place = [Fraction(rng.randint(-4, 4), rng.choice((1, 2))) for _ in range(3)]
    return box(*map(text, place), *map(text, size), prefix)


def random_prism(rng, prefix):
    """A prism over a random star-shaped loop of integer points (often non-convex)."""
    loop = star_loop(rng)
    try:
        prism = br.make_prism(loop, str(rng.randint(1, 4)), prefix)
    except ValueError:  # the rounding made the loop cross itself
        return random_box(rng, prefix)
    return prism.translate(*(str(rng.randint(-2, 2)) for _ in range(3)))


def random_operand(rng, prefix):
    solid = random_box(rng, prefix) if rng.random() < 0.5 else random_prism(rng, prefix)
    move = rng.random()
    if move < 0.2:
        solid = solid.rotate_quarter(rng.randint(0, 2), rng.randint(1, 3))
    elif move < 0.3:
        solid = solid.mirror(rng.randint(0, 2))
    return solid


def volume6(solid):
    return Fraction(solid.volume6_str())


@pytest.mark.parametrize("seed", range(60))
def test_matches_the_bsp_boolean_merged_on_random_operands(seed):
    """Random boxes and prisms over non-convex loops, moved, and chained through the engine itself
    (so operands have whole non-convex faces); both volume identities, closed results, and the same
    point set as the BSP result."""
    RNG.seed(seed)
    a = random_operand(RNG, "a")
    for k in range(RNG.randint(0, 2)):
        a = getattr(a, RNG.choice(OPS))(random_operand(RNG, f"x{k}"))
    b = random_operand(RNG, "b")
    results = {op: getattr(a, op)(b) for op in OPS}
    assert volume6(results["union"]) + volume6(results["intersect"]) == volume6(a) + volume6(b)
    assert volume6(results["cut"]) == volume6(a) - volume6(results["intersect"])
    for op, result in results.items():
        assert result.watertight_ok()
        assert result.merged().polygons() == result.polygons()
        assert result.canonical() == a.boolean(op, b).merged().canonical(), op


TOUCHING = {
    "face to face": ((0, 0, 0, 2, 2, 2), (2, 0, 0, 2, 2, 2)),
    "face to face, offset": ((0, 0, 0, 2, 2, 2), (2, 1, 1, 2, 2, 2)),
    "edge to edge": ((0, 0, 0, 2, 2, 2), (2, 2, 0, 2, 2, 2)),
    "corner to corner": ((0, 0, 0, 2, 2, 2), (2, 2, 2, 1, 1, 1)),
    "shared bottom and top": ((0, 0, 0, 2, 2, 2), (1, 0, 0, 2, 2, 2)),
    "flush inside": ((0, 0, 0, 4, 4, 4), (0, 0, 0, 2, 2, 2)),
    "inside": ((0, 0, 0, 4, 4, 4), (1, 1, 1, 2, 2, 2)),
    "identical": ((0, 0, 0, 2, 3, 4), (0, 0, 0, 2, 3, 4)),
    "apart": ((0, 0, 0, 1, 1, 1), (5, 5, 5, 1, 1, 1)),
    "slab through": ((0, 0, 0, 4, 4, 4), (-1, 1, -1, 6, 2, 6)),
}


@pytest.mark.parametrize("op", OPS)
@pytest.mark.parametrize("case", TOUCHING, ids=list(TOUCHING))
def test_touching_and_coplanar_configurations(case, op):
    a, b = box(*TOUCHING[case][0], "a"), box(*TOUCHING[case][1], "b")
    result = getattr(a, op)(b)
    reference = a.boolean(op, b).merged()
    assert result.canonical() == reference.canonical()
    assert result.watertight_ok()


def test_the_identities_of_one_solid_with_itself():
    s = random_prism(random.Random(3), "s").union(box(0, 0, 0, 1, 1, 1))
    assert s.union(s).canonical() == s.canonical() == s.intersect(s).canonical()
    assert s.cut(s).polygons() == []


def test_labels_follow_the_faces_they_come_from():
    hollow = box(0, 0, 0, 4, 4, 4, "a").cut(box(1, 1, 1, 2, 2, 2, "b"))
    labels = sorted(label for label, _ in hollow.polygons())
    assert labels == sorted(f"{p}.{f}" for p in "ab" for f in ("bottom", "top", "front", "back", "left", "right"))
    assert volume6(hollow) == 6 * (64 - 8)


@pytest.mark.parametrize("op", OPS)
def test_empty_and_flat_operands_act_as_in_boolean(op):
    solid = box(0, 0, 0, 2, 2, 2)
    for other in (br.make_box("0", "2", "2", "flat").translate("1", "0", "0"), br.make_box("0", "0", "0", "none")):
        assert getattr(solid, op)(other).canonical() == solid.boolean(op, other).merged().canonical()
        assert getattr(other, op)(solid).canonical() == other.boolean(op, solid).merged().canonical()


def test_operands_are_left_as_they_were():
    a, b = box(0, 0, 0, 2, 2, 2), box(1, 1, 1, 2, 2, 2)
    before = a.polygons(), b.polygons()
    for op in OPS:
        getattr(a, op)(b)
    assert (a.polygons(), b.polygons()) == before


@pytest.mark.parametrize("seed", range(15))
def test_union_all_is_the_union_in_any_order(seed):
    RNG.seed(seed)
    solids = [random_operand(RNG, f"s{k}") for k in range(RNG.randint(2, 7))]
    solids.append(solids[0])  # the same solid twice
    chained = solids[0]
    for s in solids[1:]:
        chained = chained.union(s)
    shuffled = solids[:]
    RNG.shuffle(shuffled)
    assert br.union_all(solids).canonical() == br.union_all(iter(shuffled)).canonical() == chained.canonical()


def test_union_all_takes_any_iterable_and_refuses_other_items():
    boxes = [box(2 * i, 0, 0, 1, 1, 1) for i in range(3)]
    assert volume6(br.union_all(b for b in boxes)) == 18
    assert br.union_all([]).polygons() == []
    with pytest.raises(TypeError, match="argument 'solids': 'int' object cannot be converted to 'PySolid'"):
        br.union_all([boxes[0], 7])
    with pytest.raises(TypeError, match="argument 'solids': 'int' object cannot be converted to 'Iterable'"):
        br.union_all(7)


def plate_holes(rng, count):
    """Boxes reaching through a 12 x 12 x 2 plate: apart, overlapping, touching one another or the
    plate's sides, opening notches, and now and then the same hole twice."""
    holes = []
    for _ in range(count):
        x, y = rng.randint(-1, 11), rng.randint(-1, 11)
        w, d = rng.choice((1, 2, Fraction(1, 2))), rng.choice((1, 2, 3))
        top = rng.choice((3, 2, 1))  # through, flush with the top, or a blind pocket from below
        holes.append(box(text(x), text(y), "-1", text(w), text(d), text(top + 1), "h"))
    if holes and rng.random() < 0.3:
        holes.append(holes[rng.randrange(len(holes))])
    return holes


@pytest.mark.parametrize("seed", range(40))
def test_holes_cut_one_by_one_are_the_holes_cut_at_once(seed):
    """A face with holes is cut only where a new hole reaches; the result of a loop of cuts is the
    same solid, polygon for polygon and label for label, as one cut by the union of the holes, and
    has the point set of the BSP path."""
    rng = random.Random(seed)
    plate = box(0, 0, 0, 12, 12, 2, "p")
    holes = plate_holes(rng, rng.randint(1, 12))
    one_by_one = plate
    for h in holes:
        one_by_one = one_by_one.cut(h)
    at_once = plate.cut(br.union_all(holes))
    assert one_by_one.polygons() == at_once.polygons()
    assert one_by_one.watertight_ok()
    bsp = plate
    for h in holes:
        bsp = bsp.boolean("cut", h)
    assert one_by_one.canonical() == bsp.merged().canonical()
    assert volume6(one_by_one) == volume6(bsp)


@pytest.mark.parametrize("seed", range(20))
def test_solids_far_from_each_other(seed):
    """Parts 2^40 to 2^200 apart along the directions rays are cast in: every solid lies within the
    other's box, so each is told from the other by rays that start far away and pass close by."""
    rng = random.Random(seed)
    far = 2 ** rng.choice((40, 47, 60, 100, 200))
    near = box(0, 0, 0, 1, 1, 1, "n")
    direction = rng.choice(((97, 61, 37), (-83, 59, 101), (1, 1, 1)))
    corner = [text(Fraction(-far * c, 97) + Fraction(rng.randint(-8, 8), 16)) for c in direction]
    a = near.union(br.make_box("1", "1", "1", "f").translate(*corner)).union(box(far, far, far, 1, 1, 1, "g"))
    b = box(*(text(Fraction(-far * c, 194)) for c in direction), 1, 1, 1, "b")
    assert volume6(a.intersect(b)) == 0
    assert volume6(a.union(b)) == volume6(a) + volume6(b)
    assert a.cut(b).canonical() == a.canonical()
    assert b.cut(a).canonical() == b.canonical()


def pyramid(apex, base, depth, prefix):
    """A square pyramid with its tip at `apex` and its base of half-width `base` at `depth` below it
    (above it for a negative depth), every face outward."""
    x, y, z = apex
    corners = [(x - base, y - base), (x + base, y - base), (x + base, y + base), (x - base, y + base)]
    ring = [[text(cx), text(cy), text(z - depth)] for cx, cy in corners]
    tip = [text(x), text(y), text(z)]
    if depth > 0:
        faces = [(f"{prefix}.base", ring[::-1])] + [(f"{prefix}.s{i}", [ring[i], ring[(i + 1) % 4], tip]) for i in range(4)]
    else:
        faces = [(f"{prefix}.base", ring)] + [(f"{prefix}.s{i}", [ring[(i + 1) % 4], ring[i], tip]) for i in range(4)]
    return br.solid_from_polygons(faces)


@pytest.mark.parametrize("op", OPS)
@pytest.mark.parametrize("apex", [(1, 1), (0, 0), (3, 1), (Fraction(3, 2), Fraction(3, 2)), (2, 1), (1, 2), (Fraction(1, 2), Fraction(1, 2))])
def test_a_vertex_resting_on_a_face_anywhere(apex, op):
    """A pyramid's tip resting on the bottom of a box from below, and one upside down on its top: at
    the point a face's inner point would be taken from, at corners, on sides."""
    x, y = apex
    b = box(0, 0, 0, 3, 3, 3, "b")
    below = pyramid((x, y, 0), Fraction(1, 2), 2, "q")
    above = pyramid((x, y, 3), Fraction(1, 2), -2, "r")
    for other in (below, above):
        result = getattr(b, op)(other)
        assert result.canonical() == b.boolean(op, other).merged().canonical()
        assert result.watertight_ok()


GOLDEN = json.loads((pathlib.Path(__file__).parent / "engine_golden.json").read_text())


@pytest.mark.parametrize("seeds", [range(k, k + 50) for k in range(0, 400, 50)], ids=lambda r: f"{r.start}-{r.stop}")
def test_results_are_those_of_the_engine_that_merged_every_result(seeds):
    """Digests of polygons() (labels, loops, order) along random chains, written by the engine as it
    was when every result was merged at once; results now made and merged when read are the same."""
    for seed in seeds:
        assert chain_digests(seed) == GOLDEN[str(seed)], seed


@pytest.mark.parametrize("soup", ["box twice", "overlapping boxes"])
def test_operands_covering_a_region_twice_are_declined(soup):
    """merged() keeps how often a soup covers a region; the booleans have no one answer for such
    counts and decline them, whichever side they are on, leaving the module usable."""
    a = br.make_box("2", "2", "4", "a").polygons()
    b = br.make_box("2", "2", "4", "b").translate("1", "0", "0").polygons()
    soup = br.solid_from_polygons(a * 2 if soup == "box twice" else a + b)
    other = box(5, 0, 0, 1, 1, 1, "o")
    message = "boolean: an operand covers part of its surface more than once"
    for call in (lambda: soup.union(other), lambda: other.cut(soup), lambda: soup.intersect(other),
                 lambda: br.union_all([other, soup])):
        with pytest.raises(ValueError, match=message):
            call()
    assert volume6(soup.merged()) == volume6(soup)
    assert volume6(other.union(other)) == volume6(other)
