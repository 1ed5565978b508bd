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


def chamfered_box():
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


def main():
    boxes_and_measures()
    chamfered_box()


if __name__ == "__main__":
    main()
