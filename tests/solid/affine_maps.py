"""Affine maps as the tests write them: three rows [a, b, c, t] of Fractions, x -> A·x + t."""

from fractions import Fraction

from states import number_text as text


def texts(rows):
    return [[text(c) for c in row] for row in rows]


def det(a):
    """The determinant of the 3 x 3 part of the rows."""
    return (a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
            + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]))


def random_invertible(rng, magnitude, denominator):
    while True:
        rows = [[Fraction(rng.randint(-magnitude, magnitude), rng.randint(1, denominator)) for _ in range(4)]
                for _ in range(3)]
        if det(rows):
            return rows


def inverse(rows):
    """The inverse map, by the adjugate."""
    a = [row[:3] for row in rows]
    d = det(a)
    cof = [[a[(i + 1) % 3][(j + 1) % 3] * a[(i + 2) % 3][(j + 2) % 3] - a[(i + 1) % 3][(j + 2) % 3] * a[(i + 2) % 3][(j + 1) % 3]
            for j in range(3)] for i in range(3)]
    inv = [[cof[j][i] / d for j in range(3)] for i in range(3)]
    return [inv[i] + [-sum(inv[i][k] * rows[k][3] for k in range(3))] for i in range(3)]
