"""Boxes, their measures and their faces read back with polygons()."""

import math

import pytest

import brevant_rs as br

UNIT_TEXT = (
    "0/1,0/1,0/1|0/1,0/1,1/1|0/1,1/1,0/1|0/1,1/1,1/1;0/1,0/1,0/1|0/1,0/1,1/1|1/1,0/1,0/1|1/1,0/1,1/1;"
    "0/1,0/1,0/1|0/1,1/1,0/1|1/1,0/1,0/1|1/1,1/1,0/1;0/1,0/1,1/1|0/1,1/1,1/1|1/1,0/1,1/1|1/1,1/1,1/1;"
    "0/1,1/1,0/1|0/1,1/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1;1/1,0/1,0/1|1/1,0/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1"
)


def labels(solid):
    return [label for label, _ in solid.polygons()]


@pytest.mark.parametrize("extents, volume6", [
    (("1", "1", "1"), "6/1"), (("1/2", "2", "3"), "18/1"), (("-1", "1", "1"), "-6/1"), (("-1", "-1", "1"), "6/1"),
    (("-1", "-1", "-1"), "-6/1"), (("2/3", "3/5", "5/7"), "12/7"), (("0", "2", "3"), "0/1"),
])
def test_six_fold_volume(extents, volume6):
    assert br.box_form(*extents)[0] == volume6
    solid = br.make_box(*extents, "p")
    assert solid.volume6_str() == volume6
    numerator, denominator = map(int, volume6.split("/"))
    assert solid.volume() == numerator / (6 * denominator)


def test_unit_box():
    unit = br.make_box("1", "1", "1", "p")
    assert unit.volume() == 1.0
    assert unit.logical_faces() == 6
    assert unit.bbox() == [0.0, 0.0, 0.0, 1.0, 1.0, 1.0]
    assert unit.canonical() == UNIT_TEXT
    assert br.make_box("1", "1", "1", "").canonical() == UNIT_TEXT
    assert br.box_form("1", "1", "1") == ("6/1", UNIT_TEXT)
    assert br.box_form("1/3", "2", "-5")[1] == br.make_box("1/3", "2", "-5", "q").canonical()


def test_faces_read_back_in_construction_order():
    faces = br.make_box("1", "2", "3", "b").polygons()
    assert [label for label, _ in faces] == ["b.bottom", "b.top", "b.front", "b.back", "b.right", "b.left"]
    # bottom runs 0,3,2,1 over the corners (0,0,0), (dx,0,0), (dx,dy,0), (0,dy,0), so it faces down
    assert faces[0] == ("b.bottom", [["0/1", "0/1", "0/1"], ["0/1", "2/1", "0/1"], ["1/1", "2/1", "0/1"],
                                     ["1/1", "0/1", "0/1"]])
    assert all(type(face) is tuple and type(face[1]) is list and type(face[1][0]) is list for face in faces)
    assert labels(br.make_box("1", "1", "1", "a.b"))[5] == "a.b.left"
    assert labels(br.make_box("1", "1", "1", ""))[1] == ".top"
    faces[0][1].clear()
    assert br.make_box("1", "2", "3", "b").polygons()[0][1] != []
    assert br.PySolid.polygons.__text_signature__ == "($self)"


@pytest.mark.parametrize("extents, kept", [
    (("0", "2", "3"), ["p.right", "p.left"]), (("1", "0", "3"), ["p.front", "p.back"]),
    (("1", "2", "0"), ["p.bottom", "p.top"]), (("0", "0", "3"), []), (("1", "0", "0"), []), (("0", "0", "0"), []),
])
def test_zero_extents_drop_collapsed_faces(extents, kept):
    box = br.make_box(*extents, "p")
    assert labels(box) == kept
    assert box.volume6_str() == "0/1"
    if kept:
        assert box.logical_faces() == 1
    else:
        assert box.volume() == 0.0
        assert box.canonical() == ""
        assert box.logical_faces() == 0
        with pytest.raises(br.InternalFailure):
            box.bbox()
        assert br.box_form(*extents) == ("0/1", "")


@pytest.mark.parametrize("extents, bbox, faces", [
    (("0", "2", "3"), [0.0, 0.0, 0.0, 0.0, 2.0, 3.0], 1),
    (("-1", "2", "-3/2"), [-1.0, 0.0, -1.5, 0.0, 2.0, 0.0], 6),
    # past the double range the bounds round to infinity or zero, the exact measures stay
    (("1" + "0" * 400, "1", "1"), [0.0, 0.0, 0.0, math.inf, 1.0, 1.0], 6),
    (("-1" + "0" * 400, "1", "1"), [-math.inf, 0.0, 0.0, 0.0, 1.0, 1.0], 6),
    (("1/1" + "0" * 400, "1", "1"), [0.0, 0.0, 0.0, 0.0, 1.0, 1.0], 6),
])
def test_bbox_and_logical_faces(extents, bbox, faces):
    box = br.make_box(*extents, "p")
    assert box.bbox() == bbox
    assert box.logical_faces() == faces


def test_flat_box_and_tiny_box_texts():
    assert br.make_box("0", "2", "3", "p").canonical() == "0/1,0/1,0/1|0/1,0/1,3/1|0/1,2/1,0/1|0/1,2/1,3/1"
    assert br.make_box("1/1" + "0" * 400, "1", "1", "p").volume6_str() == "3/5" + "0" * 399  # 6/10^400 reduced
