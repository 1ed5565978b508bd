"""Exact-arithmetic core of a solid-modelling package: polyhedral solids, booleans, chamfers, NURBS.

Every coordinate, parameter and result is an exact rational number, passed in as text: an integer
('3', '-12') or a fraction ('7/2'). Exact results come back as reduced fractions with the
denominator always written ('7/1', '-3/4', '0/1'). Only volume(), bbox() and to_mesh_floats()
return floats. Where a list of texts is asked for, any sequence (list, tuple) will do, but not a str.

Every call fails in one of these ways, and then returns nothing and changes no operand:

- TypeError: an argument of the wrong kind or a wrong number of arguments (the message names the
  argument); OverflowError: an integer argument out of its range.
- ValueError: the operation declines its input and says why (only where a docstring lists it).
- InternalFailure (derived from BaseException, not Exception): a failed internal check, such as a
  number text that cannot be read, a zero denominator or a division by zero.
- MemoryError when memory runs out; KeyboardInterrupt (or what a signal handler raises) when a
  signal such as Ctrl-C arrives during a call on the main thread.

The module stays usable after any failure. Calls release the interpreter lock while their exact
work runs, so calls on several threads run at once, on shared solids too. The callables below are
in the order the module registers them.
"""

from collections.abc import Callable, Iterable, Sequence
from typing import Any, Final, Literal, NoReturn, SupportsIndex, TypeAlias, final

# Argument shapes. Each str is a number text unless the parameter is a label or an operation name.
_Texts: TypeAlias = Sequence[str]
_Points: TypeAlias = Sequence[Sequence[str]]
_Net: TypeAlias = Sequence[Sequence[Sequence[str]]]
# A (label, loop) pair as polygons() gives it; any two-item sequence will do (JSON gives lists).
_Face: TypeAlias = tuple[str, _Points] | Sequence[str | _Points]
# A point as edges() gives it: (x, y, z) exact texts.
_Point3: TypeAlias = tuple[str, str, str]

__version__: Final[str]
"""The version of the distribution, as in its metadata ('0.1.0')."""

class InternalFailure(BaseException):
    """A failed internal check (a rejected number text, a division by zero, an index out of range).

    Derives directly from BaseException, so `except Exception` does not catch it. Its message is
    the text of the failed check, for example "denominator == 0".
    """

@final
class Edge(tuple[_Point3, _Point3, tuple[str, str], Literal["convex", "concave"]]):
    """An edge of a solid's merged form, as PySolid.edges() lists it: a named tuple
    (start, end, faces, kind) that pickles and compares as a tuple.

    start is the lesser end point (by x, then y, then z) and end the greater one, each as three
    exact texts. faces holds the labels of the two faces that meet along the edge: first the face
    whose loop (counter-clockwise seen from outside) runs along the edge from start to end, then
    the face whose loop runs from end to start. kind is 'convex' where the solid lies behind both
    faces (they meet at less than 180 degrees inside), 'concave' where it lies in front of one.
    """

    __match_args__: Final = ("start", "end", "faces", "kind")
    n_fields: Final[int]
    """4, as for every named tuple of this kind (a struct sequence)."""
    n_sequence_fields: Final[int]
    """4: every field is an item of the tuple."""
    n_unnamed_fields: Final[int]
    """0."""

    @property
    def start(self) -> _Point3:
        """The lesser end point."""

    @property
    def end(self) -> _Point3:
        """The greater end point."""

    @property
    def faces(self) -> tuple[str, str]:
        """The labels of the face running from start to end, then of the one running back."""

    @property
    def kind(self) -> Literal["convex", "concave"]:
        """'convex' or 'concave'."""

# An edge as chamfer_edges() takes it: its index in edges(), an Edge, or any sequence whose first two
# items are its end points (three number texts each).
_EdgeName: TypeAlias = SupportsIndex | Edge | Sequence[Sequence[str]]

@final
class PySolid:
    """An immutable polyhedral solid: a list of planar polygons, each with a face label.

    Instances come only from the module's functions and from other solids' methods; every method
    leaves the solid as it is and returns a new solid or a measure. The class cannot be
    instantiated or subclassed.
    """

    def __new__(cls) -> NoReturn:
        """Always fails: solids are made by make_box, make_prism, make_prismatoid and union_all.

        Raises:
            TypeError: "No constructor defined for PySolid".
        """

    # ----- Transforms: exact, polygon order and labels kept --------------------------------------

    def translate(self, x: str, y: str, z: str) -> PySolid:
        """The solid moved by the vector (x, y, z).

        Args:
            x, y, z: the components of the move, number texts.

        Returns:
            A new solid with every vertex moved.

        Raises:
            TypeError: an argument is not a str.
            InternalFailure: a number text cannot be read.
        """

    def scale(self, fx: str, fy: str, fz: str) -> PySolid:
        """The solid scaled about the origin by fx along x, fy along y and fz along z.

        Args:
            fx, fy, fz: the factors, number texts; any may be zero or negative.

        Returns:
            A new solid with every vertex scaled. Where the product fx·fy·fz is negative every
            polygon is turned over, so that outward faces stay outward. A zero factor collapses
            the polygons but keeps them.

        Raises:
            TypeError: an argument is not a str.
            InternalFailure: a number text cannot be read.
        """

    def mirror(self, axis: SupportsIndex) -> PySolid:
        """The solid mirrored in a coordinate plane: the coordinate numbered `axis` negated.

        Args:
            axis: 0 for x, 1 for y, 2 for z.

        Returns:
            A new solid, every polygon turned over so that outward faces stay outward.

        Raises:
            TypeError: `axis` is not an integer (has no __index__).
            OverflowError: `axis` is negative or does not fit in 64 bits.
            InternalFailure: `axis` is above 2 and the solid has a vertex.
        """

    def rotate_quarter(self, axis: SupportsIndex, quarters: SupportsIndex) -> PySolid:
        """The solid turned by whole quarter turns about a coordinate axis through the origin.

        Args:
            axis: 0 for x, 1 for y, 2 for z; larger values are taken modulo 3.
            quarters: the number of counter-clockwise quarter turns seen from the positive axis
                (right-hand rule); negative turns clockwise, and only its value modulo 4 counts.

        Returns:
            A new solid: about z, (x, y) becomes (-y, x) per quarter turn.

        Raises:
            TypeError: an argument is not an integer.
            OverflowError: `axis` is negative or does not fit in 64 bits, or `quarters` does not
                fit in a signed 64-bit integer.
        """

    def rotate(self, axis: _Points, angle: str, tolerance: str) -> PySolid:
        """The solid turned about a line by an exact rotation within `tolerance` of `angle`.

        The rotation has a rational matrix, made from an integer quaternion (a, b·d) with d the
        axis direction as the shortest integer vector: its axis is exactly the given line, and it
        is exactly orthogonal with determinant 1, so lengths, angles and volumes are kept exactly.
        Of the rotations within the tolerance it takes the one with the smallest integers a and b,
        so angles whose rotation is rational (multiples of 90 degrees about a coordinate axis, 120
        degrees about (1, 1, 1), 180 degrees about any axis) are met exactly. Turning by -angle
        with the same axis and tolerance is exactly the inverse.

        Args:
            axis: [[px, py, pz], [dx, dy, dz]]: a point on the line and the line's direction,
                number texts. The turn is counter-clockwise seen from the end of the direction
                (right-hand rule).
            angle: the angle in degrees, a number text; any value, taken modulo 360.
            tolerance: the largest difference allowed between the rotation's angle and `angle`, in
                radians, a positive number text ('1/1000000' for a micro-radian). Smaller
                tolerances give longer fractions.

        Returns:
            A new solid, polygon order and labels kept, every plane carried exactly.

        Raises:
            TypeError: an argument is of the wrong kind.
            ValueError: `axis` is not two points of three coordinates ("rotate: the axis must be
                a point and a direction of three number texts each, [[px, py, pz], [dx, dy, dz]]"),
                its direction is zero ("rotate: the axis direction is zero"), or `tolerance` is zero
                or negative ("rotate: the tolerance must be positive").
            InternalFailure: a number text cannot be read.
        """

    def transform(self, matrix: _Points) -> PySolid:
        """The solid mapped by an exact affine map x -> A·x + t.

        Args:
            matrix: three rows [a, b, c, tx], [d, e, f, ty], [g, h, i, tz] of number texts: the
                rows of A, each followed by its component of t. A point (x, y, z) goes to
                (a·x + b·y + c·z + tx, d·x + e·y + f·z + ty, g·x + h·y + i·z + tz).

        Returns:
            A new solid, polygon order and labels kept, every plane carried exactly. Where the
            determinant of A is negative every polygon is turned over, so that outward faces stay
            outward; the volume is multiplied by the determinant's absolute value.

        Raises:
            TypeError: `matrix` is not a sequence of sequences of str.
            ValueError: `matrix` is not 3 rows of 4 ("transform: the matrix must be 3 rows of 4
                number texts, [[a, b, c, tx], [d, e, f, ty], [g, h, i, tz]]"), or A is singular
                ("transform: the matrix is singular (its determinant is 0)").
            InternalFailure: a number text cannot be read.
        """

    # ----- Booleans by BSP trees: fragments of faces, T-junctions left in --------------------------

    def boolean(self, op: str, other: PySolid) -> PySolid:
        """The union, difference or intersection of this solid and `other`, by BSP-tree clipping.

        Args:
            op: "union", "cut" (this solid minus `other`) or "intersect", exactly so.
            other: the second operand; it may be this very solid.

        Returns:
            A new solid whose polygons are fragments of the operands' faces, each keeping the
            label of the face it comes from (faces of `other` kept by "cut" are turned to face
            into the removed part). Fragments are not merged: see merged(), or union(), cut()
            and intersect() for results with whole faces.

        Raises:
            TypeError: `op` is not a str or `other` is not a PySolid.
            InternalFailure: "unknown op" for any other operation name.
        """

    # ----- Chamfer ---------------------------------------------------------------------------------

    def chamfer(self, dist: str) -> PySolid:
        """The solid with every convex edge bevelled and every corner where bevels meet cut.

        Each bevel is set back dist·|D| from its edge in both faces, D being the edge's direction
        as the shortest integer vector; concave edges stay sharp. Faces whose unit normal is
        irrational are set back with an approximate unit normal (relative error below 2^-60).

        Args:
            dist: the distance, a number text; '0' returns the solid as it is.

        Returns:
            A new solid; the bevels and corner facets carry labels of their own. A solid that is
            not convex, or has a face whose unit normal is irrational, comes back in merged form.

        Raises:
            TypeError: `dist` is not a str.
            ValueError: the distance is negative, or so large that bevels reach past a face, eat
                a face or cross each other, or a vertex where a convex edge ends cannot be resolved
                (the message names the vertex and the reason).
            InternalFailure: `dist` cannot be read, or the solid has no polygons.
        """

    def chamfer_edges(self, edges: Sequence[_EdgeName] | None, dist: str, dist2: str | None = None) -> PySolid:
        """The solid's merged form with the chosen edges chamfered by a true distance.

        Each bevel meets its edge's first face (faces[0] of its Edge record) dist from the edge and
        its second face dist2 from it, measured in the face perpendicular to the edge: exactly
        where that direction has a rational length, otherwise within a relative 2^-62. A convex
        edge is bevelled (material taken away); a concave edge is filled (material added, a
        bevel facing the other way). Where a chosen edge ends beside unchosen ones, its bevel
        stops in the plane of the face there that does not hold it; chosen bevels meet in a mitre
        (over an inward corner, in the plane through the concave edge and the point where both
        bevels meet the cap), and where three chosen edges meet at a convex (or, filled, a
        concave) corner, the corner is cut to a triangular facet as by chamfer(). Unlike chamfer(),
        a bevel ending at the foot of a post stops at the face the post stands on.

        Args:
            edges: the edges to chamfer, each its index in edges() or its record (an Edge, or
                any sequence whose first two items are its end points, in either order); None
                chooses every convex edge.
            dist: the distance in each chosen edge's first face, a number text.
            dist2: the distance in its second face; None for dist. Both '0' return the merged
                form as it is.

        Returns:
            A new solid in merged form. Bevels are labelled 'bevel(A,B)' and fills 'fill(A,B)'
            after the labels A and B of their edge's faces (in the record's order); corner facets
            'corner(A,B,C)' after the labels of the faces around their vertex, in byte order.

        Raises:
            TypeError: `edges` is not a sequence of indexes and records or None, an end point
                has other than three texts, or a distance is not a str.
            OverflowError: an index is beyond a 64-bit integer.
            ValueError: in this order: a negative distance; one distance zero and the other not;
                a solid whose edges are not those of a closed surface (as edges()); an index
                out of range or end points that no edge has; a vertex it cannot resolve
                ("chamfer_edges: cannot resolve the vertex at (x, y, z): <reason>", the least
                one by point), such as chosen convex and concave edges meeting; distances so large
                that bevels reach past a face, eat a face or cross each other.
            InternalFailure: a number text cannot be read.
        """

    # ----- Edges -----------------------------------------------------------------------------------

    def edges(self) -> list[Edge]:
        """The edges of the solid's merged form, each whole, in order of (start, end).

        A face is a region of one plane facing one way (merged() may split a face with holes into a
        few polygons: they stay one face); an edge is a straight stretch where two faces meet, taken
        whole from end to end, through points where other edges merely touch it. Each face is named
        by the label merged() gives its polygon beside the edge's start. On a closed solid every
        edge is convex or concave: faces in one plane that meet are one face.

        Returns:
            A list of Edge records (start, end, faces, kind), sorted by start, then end, comparing
            points by x, then y, then z; [] for a solid without polygons.

        Raises:
            ValueError: the solid is open ("edges: at (x, y, z): the solid is open along an edge
                there"), more than two faces meet along one of its edges (two parts touching
                along it), or its faces meet inconsistently oriented or back to back; the message
                names the least such point.
            InternalFailure: an internal check of the merge failed.
        """

    # ----- Measures --------------------------------------------------------------------------------

    def volume(self) -> float:
        """The signed volume: negative for a solid whose faces point inward.

        Returns:
            The nearest float to the exact volume (0.0 for a solid without polygons).
        """

    def volume6_str(self) -> str:
        """Six times the signed volume, exact.

        Returns:
            A reduced fraction text, '6/1' for a unit box, '0/1' for a solid without polygons.
        """

    def canonical(self) -> str:
        """A text that identifies the solid's polygons regardless of order, start and labels.

        Returns:
            The sorted vertex sets of the distinct polygons: each vertex as 'x,y,z' exact texts,
            a polygon's vertices sorted and joined by '|', the polygons sorted and joined by ';'.
            Two solids with the same polygons give the same text; '' for a solid without polygons.
        """

    def watertight_ok(self) -> bool:
        """Whether the surface is closed: every stretch of every edge is matched by edges running
        the other way along the same line (T-junctions included).

        Returns:
            True for a closed surface and for a solid without polygons, False otherwise.
        """

    def logical_faces(self) -> int:
        """The number of distinct planes among the polygons, whatever their orientation.

        Returns:
            6 for a box, however its faces are split.
        """

    def bbox(self) -> list[float]:
        """The axis-aligned bounding box.

        Returns:
            [min x, min y, min z, max x, max y, max z], each the nearest float to the exact value
            (infinite beyond the float range).

        Raises:
            InternalFailure: the solid has no polygons.
        """

    def bbox_exact(self) -> list[str]:
        """The axis-aligned bounding box, exact.

        Returns:
            [min x, min y, min z, max x, max y, max z] as reduced fraction texts.

        Raises:
            InternalFailure: the solid has no polygons, as for bbox().
        """

    # ----- Faces and meshes ------------------------------------------------------------------------

    def polygons(self) -> list[tuple[str, list[list[str]]]]:
        """The solid's faces, in the solid's order.

        Returns:
            One (label, loop) tuple per polygon: the face label ('b.bottom') and the vertices in
            order, each [x, y, z] as exact texts. On a solid with outward faces each loop runs
            counter-clockwise seen from outside.
        """

    def merged(self) -> PySolid:
        """The same point set bounded by whole faces.

        Coplanar polygons add up with their orientations (fragments join, opposite copies cancel),
        each connected region becomes one polygon (a region with holes a few), T-junctions are
        closed and straight-through vertices dropped. The result depends only on the point set:
        polygons start at their least vertex and are sorted, and merging again changes nothing.
        A region that polygons of one plane cover w times the same way (a soup holding a box twice)
        comes out as |w| stacked polygons, those of the regions wound at least 1, 2, ... times.

        Returns:
            A new solid with the same exact volume; each polygon takes the label covering the
            largest part of its area.

        Raises:
            InternalFailure: an internal check of the merge failed.
        """

    def to_mesh(self) -> tuple[list[list[str]], list[tuple[int, int, int]]]:
        """The merged faces as an indexed triangle mesh, exact.

        Returns:
            (points, triangles): the distinct vertices as [x, y, z] exact texts in order of first
            appearance, and (i, j, k) index triples counter-clockwise seen from outside, using each
            face's own vertices only. A closed solid gives a closed mesh; an empty one ([], []).

        Raises:
            InternalFailure: an internal check of the merge or the triangulation failed.
        """

    def to_mesh_floats(self) -> tuple[list[list[float]], list[tuple[int, int, int]]]:
        """The mesh of to_mesh() with the points as [x, y, z] floats (for numpy or trimesh).

        Returns:
            (points, triangles) as for to_mesh(), each coordinate the nearest float.

        Raises:
            InternalFailure: an internal check of the merge or the triangulation failed.
        """

    # ----- Booleans on whole faces -----------------------------------------------------------------

    def union(self, other: PySolid) -> PySolid:
        """The union of this solid and `other`, with merged faces (as merged() gives them).

        Faces are cut only where the other solid's surface meets them, so the cost grows about
        linearly with the operands. An operand with volume 0 counts as empty.

        Args:
            other: the second operand, a closed, consistently oriented solid.

        Returns:
            A new solid; every face keeps the label of the operand face it comes from.

        Raises:
            TypeError: `other` is not a PySolid.
            InternalFailure: an internal check failed.
        """

    def cut(self, other: PySolid) -> PySolid:
        """This solid minus `other`, with merged faces (see union()).

        Args:
            other: the solid to remove, closed and consistently oriented.

        Returns:
            A new solid: this solid's surface outside `other` and `other`'s surface inside this
            one, turned inward; labels as in union().

        Raises:
            TypeError: `other` is not a PySolid.
            InternalFailure: an internal check failed.
        """

    def intersect(self, other: PySolid) -> PySolid:
        """The intersection of this solid and `other`, with merged faces (see union()).

        Args:
            other: the second operand, closed and consistently oriented.

        Returns:
            A new solid, labels as in union().

        Raises:
            TypeError: `other` is not a PySolid.
            InternalFailure: an internal check failed.
        """

    # ----- A solid as a Python value: pickling, copying, repr --------------------------------------

    def __reduce__(self) -> tuple[Callable[[str], PySolid], tuple[str]]:
        """How pickle stores the solid: every polygon exactly as it is (labels, order, coordinates,
        planes), rebuilt by _solid_from_state.

        Returns:
            (_solid_from_state, (state text,)).
        """

    def __copy__(self) -> PySolid:
        """The solid itself: solids never change.

        Returns:
            This very object.
        """

    def __deepcopy__(self, memo: dict[int, Any], /) -> PySolid:
        """The solid itself: solids never change.

        Args:
            memo: copy.deepcopy's table of copied objects (not used).

        Returns:
            This very object.
        """

    def __repr__(self) -> str:
        """The polygon count, the number of logical faces and the bounding box in floats.

        Returns:
            For example '<PySolid: 6 polygons, 6 logical faces, bbox [0.0, 0.0, 0.0, 1.0, 2.0, 3.0]>',
            or '<PySolid: 0 polygons, 0 logical faces, empty>'.
        """

# ----- Solids from numbers -------------------------------------------------------------------------

def make_box(dx: str, dy: str, dz: str, prefix: str) -> PySolid:
    """The box from the origin to (dx, dy, dz).

    Args:
        dx, dy, dz: the extents, number texts. A zero extent drops the faces it collapses; a
            negative one gives a box whose faces point inward (negative volume).
        prefix: the label prefix: the faces are labelled prefix + '.bottom', '.top', '.front',
            '.back', '.right' and '.left', in that order.

    Returns:
        A new solid.

    Raises:
        TypeError: an argument is not a str.
        InternalFailure: a number text cannot be read.
    """

def make_prism(loop_flat: _Texts, h: str, prefix: str) -> PySolid:
    """The straight prism from z = 0 to z = h over a loop in the xy-plane.

    Args:
        loop_flat: the loop's points as a flat list of number texts x0, y0, x1, y1, ...,
            implicitly closed, running either way. It may touch itself at points; stretches that
            run back along themselves bound nothing and give no faces.
        h: the height, a number text.
        prefix: the label prefix: faces prefix + '.bottom', '.top' and '.side<i>', side i
            standing on the loop's edge from point i to point i + 1.

    Returns:
        A new solid with outward faces, the caps triangulated.

    Raises:
        TypeError: an argument is of the wrong kind (a str for `loop_flat` included).
        ValueError: the loop's edges cross ("make_prism: the loop cannot be triangulated: edges
            i and j cross").
        InternalFailure: a number text cannot be read, or `loop_flat` has an odd length.
    """

def make_prismatoid(bottom: _Texts, z0: str, top: _Texts, z1: str, prefix: str) -> PySolid:
    """The solid joining a bottom loop at height z0 to a top loop at height z1, point by point.

    Args:
        bottom: the bottom loop as a flat list of number texts x0, y0, x1, y1, ...
        z0: the bottom's height, a number text.
        top: the top loop in the same form, point i above bottom point i (extra points enter only
            the top cap).
        z1: the top's height, a number text.
        prefix: the label prefix: faces prefix + '.bottom', '.top' and '.side<i>'.

    Returns:
        A new solid: the caps triangulated, each side split into two triangles.

    Raises:
        TypeError: an argument is of the wrong kind.
        ValueError: a loop's edges cross.
        InternalFailure: a number text cannot be read, a list has an odd length, or `top` has
            fewer points than `bottom`.
    """

def box_boolean(
    dx: str, dy: str, dz: str, ex: str, ey: str, ez: str, tx: str, ty: str, tz: str, op: str
) -> tuple[str, str]:
    """A boolean of two boxes, measured: box A from the origin to (dx, dy, dz) and box B from the
    origin to (ex, ey, ez) moved by (tx, ty, tz), combined by boolean().

    Args:
        dx, dy, dz: box A's extents, number texts (labels 'A.bottom', ...).
        ex, ey, ez: box B's extents, number texts (labels 'B.bottom', ...).
        tx, ty, tz: the move of box B, number texts.
        op: "union", "cut" (A minus B) or "intersect".

    Returns:
        (six-fold volume, canonical text) of the result, as volume6_str() and canonical() give.

    Raises:
        TypeError: an argument is not a str.
        InternalFailure: a number text cannot be read, or "unknown op" for another `op`.
    """

def box_form(dx: str, dy: str, dz: str) -> tuple[str, str]:
    """The measures of the box from the origin to (dx, dy, dz), without making a solid.

    Args:
        dx, dy, dz: the extents, number texts.

    Returns:
        (six-fold volume, canonical text) of the box, as volume6_str() and canonical() give.

    Raises:
        TypeError: an argument is not a str.
        InternalFailure: a number text cannot be read.
    """

# ----- NURBS evaluation ----------------------------------------------------------------------------

def nurbs_curve_eval(
    degree: SupportsIndex, cps: _Points, knots: _Texts, t: str, weights: _Texts | None = None
) -> list[str]:
    """The point of a NURBS curve at parameter t, exact.

    Args:
        degree: the degree, an integer >= 0.
        cps: the control points, each [x, y, z] as number texts.
        knots: the knot vector, number texts.
        t: the parameter, a number text (values outside the knots extend the end spans).
        weights: one weight per control point, number texts; None for all 1. Control points
            beyond the last weight are left out.

    Returns:
        [x, y, z] of the point as exact texts.

    Raises:
        TypeError: an argument is of the wrong kind.
        OverflowError: `degree` is negative or does not fit in 64 bits.
        InternalFailure: a number text cannot be read; no control points, too few knots, fewer
            control points than degree + 1, a control point shorter than the first; or the
            weight of the point is zero (division by zero).
    """

def nurbs_surface_eval(
    pu: SupportsIndex,
    pv: SupportsIndex,
    net: _Net,
    ku: _Texts,
    kv: _Texts,
    u: str,
    v: str,
    weights: _Points | None = None,
) -> list[str]:
    """The point of a tensor-product NURBS surface at (u, v), exact.

    Args:
        pu, pv: the degrees along u and v, integers >= 0.
        net: the control net: net[i][j] is the control point [x, y, z] (number texts) with
            u-index i and v-index j.
        ku, kv: the knot vectors along u and v, number texts.
        u, v: the parameters, number texts.
        weights: weights[i][j] is the weight of net[i][j], number texts; None for all 1.

    Returns:
        [x, y, z] of the point as exact texts.

    Raises:
        TypeError: an argument is of the wrong kind.
        OverflowError: `pu` or `pv` is negative or does not fit in 64 bits.
        InternalFailure: a number text cannot be read; the net or a row is empty or too short
            for its degree and knots; a weight is missing; or the weight of the point is zero.
    """

# ----- Surface-intersection candidates -------------------------------------------------------------

def ssi_pairs(
    net_a: _Net, net_b: _Net, depth: SupportsIndex, a_box: _Texts | None = None, b_box: _Texts | None = None
) -> list[list[str]]:
    """Subdivision detection: returns surviving leaf-pair parameter boxes
    (au0,au1,av0,av1,bu0,bu1,bv0,bv1) as exact rational strings. Empty
    result = certified non-intersection. Clustering/refinement stay in
    Python (they are not the hot loop).

    The pairs of parameter boxes of two rational Bézier patches that may still intersect after
    `depth` levels of subdivision into quarters. A pair survives a level while the bounding boxes of its two pieces' control points meet
    (touching counts). An empty result certifies that the patches do not intersect.

    Args:
        net_a, net_b: the control nets, rows of points along u; each point [x, y, z] (weight 1)
            or homogeneous [x·w, y·w, z·w, w], number texts.
        depth: the number of subdivision levels, an integer >= 0; 0 returns the input boxes
            without looking at the nets.
        a_box, b_box: the parameter box [u0, u1, v0, v1] of each patch as number texts (entries
            after the fourth are ignored); None for [0, 1, 0, 1]. Boxes only label the pieces.

    Returns:
        One list per surviving pair: [au0, au1, av0, av1, bu0, bu1, bv0, bv1] as exact texts.

    Raises:
        TypeError: an argument is of the wrong kind.
        OverflowError: `depth` is negative or does not fit in 64 bits.
        ValueError: a net has weights of both signs (no certificate is possible).
        InternalFailure: a number text cannot be read, a box has fewer than four entries, or
            (with depth >= 1) a net is empty or ragged, or has a zero weight or a short point.
    """

# ----- Booleans of many solids ---------------------------------------------------------------------

def union_all(solids: Iterable[PySolid]) -> PySolid:
    """The union of any number of solids, whatever their order, with merged faces.

    Every solid is cut by all the others in one pass and the result merged once, so combining
    many solids (holes, fasteners) this way and then cutting once is much faster than a chain of
    booleans.

    Args:
        solids: closed, consistently oriented solids, in any iterable (read once).

    Returns:
        A new solid (without polygons for no solids); labels as in PySolid.union().

    Raises:
        TypeError: `solids` is not iterable or yields something other than a PySolid.
        InternalFailure: an internal check failed.
    """

# ----- Solids from faces and from pickles ----------------------------------------------------------

def solid_from_polygons(polygons: Sequence[_Face]) -> PySolid:
    """The solid with the given polygons, in their order: the inverse of PySolid.polygons().

    Loops of zero area are dropped; the result need not be closed (watertight_ok() tells). Each
    polygon gets the plane through its first three points, or, where those are collinear or turn
    against the loop, the plane of its whole loop, facing the side from which it runs
    counter-clockwise.

    Args:
        polygons: (label, loop) pairs: the face label and the loop's points, each [x, y, z] as
            number texts.

    Returns:
        A new solid that behaves as the solid the polygons were read from.

    Raises:
        TypeError: an argument is of the wrong kind (a pair that is not two items included).
        ValueError: a loop has fewer than three points, its points do not lie in one plane exactly,
            or a point has other than three coordinates (the message names the polygon's index).
        InternalFailure: a number text cannot be read.
    """

def _solid_from_state(state: str) -> PySolid:
    """Rebuilds a pickled solid from the text that PySolid.__reduce__ wrote; pickle calls it, nothing
    else should.

    Args:
        state: the state text.

    Returns:
        A new solid with exactly the pickled polygons and planes.

    Raises:
        TypeError: `state` is not a str.
        ValueError: the text is not one this version can have written ("solid state: ..." says what
            is wrong): a wrong tag, count or label length, a number not written as a reduced
            fraction n/d, a polygon of fewer than three vertices, or a plane that does not hold its
            polygon's vertices or faces against the way its loop runs.
    """
