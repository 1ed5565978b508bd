"""Closure: every solid any call returns is an operand of every other call. Random chains mix every
operation that returns a solid, each result the next step's operand, with the exact identities each
step must keep: booleans against the union and intersection of the same pair, moves and maps by
their determinants, merging, pickling and rebuilding from polygons by an unchanged volume. Every
result stays closed; a chamfer may decline its input only with ValueError; nothing fails inside."""

import pickle
import random
from fractions import Fraction

import pytest

import brevant_rs as br


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def volume6(solid):
    return Fraction(solid.volume6_str())


def operand(rng, tag):
    """A box or an L-shaped prism on a small grid, often in common planes with the chain."""
    if rng.random() < 0.6:
        solid = br.make_box(*(str(rng.randint(1, 4)) for _ in range(3)), tag)
    else:
        w, d, notch = rng.randint(2, 4), rng.randint(2, 4), rng.randint(1, 2)
        loop = [0, 0, w, 0, w, notch, notch, notch, notch, d, 0, d]
        solid = br.make_prism([str(c) for c in loop], str(rng.randint(1, 3)), tag)
    return solid.translate(*(str(rng.randint(-2, 2)) for _ in range(3)))


def boolean_step(rng, solid, k):
    other = operand(rng, f"o{k}")
    union, inter = solid.union(other), solid.intersect(other)
    assert volume6(union) + volume6(inter) == volume6(solid) + volume6(other)
    roll = rng.random()
    if roll < 0.3:
        result = union
    elif roll < 0.5:
        result = inter
    elif roll < 0.8:
        result = solid.cut(other)
        assert volume6(result) == volume6(solid) - volume6(inter)
    elif roll < 0.9:
        result = br.union_all([solid, other, operand(rng, f"p{k}")])
        assert volume6(result) >= volume6(union)
    else:
        op = rng.choice(("union", "cut", "intersect"))
        result = solid.boolean(op, other)
        assert volume6(result) == volume6({"union": union, "intersect": inter}.get(op) or solid.cut(other))
    return result


def map_step(rng, solid):
    v = volume6(solid)
    kind = rng.choice(("translate", "rotate_quarter", "mirror", "scale", "rotate", "transform"))
    if kind == "translate":
        return solid.translate(*(text(Fraction(rng.randint(-5, 5), 2)) for _ in range(3))), v
    if kind == "rotate_quarter":
        return solid.rotate_quarter(rng.randrange(3), rng.randint(1, 3)), v
    if kind == "mirror":
        return solid.mirror(rng.randrange(3)), v
    if kind == "scale":
        f = [Fraction(rng.choice((-2, -1, 1, 2, 3)), rng.choice((1, 2))) for _ in range(3)]
        return solid.scale(*map(text, f)), v * abs(f[0] * f[1] * f[2])
    if kind == "rotate":
        axis = [[str(rng.randint(-2, 2)) for _ in range(3)], [str(c) for c in rng.choice(((1, 2, 2), (0, 3, 4), (1, 1, 1)))]]
        return solid.rotate(axis, str(rng.choice((30, 45, 90, 120, 200))), "1/1000"), v
    rows = [[1, 0, 0, 1], [0, 1, 0, 0], [0, 0, 1, 0]]
    shear = rng.randrange(3)
    rows[shear][(shear + 1) % 3] = rng.choice((-1, 1, 2))
    return solid.transform([[str(c) for c in row] for row in rows]), v


def value_step(rng, solid):
    kind = rng.choice(("merged", "pickle", "polygons", "state"))
    if kind == "merged":
        return solid.merged()
    if kind == "pickle":
        return pickle.loads(pickle.dumps(solid))
    if kind == "polygons":
        return br.solid_from_polygons(solid.polygons())
    constructor, (state,) = solid.__reduce__()
    return constructor(state)


def chamfer_step(rng, solid):
    """The chamfer of every convex edge, or chamfer_edges of a random choice of edges (a fill of a
    concave edge adds material, so only a choice of convex edges must not grow the solid)."""
    dist = rng.choice(("1/20", "1/7"))
    try:
        if rng.random() < 0.5:
            result, may_grow = solid.chamfer(dist), False
        else:
            edges = solid.edges()
            chosen = rng.sample(range(len(edges)), rng.randint(0, len(edges)))
            may_grow = any(edges[i].kind == "concave" for i in chosen)
            result = solid.chamfer_edges(chosen, dist, rng.choice((None, "1/10")))
    except ValueError as refusal:
        assert str(refusal).startswith(("chamfer: ", "chamfer_edges: ", "edges: ")), refusal
        return solid
    assert 0 < volume6(result)
    assert may_grow or volume6(result) <= volume6(solid)
    return result


@pytest.mark.parametrize("seed", range(200))
def test_every_result_is_an_operand_of_every_call(seed):
    rng = random.Random(seed)
    solid = operand(rng, "s")
    for k in range(8):
        roll = rng.random()
        if roll < 0.45:
            solid = boolean_step(rng, solid, k)
        elif roll < 0.7:
            solid, expected = map_step(rng, solid)
            assert volume6(solid) == expected
        elif roll < 0.85:
            before = volume6(solid)
            solid = value_step(rng, solid)
            assert volume6(solid) == before
        else:
            solid = chamfer_step(rng, solid)
        assert solid.watertight_ok(), k
        if volume6(solid) == 0:
            solid = operand(rng, f"r{k}")  # a chain that emptied starts again
    mesh_points, triangles = solid.to_mesh()
    assert len(triangles) >= 4 and len(mesh_points) >= 4
