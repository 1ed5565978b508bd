"""PySolid.polygons(): the faces in order, with labels and exact coordinates."""

import brevant_rs as br


def test_box_faces_read_back_in_construction_order():
    faces = br.make_box("1", "2", "3", "b").polygons()
    assert [label for label, _ in faces] == ["b.bottom", "b.top", "b.front", "b.back", "b.right", "b.left"]
    # bottom runs 0,3,2,1 over the corners (0,0,0), (dx,0,0), (dx,dy,0), (0,dy,0), so it faces down
    assert faces[0] == ("b.bottom", [["0/1", "0/1", "0/1"], ["0/1", "2/1", "0/1"], ["1/1", "2/1", "0/1"],
                                     ["1/1", "0/1", "0/1"]])
    assert all(type(face) is tuple and type(face[1]) is list and type(face[1][0]) is list for face in faces)


def test_coordinates_are_exact_texts():
    faces = br.make_box("1", "1", "1", "p").translate("1/3", "-1/2", "0").polygons()
    xs = {v[0] for _, loop in faces for v in loop}
    assert xs == {"1/3", "4/3"}
    assert {v[1] for _, loop in faces for v in loop} == {"-1/2", "1/2"}


def test_degenerate_faces_are_not_read_back():
    assert br.make_box("0", "0", "0", "z").polygons() == []
    assert [label for label, _ in br.make_box("0", "1", "1", "z").polygons()] == ["z.right", "z.left"]


def test_each_call_returns_fresh_lists():
    solid = br.make_box("1", "1", "1", "p")
    first = solid.polygons()
    first[0][1].clear()
    assert solid.polygons()[0][1] != []


def test_signature():
    assert br.PySolid.polygons.__text_signature__ == "($self)"
