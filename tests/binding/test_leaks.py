"""Repeating calls, successful and failing in every way, leaves memory flat and the reference counts
of the arguments as they were: no reference, PySolid, C++ object or GMP number outlives its call."""

import ctypes
import gc
import os
import pathlib
import resource
import sys
import tracemalloc

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from call_table import ROWS, cases  # noqa: E402

SANITIZED = "libasan" in os.environ.get("LD_PRELOAD", "")
# Each representative case is repeated this many times (divided by the row's cost for successes):
# a leak of a single small allocation per call then shows as tens of kilobytes.
REPEATS = 100 if SANITIZED else 1000
# Allowed heap growth per case: below the 32 KB that REPEATS calls leaking malloc's smallest block
# (32 bytes) would add.
HEAP_SLACK = 16 * 1024

LEAK_CASES = [case for row in ROWS for case in cases(row) if case.representative]


class MallInfo2(ctypes.Structure):
    _fields_ = [(name, ctypes.c_size_t) for name in "arena ordblks smblks hblks hblkhd usmblks fsmblks uordblks "
                                                    "fordblks keepcost".split()]


_libc = ctypes.CDLL(None)
_libc.mallinfo2.restype = MallInfo2


def heap_in_use():
    """Bytes that malloc has handed out and not had back (C++ objects and GMP numbers included)."""
    info = _libc.mallinfo2()
    return info.uordblks + info.hblkhd


def shared_by_everyone(o):
    """Small ints are cached singletons that the whole interpreter refers to, so their counts move
    by one now and then with whatever else runs (under the sanitizers' allocator the interpreter's
    own work between calls touches 0); a leak moves them by one per call."""
    return type(o) is int and -5 <= o <= 256


def reachable(objects, limit=64):
    """The argument objects and the items of argument lists, whose counts a leak would raise."""
    found, stack = [], list(objects)
    while stack and len(found) < limit:
        found.append(stack.pop())
        if isinstance(found[-1], (list, tuple)):
            stack.extend(found[-1])
    return found


def live_solids_now():
    # Every PySolid holds a reference to its type. Counted in a function of its own: an assert
    # statement rewritten by pytest would hold one more reference while it counts.
    return sys.getrefcount(br.PySolid)


def run(function, args, kwargs, times):
    for _ in range(times):
        try:
            function(*args, **kwargs)
        except BaseException:  # noqa: BLE001 - every failure kind is repeated on purpose
            pass


@pytest.mark.parametrize("case", LEAK_CASES, ids=[c.id for c in LEAK_CASES])
def test_repeated_calls_leave_heap_and_reference_counts_flat(case):
    if not case.row.available():
        pytest.skip(f"{case.row.name} is not in the module")
    function, args, kwargs = case.make()
    times = max(REPEATS // case.row.cost, 50) if case.label == "valid" else REPEATS
    run(function, args, kwargs, times // 10)  # warm caches and free lists

    # No collection in between: the calls make no reference cycles, so anything they leave
    # behind is a leak, and a full collection per case would cost more than the calls.
    watched = reachable([function, *args, *kwargs.values()])
    counts = [sys.getrefcount(o) for o in watched]
    live_solids, heap = live_solids_now(), heap_in_use()

    run(function, args, kwargs, times)

    after = [sys.getrefcount(o) for o in watched]
    slack = [1 if shared_by_everyone(o) else 0 for o in watched]
    assert all(abs(a - c) <= s for a, c, s in zip(after, counts, slack)), (after, counts)
    assert live_solids_now() == live_solids
    assert heap_in_use() - heap < HEAP_SLACK


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * resource.getpagesize()


@pytest.mark.skipif(SANITIZED, reason="the sanitizer keeps freed memory in quarantine")
def test_python_memory_and_resident_size_stay_bounded_over_many_calls():
    calls = [c.make() for c in LEAK_CASES if c.row.available() and c.row.cost == 1]

    def rounds(count):
        for _ in range(count):
            for function, args, kwargs in calls:
                run(function, args, kwargs, 50)
        gc.collect()

    tracemalloc.start()
    try:
        rounds(1)
        traced, resident = tracemalloc.get_traced_memory()[0], resident_bytes()
        rounds(10)
        traced_growth = tracemalloc.get_traced_memory()[0] - traced
        resident_growth = resident_bytes() - resident
    finally:
        tracemalloc.stop()
    # Ten rounds make 500 calls of every cheap case; one Python object (16 bytes or more) kept per
    # call of a single case would exceed the first bound, a small C++ leak per call the second.
    assert traced_growth < 8 * 1024
    assert resident_growth < 4 * 1024 * 1024
