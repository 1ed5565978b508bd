"""Exact rotations about any line and exact affine maps: the matrix read back from a turned
tetrahedron is exactly a rotation about the axis, its angle is within the tolerance (checked in
decimal arithmetic of 60 digits, π by its own series), turns undo exactly, planes are carried, and
transform() agrees with every fixed transform; the exact bounding box."""

import functools
import pathlib
import random
import sys
from decimal import Decimal, getcontext, localcontext
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from affine_maps import det, inverse, random_invertible, text, texts  # noqa: E402
from states import parse_state, plane_faults, state_of  # noqa: E402

RNG = random.Random()
DIGITS = 60
O, X, Y, Z = ["0", "0", "0"], ["1", "0", "0"], ["0", "1", "0"], ["0", "0", "1"]
# The tetrahedron on the origin and the unit points; its last face is X, Y, Z in order, so the
# images of the unit points under a linear map are the columns of its matrix.
TETRAHEDRON = br.solid_from_polygons([("z", [O, Y, X]), ("y", [O, X, Z]), ("x", [O, Z, Y]), ("s", [X, Y, Z])])
L_PRISM = br.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "3", "0", "3"], "1/2", "L")


def volume6(solid):
    return Fraction(solid.volume6_str())


def matrix_of(turned):
    """The linear map that took TETRAHEDRON to `turned` (rows)."""
    columns = [[Fraction(c) for c in p] for p in turned.polygons()[3][1]]
    return [[columns[j][i] for j in range(3)] for i in range(3)]


def mul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]


def transpose(a):
    return [list(row) for row in zip(*a)]


IDENTITY = [[Fraction(int(i == j)) for j in range(3)] for i in range(3)]


# ----- An independent angle in decimal arithmetic ---------------------------------------------------

def decimal_pi():
    """π by the series of the decimal module's documentation (not the one the module uses)."""
    with localcontext() as context:
        context.prec += 4
        last, t, s, n, na, d, da = 0, Decimal(3), Decimal(3), 1, 0, 0, 24
        while s != last:
            last = s
            n, na = n + na, na + 8
            d, da = d + da, da + 32
            t = (t * n) / d
            s += t
    return +s


def decimal_atan(x):
    """By halving the argument, atan x = 2·atan(x / (1 + √(1 + x²))), then the Taylor series."""
    halvings = 0
    while abs(x) > Decimal("0.01"):
        x = x / (1 + (1 + x * x).sqrt())
        halvings += 1
    total, term, k = Decimal(0), x, 1
    tiny = Decimal(10) ** -(getcontext().prec + 5)
    while abs(term) > tiny:
        total += term / k
        term, k = -term * x * x, k + 2
    return total * 2**halvings


def decimal(fraction):
    return Decimal(fraction.numerator) / Decimal(fraction.denominator)


def decimal_angle(matrix, direction):
    """The angle of the rotation about `direction` (radians in (−π, π]): cos from the trace, sin from
    the skew part along the unit direction."""
    cos = (matrix[0][0] + matrix[1][1] + matrix[2][2] - 1) / 2
    skew = [(matrix[2][1] - matrix[1][2]) / 2, (matrix[0][2] - matrix[2][0]) / 2, (matrix[1][0] - matrix[0][1]) / 2]
    along = sum(s * d for s, d in zip(skew, direction))
    sin = decimal(along) / decimal(sum(d * d for d in direction)).sqrt()
    cos = decimal(cos)
    side = 1 if sin >= 0 else -1
    if abs(sin) > abs(cos):
        return side * decimal_pi() / 2 - decimal_atan(cos / sin)
    if cos > 0:
        return decimal_atan(sin / cos)
    return side * decimal_pi() + decimal_atan(sin / cos)


def angle_error(matrix, direction, degrees):
    """|angle of the matrix − degrees|, in radians, modulo a whole turn."""
    pi = decimal_pi()
    wanted = decimal(degrees) * pi / 180
    return abs((decimal_angle(matrix, direction) - wanted).remainder_near(2 * pi))


def random_direction():
    while True:
        d = [RNG.randint(-5, 5) * RNG.choice([1, 1, 1, 1000003]) for _ in range(3)]
        if any(d):
            return [Fraction(c, RNG.choice([1, 2, 7])) for c in d]


def random_rotation_args():
    degrees = Fraction(RNG.randint(-3600, 3600), RNG.choice([1, 1, 3, 7, 10]))
    tolerance = Fraction(RNG.randint(1, 9), 10 ** RNG.randint(0, 30))
    return random_direction(), degrees, tolerance


def test_turns_are_exact_rotations_within_the_tolerance():
    with localcontext() as context:
        context.prec = DIGITS
        for _ in range(150):
            direction, degrees, tolerance = random_rotation_args()
            turned = TETRAHEDRON.rotate([O, [text(c) for c in direction]], text(degrees), text(tolerance))
            r = matrix_of(turned)
            assert mul(transpose(r), r) == IDENTITY and det(r) == 1
            assert [sum(a * d for a, d in zip(row, direction)) for row in r] == direction  # the axis stays
            assert angle_error(r, direction, degrees) <= decimal(tolerance) + Decimal(10) ** (10 - DIGITS)


def test_a_thousand_turns_undo_exactly():
    solid = br.union_all([L_PRISM, br.make_box("1", "2", "1", "b").translate("1", "1", "0")])
    state = state_of(solid.translate("0", "0", "0"))  # planes through the first three points where right
    for _ in range(1000):
        direction, degrees, tolerance = random_rotation_args()
        axis = [[text(Fraction(RNG.randint(-9, 9), RNG.randint(1, 5))) for _ in range(3)], [text(c) for c in direction]]
        turned = solid.rotate(axis, text(degrees), text(tolerance))
        assert volume6(turned) == volume6(solid)
        back = turned.rotate(axis, text(-degrees), text(tolerance))
        assert state_of(back) == state  # loops, labels and planes (as a move by nothing gives them), exactly
    for polygon in parse_state(state_of(turned)):
        assert plane_faults(polygon) == ""


@pytest.mark.parametrize("axis, degrees, same", [
    ([O, Z], "90", lambda s: s.rotate_quarter(2, 1)),
    ([["5", "-7/3", "1"], ["0", "0", "1/4"]], "-90", lambda s: s.rotate_quarter(2, -1).translate("22/3", "8/3", "0")),
    ([O, ["0", "-2", "0"]], "450", lambda s: s.rotate_quarter(1, -1)),
    ([O, X], "180", lambda s: s.rotate_quarter(0, 2)),
    ([O, ["1", "1", "1"]], "120", lambda s: s.transform([["0", "0", "1", "0"], ["1", "0", "0", "0"], ["0", "1", "0", "0"]])),
    ([O, ["3", "4", "0"]], "720", lambda s: s),
])
def test_rational_turns_are_met_exactly(axis, degrees, same):
    assert state_of(L_PRISM.rotate(axis, degrees, "1/10000000000000000000000000")) == state_of(same(L_PRISM))


def same_plane(p, q):
    """The same plane facing the same way: (normal, offset) of one a positive multiple of the other's."""
    k = next(a / b for a, b in zip(p.normal, q.normal) if b)
    return k > 0 and [k * c for c in q.normal] == p.normal and k * q.offset == p.offset


def test_affine_maps_stay_outward_carry_planes_and_undo_exactly():
    probe = br.make_box("1", "1", "1", "p")
    for _ in range(60):
        solid = RNG.choice([L_PRISM, br.union_all([L_PRISM, probe.translate("1", "1", "-1/4")])])
        rows = random_invertible(RNG, 4, 3)
        mapped = solid.transform(texts(rows))
        assert volume6(mapped) == abs(det([row[:3] for row in rows])) * volume6(solid)
        assert mapped.watertight_ok()
        assert all(plane_faults(p) == "" for p in parse_state(state_of(mapped)))
        back = mapped.transform(texts(inverse(rows)))
        assert back.polygons() == solid.polygons()
        assert all(same_plane(p, q) for p, q in zip(parse_state(state_of(back)), parse_state(state_of(solid))))
        # a boolean after the map as before it: the probe mapped back
        moved_probe = probe.translate("1/3", "1/5", "1/7")
        before = volume6(solid.intersect(moved_probe.transform(texts(inverse(rows)))))
        assert volume6(mapped.intersect(moved_probe)) == abs(det([row[:3] for row in rows])) * before


@pytest.mark.parametrize("rows, same", [
    ([[1, 0, 0, "1/3"], [0, 1, 0, -2], [0, 0, 1, 0]], lambda s: s.translate("1/3", "-2", "0")),
    ([[2, 0, 0, 0], [0, -3, 0, 0], [0, 0, "1/4", 0]], lambda s: s.scale("2", "-3", "1/4")),
    ([[1, 0, 0, 0], [0, -1, 0, 0], [0, 0, 1, 0]], lambda s: s.mirror(1)),
    ([[0, -1, 0, 0], [1, 0, 0, 0], [0, 0, 1, 0]], lambda s: s.rotate_quarter(2, 1)),
    ([[0, 0, 1, 0], [0, 1, 0, 0], [-1, 0, 0, 0]], lambda s: s.rotate_quarter(1, 1)),
])
def test_transform_agrees_with_every_fixed_transform(rows, same):
    for solid in (L_PRISM, br.union_all([L_PRISM, br.make_box("1", "1", "1", "b").translate("1", "2", "0")])):
        assert state_of(solid.transform([[str(c) for c in row] for row in rows])) == state_of(same(solid))


@pytest.mark.parametrize("call, message", [
    (lambda s: s.rotate([O, O], "30", "1/100"), "rotate: the axis direction is zero"),
    (lambda s: s.rotate([O, Z], "30", "0"), "rotate: the tolerance must be positive"),
    (lambda s: s.rotate([O, Z], "30", "-1/100"), "rotate: the tolerance must be positive"),
    (lambda s: s.rotate([Z], "30", "1/100"), "rotate: the axis must be a point and a direction of three number "
                                             "texts each, [[px, py, pz], [dx, dy, dz]]"),
    (lambda s: s.rotate([O, ["1", "2"]], "30", "1/100"), "rotate: the axis must be a point and a direction"),
    (lambda s: s.transform([["1", "0", "0"], ["0", "1", "0"], ["0", "0", "1"]]), "transform: the matrix must be 3 rows "
                                                                                "of 4 number texts"),
    (lambda s: s.transform([["1", "2", "3", "0"], ["2", "4", "6", "1"], ["0", "0", "1", "0"]]),
     "transform: the matrix is singular (its determinant is 0)"),
    (lambda s: s.transform([["0", "0", "0", "0"]] * 3), "transform: the matrix is singular (its determinant is 0)"),
])
def test_refusals_leave_the_solid_as_it_was(call, message):
    before = state_of(L_PRISM)
    with pytest.raises(ValueError) as info:
        call(L_PRISM)
    assert str(info.value).startswith(message)
    assert state_of(L_PRISM) == before


def test_turned_merged_solids_take_booleans_and_chamfers():
    for _ in range(20):
        boxes = [br.make_box(*(str(RNG.randint(1, 3)) for _ in range(3)), f"b{k}").translate(
            *(str(RNG.randint(-2, 2)) for _ in range(3))) for k in range(RNG.randint(2, 4))]
        solid = functools.reduce(lambda a, b: a.union(b), boxes)
        direction, degrees, tolerance = random_rotation_args()
        axis = [O, [text(c) for c in direction]]
        turned = solid.rotate(axis, text(degrees), text(max(tolerance, Fraction(1, 10**6))))
        probe = br.make_box("2", "2", "2", "p").translate("-1/2", "-1/3", "-1/5")
        joined, common = turned.union(probe), turned.intersect(probe)
        assert joined.watertight_ok() and common.watertight_ok()
        assert volume6(joined) + volume6(common) == volume6(turned) + volume6(probe)
        try:
            chamfered = turned.chamfer("1/100")
        except ValueError:
            continue
        assert chamfered.watertight_ok() and 0 < volume6(chamfered) < volume6(turned)
    # A turn by a rational quarter keeps every chamfer as the quarter turn does.
    quarter = solid.rotate([O, Y], "-90", "1/1000")
    assert volume6(quarter.chamfer("1/10")) == volume6(solid.rotate_quarter(1, -1).chamfer("1/10"))


def test_exact_bounding_box():
    for solid in (L_PRISM, L_PRISM.rotate([["1", "1", "1"], ["1", "2", "3"]], "33", "1/1000"),
                  br.make_box("1" + "0" * 400, "1/3", "-7/2", "b")):
        points = [[Fraction(c) for c in p] for _, loop in solid.polygons() for p in loop]
        box = [min(p[i] for p in points) for i in range(3)] + [max(p[i] for p in points) for i in range(3)]
        assert solid.bbox_exact() == [text(c) for c in box]
        assert [float(Fraction(c)) if abs(Fraction(c)) < 2**1024 else float("inf") for c in solid.bbox_exact()] == \
            solid.bbox()
    empty, messages = br.make_prism([], "1", "e"), []
    for call in (empty.bbox_exact, empty.bbox):
        with pytest.raises(br.InternalFailure) as info:
            call()
        messages.append(str(info.value))
    assert messages == ["index out of range: bbox of a solid without polygons"] * 2
