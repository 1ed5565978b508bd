"""Benchmark of merged() and to_mesh(): time against the number of polygons merged.

Rows: merging the union of two n-step staircase prisms (the BSP union's fragments), for four n, with
the growth exponent of the time against the input polygon count; to_mesh() of plates with k x k
rectangular holes; merging one face with 8,000 holes in a row and the same holes in an 80 x 100 grid,
timed in turns, with the ratio of the two. Times are medians of repeated runs (bench.measure). The
last column hashes the exact result, so that a change can show that it left every result as it was.

usage: python bench/merge_bench.py
"""

import hashlib
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from bench import growth, measure  # noqa: E402
from shapes import holed_face, plate_with_holes, staircase_operands  # noqa: E402


def digest(result):
    return hashlib.sha256(repr(result).encode()).hexdigest()[:12]


def in_turns(runs, repetitions=5):
    """The median time of each run, the runs taking turns so that they share the machine's state."""
    times = [[] for _ in runs]
    for _ in range(repetitions):
        for run, spent in zip(runs, times):
            start = time.perf_counter()
            run()
            spent.append(time.perf_counter() - start)
    return [statistics.median(spent) for spent in times]


def row(name, size_in, size_out, seconds, result):
    print(f"{name:<28} {size_in:>11} {size_out:>6} {seconds * 1e3:>9.2f} {seconds * 1e6 / size_in:>10.2f}  {digest(result)}",
          flush=True)


def main():
    print(f"{'workload':<28} {'polygons in':>11} {'out':>6} {'ms':>9} {'us/polygon':>10}  result sha256")
    print("-" * 82)
    timings = []
    for n in (64, 128, 256, 512):
        a, b = staircase_operands(n)
        union = a.boolean("union", b)
        seconds, merged = measure(union.merged)
        size = len(union.polygons())
        timings.append((size, seconds))
        row(f"merge staircase union {n}", size, len(merged.polygons()), seconds, merged.polygons())
    print(f"{'growth exponent (merge)':<28} {growth(timings):>11.2f}")
    for k in (5, 10):
        solid = plate_with_holes(k)
        seconds, mesh = measure(solid.to_mesh)
        row(f"to_mesh plate {k}x{k} holes", len(solid.polygons()), len(mesh[1]), seconds, mesh)
    faces = {"in a row": holed_face(8000, 1), "in a grid": holed_face(80, 100)}
    times = in_turns([face.merged for face in faces.values()])
    for (name, face), seconds in zip(faces.items(), times):
        merged = face.merged()
        row(f"merge 8000 holes {name}", len(face.polygons()), len(merged.polygons()), seconds, merged.polygons())
    print(f"{'row / grid':<28} {times[0] / times[1]:>11.2f}")
    print()
    print("out: polygons of the merged solid (merge rows), triangles of the mesh (to_mesh rows).")


if __name__ == "__main__":
    main()
