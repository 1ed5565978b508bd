"""Solids the benchmarks share, built through the module from seeded or regular inputs."""

import math

import brevant_rs as br


def staircase_loop(n):
    """The flat loop of an n-step staircase: (0,0), (n,0), then down to (0,n) in unit steps."""
    points = [(0, 0), (n, 0)]
    for k in range(n):
        points += [(n - k, k + 1), (n - k - 1, k + 1)]
    points[-1] = (0, n)
    return [str(c) for p in points for c in p]


def staircase_operands(n):
    """Two n-step staircase prisms of height 1, the second moved by (1/2, 1/2, 1/2): their union has
    about 6n faces."""
    a = br.make_prism(staircase_loop(n), "1", "A")
    return a, a.translate("1/2", "1/2", "1/2")


def hole_grid(k, size=1):
    """The k x k holes of side `size` of a (2k+1) x (2k+1) x 1 plate scaled by `size`, as boxes reaching
    through it."""
    return [br.make_box(str(size), str(size), str(3 * size), "hole").translate(str((2 * i + 1) * size),
                                                                             str((2 * j + 1) * size), str(-size))
            for i in range(k) for j in range(k)]


def plate(k, size=1):
    return br.make_box(str((2 * k + 1) * size), str((2 * k + 1) * size), str(size), "plate")


def plate_with_holes(k):
    """The plate with its k x k holes cut one after another."""
    solid = plate(k)
    for hole in hole_grid(k):
        solid = solid.boolean("cut", hole)
    return solid


def round_hole_loop(cx, cy, r, n=32):
    """The flat loop of an n-gon near the circle of centre (cx, cy) and radius r, its corners rounded
    to thousandths (exact rationals)."""
    from fractions import Fraction

    points = []
    for k in range(n):
        angle = 2 * math.pi * k / n
        for c in (cx + r * math.cos(angle), cy + r * math.sin(angle)):
            value = Fraction(round(c * 1000), 1000)
            points.append(f"{value.numerator}/{value.denominator}")
    return points


def round_holes(count=20, n=32):
    """Prisms over `count` round n-gon holes in a 5-wide grid, 4 apart, reaching through a plate of
    height 1 from z = -1 to z = 2."""
    return [br.make_prism(round_hole_loop(2 + 4 * (i % 5), 2 + 4 * (i // 5), 1.5, n), "3", "hole").translate("0", "0", "-1")
            for i in range(count)]


def round_hole_plate():
    return br.make_box("20", "16", "1", "plate")


def holed_face(columns, rows):
    """One flat face with columns x rows unit square holes 2 apart, as a polygon soup: the outer
    square counter-clockwise and each hole clockwise, all in the plane z = 0."""
    def loop(points):
        return [[str(x), str(y), "0"] for x, y in points]

    width, height = 2 * columns + 1, 2 * rows + 1
    polygons = [("face", loop([(0, 0), (width, 0), (width, height), (0, height)]))]
    for i in range(columns):
        for j in range(rows):
            x, y = 2 * i + 1, 2 * j + 1
            polygons.append(("hole", loop([(x, y), (x, y + 1), (x + 1, y + 1), (x + 1, y)])))
    return br.solid_from_polygons(polygons)
