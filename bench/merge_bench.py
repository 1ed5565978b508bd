"""Benchmark of merged() and to_mesh(): time against the number of polygons merged.

Rows: merging the union of two n-step staircase prisms (the BSP union's fragments), for four n, with
the growth exponent of the time against the input polygon count; to_mesh() of plates with k x k
rectangular holes. Times are medians of repeated runs (bench.measure).

usage: python bench/merge_bench.py
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from bench import growth, measure  # noqa: E402
from shapes import plate_with_holes, staircase_operands  # noqa: E402


def main():
    print(f"{'workload':<28} {'polygons in':>11} {'out':>6} {'ms':>9} {'us/polygon':>10}")
    print("-" * 68)
    timings = []
    for n in (64, 128, 256, 512):
        a, b = staircase_operands(n)
        union = a.boolean("union", b)
        seconds, merged = measure(union.merged)
        size = len(union.polygons())
        timings.append((size, seconds))
        print(f"{'merge staircase union ' + str(n):<28} {size:>11} {len(merged.polygons()):>6} "
              f"{seconds * 1e3:>9.2f} {seconds * 1e6 / size:>10.2f}", flush=True)
    print(f"{'growth exponent (merge)':<28} {growth(timings):>11.2f}")
    for k in (5, 10):
        solid = plate_with_holes(k)
        seconds, (points, triangles) = measure(solid.to_mesh)
        print(f"{f'to_mesh plate {k}x{k} holes':<28} {len(solid.polygons()):>11} {len(triangles):>6} "
              f"{seconds * 1e3:>9.2f} {seconds * 1e6 / len(solid.polygons()):>10.2f}", flush=True)
    print()
    print("out: polygons of the merged solid (merge rows), triangles of the mesh (to_mesh rows).")


if __name__ == "__main__":
    main()
