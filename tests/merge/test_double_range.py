"""Merging, meshing and the engine on whole faces near the ends of the double range: coordinates at
2^±500, 2^±1000 and subnormal scales, beyond the largest double, each below it but spread further
than it, and just below 2^512, where squares of differences overflow. Every answer is checked
against exact arithmetic done here."""

import itertools
import math
import os
import pathlib
import random
import resource
import sys
from fractions import Fraction

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from mesh_checks import exact_mesh, sides_matched, signed_volume6  # noqa: E402

# (unit, offset): a coordinate k of a shape stands for k·unit + offset.
SCALES = {
    "2^500": (Fraction(2) ** 500, 0),
    "2^-500": (Fraction(1, 2 ** 500), 0),
    "2^1000": (Fraction(2) ** 1000, 0),
    "2^-1000": (Fraction(1, 2 ** 1000), 0),
    "subnormal": (Fraction(1, 2 ** 1070), 0),
    "beyond the largest double": (Fraction(2) ** 1100, 0),
    "spread past the largest double": (Fraction(10) ** 307, 0),
    "below 2^512": (Fraction(2) ** 508, 0),
    "far out near 2^511": (Fraction(2) ** 400, Fraction(2) ** 511 - Fraction(2) ** 460),
}


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def make(box, unit, offset, label):
    lo, hi = box
    sides = [text((h - l) * unit) for l, h in zip(lo, hi)]
    return br.make_box(*sides, label).translate(*[text(l * unit + offset) for l in lo])


def volume6(boxes, inside, unit):
    """Six times the volume of the points whose membership in the boxes satisfies inside(flags), by
    cutting space at every box side."""
    cuts = [sorted({c for lo, hi in boxes for c in (lo[a], hi[a])}) for a in range(3)]
    total = Fraction(0)
    for cell in itertools.product(*[range(len(c) - 1) for c in cuts]):
        middle = [Fraction(cuts[a][cell[a]] + cuts[a][cell[a] + 1], 2) for a in range(3)]
        if inside([all(lo[a] < middle[a] < hi[a] for a in range(3)) for lo, hi in boxes]):
            total += math.prod(cuts[a][cell[a] + 1] - cuts[a][cell[a]] for a in range(3))
    return 6 * total * unit ** 3


def check_merged_and_mesh(solid, volume):
    merged = solid.merged()
    assert Fraction(merged.volume6_str()) == volume
    assert merged.watertight_ok()
    assert all(len(loop) >= 3 for _, loop in merged.polygons())
    assert merged.merged().polygons() == merged.polygons()
    points, triangles = exact_mesh(solid)
    assert signed_volume6(points, triangles) == volume
    assert sides_matched(triangles)


def check_engine(result, volume):
    assert Fraction(result.volume6_str()) == volume
    assert result.watertight_ok()


def star_prism(rng, unit, offset, label):
    """A prism over a loop round the origin with slanted sides, corners at whole coordinates."""
    n = rng.randint(3, 7)
    corners = []
    for k in range(n):
        angle = 2 * math.pi * (k + rng.random() / 2) / n
        radius = rng.randint(2, 9)
        corners.append((round(radius * math.cos(angle)), round(radius * math.sin(angle))))
    flat = [text(c * unit + offset) for p in corners for c in p]
    return br.make_prism(flat, text(unit * rng.randint(1, 3)), label)


def search_case(kind, seed):
    """One random case at the scale `kind`: a union of boxes or a plate reaching across the scale
    with holes cut through it (merged, meshed, and through the engine), then two slanted prisms."""
    rng = random.Random(seed)
    unit, offset = SCALES[kind]
    reach = 17 if kind == "spread past the largest double" else 4
    if rng.random() < 0.5:
        boxes = []
        for _ in range(rng.randint(2, 4)):
            lo = [rng.randint(-reach, reach - 1) for _ in range(3)]
            boxes.append((lo, [c + rng.randint(1, 3) for c in lo]))
        solids = [make(b, unit, offset, f"b{k}") for k, b in enumerate(boxes)]
        volume = volume6(boxes, any, unit)
        chain = solids[0]
        for s in solids[1:]:
            chain = chain.boolean("union", s)
        check_merged_and_mesh(chain, volume)
        check_engine(br.union_all(solids), volume)
    else:
        plate = ([-reach, -reach, 0], [reach, reach, 1])
        holes = []
        for _ in range(rng.randint(2, 8)):
            x, y = rng.randint(-reach, reach - 2), rng.randint(-reach, reach - 2)
            holes.append(([x, y, -1], [x + rng.randint(1, 2), y + rng.randint(1, 2), 2]))
        volume = volume6([plate] + holes, lambda f: f[0] and not any(f[1:]), unit)
        solid, cutters = make(plate, unit, offset, "plate"), [make(h, unit, offset, "hole") for h in holes]
        chain = solid
        for cutter in cutters:
            chain = chain.boolean("cut", cutter)
        check_merged_and_mesh(chain, volume)
        check_engine(solid.cut(br.union_all(cutters)), volume)
    p, q = star_prism(rng, unit, offset, "p"), star_prism(rng, unit, offset, "q")
    union = p.boolean("union", q)
    volume = Fraction(union.volume6_str())
    assert Fraction(union.merged().volume6_str()) == volume
    assert signed_volume6(*exact_mesh(union)) == volume
    check_engine(p.union(q), volume)


@pytest.fixture(autouse=True)
def _bounded_memory():
    """A fault here used to allocate without bound: let it end in MemoryError, not take the machine.
    (Not under AddressSanitizer, whose shadow memory an address-space limit would starve.)"""
    if "libasan" in os.environ.get("LD_PRELOAD", ""):
        yield
        return
    soft, hard = resource.getrlimit(resource.RLIMIT_AS)
    mapped = int(pathlib.Path("/proc/self/statm").read_text().split()[0]) * resource.getpagesize()
    limit = mapped + (4 << 30)
    resource.setrlimit(resource.RLIMIT_AS, (limit if hard == resource.RLIM_INFINITY else min(limit, hard), hard))
    yield
    resource.setrlimit(resource.RLIMIT_AS, (soft, hard))


@settings(max_examples=30, deadline=None)
@given(st.sampled_from(sorted(SCALES)), st.integers(0, 2 ** 32))
def test_random_cases_near_the_double_range(kind, seed):
    search_case(kind, seed)


@pytest.mark.heavy
@settings(max_examples=600, deadline=None)
@given(st.sampled_from(sorted(SCALES)), st.integers(0, 2 ** 32))
def test_many_random_cases_near_the_double_range(kind, seed):
    search_case(kind, seed)


def near_overflow_triple(rng):
    """a, b with coordinates just below ±2^512 and c on the segment a–b where the two products of the
    double determinant (b − a) × (c − a) straddle the largest double."""
    unit = 2 ** (511 - 52)
    while True:
        a = [-rng.randint(2 ** 53 - 2 ** 30, 2 ** 53 - 1) * unit for _ in range(2)]
        b = [rng.randint(2 ** 53 - 2 ** 30, 2 ** 53 - 1) * unit for _ in range(2)]
        d = [b[i] - a[i] for i in range(2)]
        q = rng.randint(2 ** 60, 2 ** 61)
        s = Fraction(round(Fraction(2 ** 1024, d[0] * d[1]) * q) + rng.randint(-64, 64), q)
        c = [a[i] + s * d[i] for i in range(2)]
        fa, fb, fc = ([float(v) for v in p] for p in (a, b, c))
        products = [(fb[0] - fa[0]) * (fc[1] - fa[1]), (fb[1] - fa[1]) * (fc[0] - fa[0])]
        if math.isinf(products[0]) != math.isinf(products[1]):
            return a, b, c


@pytest.mark.parametrize("seed", range(6))
def test_a_corner_on_a_side_near_2_to_the_512(seed):
    """A triangle with a corner on a side of another, in one plane, where the doubles of the corner's
    orientation overflow in one product only: the corner lies on the side, and nothing else."""
    a, b, c = near_overflow_triple(random.Random(seed))
    apex = (a[0], b[1])  # on one side of the line a–b
    below = (Fraction(a[0] + c[0], 2), a[1])  # on the other

    def loop(*points):
        return [[text(x), text(y), "2"] for x, y in points]

    soup = br.solid_from_polygons([("x", loop(c, below, (b[0], a[1]))), ("y", loop(a, b, apex))])
    volume = Fraction(soup.volume6_str())
    merged = soup.merged()
    assert all(len(polygon) >= 3 for _, polygon in merged.polygons())
    assert Fraction(merged.volume6_str()) == volume
    points, triangles = exact_mesh(soup)
    assert signed_volume6(points, triangles) == volume


@pytest.mark.parametrize("holes", [1, 12])
def test_a_plate_spread_past_the_largest_double(holes):
    """A plate from −10^308 to 10^308: each coordinate is a double, their spread is not."""
    big = 10 ** 308
    plate = br.make_box(text(2 * big), "40", "2", "plate").translate(text(-big), "0", "0")
    cutters = [br.make_box("1", "1", "4", "hole").translate(str(3 * i), "2", "-1") for i in range(holes)]
    solid = plate
    for cutter in cutters:
        solid = solid.boolean("cut", cutter)
    check_merged_and_mesh(solid, 6 * (2 * big * 40 * 2 - holes * 2))
