"""Loading pickled states: a text this version cannot have written is refused with ValueError, and
every text that loads gives a solid that later calls take as they take the same faces built from
their loops (so no plane can lie about its polygon)."""

import pathlib
import random
import sys
from fractions import Fraction

import pytest

import brevant_rs as br

sys.path.insert(0, str(pathlib.Path(__file__).parent))
sys.path.insert(0, str(pathlib.Path(__file__).parents[1] / "binding"))
from call_table import outcome  # noqa: E402
from states import number_text, parse_state, plane_faults, state_of, write_state  # noqa: E402

RNG = random.Random()
PROBE = br.make_box("1", "1", "1", "q").translate("1/3", "1/4", "1/5")


def base_solids():
    """Results of each kind of call: faces from constructors, merged faces, fragments, chamfers,
    turned and collapsed solids."""
    box = br.make_box("1", "2", "3", "b")
    return [box, br.make_prism(["0", "0", "2", "0", "2", "1", "1", "1", "1", "2", "0", "2"], "1", "L"),
            br.union_all([br.make_box("2", "1", "1", "a"), br.make_box("1", "2", "1", "c").translate("1", "0", "0")]),
            br.make_box("1", "1", "1", "c").chamfer("1/10"), box.boolean("cut", PROBE),
            box.scale("0", "1", "1"), box.union(PROBE).rotate([["0", "0", "0"], ["1", "2", "2"]], "40", "1/100")]


BASES = base_solids()


def later_calls(solid):
    return [solid.volume6_str, solid.canonical, solid.watertight_ok, solid.logical_faces, solid.merged,
            solid.to_mesh, lambda: solid.union(PROBE), lambda: PROBE.cut(solid), lambda: solid.intersect(PROBE),
            lambda: solid.boolean("union", PROBE), lambda: PROBE.boolean("cut", solid), lambda: solid.chamfer("1/20"),
            lambda: solid.translate("1", "2", "3").union(PROBE)]


def rebuilt(solid):
    """The solid built from its loops alone, or None when it has loops without area (which the
    building drops)."""
    faces = solid.polygons()
    again = br.solid_from_polygons(faces)
    return again if len(again.polygons()) == len(faces) else None


def random_number():
    return Fraction(RNG.randint(-4, 4), RNG.randint(1, 3))


def mutated(state):
    """(kind, text): one random change to a valid state."""
    polygons = parse_state(state)
    polygon = RNG.choice(polygons)
    kind = RNG.choice(("token", "vertex", "slide", "plane-offset", "plane-scale", "reverse", "flip", "drop", "swap"))
    if kind == "token":
        tokens = state.split(" ")
        tokens[RNG.randrange(len(tokens))] = RNG.choice(["0/1", "1/1", "-3/7", "2/2", "1", "+1/1", "x", "", "1/0",
                                                        RNG.choice(tokens)])
        return kind, " ".join(tokens)
    if kind == "vertex":
        polygon.loop[RNG.randrange(len(polygon.loop))] = [random_number() for _ in range(3)]
    elif kind == "slide":  # along an edge, so that the vertex stays in the plane
        i = RNG.randrange(len(polygon.loop))
        p, q, t = polygon.loop[i], polygon.loop[(i + 1) % len(polygon.loop)], random_number()
        polygon.loop[i] = [a + t * (b - a) for a, b in zip(p, q)]
    elif kind == "plane-offset":
        polygon.offset += random_number() or 1
    elif kind == "plane-scale":
        factor = random_number() or Fraction(-1)
        polygon.normal, polygon.offset = [c * factor for c in polygon.normal], polygon.offset * factor
    elif kind in ("reverse", "flip"):
        polygon.loop.reverse()
        if kind == "flip":
            polygon.normal, polygon.offset = [-c for c in polygon.normal], -polygon.offset
    elif kind == "drop":
        polygons.remove(polygon)
    else:
        i, j = RNG.randrange(len(polygons)), RNG.randrange(len(polygons))
        polygons[i], polygons[j] = polygons[j], polygons[i]
    return kind, write_state(polygons)


def test_mutated_states_are_refused_or_behave_as_their_faces():
    kinds = {}
    for _ in range(150):
        kind, text = mutated(state_of(RNG.choice(BASES)))
        try:
            loaded = br._solid_from_state(text)
        except ValueError as refusal:
            assert str(refusal).startswith("solid state: ")
            kinds.setdefault(kind, set()).add("refused")
            continue
        kinds.setdefault(kind, set()).add("loaded")
        assert all(plane_faults(p) == "" for p in parse_state(state_of(loaded)))
        assert state_of(loaded) == text  # loads exactly what it was given
        twin = rebuilt(loaded)
        for call, twin_call in zip(later_calls(loaded), later_calls(twin) if twin else later_calls(loaded)):
            assert outcome(call) == outcome(twin_call)
    # Both fates were met, and changes that break a plane were all refused.
    assert {"refused", "loaded"} <= set().union(*kinds.values())
    assert kinds.get("plane-offset", {"refused"}) == {"refused"}


def box_state():
    return state_of(br.make_box("1", "1", "1", "p"))


def with_first_plane(normal, offset):
    polygons = parse_state(box_state())
    polygons[0].normal, polygons[0].offset = normal, offset
    return write_state(polygons)


@pytest.mark.parametrize("text, message", [
    (with_first_plane([0, 0, -1], 1), "the plane of polygon 0 does not hold its vertices"),
    (with_first_plane([1, 0, 0], 0), "the plane of polygon 0 does not hold its vertices"),
    (with_first_plane([0, 0, 1], 0), "the plane of polygon 0 faces against the way its loop runs"),
    (with_first_plane([0, 0, 0], 0), "polygon 0 has a zero plane but its vertices are not on one line"),
    (box_state().replace(" -1/1 ", " -2/2 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 1/1 ", " 1 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 1/1 ", " +1/1 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 0/1 ", " -0/1 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 0/1 ", " 0/0 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 0/1 ", " x/1 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 0/1 ", " 0/1_0 ", 1), "a number is not written as this version writes numbers"),
    (box_state().replace(" 6 ", " 06 ", 1), "bad polygon count"),
    (box_state().replace(" 4 ", " +4 ", 1), "bad vertex count"),
])
def test_refusals_say_what_is_wrong(text, message):
    with pytest.raises(ValueError) as info:
        br._solid_from_state(text)
    assert str(info.value) == "solid state: " + message


def test_every_kind_of_result_loads_as_it_was():
    for solid in BASES:
        for result in (solid, solid.mirror(1), solid.scale("1", "0", "1"), solid.transform(
                [["0", "1", "0", "1"], ["1", "0", "0", "2"], ["0", "0", "-3", "1/2"]])):
            text = state_of(result)
            assert state_of(br._solid_from_state(text)) == text
            assert write_state(parse_state(text), number=number_text) == text
