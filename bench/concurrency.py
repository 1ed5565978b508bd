"""Benchmark of solids across threads and processes: chamfers on a pool of 1, 2 and nproc threads
(the module runs its exact work without the interpreter lock, so threads run at once), and the
pickle round trip that carries a solid to another process.

Prints the machine's core count and load average before and after (other work on the machine
lowers the speedup), then one row per pool size: the median time of one round of 8 chamfers of
the fragmented slab, the throughput, the speedup over one thread and the cores the process kept
busy; every round's results are checked against a serial run. Then the pickle round trip of a 1,000-polygon solid.

usage: .venv/bin/python bench/concurrency.py   (after scripts/setup.sh)
"""

import os
import pickle
import statistics
import time
from concurrent.futures import ThreadPoolExecutor

import brevant_rs as br
from bench import fragmented_slab, sequential_cuts, slab_cuts

CHAMFERS = 8
ROUNDS = 15  # rounds of 8 chamfers per pool size; the median is shown
PICKLE_POLYGONS = 1000
PICKLE_REPS = 200


def load():
    return " ".join(f"{x:.2f}" for x in os.getloadavg())


def chamfer_rounds(slab, threads, expected):
    """The median seconds of one round of CHAMFERS chamfers on a pool of `threads` threads, and the
    cores the process kept busy meanwhile (its CPU time over the wall time of all rounds): below
    `threads` when other work on the machine takes the cores."""
    times, cpu = [], 0.0
    with ThreadPoolExecutor(threads) as pool:
        list(pool.map(lambda _: slab.chamfer("1/10"), range(threads)))  # start every thread first
        for _ in range(ROUNDS):
            start, start_cpu = time.perf_counter(), time.process_time()
            results = list(pool.map(lambda _: slab.chamfer("1/10"), range(CHAMFERS)))
            times.append(time.perf_counter() - start)
            cpu += time.process_time() - start_cpu
            if any(r.polygons() != expected for r in results):
                raise SystemExit(f"a chamfer on {threads} threads differs from the serial result")
    return statistics.median(times), cpu / sum(times)


def pickle_times(solid):
    dumps, loads = [], []
    for _ in range(PICKLE_REPS):
        start = time.perf_counter()
        data = pickle.dumps(solid, pickle.HIGHEST_PROTOCOL)
        middle = time.perf_counter()
        again = pickle.loads(data)
        dumps.append(middle - start)
        loads.append(time.perf_counter() - middle)
    if again.polygons() != solid.polygons():
        raise SystemExit("the unpickled solid differs")
    return statistics.median(dumps), statistics.median(loads), len(data)


def main():
    cores = os.cpu_count()
    print(f"nproc {cores}; load average before: {load()}")
    slab = fragmented_slab()
    expected = slab.chamfer("1/10").polygons()
    print(f"\n{CHAMFERS} chamfers of the fragmented 4 x 4 x 1 slab ({len(slab.polygons())} polygons) per round, "
          f"median of {ROUNDS} rounds")
    header = f"{'threads':>7} {'ms per round':>13} {'chamfers/s':>11} {'speedup':>8} {'cores used':>11}"
    print(header)
    print("-" * len(header))
    one = None
    for threads in sorted({1, 2, cores}):
        seconds, busy = chamfer_rounds(slab, threads, expected)
        one = one or seconds
        print(f"{threads:>7} {seconds * 1e3:>13.2f} {CHAMFERS / seconds:>11.1f} {one / seconds:>7.2f}x {busy:>11.2f}",
              flush=True)

    cut = sequential_cuts(slab_cuts(20))
    solid = br.solid_from_polygons(cut.polygons()[:PICKLE_POLYGONS])
    dump_s, load_s, size = pickle_times(solid)
    print(f"\npickle round trip of a {len(solid.polygons())}-polygon solid (faces of a slab cut by 20 boxes), "
          f"median of {PICKLE_REPS}:")
    print(f"  dumps {dump_s * 1e3:.3f} ms + loads {load_s * 1e3:.3f} ms = {(dump_s + load_s) * 1e3:.3f} ms "
          f"({size} bytes)")
    print(f"\nload average after: {load()}")


if __name__ == "__main__":
    main()
