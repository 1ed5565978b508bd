"""Benchmark of the boolean engine that returns merged faces (union, cut, intersect, union_all)
against the BSP boolean and, where installed, manifold3d (floats), in the same run.

Rows: the union of two n-step staircase prisms (shapes.staircase_operands) for n = 16 … 2048, with
the growth exponent of the engine's time over n = 128 … 2048; a plate with k x k holes cut one by one
and cut once by their union_all; a plate with 20 round (32-gon) holes; a box cut (W1). Peak memory is
the rise of the process's resident high-water mark over the call (Linux: /proc/self/clear_refs
resets it), measured in a fresh process per row.

usage: python bench/engine_bench.py [--quick]   (--quick stops the staircase at n = 512)
"""

import math
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from bench import growth, measure  # noqa: E402

try:
    import manifold3d
    import numpy
except ImportError:
    manifold3d = None

SETUP = {
    "staircase": "from shapes import staircase_operands as s\na, b = s({n})",
    "plate": "from shapes import plate, hole_grid, plate_with_holes\np = plate({n})\nholes = hole_grid({n})",
    "round": "from shapes import round_holes, round_hole_plate\nholes = round_holes()\np = round_hole_plate()",
    "box": "import brevant_rs as br\na = br.make_box('2', '2', '2', 'A')\nb = br.make_box('2', '2', '2', 'B').translate('1', '1', '1')",
}

PEAK = """
import sys
sys.path.insert(0, {here!r})
import brevant_rs as br
{setup}
def hwm():
    for line in open('/proc/self/status'):
        if line.startswith('VmHWM'):
            return int(line.split()[1])
with open('/proc/self/clear_refs', 'w') as f:
    f.write('5')
before = hwm()
result = {call}
print(hwm() - before)
"""


def peak_mib(setup, call):
    """The rise of the resident high-water mark over one call, in MiB, in a fresh process."""
    code = PEAK.format(here=str(HERE), setup=setup, call=call)
    try:
        out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=600, check=True)
        return f"{int(out.stdout.split()[-1]) / 1024:.1f}"
    except (subprocess.SubprocessError, ValueError, IndexError):
        return "-"


def manifold_staircase(n):
    def stairs(dx, dy, dz):
        points = [(0, 0), (n, 0)]
        for k in range(n):
            points += [(n - k, k + 1), (n - k - 1, k + 1)]
        points[-1] = (0, n)
        section = manifold3d.CrossSection([numpy.array(points, dtype=float)])
        return manifold3d.Manifold.extrude(section, 1.0).translate([dx, dy, dz])

    a, b = stairs(0, 0, 0), stairs(0.5, 0.5, 0.5)
    return lambda: (a + b).num_tri()  # manifold3d evaluates lazily: ask for the result


def manifold_plate_holes(k):
    plate = manifold3d.Manifold.cube([2 * k + 1, 2 * k + 1, 1])
    holes = [manifold3d.Manifold.cube([1, 1, 3]).translate([2 * i + 1, 2 * j + 1, -1]) for i in range(k) for j in range(k)]
    return lambda: (plate - manifold3d.Manifold.batch_boolean(holes, manifold3d.OpType.Add)).num_tri()


def manifold_round_holes():
    plate = manifold3d.Manifold.cube([20, 16, 1])
    holes = []
    for i in range(20):
        cx, cy = 2 + 4 * (i % 5), 2 + 4 * (i // 5)
        pts = [(cx + 1.5 * math.cos(2 * math.pi * k / 32), cy + 1.5 * math.sin(2 * math.pi * k / 32)) for k in range(32)]
        section = manifold3d.CrossSection([numpy.array(pts, dtype=float)])
        holes.append(manifold3d.Manifold.extrude(section, 3.0).translate([0, 0, -1]))
    return lambda: (plate - manifold3d.Manifold.batch_boolean(holes, manifold3d.OpType.Add)).num_tri()


def manifold_box_cut():
    a = manifold3d.Manifold.cube([2, 2, 2])
    b = manifold3d.Manifold.cube([2, 2, 2]).translate([1, 1, 1])
    return lambda: (a - b).num_tri()


def ms(seconds):
    return "-" if seconds is None else f"{seconds * 1e3:.3f}"


def row(name, engine, bsp, peer, size, peak_engine, peak_bsp):
    ratio = f"{engine / peer:.1f}" if peer else "-"
    print(f"{name:<34} {ms(engine):>10} {ms(bsp):>10} {ms(peer):>10} {ratio:>6} {size:>8} {peak_engine:>7} {peak_bsp:>7}",
          flush=True)


def main():
    import brevant_rs as br
    from shapes import hole_grid, plate, round_hole_plate, round_holes, staircase_operands

    quick = "--quick" in sys.argv
    print(f"{'workload':<34} {'engine ms':>10} {'bsp ms':>10} {'peer ms':>10} {'x peer':>6} {'polygons':>8} "
          f"{'MiB eng':>7} {'MiB bsp':>7}")
    print("-" * 100)
    timings = []
    for n in (16, 64, 128, 256, 512) + (() if quick else (1024, 2048)):
        a, b = staircase_operands(n)
        engine, result = measure(lambda: a.union(b))
        bsp = measure(lambda: a.boolean("union", b))[0] if n <= 512 else None
        peer = measure(manifold_staircase(n))[0] if manifold3d else None
        setup = SETUP["staircase"].format(n=n)
        row(f"staircase union n={n}", engine, bsp, peer, len(result.polygons()), peak_mib(setup, "a.union(b)"),
            peak_mib(setup, "a.boolean('union', b)") if n <= 512 else "-")
        if n >= 128:
            timings.append((n, engine))
    print(f"{'growth exponent n=128..':<34} {growth(timings):>10.2f}")
    for k in (4, 8):
        p, holes = plate(k), hole_grid(k)

        def one_by_one():
            s = p
            for h in holes:
                s = s.cut(h)
            return s

        def bsp_one_by_one():
            s = p
            for h in holes:
                s = s.boolean("cut", h)
            return s

        engine, result = measure(one_by_one)
        row(f"plate {k}x{k} holes, cut one by one", engine, measure(bsp_one_by_one)[0], None, len(result.polygons()), "-", "-")
        engine, result = measure(lambda: p.cut(br.union_all(holes)))
        peer = measure(manifold_plate_holes(k))[0] if manifold3d else None
        row(f"plate {k}x{k} holes, cut(union_all)", engine, None, peer, len(result.polygons()),
            peak_mib(SETUP["plate"].format(n=k), "p.cut(br.union_all(holes))"), "-")
    p, holes = round_hole_plate(), round_holes()

    def bsp_round():
        s = p
        for h in holes:
            s = s.boolean("cut", h)
        return s

    engine, result = measure(lambda: p.cut(br.union_all(holes)))
    peer = measure(manifold_round_holes())[0] if manifold3d else None
    row("plate, 20 round holes", engine, measure(bsp_round)[0], peer, len(result.polygons()),
        peak_mib(SETUP["round"], "p.cut(br.union_all(holes))"), "-")
    real_faces = 6 + 20 * 32
    print(f"{'  real faces (polygons / faces)':<34} {real_faces:>10} {len(result.polygons()) / real_faces:>10.2f}")
    a = br.make_box("2", "2", "2", "A")
    b = br.make_box("2", "2", "2", "B").translate("1", "1", "1")
    engine, result = measure(lambda: a.cut(b))
    peer = measure(manifold_box_cut())[0] if manifold3d else None
    row("W1 box cut", engine, measure(lambda: a.boolean("cut", b))[0], peer, len(result.polygons()), "-", "-")
    print()
    print("engine: union/cut/intersect/union_all (merged faces); bsp: boolean(); peer: manifold3d on doubles")
    print("(batch_boolean for the unions of holes); x peer: engine time / peer time; polygons: the engine's")
    print("result; MiB: peak resident memory above the operands during the call.")


if __name__ == "__main__":
    main()
