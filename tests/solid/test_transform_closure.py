"""Transforms of merged solids (unions of boxes, whose faces start at their least vertex, often on a
straight run or at a reflex corner) must give solids that every later call takes as it takes any
other: the exact volume identities of booleans against the same boolean done before the transform,
closed surfaces, chamfers as of the untransformed solid, and planes that hold their loops and face
outward."""

import functools
import pathlib
import pickle
import random
import sys
from dataclasses import dataclass
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from affine_maps import det, inverse, random_invertible, text, texts  # noqa: E402
from states import dot, first_three_normal, parse_state, plane_faults, state_of  # noqa: E402

RNG = random.Random()


def volume6(solid):
    return Fraction(solid.volume6_str())


def random_box(tag, span=2):
    extents = [str(RNG.randint(1, 3)) for _ in range(3)]
    return br.make_box(*extents, tag).translate(*(str(RNG.randint(-span, span)) for _ in range(3)))


def random_union():
    """A union of 2 to 4 boxes on a small grid, merged: by union_all or by a chain of union()."""
    boxes = [random_box(f"b{k}") for k in range(RNG.randint(2, 4))]
    return br.union_all(boxes) if RNG.random() < 0.5 else functools.reduce(lambda a, b: a.union(b), boxes)


@dataclass
class Transform:
    name: str
    forward: object  # solid -> solid
    backward: object  # its inverse
    det: Fraction
    keeps_chamfer: bool  # maps every integer direction to one of the same length


def random_transform(kind):
    if kind == "zero move":
        return Transform(kind, lambda s: s.translate("0", "0", "0"), lambda s: s, Fraction(1), True)
    if kind == "translate":
        t = [Fraction(RNG.randint(-9, 9), RNG.randint(1, 4)) for _ in range(3)]
        return Transform(kind, lambda s: s.translate(*map(text, t)), lambda s: s.translate(*(text(-c) for c in t)),
                         Fraction(1), True)
    if kind == "rotate_quarter":
        axis, quarters = RNG.randrange(3), RNG.randint(1, 3)
        return Transform(kind, lambda s: s.rotate_quarter(axis, quarters), lambda s: s.rotate_quarter(axis, -quarters),
                         Fraction(1), True)
    if kind == "mirror":
        axis = RNG.randrange(3)
        return Transform(kind, lambda s: s.mirror(axis), lambda s: s.mirror(axis), Fraction(-1), True)
    if kind == "rotate":
        axis = [[text(Fraction(RNG.randint(-6, 6), RNG.randint(1, 3))) for _ in range(3)],
                [str(RNG.randint(-3, 3) or 1) for _ in range(3)]]
        angle, tolerance = text(Fraction(RNG.randint(-360, 360), RNG.randint(1, 4))), "1/100000"
        return Transform(kind, lambda s: s.rotate(axis, angle, tolerance),
                         lambda s: s.rotate(axis, text(-Fraction(angle)), tolerance), Fraction(1), False)
    if kind == "transform":
        rows = random_invertible(RNG, 3, 2)
        return Transform(kind, lambda s: s.transform(texts(rows)), lambda s: s.transform(texts(inverse(rows))),
                         det(rows), False)
    assert kind == "scale"
    f = [Fraction(RNG.choice([-1, 1]) * RNG.randint(1, 5), RNG.randint(1, 3)) for _ in range(3)]
    return Transform(kind, lambda s: s.scale(*map(text, f)), lambda s: s.scale(*(text(1 / c) for c in f)),
                     f[0] * f[1] * f[2], False)


KINDS = ("zero move", "translate", "rotate_quarter", "mirror", "scale", "rotate", "transform")


def check_planes(solid, flipped=False):
    """Every plane holds its loop and faces outward. Where the first three points of the loop as the
    map gave it (before a flip reversed it) face the loop's way, the plane is the one through them,
    as transforms have always given it (negated by the flip)."""
    for polygon in parse_state(state_of(solid)):
        assert plane_faults(polygon) == "", polygon
        sign = -1 if flipped else 1
        as_mapped = polygon.loop[::-1] if flipped else polygon.loop
        first = [sign * c for c in first_three_normal(as_mapped)]
        if dot(first, polygon.normal) > 0:
            assert (polygon.normal, polygon.offset) == (first, dot(first, as_mapped[0]))


def check_booleans(moved, transform, solid, probe):
    """moved ∩ probe has |det| times the volume of solid ∩ (probe moved back); union and intersection add
    up to both operands, by the merging engine and by the BSP booleans alike."""
    before = volume6(solid.intersect(transform.backward(probe)))
    for union, intersect in ((moved.union, moved.intersect),
                             (functools.partial(moved.boolean, "union"), functools.partial(moved.boolean, "intersect"))):
        common, joined = intersect(probe), union(probe)
        assert volume6(common) == abs(transform.det) * before
        assert volume6(joined) + volume6(common) == volume6(moved) + volume6(probe)
        assert joined.watertight_ok() and common.watertight_ok()
    assert volume6(moved.cut(probe)) == volume6(moved) - volume6(moved.intersect(probe))
    assert volume6(br.union_all([moved, probe])) == volume6(moved.union(probe))


def chamfer_outcome(solid):
    try:
        chamfered = solid.chamfer("1/10")
    except ValueError:
        return "refused"
    assert chamfered.watertight_ok()
    return volume6(chamfered)


@pytest.mark.parametrize("kind", KINDS)
def test_transforms_of_merged_unions_behave_as_the_union_did(kind):
    odd_starts = 0
    for _ in range(12):
        solid, transform = random_union(), random_transform(kind)
        moved = transform.forward(solid)
        if RNG.random() < 0.3:
            moved = pickle.loads(pickle.dumps(moved))
        assert moved.watertight_ok()
        assert volume6(moved) == abs(transform.det) * volume6(solid)  # flipped: outward still
        check_planes(moved, flipped=transform.det < 0)
        odd_starts += any(dot(first_three_normal(p.loop), p.normal) <= 0 for p in parse_state(state_of(moved)))
        check_booleans(moved, transform, solid, random_box("p", span=3))
        if transform.keeps_chamfer:
            assert chamfer_outcome(moved) == chamfer_outcome(solid)
        assert volume6(transform.backward(moved)) == volume6(solid)
    assert odd_starts >= 3  # the faces whose first three points do not give their plane were met


@pytest.mark.parametrize("exponent", [1000, -1000])
@pytest.mark.parametrize("kind", ["translate", "mirror", "rotate", "transform"])
def test_transforms_of_merged_unions_far_beyond_the_doubles(kind, exponent):
    """The same at a scale of 2^±1000, where every double filter meets overflow or underflow."""
    factor = text(Fraction(2) ** exponent)

    def scaled(s):
        return s.scale(factor, factor, factor)

    for _ in range(4):
        solid, transform = scaled(random_union()), random_transform(kind)
        probe = scaled(random_box("p", span=3))
        moved = transform.forward(solid)
        assert moved.watertight_ok()
        assert volume6(moved) == abs(transform.det) * volume6(solid)
        check_planes(moved, flipped=transform.det < 0)
        check_booleans(moved, transform, solid, probe)
