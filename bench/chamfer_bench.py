"""Benchmark of the chamfers on the 10 x 10-holed plate (a 21 x 21 x 1 plate with 100 unit holes cut
by one union_all) against its own cut and, where OCP (OCCT's Python binding, `pip install
cadquery-ocp-novtk`, a benchmark-only dependency) is importable, OCCT's BRepFilletAPI_MakeChamfer on
the same plate and the same edges, in the same process.

Rows: the plate's cut (the reference for the ratio column), chamfer() of every convex edge, and
chamfer_edges() of every convex edge, of the holes' top rims and of all their rims. Each time is the
minimum over interleaved rounds; "x cut" is the time over the plate's own cut(union_all(holes)),
"x peer" over OCCT's; "polygons" the result's, with its merged form's count beside it. Then edges()
of two solids of about 10,000 faces.

usage: python bench/chamfer_bench.py [--rounds N] [--dist D]
"""

import argparse
import sys
import time
from fractions import Fraction
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from shapes import hole_grid, plate, staircase_operands  # noqa: E402

import brevant_rs as br  # noqa: E402

try:
    from OCP.BRep import BRep_Tool
    from OCP.BRepAlgoAPI import BRepAlgoAPI_Cut
    from OCP.BRepFilletAPI import BRepFilletAPI_MakeChamfer
    from OCP.BRepPrimAPI import BRepPrimAPI_MakeBox
    from OCP.gp import gp_Pnt
    from OCP.TopAbs import TopAbs_EDGE
    from OCP.TopExp import TopExp, TopExp_Explorer
    from OCP.TopoDS import TopoDS
except ImportError:
    BRepFilletAPI_MakeChamfer = None

K = 10  # holes per side
SIDE = 2 * K + 1


def is_hole_rim(start, end, levels):
    """A hole's rim edge at one of the levels: both ends at that height, inside the outer boundary."""
    inside = all(0 < c < SIDE for p in (start, end) for c in p[:2])
    return start[2] == end[2] and start[2] in levels and inside


def our_selections(solid):
    """The edge indexes of every convex edge, of the holes' top rims and of all their rims."""
    def point(texts):
        return tuple(float(Fraction(c)) for c in texts)

    edges = [(point(e.start), point(e.end), e.kind) for e in solid.edges()]
    convex = [i for i, (_, _, kind) in enumerate(edges) if kind == "convex"]
    top = [i for i in convex if is_hole_rim(edges[i][0], edges[i][1], (1.0,))]
    rims = [i for i in convex if is_hole_rim(edges[i][0], edges[i][1], (0.0, 1.0))]
    return {"all convex edges": convex, "top rims": top, "all hole rims": rims}


def occt_plate():
    shape = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), float(SIDE), float(SIDE), 1.0).Shape()
    for i in range(K):
        for j in range(K):
            hole = BRepPrimAPI_MakeBox(gp_Pnt(2 * i + 1, 2 * j + 1, -1), 1.0, 1.0, 3.0).Shape()
            shape = BRepAlgoAPI_Cut(shape, hole).Shape()
    return shape


def occt_edges(shape):
    """Every edge once (the explorer visits an edge once per face it bounds), by its rounded ends."""
    unique = {}
    explorer = TopExp_Explorer(shape, TopAbs_EDGE)
    while explorer.More():
        edge = TopoDS.Edge(explorer.Current())
        explorer.Next()
        ends = [BRep_Tool.Pnt_s(v) for v in (TopExp.FirstVertex_s(edge), TopExp.LastVertex_s(edge))]
        key = tuple(sorted((round(p.X(), 9), round(p.Y(), 9), round(p.Z(), 9)) for p in ends))
        unique.setdefault(key, edge)
    return unique


def occt_selections(shape):
    unique = occt_edges(shape)
    vertical_hole_edge = lambda s, e: s[:2] == e[:2] and all(0 < c < SIDE for c in s[:2])  # noqa: E731
    items = list(unique.items())
    convex = [edge for (s, e), edge in items if not vertical_hole_edge(s, e)]
    top = [edge for (s, e), edge in items if is_hole_rim(s, e, (1.0,))]
    rims = [edge for (s, e), edge in items if is_hole_rim(s, e, (0.0, 1.0))]
    return {"all convex edges": convex, "top rims": top, "all hole rims": rims}


def occt_chamfer(shape, edges, dist):
    def run():
        maker = BRepFilletAPI_MakeChamfer(shape)
        for edge in edges:
            maker.Add(dist, edge)
        maker.Build()
        return maker.Shape()

    return run


def minimum(run, rounds):
    best = float("inf")
    result = None
    for _ in range(rounds):
        start = time.perf_counter()
        result = run()
        best = min(best, time.perf_counter() - start)
    return best, result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--dist", default="1/10")
    args = parser.parse_args()
    dist = args.dist
    holes = hole_grid(K)
    solid = plate(K).cut(br.union_all(holes))
    ours = our_selections(solid)
    workloads = [("chamfer(dist), every convex edge", lambda: solid.chamfer(dist), "all convex edges")]
    workloads += [(f"chamfer_edges, {name}", (lambda sel=sel: solid.chamfer_edges(sel, dist)), name)
                  for name, sel in ours.items()]
    peers = {}
    if BRepFilletAPI_MakeChamfer is not None:
        shape = occt_plate()
        for name, edges in occt_selections(shape).items():
            peers[name] = occt_chamfer(shape, edges, float(Fraction(dist)))

    timings = {name: float("inf") for name, _, _ in workloads}
    peer_timings = {name: float("inf") for name in peers}
    cut_time = float("inf")
    results = {}
    for _ in range(args.rounds):  # interleaved, so that the machine's load falls on every row alike
        cut_time = min(cut_time, minimum(lambda: plate(K).cut(br.union_all(holes)), 1)[0])
        for name, run, _ in workloads:
            seconds, results[name] = minimum(run, 1)
            timings[name] = min(timings[name], seconds)
        for name, run in peers.items():
            peer_timings[name] = min(peer_timings[name], minimum(run, 1)[0])

    print(f"plate {K}x{K} holes, dist {dist}; {len(ours['top rims'])} top rim and {len(ours['all hole rims'])} rim edges"
          f" of {len(ours['all convex edges'])} convex")
    print(f"{'workload':<42} {'ms':>9} {'x cut':>7} {'OCCT ms':>9} {'x peer':>7} {'polygons':>9} {'merged':>7}")
    print("-" * 96)
    print(f"{'cut(union_all(holes)) (reference)':<42} {cut_time * 1e3:>9.1f} {1:>7.1f}")
    for name, _, selection in workloads:
        peer = peer_timings.get(selection)
        polygons = len(results[name].polygons())
        merged = len(results[name].merged().polygons())
        peer_ms = f"{peer * 1e3:.1f}" if peer is not None else "-"
        ratio = f"{timings[name] / peer:.2f}" if peer is not None else "-"
        print(f"{name:<42} {timings[name] * 1e3:>9.1f} {timings[name] / cut_time:>7.1f} {peer_ms:>9} {ratio:>7}"
              f" {polygons:>9} {merged:>7}")
    if not peers:
        print("(OCP not importable: no OCCT column)")
    print_edges_rows(args.rounds)


def print_edges_rows(rounds):
    """edges() of two solids of about 10,000 faces: the union of two 2,500-step staircase prisms
    (10,008 faces, each one polygon) and a plate with 50 x 50 holes (10,006 faces; its top and
    bottom, split where they have holes, make 15,006 polygons)."""
    a, b = staircase_operands(2500)
    solids = {"staircase union, 2,500 steps": a.union(b).merged(),
              "plate with 50 x 50 holes": plate(50).cut(br.union_all(hole_grid(50))).merged()}
    best = {name: float("inf") for name in solids}
    for _ in range(max(rounds, 5)):
        for name, solid in solids.items():
            best[name] = min(best[name], minimum(solid.edges, 1)[0])
    print()
    print(f"{'edges()':<42} {'ms':>9} {'polygons':>9} {'edges':>7}")
    for name, solid in solids.items():
        print(f"{name:<42} {best[name] * 1e3:>9.1f} {len(solid.polygons()):>9} {len(solid.edges()):>7}")


if __name__ == "__main__":
    main()
