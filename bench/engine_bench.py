"""Benchmark of the boolean engine behind union, cut, intersect, union_all and the chamfer of
non-convex solids, against the BSP boolean and, where installed, manifold3d (floats).

Every row is a workload timed several ways in the same process, interleaved: each round runs every
variant once, and a row reports each variant's fastest round (machine noise then hits all alike).
The engine's results are bodies whose polygons are made when first read; `engine` times the
operation alone, `+read` the operation and the making of its merged polygons (volume6_str()).
manifold3d evaluates lazily too: its variant asks for the triangle count, which runs the boolean.
`x peer` is engine / peer and `+read x peer` is +read / peer. Peak memory is the rise of the
resident high-water mark over one call of the engine, in a fresh process (Linux).

Rows: a box cut (W1); staircase unions of 16 to 2048 steps with the growth exponent over
128 ... 2048; plates with k x k square holes cut one by one and at once (cut(union_all(holes)));
a plate with 20 round 32-gon holes, one by one and at once; the union of a plate with 100 holes and
a small box far away, against translating the plate; 100 holes one by one against at once; the
chamfer of the 10 x 10-holed plate against its own cut; union_all of 400 copies of one box against a
chain of union().

usage: python bench/engine_bench.py [--quick] [--rounds N]   (--quick stops the staircase at 512)
"""

import math
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from bench import growth  # noqa: E402

try:
    import manifold3d
    import numpy
except ImportError:
    manifold3d = None

import brevant_rs as br  # noqa: E402
from shapes import hole_grid, plate, round_hole_plate, round_holes, staircase_operands  # noqa: E402

PEAK = """
import sys
sys.path.insert(0, {here!r})
import brevant_rs as br
from shapes import *
{setup}
def hwm():
    for line in open('/proc/self/status'):
        if line.startswith('VmHWM'):
            return int(line.split()[1])
with open('/proc/self/clear_refs', 'w') as f:
    f.write('5')
before = hwm()
result = {call}
result.volume6_str()
print(hwm() - before)
"""


def peak_mib(setup, call):
    """The rise of the resident high-water mark over one call and the read of its result, in MiB,
    in a fresh process; '-' where the system cannot tell."""
    code = PEAK.format(here=str(HERE), setup=setup, call=call)
    try:
        out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=900, check=True)
        return f"{int(out.stdout.split()[-1]) / 1024:.1f}"
    except (subprocess.SubprocessError, ValueError, IndexError, OSError):
        return "-"


def fastest(variants, rounds):
    """Each variant's fastest time over `rounds` interleaved rounds (None stays None)."""
    best = {name: math.inf for name, run in variants.items() if run is not None}
    for _ in range(rounds):
        for name, run in variants.items():
            if run is None:
                continue
            start = time.perf_counter()
            run()
            best[name] = min(best[name], time.perf_counter() - start)
    return {name: best.get(name) for name in variants}


def reading(run):
    return lambda: run().volume6_str()


def one_by_one(start, others, op="cut"):
    def run():
        s = start
        for o in others:
            s = getattr(s, op)(o)
        return s
    return run


def bsp_one_by_one(start, others):
    def run():
        s = start
        for o in others:
            s = s.boolean("cut", o)
        return s
    return run


def m_staircase(n):
    def stairs(dx, dy, dz):
        points = [(0, 0), (n, 0)]
        for k in range(n):
            points += [(n - k, k + 1), (n - k - 1, k + 1)]
        points[-1] = (0, n)
        section = manifold3d.CrossSection([numpy.array(points, dtype=float)])
        return manifold3d.Manifold.extrude(section, 1.0).translate([dx, dy, dz])

    a, b = stairs(0, 0, 0), stairs(0.5, 0.5, 0.5)
    return lambda: (a + b).num_tri()


def m_plate_holes(k, at_once):
    slab = manifold3d.Manifold.cube([2 * k + 1, 2 * k + 1, 1])
    holes = [manifold3d.Manifold.cube([1, 1, 3]).translate([2 * i + 1, 2 * j + 1, -1]) for i in range(k) for j in range(k)]
    return m_cut(slab, holes, at_once)


def m_cut(slab, holes, at_once):
    if at_once:
        return lambda: (slab - manifold3d.Manifold.batch_boolean(holes, manifold3d.OpType.Add)).num_tri()

    def run():
        s = slab
        for h in holes:
            s = s - h
        return s.num_tri()
    return run


def m_round_holes(at_once):
    slab = manifold3d.Manifold.cube([20, 16, 1])
    holes = []
    for i in range(20):
        cx, cy = 2 + 4 * (i % 5), 2 + 4 * (i // 5)
        pts = [(cx + 1.5 * math.cos(2 * math.pi * k / 32), cy + 1.5 * math.sin(2 * math.pi * k / 32)) for k in range(32)]
        section = manifold3d.CrossSection([numpy.array(pts, dtype=float)])
        holes.append(manifold3d.Manifold.extrude(section, 3.0).translate([0, 0, -1]))
    return m_cut(slab, holes, at_once)


def m_box_cut():
    a = manifold3d.Manifold.cube([2, 2, 2])
    b = manifold3d.Manifold.cube([2, 2, 2]).translate([1, 1, 1])
    return lambda: (a - b).num_tri()


def peer(make, *args):
    return make(*args) if manifold3d else None


def ms(seconds):
    return "-" if seconds is None else f"{seconds * 1e3:.3f}"


def ratio(x, y):
    return "-" if x is None or y is None else f"{x / y:.2f}"


HEADER = (f"{'workload':<40} {'engine ms':>10} {'+read ms':>10} {'other ms':>10} {'peer ms':>10} "
          f"{'x peer':>7} {'+read x':>7} {'x other':>7} {'polygons':>8} {'MiB':>6}")


def row(name, t, other, size, mib):
    print(f"{name:<40} {ms(t['engine']):>10} {ms(t.get('read')):>10} {ms(t.get(other)):>10} {ms(t.get('peer')):>10} "
          f"{ratio(t['engine'], t.get('peer')):>7} {ratio(t.get('read'), t.get('peer')):>7} "
          f"{ratio(t['engine'], t.get(other)):>7} {size:>8} {mib:>6}", flush=True)


def workload(name, engine, rounds, other=None, other_name="other", peer_run=None, setup=None, call=None):
    variants = {"engine": engine, "read": reading(engine), other_name: other, "peer": peer_run}
    t = fastest(variants, rounds)
    size = len(engine().polygons())
    mib = peak_mib(setup, call) if setup else "-"
    row(name, t, other_name, size, mib)
    return t


def main():
    quick = "--quick" in sys.argv
    rounds = int(sys.argv[sys.argv.index("--rounds") + 1]) if "--rounds" in sys.argv else 5
    print(HEADER)
    print("-" * len(HEADER))
    a = br.make_box("2", "2", "2", "A")
    b = br.make_box("2", "2", "2", "B").translate("1", "1", "1")
    workload("W1 box cut (other: boolean)", lambda: a.cut(b), rounds, lambda: a.boolean("cut", b), "bsp",
             peer(m_box_cut))

    timings = []
    for n in (16, 64, 128, 256, 512) + (() if quick else (1024, 2048)):
        sa, sb = staircase_operands(n)
        setup = f"a, b = staircase_operands({n})"
        t = workload(f"staircase union n={n} (other: boolean)", lambda: sa.union(sb), rounds if n <= 512 else 3,
                     (lambda: sa.boolean("union", sb)) if n <= 512 else None, "bsp", peer(m_staircase, n), setup,
                     "a.union(b)")
        if n >= 128:
            timings.append((n, t["read"]))
    print(f"{'  growth exponent n=128.. (+read)':<40} {growth(timings):>10.2f}")

    for k in (4, 8):
        p, holes = plate(k), hole_grid(k)
        setup = f"p, holes = plate({k}), hole_grid({k})"
        workload(f"plate {k}x{k} holes one by one (o: bsp)", one_by_one(p, holes), rounds, bsp_one_by_one(p, holes),
                 "bsp", peer(m_plate_holes, k, False), setup, "p.cut(holes[0])")
        workload(f"plate {k}x{k} holes at once", lambda: p.cut(br.union_all(holes)), rounds, None, "bsp",
                 peer(m_plate_holes, k, True), setup, "p.cut(br.union_all(holes))")

    rp, rh = round_hole_plate(), round_holes()
    setup = "p, holes = round_hole_plate(), round_holes()"
    workload("plate, 20 round holes one by one", one_by_one(rp, rh), rounds, None, "bsp",
             peer(m_round_holes, False), setup, "p.cut(holes[0])")
    workload("plate, 20 round holes at once", lambda: rp.cut(br.union_all(rh)), rounds, None, "bsp",
             peer(m_round_holes, True), setup, "p.cut(br.union_all(holes))")

    p10, h10 = plate(10), hole_grid(10)
    holed = p10.cut(br.union_all(h10))
    holed.volume6_str()
    far = br.make_box("1", "1", "1", "far").translate("100", "100", "100")
    workload("plate 10x10 holes u far box (o: translate)", lambda: holed.union(far), rounds,
             lambda: holed.translate("1", "0", "0"), "translate")
    workload("100 holes one by one (o: at once)", one_by_one(p10, h10), rounds,
             lambda: p10.cut(br.union_all(h10)), "at once")
    p4, h4 = plate(10, 4), hole_grid(10, 4)
    holed4 = p4.cut(br.union_all(h4))
    holed4.volume6_str()
    workload("chamfer 1/2 of 10x10 plate x4 (o: its cut)", lambda: holed4.chamfer("1/2"), 3,
             lambda: p4.cut(br.union_all(h4)), "cut")
    print(f"{'  polygons of the plate merged()':<40} {len(holed4.merged().polygons()):>10}")

    box = br.make_box("1", "1", "1", "box")
    copies = [box] * 400
    workload("union_all of 400 copies of a box (o: chain)", lambda: br.union_all(copies), 3,
             one_by_one(box, copies[1:], "union"), "chain")
    print()
    print("engine: the module's union/cut/union_all/chamfer; +read: the same and its merged polygons;")
    print("other: the variant named in the row; peer: manifold3d on doubles (batch_boolean for unions of")
    print("holes, its own lazy chain for one by one); polygons: the engine's result; MiB: peak memory of")
    print("one call and its read, above the operands.")


if __name__ == "__main__":
    main()
