"""Random chains of the engine's booleans, the same on every run and every version of the module:
boxes and prisms over non-convex loops with labels of their own, some turned a quarter, in common
planes and touching often, joined by union, cut, intersect and union_all, now and then read back or
passed through the BSP path. `chain_digests` gives a digest of polygons() (labels, loops and their
order) after each step."""

import hashlib
import math
import random
from fractions import Fraction

import brevant_rs as br


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def chain_box(rng, prefix):
    size = [Fraction(rng.randint(1, 6), rng.choice((1, 2))) for _ in range(3)]
    place = [Fraction(rng.randint(-2, 2), rng.choice((1, 2))) for _ in range(3)]
    return br.make_box(*map(text, size), prefix).translate(*map(text, place))


def star_loop(rng):
    """Integer points at random angles and distances around the origin, in order of angle, as the
    flat number texts of a prism's loop (often non-convex; rounding may make it cross itself)."""
    angles = sorted(rng.uniform(0, 2 * math.pi) for _ in range(rng.randint(3, 8)))
    points = [(round(r * math.cos(a)), round(r * math.sin(a))) for a in angles for r in [rng.randint(1, 5)]]
    return [str(c) for p in points for c in p]


def chain_prism(rng, prefix):
    loop = star_loop(rng)
    try:
        prism = br.make_prism(loop, str(rng.randint(1, 3)), prefix)
    except ValueError:  # the rounding made the loop cross itself
        return chain_box(rng, prefix)
    return prism.translate(*(str(rng.randint(-1, 1)) for _ in range(3)))


def chain_operand(rng, prefix):
    solid = chain_box(rng, prefix) if rng.random() < 0.6 else chain_prism(rng, prefix)
    if rng.random() < 0.2:
        solid = solid.rotate_quarter(rng.randint(0, 2), rng.randint(1, 3))
    return solid


def digest(solid):
    return hashlib.sha256(repr(solid.polygons()).encode()).hexdigest()[:16]


def chain_digests(seed):
    rng = random.Random(seed)
    solid = chain_operand(rng, "a")
    digests = []
    for k in range(rng.randint(2, 6)):
        roll = rng.random()
        if roll < 0.15:
            solid = br.union_all([solid] + [chain_operand(rng, f"u{k}{j}") for j in range(rng.randint(1, 4))])
        elif roll < 0.2:
            solid = solid.boolean(rng.choice(("union", "cut", "intersect")), chain_operand(rng, f"p{k}"))
        else:
            op = rng.choices(("union", "cut", "intersect"), (4, 4, 1))[0]
            solid = getattr(solid, op)(chain_operand(rng, f"o{k}"))
        if rng.random() < 0.3:
            digests.append(digest(solid))  # read in the middle of the chain too
    digests.append(digest(solid))
    return digests
