"""A family of parts built in parallel: rectangular plates with a grid of square holes, chamfered on
every convex edge (the holes' rims included), each sized by its own parameters. Every part is built,
measured exactly and meshed on a worker, and comes back to the client with its exact volume
(checked against the closed form), its triangle mesh and the solid itself, which travels as a
pickle.

The same code runs on Dask distributed and on concurrent.futures: both give an executor whose
submit(function, argument) returns a future with result().

    python examples/parametric_family.py                       # Dask, a LocalCluster of 2 workers
    python examples/parametric_family.py --scheduler HOST:8786 # Dask, a running cluster
    python examples/parametric_family.py --executor futures    # a process pool, no Dask needed

On a running cluster each worker needs brevant_rs installed (pip install it where the workers
run). Run as a script, this file's functions and classes travel inside the tasks; a program that
imports it as a module instead needs it importable on the workers too (on their path, or sent with
Client.upload_file).
"""

import argparse
import os
import sys
import time
from collections.abc import Callable
from dataclasses import dataclass
from fractions import Fraction
from itertools import product
from typing import TYPE_CHECKING, Protocol

import brevant_rs as br

if TYPE_CHECKING:
    from distributed import Client


@dataclass(frozen=True)
class Plate:
    """A width × depth × thickness plate from the origin with a holes_x × holes_y grid of square holes
    of side `hole` through it, `pitch` apart and centred, every convex edge chamfered by `chamfer`
    (the holes' vertical edges are concave and stay sharp)."""

    width: Fraction
    depth: Fraction
    thickness: Fraction
    chamfer: Fraction
    holes_x: int
    holes_y: int
    hole: Fraction
    pitch: Fraction

    def hole_corners(self) -> list[tuple[Fraction, Fraction]]:
        """The lower corner (x, y) of every hole."""
        def starts(count: int, extent: Fraction) -> list[Fraction]:
            first = (extent - (count - 1) * self.pitch - self.hole) / 2
            return [first + i * self.pitch for i in range(count)]

        return list(product(starts(self.holes_x, self.width), starts(self.holes_y, self.depth)))

    def check(self) -> None:
        """Refuses parameters for which bevels would meet: each bevel reaches `chamfer` into its faces,
        so holes, and holes and the outer edges, must lie more than two bevels apart."""
        if not (0 < 2 * self.chamfer < min(self.width, self.depth, self.thickness, self.hole)):
            raise ValueError(f"{self}: the chamfer must be positive and less than half of every extent")
        if self.pitch - self.hole <= 2 * self.chamfer:
            raise ValueError(f"{self}: the holes' bevels would meet")
        for count, extent in ((self.holes_x, self.width), (self.holes_y, self.depth)):
            if (extent - (count - 1) * self.pitch - self.hole) / 2 <= 2 * self.chamfer:
                raise ValueError(f"{self}: the holes' bevels would meet the outer ones")

    def volume6(self) -> Fraction:
        """Six times the exact volume. The plate is a prism of height t over a region of area A,
        perimeter P (outer rim and holes), 4 convex corners and 4 reflex corners per hole: each cap
        edge loses a prism of section c²/2 (P·c² over both caps), each convex vertical edge one of
        t·c²/2, each convex corner gives back 4c³/3 and each reflex one takes c³/3 more."""
        w, d, t, c, s = self.width, self.depth, self.thickness, self.chamfer, self.hole
        holes = self.holes_x * self.holes_y
        area, perimeter = w * d - holes * s**2, 2 * (w + d) + 4 * holes * s
        volume = area * t - perimeter * c**2 - 4 * t * c**2 / 2 + Fraction(4, 3) * 4 * c**3 - Fraction(1, 3) * 4 * holes * c**3
        return 6 * volume


@dataclass
class Part:
    plate: Plate
    volume6: str  # the exact text, as the module gives it
    polygons: int
    watertight: bool
    mesh: tuple[list[list[float]], list[tuple[int, int, int]]]  # from to_mesh_floats()
    solid: br.PySolid


def text(value: Fraction | int) -> str:
    value = Fraction(value)
    return f"{value.numerator}/{value.denominator}"


def build_part(plate: Plate) -> Part:
    """Runs on a worker: the holes are cut at once (their union_all), then every convex edge is
    chamfered, and the result is meshed for export."""
    plate.check()
    solid = br.make_box(text(plate.width), text(plate.depth), text(plate.thickness), "plate")
    height = text(plate.thickness + 2)
    holes = [br.make_box(text(plate.hole), text(plate.hole), height, "hole").translate(text(x), text(y), "-1")
             for x, y in plate.hole_corners()]
    solid = solid.cut(br.union_all(holes)).chamfer(text(plate.chamfer))
    return Part(plate, solid.volume6_str(), len(solid.polygons()), solid.watertight_ok(), solid.to_mesh_floats(), solid)


def family(count: int) -> list[Plate]:
    """`count` plates, sizes and hole grids varying with the index."""
    plates = []
    for i in range(count):
        holes_x, holes_y = 1 + i % 3, 1 + (i // 3) % 3
        pitch = Fraction(3, 2) + Fraction(i % 4, 4)
        plates.append(Plate(width=holes_x * pitch + 2 + Fraction(i % 5, 3), depth=holes_y * pitch + 2,
                            thickness=Fraction(1 + i % 2, 2) + 1, chamfer=Fraction(1, 10 + i % 3),
                            holes_x=holes_x, holes_y=holes_y, hole=Fraction(1), pitch=pitch))
    return plates


class Future(Protocol):
    """What the futures of both executors have."""

    def exception(self, timeout: float | None = None) -> BaseException | None: ...

    def result(self, timeout: float | None = None) -> Part: ...


class Executor(Protocol):
    """What both executors have: submit(function, argument) returns a Future."""

    def submit(self, fn: Callable[[Plate], Part], plate: Plate, /) -> Future: ...


def outcome(future: Future, timeout: float | None = None) -> Part:
    """The future's result, or the failure of its task raised here. The failure is asked for first:
    Dask's result() raises it inside the client's event loop, where an exception that derives only
    from BaseException (brevant_rs.InternalFailure) is lost and result() never returns."""
    failure = future.exception(timeout)
    if failure is not None:
        raise failure
    return future.result(timeout)


def run_family(executor: Executor, plates: list[Plate]) -> list[Part]:
    """The same path for every executor: submit each plate, then wait for each outcome in order.
    A failure on a worker (ValueError, or brevant_rs.InternalFailure) is raised again here."""
    futures = [executor.submit(build_part, plate) for plate in plates]
    return [outcome(future) for future in futures]


def timed_run(executor: Executor, plates: list[Plate]) -> tuple[list[Part], float]:
    start = time.perf_counter()
    parts = run_family(executor, plates)
    return parts, time.perf_counter() - start


def dask_client(scheduler: str | None, workers: int) -> "Client":
    """A client of the running cluster at `scheduler`, or of a new LocalCluster of `workers`
    single-threaded worker processes."""
    from distributed import Client, LocalCluster

    # distributed does not annotate these constructors.
    if scheduler:
        return Client(scheduler)  # type: ignore[no-untyped-call]
    cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,  # type: ignore[no-untyped-call]
                           dashboard_address=None)
    return Client(cluster)  # type: ignore[no-untyped-call]


def report(parts: list[Part]) -> int:
    print(f"{'plate':<44} {'holes':>5} {'volume6':>14} {'closed form':>11} {'polygons':>8} {'triangles':>9} "
          f"{'closed':>6}")
    wrong = 0
    for part in parts:
        p = part.plate
        exact = part.volume6 == text(p.volume6())
        wrong += not exact or part.solid.volume6_str() != part.volume6
        size = f"{text(p.width)} x {text(p.depth)} x {text(p.thickness)}, chamfer {text(p.chamfer)}"
        print(f"{size:<44} {p.holes_x}x{p.holes_y:<3} {part.volume6:>14} {'equal' if exact else 'DIFFERS':>11} "
              f"{part.polygons:>8} {len(part.mesh[1]):>9} {str(part.watertight):>6}")
    return wrong


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--executor", choices=("dask", "futures"), default="dask")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="a running Dask scheduler (default: a LocalCluster)")
    parser.add_argument("--workers", type=int, default=2, help="local worker processes (default 2)")
    parser.add_argument("--count", type=int, default=24, help="plates in the family (default 24)")
    args = parser.parse_args()

    plates = family(args.count)
    if args.executor == "dask":
        with dask_client(args.scheduler, args.workers) as client:
            print(f"Dask: {client}")
            parts, seconds = timed_run(client, plates)
    else:
        from concurrent.futures import ProcessPoolExecutor

        with ProcessPoolExecutor(args.workers) as pool:
            print(f"concurrent.futures: {args.workers} processes")
            parts, seconds = timed_run(pool, plates)
    wrong = report(parts)
    print(f"{len(parts)} parts in {seconds:.2f} s on {os.cpu_count()} cores; "
          f"{'every volume equals its closed form' if not wrong else f'{wrong} volumes differ'}")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
