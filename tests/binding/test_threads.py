"""Calls from many threads at once: the module runs the exact work of a call without the interpreter
lock, so calls on shared solids overlap; every result, message and failure kind must be what the
same call gives alone, and the shared solids must stay as they were."""

import pathlib
import pickle
import random
import sys
import threading
from concurrent.futures import ThreadPoolExecutor

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from call_table import outcome  # noqa: E402
from test_interrupt import run_script  # noqa: E402

THREADS = 8
ROUNDS = 4  # each thread runs every operation this many times, in an order of its own
BIG = "1" + "0" * 30  # coordinates past machine words, so that GMP allocates on every thread

SQUARE = [[["0", "0", "0"], ["0", "1", "0"]], [["1", "0", "0"], ["1", "1", "0"]]]
WALL = [[["1/4", "0", "-1"], ["1/4", "0", "1"]], [["1/4", "1", "-1"], ["1/4", "1", "1"]]]


def fragmented_slab():
    """A 3 × 3 × 1 slab as the union of nine unit boxes: convex, with faces cut in pieces."""
    slab = br.make_box("1", "1", "1", "u")
    for i in range(3):
        for j in range(3):
            slab = slab.boolean("union", br.make_box("1", "1", "1", "u").translate(str(i), str(j), "0"))
    return slab


def shared_solids():
    box = br.make_box("2", "2", "2", "a")
    return {
        "box": box,
        "other": br.make_box("2", "2", "2", "b").translate("1", "1/3", "1/2"),
        "slab": fragmented_slab(),
        "prism": br.make_prism(["0", "0", "3", "0", "3", "1", "1", "1", "1", "3", "0", "3"], "2", "p"),
        "hollow": box.boolean("cut", br.make_box("1", "1", "1", "h").translate("1/2", "1/2", "1/2")),
        "big": br.make_box(f"{BIG}/3", f"{BIG}/7", "2", "g").translate(f"-{BIG}/11", "1/3", f"1/{BIG}"),
    }


def operations(s):
    """(name, call) for a mix of work: booleans with the same solid on both sides, chamfers,
    transforms, measures, rebuilding and pickling, the other module functions, and calls that
    fail in each way."""
    ops = [(f"{a} {op} {b}", lambda a=a, op=op, b=b: s[a].boolean(op, s[b]))
           for a, b in (("box", "other"), ("slab", "other"), ("prism", "box"), ("hollow", "hollow"), ("big", "slab"))
           for op in ("union", "cut", "intersect")]
    ops += [
        ("chamfer slab", lambda: s["slab"].chamfer("1/10")),
        ("chamfer box", lambda: s["box"].chamfer("1/3")),
        ("chamfer big", lambda: s["big"].chamfer(f"1/{BIG}")),
        ("chamfer refused", lambda: s["prism"].chamfer("1/10")),
        ("chamfer bad number", lambda: s["box"].chamfer("1/0")),
        ("unknown op", lambda: s["box"].boolean("Union", s["other"])),
        ("mirror axis 3", lambda: s["slab"].mirror(3)),
        ("transforms", lambda: s["slab"].rotate_quarter(1, 3).scale("2", "-1/3", "5").mirror(0).translate("1", "2", "3")),
        ("measures", lambda: [s["hollow"].volume6_str(), s["slab"].canonical(), s["prism"].logical_faces(),
                              s["other"].bbox(), s["slab"].watertight_ok(), repr(s["prism"])]),
        ("rebuilt", lambda: br.solid_from_polygons(s["slab"].polygons())),
        ("rebuild refused", lambda: br.solid_from_polygons([("t", [["0", "0", "0"], ["1", "0", "0"]])])),
        ("pickled", lambda: pickle.loads(pickle.dumps(s["hollow"]))),
        ("prism", lambda: br.make_prism(["0", "0", "4", "0", "4", "4", "2", "1", "0", "4"], "3", "q")),
        ("box_boolean", lambda: br.box_boolean("2", "2", "2", "2", "2", "2", "1", "1", "1", "cut")),
        ("nurbs", lambda: br.nurbs_surface_eval(1, 1, SQUARE, ["0", "0", "1", "1"], ["0", "0", "1", "1"], "1/3", "2/7")),
        ("ssi_pairs", lambda: br.ssi_pairs(SQUARE, WALL, 6)),
    ]
    return ops


def test_eight_threads_on_shared_solids_give_the_serial_results():
    solids = shared_solids()
    before = {name: solid.polygons() for name, solid in solids.items()}
    ops = operations(solids)
    serial = [outcome(call) for _, call in ops]
    assert {type(r) for r in serial} >= {list, tuple}  # results and failures both
    start = threading.Barrier(THREADS)

    def worker(seed):
        order = [i for _ in range(ROUNDS) for i in range(len(ops))]
        random.Random(seed).shuffle(order)
        start.wait()
        return [(i, outcome(ops[i][1])) for i in order]

    with ThreadPoolExecutor(THREADS) as pool:
        runs = list(pool.map(worker, range(THREADS)))
    for run in runs:
        for i, got in run:
            assert got == serial[i], ops[i][0]
    assert {name: solid.polygons() for name, solid in solids.items()} == before


def test_python_code_runs_while_a_call_works():
    # With a switch interval far longer than the call, the interpreter would not take the lock
    # from the calling thread: the main thread can run during the call only if the call gives it up.
    slab = fragmented_slab()
    started, done, seen_during_call = threading.Event(), [], []

    def work():
        started.set()
        for _ in range(5):
            slab.chamfer("1/10")
        done.append(True)

    interval = sys.getswitchinterval()
    sys.setswitchinterval(100.0)
    try:
        worker = threading.Thread(target=work)
        worker.start()
        started.wait()
        seen_during_call.append(not done)
        worker.join()
    finally:
        sys.setswitchinterval(interval)
    assert seen_during_call == [True]


EXIT_RUNNER = """
import threading, time
import brevant_rs as br

def keep_calling(call):
    while True:
        try:
            call()
        except (ValueError, br.InternalFailure):
            pass

cube = br.make_box("1", "1", "1", "c")
calls = [lambda: cube.chamfer("1/10"), lambda: cube.chamfer("-1"), lambda: cube.boolean("nope", cube)]
for call in calls * 2:
    threading.Thread(target=keep_calling, args=(call,), daemon=True).start()
time.sleep(0.2)
print("exiting")
"""


def test_the_interpreter_exits_cleanly_while_daemon_threads_are_inside_calls():
    # A daemon thread that comes back from its call while the interpreter finalises is ended by
    # the interpreter as it asks for the lock; ending it must not abort the process.
    for _ in range(3):
        assert run_script(EXIT_RUNNER) == ["exiting"]
