"""The chamfer and the closedness check, from Python."""

import json
import pathlib
import sys
from fractions import Fraction

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from convex_cases import cases, chamfered  # noqa: E402


def unit_cube():
    return br.make_box("1", "1", "1", "p")


def text(value):
    return f"{value.numerator}/{value.denominator}"


def chamfered_box_volume6(a, b, c, d):
    """Six times the volume of an a × b × c box with every edge and corner chamfered by d < min/2.

    Each edge loses a prism of section d²/2, together 2(a+b+c)·d². At a corner at the origin the
    prisms {y+z<d}, {x+z<d}, {x+y<d} overlap pairwise in ∫₀^d (d−z)² dz = d³/3 and all three in d³/4
    (slices at height z, t = d−z: t² for z ≥ d/2, t² − (2t−d)²/2 below; d³/24 + 5d³/24), so the edge
    sum removes 3·d³/3 − d³/4 = 3d³/4 too much per corner. The corner cut then removes the tetrahedron
    between the facet x+y+z = 2d and the apex (d/2,d/2,d/2): volume 4·(d/2)³/6 = d³/12. Hence
    V = abc − 2(a+b+c)d² + 8·(3d³/4 − d³/12) = abc − 2(a+b+c)d² + 16d³/3.
    """
    return 6 * a * b * c - 12 * (a + b + c) * d**2 + 32 * d**3


def two_cubes_face_to_face():
    cube = br.make_box("1", "1", "1", "a")
    return cube.boolean("union", cube.translate("1", "0", "0"))


# The long box's edges outrun a cutter sized by the reach alone; the two cubes' faces are split.
@pytest.mark.parametrize("build, extents, expected", [
    (unit_cube, (1, 1, 1), "709/125"),
    (lambda: br.make_box("10", "1", "1", "p"), (10, 1, 1), "7324/125"),
    (two_cubes_face_to_face, (2, 1, 1), "1444/125"),
])
def test_whole_edges_and_corners_are_bevelled(build, extents, expected):
    solid = build()
    before = solid.polygons()
    result = solid.chamfer("1/10")
    assert result.volume6_str() == expected == text(chamfered_box_volume6(*extents, Fraction(1, 10)))
    assert result.watertight_ok()
    assert result.logical_faces() == 6 + 12 + 8
    assert result.bbox() == [0.0, 0.0, 0.0, *map(float, extents)]
    assert solid.polygons() == before


def l_shape():
    return br.make_box("2", "1", "1", "a").boolean("union", br.make_box("1", "2", "1", "b"))


@pytest.mark.parametrize("build", [lambda: br.make_box("2", "1/3", "5", "p"), lambda: br.make_box("0", "2", "3", "p"),
                                   l_shape])
def test_zero_distance_returns_the_input_polygons_in_order(build):
    solid = build()
    result = solid.chamfer("0")
    assert result is not solid
    assert result.polygons() == solid.polygons()


CONVEX_CASES = cases()
GOLDEN = json.loads((pathlib.Path(__file__).parent / "convex_golden.json").read_text())


@pytest.mark.parametrize("name, solid, dist", CONVEX_CASES, ids=[name for name, _, _ in CONVEX_CASES])
def test_convex_results_are_unchanged(name, solid, dist):
    """Boxes, prisms over convex loops, frusta and fragmented convex solids, with rational unit
    normals: the same volume, canonical text and refusals as before non-convex solids were taken."""
    assert chamfered(solid, dist) == GOLDEN[name]


def test_bad_arguments_and_empty_solids_fail_as_internal_failures():
    with pytest.raises(br.InternalFailure, match="InvalidDigit"):
        unit_cube().chamfer("0.1")
    empty = br.make_box("0", "0", "1", "p")
    for dist in ("0", "1/10"):
        with pytest.raises(br.InternalFailure):
            empty.chamfer(dist)


# Inward, flat and empty solids are closed too: the check compares edges, not volumes.
@pytest.mark.parametrize("solid", [
    br.make_box("1", "2", "3", "p"), br.make_box("-1", "1", "1", "p"), br.make_box("0", "2", "3", "p"),
    br.make_box("0", "0", "3", "p"), br.make_prism(["0", "0", "1", "0"], "1", "wall"),
    br.make_prism(["0", "0", "1", "0", "1", "1", "0", "1"], "1", "square"),
])
def test_watertight_solids(solid):
    assert solid.watertight_ok() is True


sizes = st.fractions(min_value=Fraction(1, 4), max_value=4, max_denominator=12)


@settings(max_examples=4, deadline=None)
@given(a=sizes, b=sizes, c=sizes, share=st.fractions(min_value=Fraction(1, 20), max_value=Fraction(19, 20), max_denominator=20))
def test_chamfered_boxes_match_the_closed_formula(a, b, c, share):
    d = share * min(a, b, c) / 2
    result = br.make_box(text(a), text(b), text(c), "p").chamfer(text(d))
    assert result.volume6_str() == text(chamfered_box_volume6(a, b, c, d))
    assert result.watertight_ok()
