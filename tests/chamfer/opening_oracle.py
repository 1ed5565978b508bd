"""Independent answers for chamfered prisms over polyominoes (unions of unit grid cells) and for
unions of unit voxels, computed from the morphological opening by the octahedron
O(d) = {|x| + |y| + |z| <= d}, not from the chamfer's construction; and an exact point-in-solid
test for the module's results.

For S = P × [0, h] the octahedra inside S are those centred on E = E2 × [d, h − d], where
E2 = {c : c + D(d) ⊂ P} and D(r) is the diamond |x| + |y| <= r (the octahedron's widest slice
is its middle one). A point p lies in the opening E ⊕ O(d) exactly when some c in E2 has
|p_xy − c|₁ <= d − dist(p_z, [d, h − d])."""

import math
import pathlib
import sys
from fractions import Fraction
from itertools import combinations, product

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "solid"))
from loops import cells_boundary  # noqa: E402


def polyomino(rng, cells, width, height):
    """A random connected set of `cells` unit cells in a width × height grid, grown cell by cell."""
    grown = {(rng.randrange(width), rng.randrange(height))}
    while len(grown) < cells:
        x, y = rng.choice(sorted(grown))
        dx, dy = rng.choice(((1, 0), (-1, 0), (0, 1), (0, -1)))
        if 0 <= x + dx < width and 0 <= y + dy < height:
            grown.add((x + dx, y + dy))
    return grown


def boundary_loop(cells):
    """The cells' boundary as one counter-clockwise loop of its corners, or None when it is not one
    simple loop (a hole, or two cells touching only at a corner)."""
    loop = cells_boundary(cells)
    if loop is None:
        return None
    return [b for a, b, c in zip(loop[-1:] + loop[:-1], loop, loop[1:] + loop[:1]) if turn(a, b, c) != 0]


def turn(a, b, c):
    return (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0])


def corners(loop):
    """(convex, reflex) corner counts of a counter-clockwise loop."""
    turns = [turn(a, b, c) for a, b, c in zip(loop[-1:] + loop[:-1], loop, loop[1:] + loop[:1])]
    return sum(t > 0 for t in turns), sum(t < 0 for t in turns)


def opening_volume(loop, h, d):
    """The opening's volume for d small against the loop's features, by slices.

    With a(r) = area(E2 ⊕ D(r)), the slice of the opening at height z is E2 ⊕ D(r) with
    r = d − dist(z, [d, h − d]), so V = (h − 2d)·a(d) + 2·∫₀^d a(r) dr. With s = d − r the set
    E2 ⊕ D(r) is P set back by s along every side (P·s lost, the n_c convex corners counted twice:
    + n_c·s²), a triangle s²/2 cut at each of the n_r reflex corners (the diamond around the
    corner), and a triangle r²/2 cut at each convex corner (the diamond's side joining the two
    set-back sides). So a(r) = A − P·s + n_c·s² − n_c·r²/2 − n_r·s²/2, and integrating,
    V = A·h − P·d² − n_c·h·d²/2 + (4/3)·n_c·d³ − (1/3)·n_r·d³."""
    area = sum(Fraction(a[0] * b[1] - b[0] * a[1]) for a, b in zip(loop, loop[1:] + loop[:1])) / 2
    perimeter = sum(abs(b[0] - a[0]) + abs(b[1] - a[1]) for a, b in zip(loop, loop[1:] + loop[:1]))
    nc, nr = corners(loop)
    return area * h - perimeter * d**2 - nc * h * d**2 / 2 + Fraction(4, 3) * nc * d**3 - Fraction(1, 3) * nr * d**3


def _l1_to_cell(c, cell):
    a, b = cell
    return max(0, a - c[0], c[0] - a - 1) + max(0, b - c[1], c[1] - b - 1)


def _holds_diamond(c, cells, d):
    """c + D(d) ⊂ P: every cell outside P lies at L1 distance d or more from c."""
    x0, y0 = math.floor(c[0]) - 2, math.floor(c[1]) - 2
    return all((a, b) in cells or _l1_to_cell(c, (a, b)) >= d for a in range(x0, x0 + 5) for b in range(y0, y0 + 5))


_LINE_ROWS = {"x": (1, 0), "y": (0, 1), "x+y": (1, 1), "x-y": (1, -1)}


def _value_at(kind, q):
    a, b = _LINE_ROWS[kind]
    return a * q[0] + b * q[1]


def _bounding_lines(q, r, cells, d):
    """The lines that bound the feasible centres near q and come within r of it: the sides of the
    diamond q + D(r), and the sides of each outside cell grown by D(d) (an octagon)."""
    lines = {(kind, _value_at(kind, q) + s * r) for kind in ("x+y", "x-y") for s in (1, -1)}
    for a in range(math.floor(q[0]) - 2, math.floor(q[0]) + 3):
        for b in range(math.floor(q[1]) - 2, math.floor(q[1]) + 3):
            if (a, b) in cells:
                continue
            lines |= {("x", a - d), ("x", a + 1 + d), ("y", b - d), ("y", b + 1 + d)}
            for cx in (a, a + 1):
                for cy in (b, b + 1):
                    lines |= {("x+y", cx + cy + s * d) for s in (1, -1)} | {("x-y", cx - cy + s * d) for s in (1, -1)}
    return sorted(line for line in lines if abs(line[1] - _value_at(line[0], q)) <= r)


def _meet(l1, l2):
    (a1, b1), v1 = _LINE_ROWS[l1[0]], l1[1]
    (a2, b2), v2 = _LINE_ROWS[l2[0]], l2[1]
    det = a1 * b2 - a2 * b1
    if det == 0:
        return None
    return Fraction(v1 * b2 - v2 * b1) / det, Fraction(a1 * v2 - a2 * v1) / det


def in_opening(p, cells, h, d):
    """Whether p lies in the opening of the prism over the cells (d < 1/2).

    The feasible centres {c : |q − c|₁ <= r, c + D(d) ⊂ P} form a closed polygonal set bounded by
    the lines above; when not empty, its lowest-leftmost point lies on two of them that are not
    parallel, so it is enough to try q itself and every meeting point of two lines."""
    if not 0 <= p[2] <= h:
        return False
    r = d - max(0, d - p[2], p[2] - (h - d))
    q = p[:2]
    if r < 0:
        return False
    if _holds_diamond(q, cells, d):
        return True
    for l1, l2 in combinations(_bounding_lines(q, r, cells, d), 2):
        c = _meet(l1, l2)
        if c is not None and abs(c[0] - q[0]) + abs(c[1] - q[1]) <= r and _holds_diamond(c, cells, d):
            return True
    return False


# --- unions of unit voxels ------------------------------------------------------------------

def _l1_to_voxel(c, voxel):
    return sum(max(0, voxel[i] - c[i], c[i] - voxel[i] - 1) for i in range(3))


def _holds_octahedron(c, voxels, d):
    base = [math.floor(x) for x in c]
    return all(v in voxels or _l1_to_voxel(c, v) >= d
               for v in product(*(range(b - 1, b + 2) for b in base)))


_DIRECTIONS = [s for s in product((-1, 0, 1), repeat=3) if s != (0, 0, 0)]


def _bounding_planes(p, voxels, d):
    """The planes s·x = k (s with entries in {−1, 0, 1}) bounding the feasible centres near p: the
    faces of the octahedron p + O(d), and those of each outside voxel grown by O(d) (a voxel's
    face with outward direction s lies at max over the voxel of s·x, plus d). Only planes that meet
    p + O(d) are kept: it reaches exactly d along every such s."""
    planes = {(s, sum(s[i] * p[i] for i in range(3)) + d) for s in product((-1, 1), repeat=3)}
    base = [math.floor(x) for x in p]
    for v in product(*(range(b - 2, b + 3) for b in base)):
        if v not in voxels:
            planes |= {(s, sum(s[i] * (v[i] + (s[i] > 0)) for i in range(3)) + d) for s in _DIRECTIONS}
    return [(s, k) for s, k in planes if abs(sum(s[i] * p[i] for i in range(3)) - k) <= d]


def _det(m):
    return (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
            + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]))


def _meet3(planes):
    rows = [s for s, _ in planes]
    det = _det(rows)
    if det == 0:
        return None
    return tuple(Fraction(_det([[k if j == i else row[j] for j in range(3)] for row, (_, k) in zip(rows, planes)]), det)
                 for i in range(3))


def in_voxel_opening(p, voxels, d):
    """Whether p lies in the opening of the union of unit voxels (integer corners) by O(d), d < 1/2:
    some centre c with |p − c|₁ <= d has c + O(d) inside. As in 2D, the feasible centres form a
    closed polyhedral set, so when not empty its lexicographically least point is a meeting point
    of three of the bounding planes that are not parallel."""
    if _holds_octahedron(p, voxels, d):
        return True
    for trio in combinations(_bounding_planes(p, voxels, d), 3):
        c = _meet3(trio)
        if c is not None and sum(abs(c[i] - p[i]) for i in range(3)) <= d and _holds_octahedron(c, voxels, d):
            return True
    return False


# --- exact point in solid ---------------------------------------------------------------------

def exact_polygons(solid):
    return [[tuple(Fraction(c) for c in v) for v in loop] for _, loop in solid.polygons()]


def _sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _normal(loop):
    n = (0, 0, 0)
    for b, c in zip(loop[1:-1], loop[2:]):
        t = _cross(_sub(b, loop[0]), _sub(c, loop[0]))
        n = (n[0] + t[0], n[1] + t[1], n[2] + t[2])
    return n


def _where_in_convex(point, loop, n):
    """1 inside, 0 on the boundary, -1 outside, for a point in the plane of a convex loop."""
    sides = [_dot(_cross(_sub(b, a), _sub(point, a)), n) for a, b in zip(loop, loop[1:] + loop[:1])]
    if all(s > 0 for s in sides):
        return 1
    return 0 if all(s >= 0 for s in sides) else -1


# Ray directions off every axis and diagonal the tests build, tried in turn when one grazes an edge.
RAYS = ((1, Fraction(1, 1009), Fraction(1, 10007)), (Fraction(1, 997), 1, Fraction(1, 9973)),
        (Fraction(1, 991), Fraction(1, 9967), 1))


def point_in_solid(p, polygons):
    """True or False for a point off the surface of a closed solid of convex polygons, None on it:
    the parity of the faces crossed by a ray from p."""
    with_normals = [(loop, _normal(loop)) for loop in polygons]
    if any(_dot(n, _sub(p, loop[0])) == 0 and _where_in_convex(p, loop, n) >= 0 for loop, n in with_normals):
        return None
    for ray in RAYS:
        hits = []
        for loop, n in with_normals:
            across = _dot(n, ray)
            if across == 0:
                continue
            t = _dot(n, _sub(loop[0], p)) / across
            if t > 0:
                hits.append(_where_in_convex(tuple(p[i] + t * ray[i] for i in range(3)), loop, n))
        if 0 not in hits:
            return hits.count(1) % 2 == 1
    raise AssertionError("every ray grazes an edge")


def squared_distance_to_segment(p, a, b):
    ab, ap = _sub(b, a), _sub(p, a)
    t = min(max(_dot(ap, ab) / _dot(ab, ab), 0), 1)
    closest = tuple(a[i] + t * ab[i] for i in range(3))
    return _dot(_sub(p, closest), _sub(p, closest))
