"""PySolid.edges(): the edges of prisms derived from their loops, kinds decided by point location
near each edge, face order read off the merged polygons, and the refusals."""

import math
import pathlib
import pickle
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from chamfer_solids import L_LOOP, box, prism, random_rectilinear_loops, text  # noqa: E402
from opening_oracle import point_in_solid, turn  # noqa: E402

RNG = random.Random()


def point(texts):
    return tuple(Fraction(c) for c in texts)


def records(solid):
    """The edges as ((start, end), faces, kind) with exact points."""
    return [((point(e.start), point(e.end)), e.faces, e.kind) for e in solid.edges()]


def prism_edges(loop, h, prefix="P"):
    """The edges of the prism over a counter-clockwise loop of corners, from the loop alone: the
    bottom face runs each side backwards and side i runs it forwards, the top face runs it forwards
    and side i backwards; at corner i side i − 1 runs up and side i down, convex where the loop turns
    left."""
    n = len(loop)
    side = [f"{prefix}.side{i}" for i in range(n)]
    edges = []

    def add(u, v, runs_u_to_v, runs_v_to_u, kind):
        if u < v:
            edges.append(((u, v), (runs_u_to_v, runs_v_to_u), kind))
        else:
            edges.append(((v, u), (runs_v_to_u, runs_u_to_v), kind))

    for i in range(n):
        (ax, ay), (bx, by) = loop[i], loop[(i + 1) % n]
        add((ax, ay, 0), (bx, by, 0), side[i], f"{prefix}.bottom", "convex")
        add((ax, ay, h), (bx, by, h), f"{prefix}.top", side[i], "convex")
        x, y = loop[i]
        add((x, y, 0), (x, y, h), side[i - 1], side[i], "convex" if turn(loop[i - 1], loop[i], loop[(i + 1) % n]) > 0
            else "concave")
    return sorted(((tuple(map(Fraction, u)), tuple(map(Fraction, v))), f, k) for (u, v), f, k in edges)


def random_star_loop():
    """A loop around the origin: points in distinct directions, in order of angle, at random
    rational distances (star-shaped, so simple), without three points on a line."""
    while True:
        directions = {(x // math.gcd(x, y), y // math.gcd(x, y))
                      for x, y in ((RNG.randint(-9, 9), RNG.randint(-9, 9)) for _ in range(12)) if (x, y) != (0, 0)}
        radii = [Fraction(RNG.randint(1, 9), RNG.randint(1, 3)) for _ in directions]
        loop = [(x * r, y * r) for (x, y), r in zip(sorted(directions, key=lambda d: math.atan2(d[1], d[0])), radii)]
        if len(loop) >= 3 and all(turn(a, b, c) != 0 for a, b, c in zip(loop[-1:] + loop[:-1], loop,
                                                                          loop[1:] + loop[:1])):
            return loop


@pytest.mark.parametrize("shape", ["polyomino", "star"])
def test_prism_edges_follow_from_the_loop(shape):
    loops = list(random_rectilinear_loops(RNG, 6)) if shape == "polyomino" else [random_star_loop() for _ in range(6)]
    for loop in loops:
        h = Fraction(RNG.randint(1, 9), RNG.randint(1, 4))
        assert records(prism(loop, h)) == prism_edges(loop, h), loop


@pytest.mark.parametrize("a, b", [
    (Fraction(1, 3), Fraction(1, 3) + Fraction(1, 2 ** 80)),  # neither a double
    (Fraction(2), Fraction(2) + Fraction(1, 2 ** 52)),  # a double, and one that rounds to it
    (Fraction(2) - Fraction(1, 2 ** 54), Fraction(2)),  # the other way round
], ids=["thirds", "double-then-not", "not-then-double"])
def test_points_whose_doubles_tie_keep_their_exact_order(a, b):
    """Corners at x = a < b whose x round to one double, with a's corner higher, so that an order
    read off the doubles alone would put b's first; where x is a double exactly the order trusts
    equal doubles, elsewhere it reads the exact values."""
    assert float(a) == float(b) and a < b
    loop = [(0, 0), (3, 0), (b, 3), (a, 5)]
    assert records(prism(loop, 2)) == prism_edges(loop, 2)


@pytest.mark.parametrize("k", [-1000, 0, 1000])
def test_edges_scale_exactly_at_extreme_magnitudes(k):
    f = Fraction(2) ** k
    scaled = prism(L_LOOP, 2).scale(text(f), text(f), text(f))
    expected = [((tuple(c * f for c in u), tuple(c * f for c in v)), faces, kind)
                for (u, v), faces, kind in prism_edges(L_LOOP, 2)]
    assert records(scaled) == expected


def test_fragments_give_whole_edges():
    """A 4 × 4 × 1 slab made of 16 cubes by the BSP union has the twelve edges of one box."""
    slab = None
    for i in range(4):
        for j in range(4):
            cell = box((1, 1, 1), (i, j, 0), "u")
            slab = cell if slab is None else slab.boolean("union", cell)
    assert len(slab.polygons()) > 6
    assert [(ends, kind) for ends, _, kind in records(slab)] == \
        [(ends, kind) for ends, _, kind in records(box((4, 4, 1)))]


def triangles(solid):
    points, tris = solid.to_mesh()
    exact = [point(p) for p in points]
    return [tuple(exact[i] for i in t) for t in tris]


def normal(loop):
    a, b, c = loop[:3]
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])


def area_normal(loop):
    """The loop's vector area (a fan from its first point): outward for a face of any shape."""
    total = (0, 0, 0)
    for b, c in zip(loop[1:], loop[2:]):
        n = normal([loop[0], b, c])
        total = tuple(total[i] + n[i] for i in range(3))
    return total


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def faces_along(solid, edge):
    """The labels of merged polygons with a side on the edge running start → end, and end → start."""
    (u, v) = edge
    direction = tuple(v[i] - u[i] for i in range(3))
    forward, backward = set(), set()
    for label, loop in solid.merged().polygons():
        loop = [point(p) for p in loop]
        for a, b in zip(loop, loop[1:] + loop[:1]):
            along = tuple(b[i] - a[i] for i in range(3))
            on_line = all(x == 0 for x in normal([u, v, a])) and all(x == 0 for x in normal([u, v, b]))
            if not on_line:
                continue
            t_a, t_b = dot(tuple(a[i] - u[i] for i in range(3)), direction), dot(tuple(b[i] - u[i] for i in range(3)),
                                                                                   direction)
            if max(t_a, t_b) <= 0 or min(t_a, t_b) >= dot(direction, direction):
                continue  # beside the edge on its line, not on it
            (forward if dot(along, direction) > 0 else backward).add(label)
    return forward, backward


def voxel_union(cells):
    solid = None
    for c in cells:
        cube = box((1, 1, 1), c, f"v{c[0]}{c[1]}{c[2]}")
        solid = cube if solid is None else solid.union(cube)
    return solid


def random_voxel_sets(count):
    """Connected sets of unit cubes that meet face to face, never along an edge alone."""
    while count:
        cells = {(0, 0, 0)}
        for _ in range(RNG.randint(1, 6)):
            x, y, z = RNG.choice(sorted(cells))
            dx, dy, dz = RNG.choice([(1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1)])
            cells.add((x + dx, y + dy, z + dz))
        try:
            solid = voxel_union(cells)
            solid.edges()
        except ValueError:
            continue  # two cubes meeting along an edge only
        count -= 1
        yield solid


def test_kinds_and_face_order_agree_with_the_solid_near_each_edge():
    """Just off the middle of each edge, in front of face a and behind face b, a point lies outside
    the solid exactly when the edge is convex (the solid is the intersection of the two half-spaces
    there, not their union). Face a has a merged polygon running the edge from start to end."""
    for solid in random_voxel_sets(5):
        tris = triangles(solid)
        by_label = {}
        for label, loop in solid.merged().polygons():
            by_label.setdefault(label, area_normal([point(p) for p in loop]))
        for (u, v), (a, b), kind in records(solid):
            forward, backward = faces_along(solid, (u, v))
            assert a in forward and b in backward
            na, nb = by_label[a], by_label[b]
            # n_a less its part along n_b, tipped slightly behind b
            w = tuple(na[i] - nb[i] * dot(na, nb) / dot(nb, nb) - nb[i] / 100 for i in range(3))
            scale = Fraction(1, 50) / max(abs(c) for c in w)
            q = tuple((u[i] + v[i]) / 2 + w[i] * scale for i in range(3))
            assert point_in_solid(q, tris) is (kind == "concave"), (u, v, kind)


def test_records_are_named_tuples_that_pickle():
    edge = box((1, 2, 3)).edges()[0]
    assert isinstance(edge, tuple) and type(edge) is br.Edge
    assert (edge.start, edge.end, edge.faces, edge.kind) == tuple(edge)
    assert pickle.loads(pickle.dumps(edge)) == edge
    assert box((0, 0, 1)).edges() == []


TWO_TOUCHING = lambda: box((1, 1, 1)).boolean("union", box((1, 1, 1), (1, 1, 0)))  # noqa: E731
OPEN = lambda: br.solid_from_polygons([p for p in box((1, 1, 1)).polygons() if p[0] != "b.top"])  # noqa: E731


@pytest.mark.parametrize("build, message", [
    (TWO_TOUCHING, "edges: at (1, 1, 0): more than two faces meet along an edge there"),
    (OPEN, "edges: at (0, 0, 1): the solid is open along an edge there"),
    (lambda: br.solid_from_polygons([(l, p[::-1] if l == "b.top" else p) for l, p in box((1, 1, 1)).polygons()]),
     "edges: at (0, 0, 1): the faces along an edge there are not consistently oriented"),
])
def test_refusals_name_the_least_point(build, message):
    solid = build()
    before = solid.polygons()
    with pytest.raises(ValueError) as refusal:
        solid.edges()
    assert str(refusal.value) == message
    assert solid.polygons() == before
