"""Merged faces: the same points bounded by whole faces, whatever the fragmentation."""

import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from solids import box, random_chain  # noqa: E402

RNG = random.Random()


def points(loop):
    return [tuple(Fraction(c) for c in v) for v in loop]


def strictly_inside(p, a, b):
    """p lies on the open segment a-b (exact)."""
    d = [b[i] - a[i] for i in range(3)]
    e = [p[i] - a[i] for i in range(3)]
    cross = (d[1] * e[2] - d[2] * e[1], d[2] * e[0] - d[0] * e[2], d[0] * e[1] - d[1] * e[0])
    if any(cross):
        return False
    t = sum(d[i] * e[i] for i in range(3)) / sum(x * x for x in d)
    return 0 < t < 1


def assert_clean(faces):
    """No T-junction (no vertex of any face inside a side of another) and no vertex where a side runs
    straight on unless some other face has a corner there."""
    loops = [points(loop) for _, loop in faces]
    vertices = {v for loop in loops for v in loop}
    corners = set()
    for loop in loops:
        n = len(loop)
        for i, v in enumerate(loop):
            a, b = loop[i - 1], loop[(i + 1) % n]
            if not strictly_inside(v, a, b):
                corners.add(v)
    for loop in loops:
        n = len(loop)
        for i in range(n):
            a, b = loop[i], loop[(i + 1) % n]
            assert not any(strictly_inside(v, a, b) for v in vertices), "a vertex lies inside a side"
            if strictly_inside(a, loop[i - 1], b):
                assert a in corners, "a straight vertex that no face needs"


@pytest.mark.parametrize("seed", range(40))
def test_random_chains_merge_to_clean_faces_of_the_same_solid(seed):
    RNG.seed(seed)
    solid = random_chain(RNG, RNG.randint(1, 4))
    merged = solid.merged()
    assert merged.volume6_str() == solid.volume6_str()
    assert merged.merged().polygons() == merged.polygons()
    assert len(merged.polygons()) <= len(solid.polygons())
    if solid.watertight_ok():
        assert merged.watertight_ok()
    assert merged.logical_faces() <= solid.logical_faces()
    assert_clean(merged.polygons())


@pytest.mark.parametrize("seed", range(25))
def test_one_point_set_built_two_ways_merges_to_one_text(seed):
    """The union of random boxes in one order, and in the reverse order with the boxes cut in halves:
    different fragments, one point set."""
    RNG.seed(seed)
    boxes = [(*(RNG.randint(0, 4) for _ in range(3)), *(RNG.randint(1, 3) for _ in range(3))) for _ in range(3)]
    first = box(*boxes[0])
    for b in boxes[1:]:
        first = first.boolean("union", box(*b))
    second = None
    for x, y, z, dx, dy, dz in reversed(boxes):
        half = Fraction(dx, 2)
        for part in (box(x, y, z, half, dy, dz, "h"), box(x + half, y, z, half, dy, dz, "h")):
            second = part if second is None else second.boolean("union", part)
    assert first.canonical() != second.canonical() or len(boxes) == 1
    assert first.merged().canonical() == second.merged().canonical()


def test_plate_with_a_hole_made_by_a_cut_or_from_four_boxes():
    plate = box(0, 0, 0, 4, 4, 1).boolean("cut", box(1, 1, -1, 2, 2, 3))
    parts = box(0, 0, 0, 1, 4, 1)
    for b in ((3, 0, 0, 1, 4, 1), (1, 0, 0, 2, 1, 1), (1, 3, 0, 2, 1, 1)):
        parts = parts.boolean("union", box(*b))
    merged = plate.merged()
    assert merged.canonical() == parts.merged().canonical()
    # Top and bottom each hold a hole: cut in two by the rule, the other eight faces are whole.
    assert len(merged.polygons()) == 12
    assert merged.watertight_ok()


def test_a_box_and_the_union_of_its_halves():
    whole = box(0, 0, 0, 2, 1, 1)
    halves = box(0, 0, 0, 1, 1, 1).boolean("union", box(1, 0, 0, 1, 1, 1))
    assert halves.merged().polygons() == whole.merged().polygons()
    assert whole.merged().canonical() == whole.canonical()


def test_holes_are_cut_from_their_extreme_vertices_into_simple_pieces():
    plate = box(0, 0, 0, 10, 6, 1)
    for x in (2, 6):
        plate = plate.boolean("cut", box(x, 2, -1, 2, 2, 3))
    top = [points(loop) for label, loop in plate.merged().polygons() if all(v[2] == "1/1" for v in loop)]
    # Cuts along y = 2 and y = 4 from each hole's least and greatest vertex: the one between the holes
    # is shared, so two holes give three pieces.
    assert len(top) == 3
    for loop in top:
        assert len(set(loop)) == len(loop)
    area = sum(shoelace([(v[0], v[1]) for v in loop]) for loop in top)
    assert area == 2 * (60 - 8)


def shoelace(loop):
    return sum(loop[i][0] * loop[(i + 1) % len(loop)][1] - loop[(i + 1) % len(loop)][0] * loop[i][1]
               for i in range(len(loop)))


def test_opposite_polygons_over_one_region_cancel():
    wall = br.make_box("0", "2", "3", "w")  # two opposite faces in x = 0
    assert len(wall.polygons()) == 2
    assert wall.merged().polygons() == []
    assert br.make_box("0", "0", "1", "e").merged().polygons() == []
    finned = box(0, 0, 0, 1, 1, 1).boolean("union", br.make_box("0", "1", "1", "f").translate("2", "0", "0"))
    assert finned.merged().canonical() == box(0, 0, 0, 1, 1, 1).canonical()


def test_a_face_takes_the_label_covering_most_of_it():
    solid = box(0, 0, 0, 1, 1, 1, "small").boolean("union", box(1, 0, 0, 3, 1, 1, "large"))
    labels = sorted(label for label, _ in solid.merged().polygons())
    assert labels == ["large.back", "large.bottom", "large.front", "large.right", "large.top", "small.left"]
    tie = box(0, 0, 0, 1, 1, 1, "b").boolean("union", box(1, 0, 0, 1, 1, 1, "a"))
    assert {label for label, _ in tie.merged().polygons()} >= {"a.top", "a.bottom"}


def test_regions_touching_at_a_vertex_stay_apart():
    corner = box(0, 0, 0, 1, 1, 1).boolean("union", box(1, 1, 0, 1, 1, 1))
    tops = [loop for _, loop in corner.merged().polygons() if all(v[2] == "1/1" for v in loop)]
    assert len(tops) == 2


def test_merging_leaves_the_operand_and_huge_coordinates_alone():
    big = "1" + "0" * 400
    solid = box(0, 0, 0, 1, 1, 1).boolean("union", box(big, 0, 0, 1, 1, 1))
    before = solid.polygons()
    merged = solid.merged()
    assert solid.polygons() == before
    assert merged.volume6_str() == solid.volume6_str() == "12/1"
    assert len(merged.polygons()) == 12
