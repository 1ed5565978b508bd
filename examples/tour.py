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


def booleans():
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
    try:
        a.boolean("Union", b)
    except br.InternalFailure as failure:
        print("operation names are exact:", failure)


def main():
    boxes_and_measures()
    booleans()


if __name__ == "__main__":
    main()
