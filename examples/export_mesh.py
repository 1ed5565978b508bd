"""Writes a solid as a binary STL or a Wavefront OBJ file from PySolid.to_mesh_floats(): indexed,
watertight triangles of the merged faces, counter-clockwise seen from outside.

Only the standard library is used. Run it to write a plate with two holes:

    python examples/export_mesh.py out/plate
"""

import struct
import sys
from collections.abc import Sequence
from pathlib import Path

import brevant_rs as br


def _normal(a: Sequence[float], b: Sequence[float], c: Sequence[float]) -> tuple[float, float, float]:
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
    length = sum(x * x for x in n) ** 0.5
    return (n[0] / length, n[1] / length, n[2] / length) if length else (0.0, 0.0, 0.0)


def write_stl(solid: br.PySolid, path: str | Path, name: bytes = b"brevant_rs") -> Path:
    """Binary STL: an 80-byte header, the triangle count, then per triangle its unit normal and three
    corners as little-endian 32-bit floats and a zero attribute word. Returns the path."""
    points, triangles = solid.to_mesh_floats()
    path = Path(path)
    with path.open("wb") as out:
        out.write(name[:80].ljust(80, b" "))
        out.write(struct.pack("<I", len(triangles)))
        for i, j, k in triangles:
            a, b, c = points[i], points[j], points[k]
            out.write(struct.pack("<12fH", *_normal(a, b, c), *a, *b, *c, 0))
    return path


def write_obj(solid: br.PySolid, path: str | Path) -> Path:
    """Wavefront OBJ: one 'v x y z' line per point (shortest round-trip decimals of the doubles), then
    one 'f i j k' line per triangle, numbered from 1. Returns the path."""
    points, triangles = solid.to_mesh_floats()
    path = Path(path)
    with path.open("w") as out:
        for x, y, z in points:
            out.write(f"v {x!r} {y!r} {z!r}\n")
        for i, j, k in triangles:
            out.write(f"f {i + 1} {j + 1} {k + 1}\n")
    return path


def plate_with_holes() -> br.PySolid:
    plate = br.make_box("6", "3", "1/2", "plate")
    for x in ("1", "4"):
        plate = plate.boolean("cut", br.make_box("1", "1", "2", "hole").translate(x, "1", "-1"))
    return plate


if __name__ == "__main__":
    stem = Path(sys.argv[1] if len(sys.argv) > 1 else "out/plate")
    stem.parent.mkdir(parents=True, exist_ok=True)
    solid = plate_with_holes()
    print(write_stl(solid, stem.with_suffix(".stl")), write_obj(solid, stem.with_suffix(".obj")))
