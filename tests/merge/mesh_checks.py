"""Exact checks of triangle meshes that the merge tests share."""

import collections
from fractions import Fraction


def exact_mesh(solid):
    points, triangles = solid.to_mesh()
    return [tuple(Fraction(c) for c in p) for p in points], triangles


def signed_volume6(points, triangles):
    total = Fraction(0)
    for i, j, k in triangles:
        a, b, c = points[i], points[j], points[k]
        total += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0])
                  + a[2] * (b[0] * c[1] - b[1] * c[0]))
    return total


def sides_matched(triangles):
    """Every directed side is matched by as many running the other way."""
    directed = collections.Counter((t[i], t[(i + 1) % 3]) for t in triangles for i in range(3))
    return all(directed[(b, a)] == n for (a, b), n in directed.items())
