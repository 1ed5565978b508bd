"""A short tour of brevant_rs: exact solids, booleans, chamfers, NURBS and surface pairs."""

from pathlib import Path

import brevant_rs as br
from export_mesh import plate_with_holes, write_obj, write_stl
from svg_view import write_svg

OUT = Path(__file__).resolve().parent.parent / "out"


def section(title: str) -> None:
    print()
    print(f"== {title} ==")


def boxes_and_measures() -> None:
    section("Boxes and measures")
    box = br.make_box("1", "2", "3", "b")
    print("make_box('1', '2', '3', 'b')")
    print("  six-fold volume:", box.volume6_str(), " volume:", box.volume())
    print("  logical faces:", box.logical_faces(), " bbox:", box.bbox())
    six_fold, _canonical = br.box_form("1/2", "2/3", "3/4")
    print("box_form('1/2', '2/3', '3/4') six-fold volume:", six_fold)
    try:
        br.make_box("1", "2", "1.5", "b")
    except br.InternalFailure as failure:
        print("a number text must be an integer or a fraction:", failure)


def transforms_and_prisms() -> None:
    section("Transforms and prisms")
    box = br.make_box("1", "1", "1", "p")
    print("unit box translated by (1/3, 0, 0), x of its corners:",
          sorted({v[0] for _, loop in box.translate("1/3", "0", "0").polygons() for v in loop}))
    print("scaled by (2, 3, 4): six-fold volume", box.scale("2", "3", "4").volume6_str())
    print("scale('-1', '1', '1') is mirror(0):", box.scale("-1", "1", "1").canonical() == box.mirror(0).canonical())
    corner = box.polygons()[0][1].index(["1/1", "0/1", "0/1"])
    print("rotate_quarter(2, 1) turns the corner (1, 0, 0) to", box.rotate_quarter(2, 1).polygons()[0][1][corner])
    turned = box.rotate([["1/2", "1/2", "0"], ["0", "0", "1"]], "30", "1/1000000")  # degrees; tolerance in radians
    print("rotate by 30 degrees about the vertical through (1/2, 1/2): six-fold volume", turned.volume6_str(),
          " exact bbox:", turned.bbox_exact())
    stairs = ["0", "0", "4", "0", "4", "1", "3", "1", "3", "2", "2", "2", "2", "3", "1", "3", "1", "4", "0", "4"]
    prism = br.make_prism(stairs, "3/2", "stairs")
    print("staircase prism of height 3/2: six-fold volume", prism.volume6_str(), "(6 · 3/2 · area 10)")
    label, loop = prism.polygons()[0]
    print(f"  {len(prism.polygons())} faces, the first {label} {loop}")
    try:
        br.make_prism(["0", "0", "2", "2", "2", "0", "0", "2"], "1", "bow")
    except ValueError as refusal:
        print("a bow-tie loop is refused:", refusal)
    OUT.mkdir(exist_ok=True)
    picture = write_svg(prism.rotate_quarter(2, -1), OUT / "staircase_prism.svg")
    print("picture of the staircase prism, turned a quarter clockwise about z:", picture)


def booleans() -> None:
    section("Union, cut and intersect")
    a = br.make_box("2", "2", "2", "A")
    b = br.make_box("1", "3", "1/2", "B")
    print("a = make_box('2', '2', '2', 'A'), b = make_box('1', '3', '1/2', 'B')")
    for op in ("union", "cut", "intersect"):
        result = a.boolean(op, b)
        print(f"  a.boolean({op!r}, b): six-fold volume {result.volume6_str()}, volume {result.volume()},"
              f" logical faces {result.logical_faces()}")
    six_fold, _canonical = br.box_boolean("2", "2", "2", "2", "2", "2", "1", "1", "1", "cut")
    print("box_boolean of two 2x2x2 boxes, the second moved by (1, 1, 1), 'cut': six-fold volume", six_fold)
    notch = br.make_box("2", "2", "2", "B").translate("1", "1", "1")
    picture = write_svg(a.boolean("cut", notch), OUT / "box_cut.svg")
    print("picture of the 2x2x2 box with a corner cut away:", picture)
    try:
        a.boolean("Union", b)
    except br.InternalFailure as failure:
        print("operation names are exact:", failure)


def chamfered_box() -> None:
    section("Chamfer")
    box = br.make_box("2", "1", "1", "c")
    bevelled = box.chamfer("1/10")
    print("make_box('2', '1', '1', 'c').chamfer('1/10')")
    print("  six-fold volume:", bevelled.volume6_str(), "(the box:", box.volume6_str() + ")")
    print("  faces:", bevelled.logical_faces(), " watertight:", bevelled.watertight_ok())
    try:
        box.chamfer("1/2")
    except ValueError as refusal:
        print("a distance of half the box is refused:", refusal)
    OUT.mkdir(exist_ok=True)
    print("picture of the chamfered box:", write_svg(bevelled, OUT / "chamfered_box.svg"))


def chosen_edges() -> None:
    section("Edges and chamfers of chosen edges")
    plate = plate_with_holes()
    edges = plate.edges()
    kinds = {kind: sum(e.kind == kind for e in edges) for kind in ("convex", "concave")}
    print(f"the plate with two holes has {len(edges)} edges: {kinds}; the first:")
    print(" ", edges[0])
    # The holes' rims on the top face: convex edges in the plane z = 1/2 with a hole's wall as a face.
    rim = [e for e in edges if e.kind == "convex" and e.start[2] == e.end[2] == "1/2"
           and any(face.startswith("hole") for face in e.faces)]
    bevelled = plate.chamfer_edges(rim, "1/10")
    print(f"chamfer_edges of the {len(rim)} top rim edges by 1/10: six-fold volume {bevelled.volume6_str()}"
          f" (the plate: {plate.volume6_str()})")
    print("  bevels named after their faces:", sorted({label for label, _ in bevelled.polygons() if "(" in label})[:2])
    everything = plate.chamfer_edges(None, "1/20", "1/10")
    print("every convex edge, 1/20 in each edge's first face and 1/10 in its second: six-fold volume",
          everything.volume6_str())
    bracket = br.make_prism(["0", "0", "4", "0", "4", "1", "1", "1", "1", "3", "0", "3"], "2", "L")
    inner = [i for i, e in enumerate(bracket.edges()) if e.kind == "concave"]
    filled = bracket.chamfer_edges(inner, "1/5")
    print("the L bracket's inner edge filled by 1/5: six-fold volume", filled.volume6_str(),
          "(the bracket:", bracket.volume6_str() + ", plus 6 · 2 · (1/5)²/2)")
    OUT.mkdir(exist_ok=True)
    print("picture of the plate with its hole rims chamfered:", write_svg(bevelled, OUT / "chosen_edges.svg"))


def clean_boundaries() -> None:
    section("Merged faces and meshes")
    plate = plate_with_holes()
    merged = plate.merged()
    print("a plate with two holes cut out: polygons of the boolean result", len(plate.polygons()),
          "-> merged faces", len(merged.polygons()))
    print("  same six-fold volume:", merged.volume6_str() == plate.volume6_str(), " watertight:", merged.watertight_ok())
    halves = br.make_box("3", "3", "1", "h").boolean("union", br.make_box("3", "3", "1", "h").translate("3", "0", "0"))
    whole = br.make_box("6", "3", "1", "h")
    print("the union of two halves and the whole box: same canonical text once merged:",
          halves.merged().canonical() == whole.merged().canonical())
    points, triangles = plate.to_mesh()
    print(f"  mesh: {len(points)} points, {len(triangles)} triangles, first {triangles[0]} at {points[triangles[0][0]]}")
    OUT.mkdir(exist_ok=True)
    print("  written:", write_stl(plate, OUT / "plate.stl"), write_obj(plate, OUT / "plate.obj"))


def nurbs_evaluation() -> None:
    section("NURBS evaluation")
    quarter = [["1", "0", "0"], ["1", "1", "0"], ["0", "1", "0"]]
    knots = ["0", "0", "0", "1", "1", "1"]
    # Middle weight squared = half the product of the end weights: a quarter of the unit circle.
    for t in ["0", "1/3", "1/2", "1"]:
        x, y, z = br.nurbs_curve_eval(2, quarter, knots, t, ["1", "1", "2"])
        print(f"quarter circle at t={t}: ({x}, {y}, {z})")
    net = [[["0", "0", "0"], ["0", "2", "0"]], [["2", "0", "0"], ["2", "2", "4"]]]
    linear = ["0", "0", "1", "1"]
    print("bilinear surface at (1/2, 1/2):", br.nurbs_surface_eval(1, 1, net, linear, linear, "1/2", "1/2"))
    print(
        "  with the far corner weighted 3:",
        br.nurbs_surface_eval(1, 1, net, linear, linear, "1/2", "1/2", [["1", "1"], ["1", "3"]]),
    )


def surface_pairs() -> None:
    section("Surface-intersection pairs")
    square = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
    crossing = [[["1/4", "0", "-1"], ["1/4", "0", "1"]], [["1/4", "1", "-1"], ["1/4", "1", "1"]]]
    above = [[["0", "0", "1"], ["0", "1", "1"]], [["1", "0", "1"], ["1", "1", "1"]]]
    for name, other in (("crossing plane x = 1/4", crossing), ("parallel square at z = 1", above)):
        counts = [len(br.ssi_pairs(square, other, depth)) for depth in range(4)]
        print(f"unit square vs {name}: surviving pairs at depths 0..3:", counts)
    print("first pair at depth 2:", br.ssi_pairs(square, crossing, 2)[0])


def main() -> None:
    boxes_and_measures()
    transforms_and_prisms()
    booleans()
    chamfered_box()
    chosen_edges()
    clean_boundaries()
    nurbs_evaluation()
    surface_pairs()


if __name__ == "__main__":
    main()
