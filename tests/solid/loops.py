"""Loops in the xy-plane for the prism tests: their flat text form, their shoelace area, and random
polyomino outlines (simple loops through every unit step of their boundary, so with many collinear
points)."""

from fractions import Fraction


def flat(points):
    return [str(c) for p in points for c in p]


def area(points):
    """The shoelace area: fold-backs add nothing to it, and loops touching without crossing add up."""
    n = len(points)
    return Fraction(sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
                        for i in range(n)), 2)


def labels(solid):
    return [label for label, _ in solid.polygons()]


def polyomino_loop(rng, size, max_growth):
    """The counter-clockwise boundary of a random connected set of grid cells in a size × size grid,
    grown by up to max_growth steps, or None when the set has a hole or two cells meet only at a
    corner."""
    cells = {(rng.randrange(size), rng.randrange(size))}
    for _ in range(rng.randrange(1, max_growth + 1)):
        x, y = rng.choice(sorted(cells))
        dx, dy = rng.choice([(1, 0), (-1, 0), (0, 1), (0, -1)])
        if 0 <= x + dx < size and 0 <= y + dy < size:
            cells.add((x + dx, y + dy))
    return cells_boundary(cells)


def cells_boundary(cells):
    """The counter-clockwise boundary of a set of grid cells through every unit step, or None when
    it is not one simple loop (a hole, or two cells meeting only at a corner)."""
    following = {}
    for x, y in cells:
        for a, b, neighbour in [((x, y), (x + 1, y), (x, y - 1)), ((x + 1, y), (x + 1, y + 1), (x + 1, y)),
                                ((x + 1, y + 1), (x, y + 1), (x, y + 1)), ((x, y + 1), (x, y), (x - 1, y))]:
            if neighbour not in cells:
                if a in following:
                    return None
                following[a] = b
    start = min(following)
    loop, p = [start], following[start]
    while p != start:
        loop.append(p)
        p = following[p]
    return loop if len(loop) == len(following) else None
