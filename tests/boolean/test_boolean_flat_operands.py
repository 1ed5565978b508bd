"""Operands without volume (a zero extent) or without polygons take part as empty solids."""

import pytest

import brevant_rs as br


def box_text(*extents):
    return br.box_form(*extents)[1]


@pytest.mark.parametrize(
    "args, expected",
    [
        # a flat box far away leaves the box whole
        (("2", "2", "2", "0", "1", "1", "5", "5", "5", "cut"), ("48/1", box_text("2", "2", "2"))),
        # a flat box through the middle cuts nothing away and adds nothing
        (("2", "2", "2", "0", "1", "1", "1", "1/2", "1/2", "cut"), ("48/1", box_text("2", "2", "2"))),
        (("4", "4", "4", "0", "2", "2", "1", "1", "1", "union"), ("384/1", box_text("4", "4", "4"))),
        # a flat or empty operand on the other side (the method test below covers the rest)
        (("0", "1", "1", "2", "2", "2", "0", "0", "0", "intersect"), ("0/1", "")),
        (("0", "2", "2", "1", "1", "1", "0", "0", "0", "cut"), ("0/1", "")),
    ],
)
def test_box_boolean_with_flat_operands(args, expected):
    assert br.box_boolean(*args) == expected


@pytest.mark.parametrize(
    "make_empty",
    [
        lambda: br.make_box("0", "0", "0", "E"),
        lambda: br.make_box("0", "3", "3", "E"),
        lambda: br.make_box("3", "3", "3", "E").scale("1", "0", "1"),
        lambda: br.make_prism(["0", "0", "1", "0", "1", "1"], "0", "E"),
    ],
    ids=["no faces", "zero extent", "scaled by zero", "prism of height zero"],
)
def test_operands_without_volume_act_as_empty(make_empty):
    a = br.make_box("2", "1", "1/2", "A")
    empty = make_empty()
    for result in (a.boolean("union", empty), empty.boolean("union", a), a.boolean("cut", empty)):
        assert (result.volume6_str(), result.canonical()) == (a.volume6_str(), a.canonical())
    for result in (a.boolean("intersect", empty), empty.boolean("intersect", a), empty.boolean("cut", a)):
        assert (result.volume6_str(), result.canonical()) == ("0/1", "")
