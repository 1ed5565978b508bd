"""One long call per module function and PySolid method, for measuring how soon SIGINT ends it.

Each workload is Python source run in a fresh interpreter after PRELUDE; it defines `target` (the
function or bound method called) and `args`. The setup (building the operand solids) is not part of
the measured call. Big workloads use numbers of a million digits: fractions whose numerators and
denominators are unrelated random integers, so that the exact operations multiply, divide and take
greatest common divisors of million-digit integers; the de Boor workloads use degree 2,000.
Used by test_interrupt.py and by bench/interrupt_latency.py, which prints the latency table.
"""

import os
import select
import signal
import subprocess
import sys
import time

PRELUDE = """
import itertools, random
import brevant_rs as br

DIGITS = {digits}
_rng = random.Random(16)
# Random integer texts of DIGITS digits, drawn once and handed out in turn.
_pool = itertools.cycle(["1" + "".join(_rng.choices("0123456789", k=DIGITS - 1)) for _ in range(7)])

def big():
    return next(_pool)

def frac():
    return big() + "/" + big()

def octagon_loop():
    '''A convex octagon whose corners are nudged by unrelated million-digit fractions.'''
    corners = [(2, 0), (4, 0), (6, 2), (6, 4), (4, 6), (2, 6), (0, 4), (0, 2)]
    loop = []
    for x, y in corners:
        for c in (x, y):
            den = big()
            loop.append(f"{{c * int(den[:9]) + 1}}{{den[9:]}}/{{den}}")
    return loop

def curve(degree):
    '''A clamped curve of the given degree with small control points, at a parameter whose
    denominators grow through the triangle.'''
    n = degree + 1
    cps = [[str(i), str(i * i % 7), str(i % 5)] for i in range(n)]
    knots = ["0"] * n + ["1"] * n
    return cps, knots
"""

# The setup of each workload; {digits} and {degree} are filled in by the caller.
WORKLOADS = {
    "make_box": "target, args = br.make_box, (frac(), frac(), frac(), 'p')",
    "make_prism": "target, args = br.make_prism, (octagon_loop(), frac(), 'p')",
    "make_prismatoid": "target, args = br.make_prismatoid, (octagon_loop(), frac(), octagon_loop(), frac(), 'p')",
    "box_boolean": "target, args = br.box_boolean, (*[big() for _ in range(9)], 'union')",
    "box_form": "target, args = br.box_form, (frac(), frac(), frac())",
    "nurbs_curve_eval": """
cps, knots = curve({degree})
target, args = br.nurbs_curve_eval, ({degree}, cps, knots, '1/3')
""",
    "nurbs_surface_eval": """
cps, knots = curve({degree})
target, args = br.nurbs_surface_eval, (1, {degree}, [cps, cps[::-1]], ['0', '0', '1', '1'], knots, '1/2', '1/3')
""",
    "ssi_pairs": """
def patch(z):
    return [[[frac(), frac(), z], [frac(), frac(), z]], [[frac(), frac(), z], [frac(), frac(), z]]]
target, args = br.ssi_pairs, (patch('0'), patch('0'), 8)
""",
    "union_all": "target, args = br.union_all, ([br.make_box(frac(), frac(), frac(), 'a'), br.make_box(frac(), frac(), frac(), 'b')],)",
}

# Methods run on a box of million-digit extents moved by a million-digit fraction (quick to build:
# its coordinates share one denominator), with arguments of a million digits where they take
# numbers.
SOLID = """
if "solid" not in globals():
    shift = '1/' + big()
    solid = br.make_box(big(), big(), big(), 's').translate(shift, shift, shift)
"""
METHOD_ARGS = {
    "translate": "(frac(), frac(), frac())",
    "scale": "(frac(), frac(), frac())",
    "mirror": "(0,)",
    "rotate_quarter": "(2, 1)",
    # a tolerance of a million digits: the search for the turn works at millions of bits
    "rotate": "([[frac(), frac(), frac()], ['1', '2', '3']], '30', '1/' + big())",
    "transform": "([[frac(), '0', '0', frac()], ['0', frac(), '0', '0'], ['0', '0', '-1', '0']],)",
    "boolean": "('union', br.make_box(big(), big(), big(), 'o'))",
    "chamfer": "('1/' + big(),)",
    "volume": "()",
    "volume6_str": "()",
    "canonical": "()",
    "watertight_ok": "()",
    "logical_faces": "()",
    "bbox": "()",
    "bbox_exact": "()",
    "polygons": "()",
    "merged": "()",
    "to_mesh": "()",
    "to_mesh_floats": "()",
    "union": "(br.make_box(big(), big(), big(), 'o'),)",
    "cut": "(br.make_box(big(), big(), big(), 'o'),)",
    "intersect": "(br.make_box(big(), big(), big(), 'o'),)",
    "edges": "()",
    "chamfer_edges": "(None, '1/' + big())",
}
for _name, _args in METHOD_ARGS.items():
    WORKLOADS[_name] = SOLID + f"target, args = solid.{_name}, {_args}"
# Rebuilding the big box from its faces, and from its pickled state.
WORKLOADS["solid_from_polygons"] = SOLID + "target, args = br.solid_from_polygons, (solid.polygons(),)"
WORKLOADS["_solid_from_state"] = SOLID + "target, args = br._solid_from_state, (solid.__reduce__()[1][0],)"

METHODS = frozenset(METHOD_ARGS)


# Runs the workloads named on the command line one after the other: for each, its setup, then
# "ready" and the call, then how the call ended and when.
CHILD = """
import signal, sys, time
# A background job of a non-interactive shell (nohup, many CI runners) starts with SIGINT ignored,
# and an interpreter keeps what it inherits; without Python's own handler no call is interrupted.
signal.signal(signal.SIGINT, signal.default_int_handler)
for name in sys.argv[1:]:
    exec(WORKLOADS[name])
    sys.stdout.write("ready\\n")
    sys.stdout.flush()
    try:
        target(*args)
        ending = "completed"
    except KeyboardInterrupt:
        ending = "interrupted"
    print(ending, time.monotonic(), flush=True)
"""


class Latency:
    """How one measured call ended: `ending` is "interrupted", "completed" (before or after the
    signal) or "timeout"; `seconds` is the time from the signal to the end of the call (None when
    the call had ended before the signal was sent, or ran past the timeout)."""

    def __init__(self, ending, seconds):
        self.ending, self.seconds = ending, seconds

    def __repr__(self):
        return f"Latency({self.ending!r}, {self.seconds!r})"


def child_source(digits, degree):
    workloads = {name: setup.format(degree=degree) for name, setup in WORKLOADS.items()}
    return PRELUDE.format(digits=digits) + f"WORKLOADS = {workloads!r}\n" + CHILD


def measure_latencies(names, delay, timeout, digits=1_000_000, degree=2000, python=sys.executable):
    """[(name, Latency)] in the order of `names` (a name may come more than once): each workload runs
    in one interpreter shared with the others (so the solid of the methods is built once), receives
    SIGINT `delay` seconds into its call, and is timed from the signal to the end of the call. A call
    still running `timeout` seconds after the signal is killed with its interpreter, and the names
    after it go on in a new one."""
    results, pending = [], list(names)
    while pending:
        child = subprocess.Popen([python, "-c", child_source(digits, degree), *pending], stdout=subprocess.PIPE,
                                 text=True, env=os.environ)
        try:
            while pending:
                name = pending.pop(0)
                if child.stdout.readline() != "ready\n":
                    raise RuntimeError(f"{name}: the setup failed")
                time.sleep(delay)
                sent = time.monotonic()
                child.send_signal(signal.SIGINT)
                if not select.select([child.stdout], [], [], timeout)[0]:
                    results.append((name, Latency("timeout", None)))
                    break
                ending, ended = child.stdout.readline().split()
                seconds = float(ended) - sent
                results.append((name, Latency(ending, seconds if seconds >= 0 else None)))
        finally:
            child.kill()
            child.wait()
    return results
