"""Long calls end at a signal whose handler raises, leave their operands as they were, and leave the
module usable; a handler that returns lets the call finish with its ordinary result."""

import os
import signal
import subprocess
import sys
import textwrap

import pytest

import brevant_rs as br

SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
WALL = [[["1/4", "0", "-1"], ["1/4", "0", "1"]], [["1/4", "1", "-1"], ["1/4", "1", "1"]]]  # the plane x = 1/4

# Workloads that run for minutes or more when nothing stops them: the pairs along the line where
# the wall crosses the square double with every level; ear clipping and the overlap check of the
# caps of a 20000-point convex loop take time quadratic to cubic in its length. Each sets
# `operands` (to be compared before and after) and `call`.
WORKLOADS = {
    "ssi_pairs": f"""
        a, b = {SQUARE!r}, {WALL!r}
        operands = (a, b)
        call = lambda: br.ssi_pairs(a, b, 40)
    """,
    "make_prism": """
        loop = [str(v) for i in range(20000) for v in (i, i * i)]
        operands = (loop,)
        call = lambda: br.make_prism(loop, "1", "p")
    """,
    "make_prismatoid": """
        loop = [str(v) for i in range(20000) for v in (i, i * i)]
        operands = (loop,)
        call = lambda: br.make_prismatoid(loop, "0", loop, "1", "p")
    """,
}

RUNNER = """
import copy, os, resource, signal
import brevant_rs as br

{setup}

class Stop(Exception):
    pass

if "libasan" not in os.environ.get("LD_PRELOAD", ""):
    # Should the call fail to stop, it runs out of memory rather than taking the machine's.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))
before = copy.deepcopy(operands)

def on_timer(signum, frame):
    raise {raised}

signal.signal(signal.SIGALRM, on_timer)
signal.setitimer(signal.ITIMER_REAL, 0.2)
try:
    call()
    outcome = "completed"
except {raised}:
    outcome = "stopped"
signal.setitimer(signal.ITIMER_REAL, 0)
assert operands == before, "operands changed"
print(outcome, br.make_box("1", "2", "3", "p").volume6_str())
"""

# Far longer than a working interrupt needs, far shorter than any workload left alone.
WATCHDOG_SECONDS = 120


def run_interrupted(name, raised):
    if not hasattr(br, name):
        pytest.skip(f"{name} is not in the module")
    script = RUNNER.format(setup=textwrap.dedent(WORKLOADS[name]), raised=raised)
    try:
        done = subprocess.run(
            [sys.executable, "-c", script], capture_output=True, text=True, timeout=WATCHDOG_SECONDS, env=os.environ
        )
    except subprocess.TimeoutExpired:
        pytest.fail(f"{name} ran on for {WATCHDOG_SECONDS} s after the signal")
    assert done.returncode == 0, done.stderr
    return done.stdout.split()


@pytest.mark.parametrize("name", sorted(WORKLOADS))
def test_keyboard_interrupt_stops_a_long_call(name):
    assert run_interrupted(name, "KeyboardInterrupt") == ["stopped", "36/1"]


def test_the_handlers_own_exception_stops_the_call():
    assert run_interrupted("ssi_pairs", "Stop") == ["stopped", "36/1"]


def test_handlers_that_return_let_the_call_finish_with_its_result():
    expected = br.ssi_pairs(SQUARE, WALL, 10)
    calls = []
    previous = signal.signal(signal.SIGALRM, lambda signum, frame: calls.append(signum))
    signal.setitimer(signal.ITIMER_REAL, 0.001, 0.001)
    try:
        result = br.ssi_pairs(SQUARE, WALL, 10)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    assert result == expected
    assert calls, "the timer never fired during the call"
