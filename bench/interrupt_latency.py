"""How soon SIGINT from outside ends a long call, for every module function and PySolid method.

Each entry point runs its workload from tests/binding/interrupt_workloads.py (numbers of a million
digits; degree 2,000 for the NURBS functions) and receives SIGINT a little later into the call on
each trial. Prints, per entry point, the median and the largest time from the signal to the end of
the call, and how the calls ended. A call that goes on past the timeout is killed and counted as
'timeout' (its latency is then at least the timeout).

usage: python bench/interrupt_latency.py [--trials N] [--timeout S] [--digits D] [--degree P] [NAME ...]
       (PYTHONPATH may point at another build of the module to compare)
"""

import argparse
import pathlib
import statistics
import sys
import time
from collections import Counter

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "binding"))
import interrupt_workloads  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--trials", type=int, default=5)
    parser.add_argument("--timeout", type=float, default=30.0)
    parser.add_argument("--digits", type=int, default=1_000_000)
    parser.add_argument("--degree", type=int, default=2000)
    parser.add_argument("names", nargs="*")
    options = parser.parse_args()
    names = options.names or sorted(interrupt_workloads.WORKLOADS)

    measured = {name: [] for name in names}
    start = time.monotonic()
    for trial in range(options.trials):
        delay = 0.2 + 0.1 * trial  # a different point of the call each time
        for name, latency in interrupt_workloads.measure_latencies(names, delay, options.timeout, options.digits,
                                                                   options.degree):
            measured[name].append(latency)

    print(f"{options.digits}-digit numbers, degree {options.degree}, {options.trials} signals per entry point, "
          f"timeout {options.timeout:g} s ({time.monotonic() - start:.0f} s in all)")
    print(f"{'entry point':20} {'median ms':>10} {'max ms':>10}  endings")
    for name in names:
        latencies = measured[name]
        seconds = [l.seconds for l in latencies if l.seconds is not None]
        timeouts = sum(l.ending == "timeout" for l in latencies)
        median = f"{1000 * statistics.median(seconds):10.1f}" if seconds and not timeouts else f"{'> ' + str(int(options.timeout * 1000)):>10}"
        largest = f"{1000 * max(seconds):10.1f}" if seconds and not timeouts else f"{'> ' + str(int(options.timeout * 1000)):>10}"
        endings = ", ".join(f"{count} {ending}" for ending, count in sorted(Counter(l.ending for l in latencies).items()))
        print(f"{name:20} {median} {largest}  {endings}")


if __name__ == "__main__":
    main()
