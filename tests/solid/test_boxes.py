"""Boxes and their measures: six-fold volume, canonical text, logical faces, bounding box."""

import math

import pytest

import brevant_rs as br

UNIT_TEXT = (
    "0/1,0/1,0/1|0/1,0/1,1/1|0/1,1/1,0/1|0/1,1/1,1/1;0/1,0/1,0/1|0/1,0/1,1/1|1/1,0/1,0/1|1/1,0/1,1/1;"
    "0/1,0/1,0/1|0/1,1/1,0/1|1/1,0/1,0/1|1/1,1/1,0/1;0/1,0/1,1/1|0/1,1/1,1/1|1/1,0/1,1/1|1/1,1/1,1/1;"
    "0/1,1/1,0/1|0/1,1/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1;1/1,0/1,0/1|1/1,0/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1"
)


@pytest.mark.parametrize(
    "extents, volume6",
    [
        (("1", "1", "1"), "6/1"),
        (("1/2", "2", "3"), "18/1"),
        (("-1", "1", "1"), "-6/1"),
        (("-1", "-1", "1"), "6/1"),
        (("-1", "-1", "-1"), "-6/1"),
        (("2/3", "3/5", "5/7"), "12/7"),
        (("0", "2", "3"), "0/1"),
    ],
)
def test_six_fold_volume(extents, volume6):
    assert br.box_form(*extents)[0] == volume6
    solid = br.make_box(*extents, "p")
    assert solid.volume6_str() == volume6
    numerator, denominator = map(int, volume6.split("/"))
    assert solid.volume() == numerator / (6 * denominator)


def test_unit_box():
    unit = br.make_box("1", "1", "1", "p")
    assert unit.volume() == 1.0
    assert unit.volume6_str() == "6/1"
    assert unit.logical_faces() == 6
    assert unit.bbox() == [0.0, 0.0, 0.0, 1.0, 1.0, 1.0]
    assert unit.canonical() == UNIT_TEXT


def test_canonical_ignores_the_prefix():
    assert br.make_box("1", "1", "1", "another").canonical() == UNIT_TEXT
    assert br.make_box("1", "1", "1", "").canonical() == UNIT_TEXT
    assert br.box_form("1", "1", "1") == ("6/1", UNIT_TEXT)
    assert br.box_form("1/3", "2", "-5")[1] == br.make_box("1/3", "2", "-5", "q").canonical()


def test_flat_box_has_one_logical_face():
    flat = br.make_box("0", "2", "3", "p")
    assert flat.logical_faces() == 1
    assert flat.canonical() == "0/1,0/1,0/1|0/1,0/1,3/1|0/1,2/1,0/1|0/1,2/1,3/1"
    assert flat.volume6_str() == "0/1"
    assert flat.bbox() == [0.0, 0.0, 0.0, 0.0, 2.0, 3.0]


@pytest.mark.parametrize("extents", [("0", "0", "3"), ("1", "0", "0"), ("0", "0", "0")])
def test_empty_solid_measures(extents):
    empty = br.make_box(*extents, "p")
    assert empty.volume() == 0.0
    assert empty.volume6_str() == "0/1"
    assert empty.canonical() == ""
    assert empty.logical_faces() == 0
    with pytest.raises(br.InternalFailure):
        empty.bbox()
    assert br.box_form(*extents) == ("0/1", "")


def test_negative_extents():
    box = br.make_box("-1", "2", "-3/2", "p")
    assert box.volume6_str() == "18/1"
    assert box.bbox() == [-1.0, 0.0, -1.5, 0.0, 2.0, 0.0]
    assert box.logical_faces() == 6


def test_bbox_beyond_the_double_range():
    huge = "1" + "0" * 400
    assert br.make_box(huge, "1", "1", "p").bbox() == [0.0, 0.0, 0.0, math.inf, 1.0, 1.0]
    assert br.make_box("-" + huge, "1", "1", "p").bbox()[0] == -math.inf
    tiny = br.make_box("1/" + huge, "1", "1", "p")
    assert tiny.bbox()[3] == 0.0
    assert tiny.volume6_str() == f"3/5{huge[2:]}"  # 6/10^400 reduced
    assert tiny.logical_faces() == 6


@pytest.mark.skipif(not hasattr(br.PySolid, "translate"), reason="translate is not built yet")
def test_translated_box():
    moved = br.make_box("1", "1", "1", "p").translate("1/3", "0", "0")
    assert moved.volume6_str() == "6/1"
    for key in moved.canonical().split(";"):
        for vertex in key.split("|"):
            assert vertex.split(",")[0] in ("1/3", "4/3")
    assert moved.canonical() != UNIT_TEXT
