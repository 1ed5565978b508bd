"""The boolean engine that returns merged faces: union, cut, intersect and union_all."""

import math
import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parents[1] / "merge"))
from solids import box  # noqa: E402

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
    angles = sorted(rng.uniform(0, 2 * math.pi) for _ in range(rng.randint(3, 8)))
    points = [(round(r * math.cos(a)), round(r * math.sin(a))) for a in angles for r in [rng.randint(1, 5)]]
    try:
        prism = br.make_prism([str(c) for p in points for c in p], str(rng.randint(1, 4)), prefix)
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
