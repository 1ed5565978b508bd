"""Checks an installed brevant_rs as a user gets it from a wheel: it imports, gives a few exact
results, and (where /proc shows what a process has loaded) uses the GMP that the wheel carries, not
one of the system's. Run by tests/packaging/test_wheel.py in a fresh virtual environment and by
cibuildwheel after each build."""

from pathlib import Path

import brevant_rs as br


def gmp_files_loaded():
    """The GMP files mapped into this process, or None where the process map cannot be read."""
    maps = Path("/proc/self/maps")
    if not maps.exists():
        return None
    return sorted({line.split()[-1] for line in maps.read_text().splitlines() if "libgmp" in line})


def main():
    box = br.make_box("1", "2", "3", "b")
    assert box.volume6_str() == "36/1"
    assert box.chamfer("1/10").volume6_str() == "4414/125"
    assert box.union(box.translate("1", "0", "0")).canonical() == br.make_box("2", "2", "3", "c").canonical()
    quarter_circle = br.nurbs_curve_eval(2, [["1", "0", "0"], ["1", "1", "0"], ["0", "1", "0"]],
                                         ["0", "0", "0", "1", "1", "1"], "1/2", ["1", "1", "2"])
    assert quarter_circle == ["3/5", "4/5", "0/1"]
    print("brevant_rs", br.__version__, "from", br.__file__)
    print("exact results: volume6 36/1, chamfered 4414/125, union of halves, circle point (3/5, 4/5, 0)")
    gmp = gmp_files_loaded()
    if gmp is not None:
        beside_module = Path(br.__file__).resolve().parent
        assert gmp and all(Path(f).resolve().is_relative_to(beside_module) for f in gmp), gmp
        print("GMP loaded from:", *gmp)


if __name__ == "__main__":
    main()
