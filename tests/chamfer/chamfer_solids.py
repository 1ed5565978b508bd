"""Solids and number texts the chamfer tests share: exact fractions in, exact texts out."""

from fractions import Fraction

import brevant_rs as br
from opening_oracle import boundary_loop, polyomino

L_LOOP = [(0, 0), (4, 0), (4, 1), (1, 1), (1, 3), (0, 3)]


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def prism(loop, h, prefix="P"):
    return br.make_prism([text(c) for p in loop for c in p], text(h), prefix)


def box(extents, at=(0, 0, 0), prefix="b"):
    return br.make_box(*map(text, extents), prefix).translate(*map(text, at))


def volume(solid):
    return Fraction(solid.volume6_str()) / 6


def random_rectilinear_loops(rng, count, most_cells=9):
    """Outlines of random polyominoes in a 5 × 5 grid: counter-clockwise loops of their corners."""
    while count:
        loop = boundary_loop(polyomino(rng, rng.randint(2, most_cells), 5, 5))
        if loop is not None:
            count -= 1
            yield loop
