"""Pickled solid states read and written in Python, and the plane rules every state must keep: each
plane holds every vertex of its loop, and faces the side from which a loop with area runs
counter-clockwise."""

from dataclasses import dataclass
from fractions import Fraction

TAG = "brevant-solid-1"


@dataclass
class StatePolygon:
    label: str
    loop: list  # [x, y, z] Fractions
    normal: list
    offset: Fraction


def number_text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def parse_state(state):
    """The polygons of a state text (labels are counted in UTF-8 bytes and may hold spaces)."""
    data = state.encode()
    position = 0

    def token():
        nonlocal position
        end = data.find(b" ", position)
        end = len(data) if end < 0 else end
        text, position = data[position:end].decode(), end + 1
        return text

    def numbers(count):
        return [Fraction(token()) for _ in range(count)]

    assert token() == TAG
    polygons = []
    for _ in range(int(token())):
        length = int(token())
        label, position = data[position:position + length].decode(), position + length + 1
        loop = [numbers(3) for _ in range(int(token()))]
        normal, offset = numbers(3), numbers(1)[0]
        polygons.append(StatePolygon(label, loop, normal, offset))
    assert position >= len(data)
    return polygons


def write_state(polygons, number=number_text):
    """The state text of the polygons; `number` writes each number (the module's form by default)."""
    parts = [TAG, str(len(polygons))]
    for p in polygons:
        parts += [str(len(p.label.encode())), p.label, str(len(p.loop))]
        parts += [number(c) for v in p.loop for c in v]
        parts += [number(c) for c in p.normal] + [number(p.offset)]
    return " ".join(parts)


def state_of(solid):
    return solid.__reduce__()[1][0]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def sub(p, q):
    return [a - b for a, b in zip(p, q)]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def area_vector(loop):
    """Twice the vector area of a loop (a fan from its first point)."""
    total = [Fraction(0)] * 3
    for p, q in zip(loop[1:], loop[2:]):
        total = [t + c for t, c in zip(total, cross(sub(p, loop[0]), sub(q, loop[0])))]
    return total


def first_three_normal(loop):
    return cross(sub(loop[1], loop[0]), sub(loop[2], loop[0]))


def plane_faults(polygon):
    """What is wrong with a polygon's plane: '' when it holds the loop and faces the loop's way."""
    if any(dot(polygon.normal, v) != polygon.offset for v in polygon.loop):
        return "the plane does not hold the loop"
    if any(area_vector(polygon.loop)) and dot(polygon.normal, area_vector(polygon.loop)) <= 0:
        return "the plane does not face the way the loop runs"
    return ""
