"""Union, cut and intersect through box_boolean and PySolid.boolean; random chains are checked
against exact volumes by cell counting."""

import inspect
from fractions import Fraction
from itertools import product

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import brevant_rs as br

OPS = ["union", "cut", "intersect"]
OVERLAPPING = ("2", "2", "2", "2", "2", "2", "1", "1", "1")


def box_text(extents, at="000"):
    """The canonical text of a box with the given extents moved by at (digits)."""
    return br.make_box(*extents, "p").translate(*at).canonical()


def text(value):
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def volume6(expr, boxes):
    """Six times the volume of expr, ('box', i) or (op, left, right), over boxes[i] = (lo, hi):
    the grid cut by every box plane is tested cell by cell."""

    def inside(e, point):
        if e[0] == "box":
            lo, hi = boxes[e[1]]
            return all(lo[i] < point[i] < hi[i] for i in range(3))
        left, right = inside(e[1], point), inside(e[2], point)
        return {"union": left or right, "cut": left and not right, "intersect": left and right}[e[0]]

    cuts = [sorted({corner[axis] for box in boxes for corner in box}) for axis in range(3)]
    total = Fraction(0)
    for cell in product(*(list(zip(c, c[1:])) for c in cuts)):
        if inside(expr, [(low + high) / 2 for low, high in cell]):
            total += (cell[0][1] - cell[0][0]) * (cell[1][1] - cell[1][0]) * (cell[2][1] - cell[2][0])
    return 6 * total


# (a extents, b extents, b offset) -> the three results. The canonical text is checked only where
# no face is cut into fragments (None: volume only).
@pytest.mark.parametrize("a, b, at, union, cut, intersect", [
    ("222", "222", "111", ("90/1", None), ("42/1", None), ("6/1", box_text("111", "111"))),
    ("222", "222", "555", ("96/1", None), ("48/1", box_text("222")), ("0/1", "")),  # far apart
    ("222", "222", "200", ("96/1", None), ("48/1", box_text("222")), ("0/1", "")),  # touching along a face
    ("444", "222", "111", ("384/1", None), ("336/1", None), ("48/1", box_text("222", "111"))),  # b inside a
    ("111", "333", "000", ("162/1", None), ("0/1", ""), ("6/1", box_text("111"))),  # a inside b
])
def test_box_arrangements(a, b, at, union, cut, intersect):
    for op, (six_fold, canonical) in zip(OPS, (union, cut, intersect)):
        result = br.box_boolean(*a, *b, *at, op)
        assert result[0] == six_fold, op
        if canonical is not None:
            assert result[1] == canonical, op


@pytest.mark.parametrize("op", OPS)
@pytest.mark.parametrize("args", [OVERLAPPING, ("1/2", "3", "2", "2", "1/3", "5", "0", "0", "0")])
def test_box_boolean_agrees_with_the_method_and_leaves_operands_alone(op, args):
    a = br.make_box(*args[:3], "A")
    b = br.make_box(*args[3:6], "B").translate(*args[6:])
    before = (a.polygons(), b.polygons())
    result = a.boolean(op, b)
    assert (result.volume6_str(), result.canonical()) == br.box_boolean(*args, op)
    b.boolean(op, a)
    assert (a.polygons(), b.polygons()) == before


def test_hollow_faces_come_from_b_and_face_inwards():
    a = br.make_box("4", "4", "4", "A")
    b = br.make_box("2", "2", "2", "B").translate("1", "1", "1")
    inner = [loop for label, loop in a.boolean("cut", b).polygons() if label.startswith("B.")]
    assert len(inner) == 6
    for loop in inner:
        p0, p1, p2 = ([Fraction(c) for c in vertex] for vertex in loop[:3])
        u, v = [p1[i] - p0[i] for i in range(3)], [p2[i] - p0[i] for i in range(3)]
        normal = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
        assert sum(normal[i] * (2 - p0[i]) for i in range(3)) > 0  # towards the centre (2, 2, 2)


# A flat operand (six-fold volume 0) takes part as an empty solid: a flat box far away or through the
# middle cuts nothing away and adds nothing.
@pytest.mark.parametrize("args, expected", [
    (("2", "2", "2", "0", "1", "1", "5", "5", "5", "cut"), ("48/1", box_text("222"))),
    (("2", "2", "2", "0", "1", "1", "1", "1/2", "1/2", "cut"), ("48/1", box_text("222"))),
    (("4", "4", "4", "0", "2", "2", "1", "1", "1", "union"), ("384/1", box_text("444"))),
])
def test_box_boolean_with_flat_operands(args, expected):
    assert br.box_boolean(*args) == expected


@pytest.mark.parametrize("empty", [
    br.make_box("0", "0", "0", "E"), br.make_box("0", "3", "3", "E"), br.make_box("3", "3", "3", "E").scale("1", "0", "1"),
    br.make_prism(["0", "0", "1", "0", "1", "1"], "0", "E"),
], ids=["no faces", "zero extent", "scaled by zero", "prism of height zero"])
def test_operands_without_volume_act_as_empty(empty):
    a = br.make_box("2", "1", "1/2", "A")
    for result in (a.boolean("union", empty), empty.boolean("union", a), a.boolean("cut", empty)):
        assert (result.volume6_str(), result.canonical()) == (a.volume6_str(), a.canonical())
    for result in (a.boolean("intersect", empty), empty.boolean("intersect", a), empty.boolean("cut", a)):
        assert (result.volume6_str(), result.canonical()) == ("0/1", "")


@pytest.mark.parametrize("op, six_fold, same_text", [("union", "48/1", True), ("intersect", "48/1", True),
                                                     ("cut", "0/1", False)])
def test_a_solid_with_itself(op, six_fold, same_text):
    s = br.make_box("2", "2", "2", "s")
    result = s.boolean(op, s)
    assert result is not s
    assert result.volume6_str() == six_fold
    assert (result.canonical() == s.canonical()) == same_text


@pytest.mark.parametrize("op", ["Union", "CUT", "cut ", " intersect", "", "xor", "union\0"])
def test_unknown_op(op):
    a = br.make_box("2", "2", "2", "A")
    b = br.make_box("1", "3", "1", "B")
    before = (a.canonical(), b.canonical())
    with pytest.raises(br.InternalFailure) as failure:
        a.boolean(op, b)
    assert str(failure.value) == "unknown op"
    with pytest.raises(br.InternalFailure) as failure:
        br.box_boolean(*OVERLAPPING, op)
    assert str(failure.value) == "unknown op"
    assert (a.canonical(), b.canonical()) == before
    assert a.boolean("union", b).volume6_str() == "54/1"


@pytest.mark.parametrize("args, named", [(("x", "2", "2", "2", "2", "2", "1", "1", "y", "xor"), "'x'"),
                                         (("2", "2", "2", "1/0", "2", "2", "1", "1", "y", "union"), "denominator == 0"),
                                         (("2", "2", "2", "2", "2", "2", "1", "1", "1 ", "xor"), "'1 '")])
def test_numbers_are_read_in_order_before_the_op(args, named):
    with pytest.raises(br.InternalFailure, match=named):
        br.box_boolean(*args)


def test_signatures_and_argument_kinds():
    assert str(inspect.signature(br.box_boolean)) == "(dx, dy, dz, ex, ey, ez, tx, ty, tz, op)"
    assert br.PySolid.boolean.__text_signature__ == "($self, op, other)"
    s = br.make_box("1", "1", "1", "s")
    assert s.boolean(other=s, op="union").canonical() == s.canonical()
    with pytest.raises(TypeError, match="^argument 'other': 'str' object cannot be converted to 'PySolid'$"):
        s.boolean("union", "s")
    with pytest.raises(TypeError, match="^argument 'op': 'int' object cannot be converted to 'PyString'$"):
        s.boolean(1, "s")


# Small denominators make coincident planes, touching faces and shared edges common.
extent = st.fractions(min_value=Fraction(1, 3), max_value=3, max_denominator=4)
offset = st.fractions(min_value=-3, max_value=3, max_denominator=4)
triple = st.tuples(extent, extent, extent)


def six_fold(solid):
    return Fraction(solid.volume6_str())


@settings(max_examples=50, deadline=None)
@given(triple, st.lists(st.tuples(st.sampled_from(OPS), triple, st.tuples(offset, offset, offset)), min_size=1, max_size=4))
def test_volume_identities_on_chains_of_random_boxes(first, steps):
    boxes = [((0, 0, 0), first)] + [(at, tuple(a + e for a, e in zip(at, ext))) for _, ext, at in steps]
    solid, expr = br.make_box(*map(text, first), "p"), ("box", 0)
    for k, (op, extents, at) in enumerate(steps, 1):
        other = br.make_box(*map(text, extents), "p").translate(*map(text, at))
        union, cut, meet = results = [solid.boolean(o, other) for o in OPS]
        assert union.watertight_ok() and cut.watertight_ok() and meet.watertight_ok()
        assert six_fold(union) + six_fold(meet) == six_fold(solid) + six_fold(other)
        assert six_fold(cut) == six_fold(solid) - six_fold(meet)
        assert [six_fold(r) for r in results] == [volume6((o, expr, ("box", k)), boxes) for o in OPS]
        solid, expr = results[OPS.index(op)], (op, expr, ("box", k))
