"""Triangle meshes of merged faces, and the files written from them."""

import collections
import importlib.util
import random
import struct
import sys
from fractions import Fraction
from pathlib import Path

import pytest

import brevant_rs as br

sys.path.insert(0, str(Path(__file__).parent))
from mesh_checks import exact_mesh, sides_matched, signed_volume6  # noqa: E402
from solids import box, random_chain  # noqa: E402

RNG = random.Random()
EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


def load_example(name):
    spec = importlib.util.spec_from_file_location(name, EXAMPLES / f"{name}.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def doubled_area_vector(a, b, c):
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])


@pytest.mark.parametrize("seed", range(40))
def test_meshes_of_random_chains_are_closed_and_exact(seed):
    RNG.seed(seed)
    solid = random_chain(RNG, RNG.randint(1, 4))
    points, triangles = exact_mesh(solid)
    assert len(set(points)) == len(points)
    corners = {tuple(Fraction(c) for c in v) for _, loop in solid.merged().polygons() for v in loop}
    assert set(points) == corners
    for t in triangles:
        assert any(doubled_area_vector(*(points[i] for i in t)))
    assert signed_volume6(points, triangles) == Fraction(solid.volume6_str())
    # Where two solids touch along an edge (four faces meet) the edge is used twice each way.
    assert sides_matched(triangles)
    floats, float_triangles = solid.to_mesh_floats()
    assert float_triangles == triangles
    assert floats == [[float(c) for c in p] for p in points]


def test_a_box_gives_twelve_triangles_on_its_eight_corners():
    points, triangles = br.make_box("1", "2", "3", "b").to_mesh()
    assert len(points) == 8 and len(triangles) == 12
    directed = collections.Counter((t[i], t[(i + 1) % 3]) for t in triangles for i in range(3))
    assert set(directed.values()) == {1} and all((b, a) in directed for a, b in directed)


def test_t_junction_vertices_become_triangle_corners():
    # The small box on top splits the big box's top face; its corners lie inside the big face, and
    # its bottom edges' ends lie on no side of the big box, so the big top must take them as corners.
    solid = box(0, 0, 0, 3, 3, 1).boolean("union", box(1, 0, 1, 1, 1, 1))
    points, triangles = exact_mesh(solid)
    directed = collections.Counter((t[i], t[(i + 1) % 3]) for t in triangles for i in range(3))
    assert all(n == 1 and directed[(b, a)] == 1 for (a, b), n in directed.items())


def test_an_empty_solid_gives_an_empty_mesh():
    assert br.make_box("0", "1", "1", "e").to_mesh() == ([], [])
    assert br.make_box("0", "0", "1", "e").to_mesh_floats() == ([], [])


def test_exported_files_load_as_watertight_meshes(tmp_path):
    trimesh = pytest.importorskip("trimesh")
    export = load_example("export_mesh")
    solid = export.plate_with_holes()
    exact_volume = float(Fraction(solid.volume6_str()) / 6)
    for path in (export.write_stl(solid, tmp_path / "plate.stl"), export.write_obj(solid, tmp_path / "plate.obj")):
        mesh = trimesh.load(path, force="mesh")
        assert mesh.is_watertight and mesh.is_winding_consistent, path
        assert mesh.volume == pytest.approx(exact_volume, rel=1e-9)
    with open(tmp_path / "plate.stl", "rb") as stl:
        stl.seek(80)
        assert struct.unpack("<I", stl.read(4))[0] == len(solid.to_mesh()[1])
