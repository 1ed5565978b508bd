"""Box measures against fractions.Fraction on extents around 2^62, 2^63 and 2^64, where numbers move
between machine words and big integers, and whose products pass 128 bits."""

import random
from fractions import Fraction

import pytest

import brevant_rs as br

CORNERS = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]
FACES = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (2, 3, 7, 6), (1, 2, 6, 5), (3, 0, 4, 7)]


def text(value):
    return f"{value.numerator}/{value.denominator}"


def canonical_box(dx, dy, dz):
    """Sorted vertex texts per face, faces sorted (nonzero extents)."""
    corners = [(dx * i, dy * j, dz * k) for i, j, k in CORNERS]
    keys = {"|".join(sorted(",".join(text(c) for c in corners[v]) for v in face)) for face in FACES}
    return ";".join(sorted(keys))


RNG = random.Random(20240611)


def near_boundary():
    """A magnitude within a few units of 2^62, 2^63 or 2^64, or a small one."""
    if RNG.random() < 0.25:
        return RNG.choice([1, 2, 3, 5, 7, 12])
    return 2 ** RNG.choice([62, 63, 64]) + RNG.randint(-3, 3)


def extent():
    return Fraction(RNG.choice([-1, 1]) * near_boundary() * RNG.choice([1, 1, 3, near_boundary()]), near_boundary())


RANDOM_EXTENTS = [(extent(), extent(), extent()) for _ in range(100)]


# Extents whose products cancel back to small values, or stop just short of and just past 2^63.
CANCELLING = [
    (Fraction(2**64, 3), Fraction(3, 2**64), Fraction(5)),
    (Fraction(2**63 - 1, 2**64 + 1), Fraction(2**64 + 1, 2**63 - 1), Fraction(-1, 7)),
    (Fraction(2**62), Fraction(2), Fraction(1, 6)),
    (Fraction(-(2**62)), Fraction(2), Fraction(1, 6)),
    (Fraction(2**63 - 1), Fraction(1), Fraction(1, 6)),
    (Fraction(1, 2**63 - 1), Fraction(1, 2**63 - 2), Fraction(1, 2**63 - 3)),
]


@pytest.mark.parametrize("dx, dy, dz", RANDOM_EXTENTS + CANCELLING)
def test_box_measures_match_fraction_arithmetic(dx, dy, dz):
    volume6, canonical = br.box_form(text(dx), text(dy), text(dz))
    assert volume6 == text(6 * dx * dy * dz)
    assert canonical == canonical_box(dx, dy, dz)
    box = br.make_box(text(dx), text(dy), text(dz), "p")
    # int / int in Python rounds once, to nearest, ties to even: an independent reference.
    assert box.volume() == float(dx * dy * dz)
    ends = [(min(0, e), max(0, e)) for e in (dx, dy, dz)]
    assert box.bbox() == [float(lo) for lo, _ in ends] + [float(hi) for _, hi in ends]
