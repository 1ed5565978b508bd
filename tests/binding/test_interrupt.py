"""Long calls end at a signal whose handler raises, inside the call rather than after it, leave
their operands as they were and leave the module usable; a handler that returns (even one that
calls the module itself) lets the call finish with its ordinary result. Running out of memory
inside a call raises MemoryError and the module goes on."""

import os
import pathlib
import signal
import subprocess
import sys
import textwrap

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import interrupt_workloads  # noqa: E402

SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
WALL = [[["1/4", "0", "-1"], ["1/4", "0", "1"]], [["1/4", "1", "-1"], ["1/4", "1", "1"]]]  # the plane x = 1/4

# Workloads that run for seconds to hours when nothing stops them, far longer than the 0.1 s
# after which the timer fires. Each defines `target` (the function or bound method called),
# `args`, and `operands` (to be compared before and after).
PARABOLA = "[str(v) for i in range({n}) for v in (i, i * i)]"  # a convex loop
WORKLOADS = {
    # The pairs along the line where the wall crosses the square double with every level.
    "ssi_pairs": f"""
        target, args = br.ssi_pairs, ({SQUARE!r}, {WALL!r}, 40)
        operands = args
    """,
    # Ear clipping and the overlap check of the caps are quadratic to cubic in the loop's length.
    "make_prism": f"""
        loop = {PARABOLA.format(n=20000)}
        target, args = br.make_prism, (loop, "1", "p")
        operands = args
    """,
    "make_prismatoid": f"""
        loop = {PARABOLA.format(n=20000)}
        target, args = br.make_prismatoid, (loop, "0", loop, "1", "p")
        operands = args
    """,
    # Two 400-sided prisms overlapping almost everywhere: some 13000 faces in the union.
    "boolean": f"""
        prism = br.make_prism({PARABOLA.format(n=400)}, "160000", "a")
        other = prism.translate("1/3", "1/5", "1/7")
        target, args = prism.boolean, ("union", other)
        operands = [prism.polygons(), other.polygons()]
    """,
    # The same union while two other threads keep calling the module: their calls run without
    # the interpreter lock, and the main thread must still see the signal inside its own call.
    "boolean beside threads": f"""
        import threading
        prism = br.make_prism({PARABOLA.format(n=400)}, "160000", "a")
        other = prism.translate("1/3", "1/5", "1/7")
        def keep_busy(cube=br.make_box("1", "1", "1", "c")):
            while True:
                cube.chamfer("1/10")
        for _ in range(2):
            threading.Thread(target=keep_busy, daemon=True).start()
        target, args = prism.boolean, ("union", other)
        operands = [prism.polygons(), other.polygons()]
    """,
    # An 84-sided prism whose faces all have rational unit normals: 252 edges to bevel, each
    # one a boolean cut of the solid so far.
    "chamfer": """
        import math
        directions = {(1, 0), (0, 1), (-1, 0), (0, -1)}
        for m, n in [(2, 1), (3, 2), (4, 1), (4, 3), (5, 2), (5, 4), (6, 1), (6, 5), (7, 2), (7, 4)]:
            a, b = m * m - n * n, 2 * m * n
            directions |= {(sx * x, sy * y) for x, y in ((a, b), (b, a)) for sx in (1, -1) for sy in (1, -1)}
        loop, x, y = [], 0, 0
        for dx, dy in sorted(directions, key=lambda d: math.atan2(d[1], d[0])):
            loop += [str(x), str(y)]
            x, y = x + dx, y + dy
        prism = br.make_prism(loop, "7", "p")
        target, args = prism.chamfer, ("1/1000",)
        operands = [prism.polygons()]
    """,
}

RUNNER = """
import copy, os, resource, signal, sys
import brevant_rs as br

{setup}

class Stop(Exception): pass

if "libasan" not in os.environ.get("LD_PRELOAD", ""):
    # Should the call fail to stop, it runs out of memory rather than taking the machine's.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))
before = copy.deepcopy(operands)

# How the call itself ended: "c_exception" when the handler ran inside it and its exception left
# the call. A call that ran to its end records "c_return", or nothing when the handler runs at the
# start of this very hook and its exception ends the hook first.
endings = []
def watch(frame, event, arg):
    if event in ("c_return", "c_exception") and arg is target:
        endings.append(event)

def on_timer(signum, frame):
    raise {raised}

signal.signal(signal.SIGALRM, on_timer)
signal.setitimer(signal.ITIMER_REAL, 0.1)
sys.setprofile(watch)
try:
    target(*args)
    outcome = "completed"
except {raised}:
    outcome = "stopped"
finally:
    sys.setprofile(None)
    signal.setitimer(signal.ITIMER_REAL, 0)
assert operands == before, "operands changed"
print(outcome, *endings, br.make_box("1", "2", "3", "p").volume6_str())
"""

# Generous: a working interrupt ends each call within a fraction of a second of the signal.
WATCHDOG_SECONDS = 300


def run_script(script):
    """The words the script prints, run in an interpreter of its own."""
    try:
        done = subprocess.run(
            [sys.executable, "-c", script], capture_output=True, text=True, timeout=WATCHDOG_SECONDS, env=os.environ
        )
    except subprocess.TimeoutExpired:
        pytest.fail(f"ran on for {WATCHDOG_SECONDS} s")
    assert done.returncode == 0, done.stderr
    return done.stdout.split()


def run_interrupted(name, raised):
    if not hasattr(br.PySolid if name.split()[0] in ("boolean", "chamfer") else br, name.split()[0]):
        pytest.skip(f"{name} is not in the module")
    return run_script(RUNNER.format(setup=textwrap.dedent(WORKLOADS[name]), raised=raised))


@pytest.mark.parametrize("name, raised", [(name, "KeyboardInterrupt") for name in sorted(WORKLOADS)]
                         + [("ssi_pairs", "Stop")])  # the handler's own exception
def test_an_exception_from_the_handler_stops_a_long_call_from_inside(name, raised):
    assert run_interrupted(name, raised) == ["stopped", "c_exception", "36/1"]


def test_handlers_that_return_let_the_call_finish_with_its_result():
    expected = br.ssi_pairs(SQUARE, WALL, 10)
    calls = []

    def use_the_module_meanwhile(signum, frame):
        calls.append(br.make_box("1", "2", "3", "p").volume6_str())

    previous = signal.signal(signal.SIGALRM, use_the_module_meanwhile)
    signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
    try:
        result = br.ssi_pairs(SQUARE, WALL, 10)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    assert result == expected
    assert calls, "the timer never fired during the call"
    assert set(calls) == {"36/1"}


MEMORY_RUNNER = """
import resource
import brevant_rs as br

digits = "7" * 20_000_000
mapped = int(open("/proc/self/statm").read().split()[0]) * resource.getpagesize()
limit = mapped + (150 << 20)
resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
outcomes = []
for attempt in range(2):
    try:
        br.box_form(digits, digits, digits)
        outcomes.append("completed")
    except MemoryError:
        outcomes.append("MemoryError")
print(*outcomes, br.box_form("1", "2", "3")[0])
"""


@pytest.mark.skipif("libasan" in os.environ.get("LD_PRELOAD", ""), reason="the sanitizer needs more address space")
def test_exhausted_address_space_raises_memory_error_and_the_module_stays_usable():
    # Reading three 20-million-digit numbers, multiplying them and writing them out needs several
    # hundred megabytes more than the limit grants; the first failing allocation is in GMP.
    assert run_script(MEMORY_RUNNER) == ["MemoryError", "MemoryError", "36/1"]


# SIGINT from outside, during a call on million-digit numbers (or of degree 2,000 for the NURBS
# functions), for every module function and PySolid method: the workloads run for seconds to
# hours, and each ends by KeyboardInterrupt soon after the signal. All run in one interpreter, so
# that the solid of the methods is built once.
# bench/interrupt_latency.py prints the latency of each, over several signals.
LATENCY_BOUND_S = 2.0  # a fault detector, twenty times the target: calls without it took 11 s to hours


@pytest.fixture(scope="module")
def latencies():
    return dict(interrupt_workloads.measure_latencies(list(interrupt_workloads.WORKLOADS), delay=0.3,
                                                      timeout=3 * LATENCY_BOUND_S))


@pytest.mark.heavy
@pytest.mark.parametrize("name", sorted(interrupt_workloads.WORKLOADS))
def test_sigint_from_outside_ends_every_entry_point_on_huge_numbers_soon(name, latencies):
    latency = latencies[name]
    assert latency.ending == "interrupted", latency
    assert latency.seconds < LATENCY_BOUND_S, latency


@pytest.fixture
def sigint_ignored():
    """SIGINT ignored in this process, and so in the interpreters it starts, as in a background
    job of a non-interactive shell or under nohup."""
    previous = signal.signal(signal.SIGINT, signal.SIG_IGN)
    try:
        yield
    finally:
        signal.signal(signal.SIGINT, previous)


def test_sigint_from_outside_ends_calls_of_an_interpreter_started_with_sigint_ignored(sigint_ignored):
    names = ["box_form", "volume6_str"]  # a module function and a method
    measured = interrupt_workloads.measure_latencies(names, delay=0.3, timeout=3 * LATENCY_BOUND_S)
    assert [name for name, _ in measured] == names
    for name, latency in measured:
        assert latency.ending == "interrupted", (name, latency)
        assert latency.seconds < LATENCY_BOUND_S, (name, latency)


def test_every_entry_point_has_a_latency_workload():
    callables = {name for name in dir(br) if callable(getattr(br, name)) and not name[0].isupper()}
    methods = {name for name in dir(br.PySolid) if not name.startswith("_")}
    assert set(interrupt_workloads.WORKLOADS) == callables | methods
