"""Benchmark of transforms on merged solids: the union of two n-step staircase prisms (about 6n faces)
moved by translate, turned by rotate_quarter, by rotate (30 degrees about a slanted axis, at a
tolerance of 10^-6 and of 10^-12 radians) and mapped by a general transform, each timed in the same
run with translate as the scale. The rotation's own search for its quaternion is timed alone (on a
tetrahedron) at tolerances down to 10^-100.

usage: python bench/transform_bench.py [--quick]   (--quick stops at n = 256)
"""

import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from bench import measure  # noqa: E402

AXIS = [["1/2", "1/3", "0"], ["1", "2", "2"]]
MATRIX = [["2", "1", "0", "1/2"], ["0", "1", "-1", "0"], ["1", "0", "3", "-7"]]


def ms(seconds):
    return f"{seconds * 1000:.2f}"


def main():
    import brevant_rs as br
    from shapes import staircase_operands

    quick = "--quick" in sys.argv
    calls = {
        "translate": lambda s: s.translate("1/3", "-2", "5"),
        "rotate_quarter": lambda s: s.rotate_quarter(2, 1),
        "rotate 1e-6": lambda s: s.rotate(AXIS, "30", "1/1000000"),
        "rotate 1e-12": lambda s: s.rotate(AXIS, "30", "1/1000000000000"),
        "transform": lambda s: s.transform(MATRIX),
    }
    print(f"{'staircase union n':<18} {'polygons':>8} " + " ".join(f"{name + ' ms':>16}" for name in calls)
          + f" {'rotate/translate':>17}")
    print("-" * 124)
    for n in (16, 64, 256) + (() if quick else (1024,)):
        a, b = staircase_operands(n)
        solid = a.union(b)
        times = {name: measure(lambda call=call: call(solid))[0] for name, call in calls.items()}
        print(f"{n:<18} {len(solid.polygons()):>8} " + " ".join(f"{ms(t):>16}" for t in times.values())
              + f" {times['rotate 1e-6'] / times['translate']:>17.1f}", flush=True)
    print()
    tetrahedron = br.make_prismatoid(["0", "0", "1", "0", "0", "1"], "0", ["0", "0", "0", "0", "0", "0"], "1", "t")
    for digits in (6, 12, 30, 100):
        seconds, _ = measure(lambda d=digits: tetrahedron.rotate(AXIS, "30", "1/" + "1" + "0" * d))
        print(f"rotate of a tetrahedron, tolerance 1e-{digits}: {ms(seconds)} ms")
    print()
    print("rotate/translate: the time of rotate at 1e-6 over the time of translate on the same solid.")


if __name__ == "__main__":
    main()
