"""Draws a solid as an SVG picture from PySolid.polygons(): flat-shaded faces in a fixed oblique
view, painted back to front. Faces turned away from the viewer are left out, so a closed solid
with outward faces looks solid; an open one shows only its front sides.

Only the standard library is used: the exact coordinate texts are read with Fraction and turned
into floats for drawing.
"""

import math
import os
from collections.abc import Sequence
from fractions import Fraction
from typing import TYPE_CHECKING

if TYPE_CHECKING:
    from brevant_rs import PySolid

Vector = tuple[float, float, float]
# (depth, label, screen points, brightness) of a face
Face = tuple[float, str, list[tuple[float, float]], float]


def _unit(v: Sequence[float]) -> Vector:
    length = math.sqrt(sum(c * c for c in v))
    return (v[0] / length, v[1] / length, v[2] / length)


def _cross(a: Sequence[float], b: Sequence[float]) -> Vector:
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _dot(a: Sequence[float], b: Sequence[float]) -> float:
    return sum(p * q for p, q in zip(a, b))


# Towards the viewer: from the front right, above. Screen x runs along RIGHT, screen up along UP.
TOWARDS_VIEWER = _unit((1.2, -2.0, 1.5))
RIGHT = _unit(_cross((0.0, 0.0, 1.0), TOWARDS_VIEWER))
UP = _cross(TOWARDS_VIEWER, RIGHT)
LIGHT = _unit((0.5, -0.8, 1.6))
BASE_COLOUR = (96, 146, 206)


def _normal(loop: list[tuple[float, ...]]) -> list[float]:
    """Newell's normal: the doubled vector area, right for any planar loop."""
    n = [0.0, 0.0, 0.0]
    for p, q in zip(loop, loop[1:] + loop[:1]):
        n[0] += (p[1] - q[1]) * (p[2] + q[2])
        n[1] += (p[2] - q[2]) * (p[0] + q[0])
        n[2] += (p[0] - q[0]) * (p[1] + q[1])
    return n


def _visible_faces(solid: "PySolid") -> list[Face]:
    """(depth, label, screen points, brightness) of each face turned towards the viewer."""
    faces: list[Face] = []
    for label, texts in solid.polygons():
        loop = [tuple(float(Fraction(c)) for c in vertex) for vertex in texts]
        n = _normal(loop)
        if _dot(n, TOWARDS_VIEWER) <= 0:
            continue
        brightness = 0.35 + 0.65 * max(0.0, _dot(_unit(n), LIGHT))
        depth = sum(_dot(p, TOWARDS_VIEWER) for p in loop) / len(loop)
        screen = [(_dot(p, RIGHT), -_dot(p, UP)) for p in loop]
        faces.append((depth, label, screen, brightness))
    return faces


def svg_text(solid: "PySolid", size: int = 480, margin: int = 16) -> str:
    """The SVG document of the solid, fitted into a size × size picture."""
    faces = sorted(_visible_faces(solid), key=lambda face: face[0])
    points = [p for _, _, screen, _ in faces for p in screen] or [(0.0, 0.0)]
    low = [min(p[k] for p in points) for k in (0, 1)]
    high = [max(p[k] for p in points) for k in (0, 1)]
    scale = (size - 2 * margin) / (max(high[0] - low[0], high[1] - low[1]) or 1.0)
    # Centred: the middle of the drawing goes to the middle of the picture.
    shift = [size / 2 - (low[k] + high[k]) / 2 * scale for k in (0, 1)]
    shapes: list[str] = []
    for _, label, screen, brightness in faces:
        corners = " ".join(f"{x * scale + shift[0]:.2f},{y * scale + shift[1]:.2f}" for x, y in screen)
        r, g, b = (round(c * brightness) for c in BASE_COLOUR)
        shapes.append(f'  <polygon points="{corners}" fill="rgb({r},{g},{b})" stroke="#1d2b3a" '
                      f'stroke-width="0.8" stroke-linejoin="round"><title>{label}</title></polygon>')
    return "\n".join([f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
                      f'viewBox="0 0 {size} {size}">', f'  <rect width="{size}" height="{size}" fill="white"/>',
                      *shapes, "</svg>", ""])


def write_svg(solid: "PySolid", path: str | os.PathLike[str], size: int = 480) -> str | os.PathLike[str]:
    """Writes the picture of the solid to path (a str or pathlib.Path) and returns the path."""
    with open(path, "w", encoding="utf-8") as out:
        out.write(svg_text(solid, size))
    return path
