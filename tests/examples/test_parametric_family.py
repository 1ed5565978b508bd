"""The parametric family example on a 2-worker Dask LocalCluster and on a process pool: every part's
exact volume equals the closed form, the solids come back whole, and failures on a worker, internal
failures included, come back to the client as the same exceptions."""

import collections
import pathlib
import sys
from concurrent.futures import ProcessPoolExecutor
from fractions import Fraction

import pytest

import brevant_rs as br

# Imported by name from a path that the workers inherit, so that they can import it too.
sys.path.insert(0, str(pathlib.Path(__file__).parents[2] / "examples"))
import parametric_family as family_example  # noqa: E402

pytestmark = pytest.mark.heavy  # starts worker processes: left out of the sanitizer run

PLATES = family_example.family(7)


def closed_form_volume6(plate):
    """Six times the volume, built up from the box: a chamfered w × d × t box is
    wdt − 2(w+d+t)c² + 16c³/3 (derived in tests/chamfer/test_chamfer.py); each hole removes a prism
    of side s and height t, and its rim's eight edges a further 8·s·c²/2 of bevel, while each of its
    eight rim corners, where two bevels meet at a reflex corner of a cap, loses a tetrahedron of c³/6
    (the inner cap corner of the L-prism, tests/chamfer/test_local_chamfer.py)."""
    w, d, t, c, s = plate.width, plate.depth, plate.thickness, plate.chamfer, plate.hole
    holes = plate.holes_x * plate.holes_y
    volume = w * d * t - 2 * (w + d + t) * c**2 + Fraction(16, 3) * c**3
    volume -= holes * (s**2 * t + 8 * s * c**2 / 2 + 8 * c**3 / 6)
    return 6 * volume


def text(value):
    return f"{value.numerator}/{value.denominator}"


@pytest.fixture(scope="module")
def dask_client():
    client = family_example.dask_client(None, 2)
    yield client
    client.close()
    client.cluster.close()


def check_parts(parts):
    assert [part.plate for part in parts] == PLATES
    for part in parts:
        assert part.volume6 == text(closed_form_volume6(part.plate))
        assert part.watertight
        points, triangles = part.mesh
        sides = collections.Counter((t[i], t[(i + 1) % 3]) for t in triangles for i in range(3))
        assert triangles and all(sides[(b, a)] == n for (a, b), n in sides.items())
        assert isinstance(part.solid, br.PySolid)
        assert part.solid.volume6_str() == part.volume6 and len(part.solid.polygons()) == part.polygons


def test_dask_and_process_pool_build_the_family_with_exact_volumes(dask_client):
    assert len(dask_client.scheduler_info()["workers"]) == 2
    on_dask = family_example.run_family(dask_client, PLATES)
    check_parts(on_dask)
    with ProcessPoolExecutor(2) as pool:
        on_pool = family_example.run_family(pool, PLATES)
    check_parts(on_pool)
    assert [p.solid.polygons() for p in on_pool] == [p.solid.polygons() for p in on_dask]


def failing_calls():
    too_wide_chamfer = family_example.Plate(*(Fraction(2),) * 3, Fraction(1), 1, 1, Fraction(1, 2), Fraction(1))
    return [
        (br.make_box, ("1", "1", "x", "p"), br.InternalFailure, "cannot parse number text 'x': InvalidDigit"),
        (family_example.build_part, (too_wide_chamfer,), ValueError, "the chamfer must be positive"),
    ]


@pytest.mark.parametrize("executor", ["dask", "process pool"])
def test_failures_on_a_worker_come_back_as_the_same_exceptions(executor, dask_client):
    def submit_all(submitter):
        return [(submitter.submit(function, *args), kind, message) for function, args, kind, message in failing_calls()]

    if executor == "dask":
        submitted = submit_all(dask_client)
    else:
        pool = ProcessPoolExecutor(2)
        submitted = submit_all(pool)
    for future, kind, message in submitted:
        with pytest.raises(kind) as info:
            family_example.outcome(future, timeout=120)
        assert message in str(info.value)
    if executor != "dask":
        pool.shutdown()
