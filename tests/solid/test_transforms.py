"""Translations, scalings, mirrors and quarter turns of solids."""

from fractions import Fraction

import pytest

import brevant_rs as br

UNIT = br.make_box("1", "1", "1", "p")
EMPTY = br.make_prism([], "1", "e")
L_PRISM = br.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "3", "0", "3"], "1/2", "L")


def points(solid):
    return [[tuple(Fraction(c) for c in v) for v in loop] for _, loop in solid.polygons()]


def labels(solid):
    return [label for label, _ in solid.polygons()]


def quarter_turn(axis, p):
    """Counter-clockwise seen from the positive end of the axis (right-hand rule)."""
    x, y, z = p
    return [(x, -z, y), (z, y, -x), (-y, x, z)][axis]


@pytest.mark.parametrize("solid", [UNIT, L_PRISM], ids=["box", "prism"])
@pytest.mark.parametrize("name, args", [("translate", ("1/3", "-2", "0")), ("scale", ("2", "-3", "1/4")),
                                        ("scale", ("0", "1", "1")), ("mirror", (1,)), ("rotate_quarter", (1, -3))])
def test_transforms_keep_labels_in_order_and_leave_the_operand_alone(solid, name, args):
    before = solid.polygons()
    moved = getattr(solid, name)(*args)
    assert moved is not solid
    assert labels(moved) == labels(solid)
    assert solid.polygons() == before


def test_translate():
    assert UNIT.translate("1", "0", "0").bbox() == [1.0, 0.0, 0.0, 2.0, 1.0, 1.0]
    expected = [[(x + Fraction(1, 3), y - Fraction(1, 2), z) for x, y, z in loop] for loop in points(L_PRISM)]
    assert points(L_PRISM.translate("1/3", "-1/2", "0")) == expected


# An odd number of negative factors reverses the loops so that the faces stay outward.
@pytest.mark.parametrize("factors, volume6", [(("2", "3", "4"), "144/1"), (("-1", "1", "1"), "6/1"),
                                              (("-1", "-1", "1"), "6/1"), (("-1", "-1", "-1"), "6/1"),
                                              (("1/2", "1", "-2"), "6/1"), (("0", "1", "1"), "0/1")])
def test_scale_volumes(factors, volume6):
    for solid, scale6 in ((UNIT, 6), (L_PRISM, Fraction(L_PRISM.volume6_str()))):
        scaled = solid.scale(*factors)
        assert Fraction(scaled.volume6_str()) == Fraction(volume6) / 6 * scale6
        assert len(scaled.polygons()) == len(solid.polygons())


def test_negative_scale_matches_the_mirror():
    for axis, factors in enumerate([("-1", "1", "1"), ("1", "-1", "1"), ("1", "1", "-1")]):
        assert UNIT.scale(*factors).polygons() == UNIT.mirror(axis).polygons()
    assert UNIT.scale("-1", "1", "1").canonical() == UNIT.mirror(0).canonical()


@pytest.mark.parametrize("axis", [0, 1, 2])
def test_mirror_negates_one_axis_and_stays_outward(axis):
    mirrored = L_PRISM.mirror(axis)
    assert mirrored.volume6_str() == L_PRISM.volume6_str()
    expected = [[tuple(-c if i == axis else c for i, c in enumerate(p)) for p in reversed(loop)]
                for loop in points(L_PRISM)]
    assert points(mirrored) == expected


def test_mirror_axis_outside_the_coordinates():
    with pytest.raises(br.InternalFailure):
        UNIT.mirror(3)
    assert EMPTY.mirror(3).polygons() == []
    assert EMPTY.mirror(2**64 - 1).canonical() == EMPTY.canonical() == ""


@pytest.mark.parametrize("axis", [0, 1, 2, 3, 5, 2**64 - 1])
@pytest.mark.parametrize("quarters", [-5, -1, 0, 1, 2, 3, 4, 7, 2**63 - 1, -(2**63)])
def test_rotate_quarter_follows_the_right_hand_rule(axis, quarters):
    turned = L_PRISM.rotate_quarter(axis, quarters)
    expected = points(L_PRISM)
    for _ in range(quarters % 4):
        expected = [[quarter_turn(axis % 3, p) for p in loop] for loop in expected]
    assert points(turned) == expected
    assert turned.volume6_str() == L_PRISM.volume6_str()


def test_rotate_quarter_named_cases():
    corner = UNIT.polygons()[0][1].index(["1/1", "0/1", "0/1"])
    assert UNIT.rotate_quarter(2, 1).polygons()[0][1][corner] == ["0/1", "1/1", "0/1"]
    assert UNIT.rotate_quarter(2, -1).polygons()[0][1][corner] == ["0/1", "-1/1", "0/1"]


@pytest.mark.parametrize("call, error, message", [
    (lambda s: s.mirror("0"), TypeError, "argument 'axis'"),
    (lambda s: s.rotate_quarter("0", 1), TypeError, "argument 'axis'"),
    (lambda s: s.rotate_quarter(0, 1.0), TypeError, "argument 'quarters'"),
    (lambda s: s.translate("1", "x", "0"), br.InternalFailure, "'x'"),
    (lambda s: s.scale("1", "1", "1/0"), br.InternalFailure, "denominator == 0"),
])
def test_rejected_arguments_leave_the_solid_usable(call, error, message):
    before = UNIT.polygons()
    with pytest.raises(error, match=message):
        call(UNIT)
    assert UNIT.polygons() == before


def test_method_signatures():
    signatures = {name: getattr(br.PySolid, name).__text_signature__
                  for name in ("translate", "scale", "mirror", "rotate_quarter")}
    assert signatures == {"translate": "($self, x, y, z)", "scale": "($self, fx, fy, fz)",
                          "mirror": "($self, axis)", "rotate_quarter": "($self, axis, quarters)"}
    assert UNIT.rotate_quarter(quarters=1, axis=2).polygons() == UNIT.rotate_quarter(2, 1).polygons()
