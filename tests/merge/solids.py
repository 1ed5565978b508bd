"""Solids the merge tests share: boxes placed anywhere, and random chains of booleans on them."""

import brevant_rs as br

OPS = ("union", "cut", "intersect")


def box(x, y, z, dx, dy, dz, prefix="b"):
    return br.make_box(str(dx), str(dy), str(dz), prefix).translate(str(x), str(y), str(z))


def random_chain(rng, steps):
    """A random box, then `steps` booleans with random boxes (touching and coplanar faces are
    frequent: every coordinate is a small integer)."""
    solid = box(0, 0, 0, rng.randint(1, 4), rng.randint(1, 4), rng.randint(1, 4), "a")
    for k in range(steps):
        other = box(*(rng.randint(-1, 3) for _ in range(3)), *(rng.randint(1, 3) for _ in range(3)), f"o{k}")
        solid = solid.boolean(rng.choice(OPS), other)
    return solid
