"""A short tour of brevant_rs: exact solids, booleans, chamfers, NURBS and surface pairs."""

import brevant_rs as br


def section(title):
    print()
    print(f"== {title} ==")


def boxes_and_measures():
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


def nurbs_evaluation():
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


def surface_pairs():
    section("Surface-intersection pairs")
    square = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
    crossing = [[["1/4", "0", "-1"], ["1/4", "0", "1"]], [["1/4", "1", "-1"], ["1/4", "1", "1"]]]
    above = [[["0", "0", "1"], ["0", "1", "1"]], [["1", "0", "1"], ["1", "1", "1"]]]
    for name, other in (("crossing plane x = 1/4", crossing), ("parallel square at z = 1", above)):
        counts = [len(br.ssi_pairs(square, other, depth)) for depth in range(4)]
        print(f"unit square vs {name}: surviving pairs at depths 0..3:", counts)
    print("first pair at depth 2:", br.ssi_pairs(square, crossing, 2)[0])


def main():
    boxes_and_measures()
    nurbs_evaluation()
    surface_pairs()


if __name__ == "__main__":
    main()
