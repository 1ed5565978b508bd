"""An independent oracle for solids made of axis-aligned boxes: exact volumes by cell counting and
the canonical text of a single box, both computed with fractions in Python."""

from fractions import Fraction
from itertools import product


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def box_canonical(lo, hi):
    """The canonical text of the box with opposite corners lo and hi."""
    keys = set()
    for axis in range(3):
        for level in (lo[axis], hi[axis]):
            others = [a for a in range(3) if a != axis]
            corners = []
            for u, v in product((lo[others[0]], hi[others[0]]), (lo[others[1]], hi[others[1]])):
                point = [None] * 3
                point[axis], point[others[0]], point[others[1]] = level, u, v
                corners.append(",".join(text(c) for c in point))
            keys.add("|".join(sorted(corners)))
    return ";".join(sorted(keys))


def contains(expr, point):
    """Whether point lies in the region of expr: ('box', lo, hi) or (op, left, right)."""
    if expr[0] == "box":
        _, lo, hi = expr
        return all(lo[i] < point[i] < hi[i] for i in range(3))
    op, left, right = expr
    in_left, in_right = contains(left, point), contains(right, point)
    return {"union": in_left or in_right, "cut": in_left and not in_right, "intersect": in_left and in_right}[op]


def boxes(expr):
    if expr[0] == "box":
        yield expr
    else:
        yield from boxes(expr[1])
        yield from boxes(expr[2])


def volume6(expr):
    """Six times the volume of expr, exactly: the grid cut by every box plane is tested cell by cell."""
    cuts = [sorted({b[k][axis] for b in boxes(expr) for k in (1, 2)}) for axis in range(3)]
    total = Fraction(0)
    for cell in product(*(list(zip(c, c[1:])) for c in cuts)):
        centre = [(low + high) / 2 for low, high in cell]
        if contains(expr, centre):
            size = Fraction(1)
            for low, high in cell:
                size *= high - low
            total += size
    return 6 * total
