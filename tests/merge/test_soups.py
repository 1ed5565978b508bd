"""Merging polygon soups that cover a region more than once: volumes, closedness and meshes stay
exactly those of the soup."""

import pathlib
import sys
from fractions import Fraction

from hypothesis import given, settings
from hypothesis import strategies as st

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from mesh_checks import exact_mesh, sides_matched, signed_volume6  # noqa: E402


def box_faces(x, y, z, dx, dy, dz, label, inside_out=False):
    faces = br.make_box(str(dx), str(dy), str(dz), label).translate(str(x), str(y), str(z)).polygons()
    return [(name, loop[::-1] if inside_out else loop) for name, loop in faces]


boxes = st.lists(
    st.tuples(st.integers(-2, 2), st.integers(-2, 2), st.integers(-2, 2),  # corner
              st.integers(1, 3), st.integers(1, 3), st.integers(1, 3),     # sides
              st.integers(1, 3), st.booleans()),                           # times listed, inside out
    min_size=1, max_size=4)


def soup(drawn):
    faces, volume6 = [], 0
    for k, (x, y, z, dx, dy, dz, times, inside_out) in enumerate(drawn):
        faces += box_faces(x, y, z, dx, dy, dz, f"s{k}", inside_out) * times
        volume6 += 6 * dx * dy * dz * times * (-1 if inside_out else 1)
    return br.solid_from_polygons(faces), volume6


@settings(max_examples=60, deadline=None)
@given(boxes)
def test_boxes_listed_many_times_keep_their_volume_and_stay_closed(drawn):
    solid, volume6 = soup(drawn)
    merged = solid.merged()
    assert Fraction(merged.volume6_str()) == volume6
    assert merged.watertight_ok()
    assert merged.merged().polygons() == merged.polygons()
    points, triangles = exact_mesh(solid)
    assert signed_volume6(points, triangles) == volume6
    assert sides_matched(triangles)


def test_a_box_listed_twice_merges_to_each_face_twice():
    faces = box_faces(0, 0, 0, 2, 2, 4, "b")
    merged = br.solid_from_polygons(faces * 2).merged()
    once = br.solid_from_polygons(faces).merged()
    assert merged.polygons() == [p for p in once.polygons() for _ in range(2)]


def pentagram_prism(height):
    """A prism over the star that runs through every second corner of a pentagon: its middle
    pentagon is wound twice."""
    corners = [(0, 10), (9, 3), (6, -8), (-6, -8), (-9, 3)]
    star = [corners[(2 * i) % 5] for i in range(5)]
    bottom = [[str(x), str(y), "0"] for x, y in reversed(star)]
    top = [[str(x), str(y), str(height)] for x, y in star]
    sides = [[[str(a[0]), str(a[1]), "0"], [str(b[0]), str(b[1]), "0"], [str(b[0]), str(b[1]), str(height)],
              [str(a[0]), str(a[1]), str(height)]] for a, b in zip(star, star[1:] + star[:1])]
    area2 = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(star, star[1:] + star[:1]))
    return br.solid_from_polygons([("bottom", bottom), ("top", top)] + [("side", s) for s in sides]), 3 * area2 * height


def test_a_pentagram_prism_keeps_its_doubly_wound_middle():
    solid, volume6 = pentagram_prism(2)
    assert Fraction(solid.volume6_str()) == volume6
    merged = solid.merged()
    assert Fraction(merged.volume6_str()) == volume6
    assert merged.watertight_ok()
    top = [loop for name, loop in merged.polygons() if name == "top"]
    assert len(top) >= 2  # the star's outline and, over it, the middle pentagon
    points, triangles = exact_mesh(solid)
    assert signed_volume6(points, triangles) == volume6
    assert sides_matched(triangles)
