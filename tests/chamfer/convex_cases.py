"""Convex solids whose faces all have rational unit normals, with a distance each, and their chamfers
as the module gave them before it chamfered non-convex solids (convex_golden.json). Those results
must not change: the canonical text depends on the exact fragmentation the cutters leave.

python tests/chamfer/convex_cases.py OUT.json   writes the table for the module on the path."""

import hashlib
import json
import math
import random
import sys
from fractions import Fraction

import brevant_rs as br


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def flat(points):
    return [text(c) for p in points for c in p]


# Side directions whose normals (b, −a) have rational length.
PYTHAGOREAN = [(1, 0), (0, 1), (3, 4), (4, 3), (-3, 4), (-4, 3), (5, 12), (12, 5), (-5, 12), (-12, 5), (8, 15),
               (-15, 8)]


def zonogon(rng):
    """A centrally symmetric convex loop: sides along a few such directions and their opposites."""
    directions = rng.sample(PYTHAGOREAN, rng.randint(2, 4))
    lengths = [Fraction(rng.randint(1, 6), rng.randint(1, 3)) for _ in directions]
    sides = [(k * a, k * b) for k, (a, b) in zip(lengths, directions)]
    sides += [(-x, -y) for x, y in sides]
    sides.sort(key=lambda v: math.atan2(v[1], v[0]))
    points, x, y = [], Fraction(0), Fraction(0)
    for dx, dy in sides:
        points.append((x, y))
        x, y = x + dx, y + dy
    return points


def fragmented_slab():
    slab = None
    for i in range(4):
        for j in range(4):
            cell = br.make_box("1", "1", "1", "u").translate(str(i), str(j), "0")
            slab = cell if slab is None else slab.boolean("union", cell)
    return slab


def cases():
    rng = random.Random(1414)
    cube = br.make_box("1", "1", "1", "a")
    out = [("unit cube", br.make_box("1", "1", "1", "p"), "1/10"), ("10x1x1", br.make_box("10", "1", "1", "p"), "1/10"),
           ("two cubes", cube.boolean("union", cube.translate("1", "0", "0")), "1/10"),
           ("cube 0", br.make_box("1", "1", "1", "p"), "0")]
    for i in range(10):
        extents = [Fraction(rng.randint(1, 40), rng.randint(1, 9)) for _ in range(3)]
        d = Fraction(rng.randint(1, 19), 20) * min(extents) / 2
        shift = [Fraction(rng.randint(-9, 9), rng.randint(1, 5)) for _ in range(3)]
        out.append((f"box {i}", br.make_box(*map(text, extents), "b").translate(*map(text, shift)), text(d)))
    for i in range(8):
        points = zonogon(rng)
        h = Fraction(rng.randint(1, 9), rng.randint(1, 3))
        d = Fraction(1, rng.randint(30, 90))
        out.append((f"zonogon prism {i}", br.make_prism(flat(points), text(h), "z"), text(d)))
    bottom, top = [(0, 0), (4, 0), (4, 4), (0, 4)], [(1, 1), (3, 1), (3, 3), (1, 3)]
    for i, h in enumerate([Fraction(3, 4), Fraction(4, 3), Fraction(12, 5)]):
        out.append((f"frustum {i}", br.make_prismatoid(flat(bottom), "0", flat(top), text(h), "f"), "1/10"))
    out.append(("cube turned", br.make_box("2", "3", "5", "p").rotate_quarter(0, 1).mirror(2), "1/7"))
    out.append(("slab of 16", fragmented_slab(), "1/10"))
    other = br.make_box("3", "3", "3", "b").translate("1", "1/2", "1/3")
    cap = br.make_box("3", "3", "3", "a").boolean("intersect", other)
    out.append(("box cap box", cap, "1/5"))
    out += [("cube half", br.make_box("1", "1", "1", "p"), "1/2"), ("cube 2", br.make_box("1", "1", "1", "p"), "2"),
            ("cube neg", br.make_box("1", "1", "1", "p"), "-1/10"),
            ("zonogon big", br.make_prism(flat(zonogon(rng)), "1", "z"), "5")]
    return out


def chamfered(solid, dist):
    """The chamfer's volume and a digest of its canonical text, or its refusal."""
    try:
        result = solid.chamfer(dist)
    except ValueError as refusal:
        return {"refusal": str(refusal)}
    return {"volume6": result.volume6_str(), "sha256": hashlib.sha256(result.canonical().encode()).hexdigest()}


if __name__ == "__main__":
    table = {name: chamfered(solid, dist) for name, solid, dist in cases()}
    with open(sys.argv[1], "w") as out:
        json.dump(table, out, indent=1, sort_keys=True)
        out.write("\n")
