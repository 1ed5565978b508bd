"""Volume identities of union, cut and intersect on random rational boxes, checked exactly and
against an independent cell-counting oracle."""

from fractions import Fraction

from hypothesis import given, settings
from hypothesis import strategies as st

import brevant_rs as br
from box_oracle import text, volume6

OPS = ["union", "cut", "intersect"]
# Small denominators make coincident planes, touching faces and shared edges common.
extent = st.fractions(min_value=Fraction(1, 3), max_value=3, max_denominator=4)
offset = st.fractions(min_value=-3, max_value=3, max_denominator=4)
triple = st.tuples(extent, extent, extent)


def six_fold(solid):
    return Fraction(solid.volume6_str())


@settings(max_examples=60, deadline=None)
@given(triple, triple, st.tuples(offset, offset, offset))
def test_box_boolean_volumes(d, e, t):
    texts = [text(v) for v in (*d, *e, *t)]
    got = {op: Fraction(br.box_boolean(*texts, op)[0]) for op in OPS}
    a = ("box", (0, 0, 0), d)
    b = ("box", t, tuple(t[i] + e[i] for i in range(3)))
    va, vb = volume6(a), volume6(b)
    assert got["union"] + got["intersect"] == va + vb
    assert got["cut"] == va - got["intersect"]
    for op in OPS:
        assert got[op] == volume6((op, a, b)), op


def make_box(extents, at):
    solid = br.make_box(*(text(v) for v in extents), "p").translate(*(text(v) for v in at))
    return solid, ("box", at, tuple(at[i] + extents[i] for i in range(3)))


placement = st.tuples(offset, offset, offset)


@settings(max_examples=25, deadline=None)
@given(triple, placement, st.lists(st.tuples(st.sampled_from(OPS), triple, placement), min_size=2, max_size=4))
def test_chains_of_operations(first_extents, first_at, steps):
    solid, expr = make_box(first_extents, first_at)
    for op, extents, at in steps:
        other, other_expr = make_box(extents, at)
        union, cut, meet = (solid.boolean(o, other) for o in OPS)
        assert union.watertight_ok() and cut.watertight_ok() and meet.watertight_ok()
        assert six_fold(union) + six_fold(meet) == six_fold(solid) + six_fold(other)
        assert six_fold(cut) == six_fold(solid) - six_fold(meet)
        solid = {"union": union, "cut": cut, "intersect": meet}[op]
        expr = (op, expr, other_expr)
        assert six_fold(solid) == volume6(expr)
