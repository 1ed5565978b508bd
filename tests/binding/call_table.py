"""Every module function and PySolid method with the kind of each parameter and a value that makes the
call succeed; the abuse and leak tests derive their cases from these rows. A row whose callable the
module lacks is skipped; a callable without a row fails test_every_callable_has_a_row."""

from collections import namedtuple
from dataclasses import dataclass
from types import FunctionType

import brevant_rs as br

# Parameter kinds, as the binder converts them.
NUMBER, LABEL, OP = "number text", "label text", "op text"
TEXTS, TEXTS2, TEXTS3 = "list of texts", "list of lists of texts", "three levels of lists of texts"
UINT, INT, SOLID, SOLIDS = "int >= 0", "signed int", "PySolid", "iterable of PySolid"
FACES, STATE = "list of (label, loop) pairs", "pickled solid state"
EDGES = "edge indexes and records, or None"
SEQUENCE_DEPTH = {TEXTS: 1, TEXTS2: 2, TEXTS3: 3, FACES: 2}


Param = namedtuple("Param", "name kind valid optional", defaults=(False,))


@dataclass(frozen=True)
class Row:
    name: str
    is_method: bool
    params: tuple = ()
    cost: int = 1  # the cost of one successful call relative to a box; leak loops divide by it
    refused: tuple = ()  # arguments the operation declines with ValueError, if it has refusals
    refused_on: object = None  # for a method: a factory of a solid it declines with those arguments

    def available(self):
        return hasattr(br.PySolid if self.is_method else br, self.name)

    def callable(self):
        return getattr(receiver(), self.name) if self.is_method else getattr(br, self.name)

    def valid_args(self):
        return [valid_value(p) for p in self.params]


def receiver():
    """The solid every method is called on (a fresh one each time, so no call can reach another's)."""
    return br.make_box("1", "1", "1", "self")


def other_solid():
    return br.make_box("1", "1", "1", "other").translate("1/2", "1/2", "1/2")


def numbers(names, values):
    return tuple(Param(name, NUMBER, value) for name, value in zip(names.split(), values))


SQUARE_LOOP = ("0", "0", "1", "0", "1", "1", "0", "1")
KNOTS = ("0", "0", "1", "1")
SQUARE_PATCH = ((("0", "0", "0"), ("0", "1", "0")), (("1", "0", "0"), ("1", "1", "0")))
WALL_PATCH = ((("1/4", "0", "-1"), ("1/4", "0", "1")), (("1/4", "1", "-1"), ("1/4", "1", "1")))
PREFIX = Param("prefix", LABEL, "p")
BOW_TIE = ("0", "0", "2", "2", "2", "0", "0", "2")
MIXED_WEIGHTS = ((("0", "0", "0", "1"), ("0", "1", "0", "-1")), (("1", "0", "0", "1"), ("1", "1", "0", "1")))
# The four faces of the tetrahedron on the origin and the unit points, outward.
O, X, Y, Z = ("0", "0", "0"), ("1", "0", "0"), ("0", "1", "0"), ("0", "0", "1")
TETRAHEDRON = (("t.z", (O, Y, X)), ("t.y", (O, X, Z)), ("t.x", (O, Z, Y)), ("t.slope", (X, Y, Z)))

ROWS = (
    Row("make_box", False, numbers("dx dy dz", "123") + (PREFIX,)),
    Row("make_prism", False, (Param("loop_flat", TEXTS, SQUARE_LOOP), Param("h", NUMBER, "2"), PREFIX),
        refused=(BOW_TIE, "1", "p")),
    Row("make_prismatoid", False, (Param("bottom", TEXTS, SQUARE_LOOP), Param("z0", NUMBER, "0"),
                                   Param("top", TEXTS, SQUARE_LOOP), Param("z1", NUMBER, "2"), PREFIX),
        refused=(BOW_TIE, "0", SQUARE_LOOP, "2", "p")),
    Row("box_boolean", False, numbers("dx dy dz ex ey ez tx ty tz", "222222111") + (Param("op", OP, "cut"),),
        cost=10),
    Row("box_form", False, numbers("dx dy dz", "123")),
    Row("nurbs_curve_eval", False, (Param("degree", UINT, 1), Param("cps", TEXTS2, (("0", "0", "0"), ("4", "2", "0"))),
                                    Param("knots", TEXTS, KNOTS), Param("t", NUMBER, "1/4"),
                                    Param("weights", TEXTS, ("1", "2"), optional=True))),
    Row("nurbs_surface_eval", False, (
        Param("pu", UINT, 1), Param("pv", UINT, 1),
        Param("net", TEXTS3, ((("0", "0", "0"), ("0", "2", "0")), (("2", "0", "0"), ("2", "2", "4")))),
        Param("ku", TEXTS, KNOTS), Param("kv", TEXTS, KNOTS), *numbers("u v", ("1/2", "1/2")),
        Param("weights", TEXTS2, (("1", "1"), ("1", "3")), optional=True))),
    Row("ssi_pairs", False, (Param("net_a", TEXTS3, SQUARE_PATCH), Param("net_b", TEXTS3, WALL_PATCH),
                             Param("depth", UINT, 1), Param("a_box", TEXTS, ("0", "1", "0", "1"), optional=True),
                             Param("b_box", TEXTS, ("0", "2", "-1", "1"), optional=True)),
        refused=(MIXED_WEIGHTS, WALL_PATCH, 1)),
    Row("union_all", False, (Param("solids", SOLIDS, None),), cost=10),
    Row("translate", True, numbers("x y z", ("1", "0", "-1/2"))),
    Row("scale", True, numbers("fx fy fz", ("2", "-3", "1/4"))),
    Row("mirror", True, (Param("axis", UINT, 1),)),
    Row("rotate_quarter", True, (Param("axis", UINT, 2), Param("quarters", INT, -1))),
    Row("rotate", True, (Param("axis", TEXTS2, (("1", "0", "1/2"), ("1", "2", "2"))), Param("angle", NUMBER, "30"),
                         Param("tolerance", NUMBER, "1/1000")), refused=((O, O), "30", "1/1000")),
    Row("transform", True, (Param("matrix", TEXTS2, (("0", "2", "0", "1"), ("1", "0", "0", "0"), ("0", "0", "1", "-1/2"))),),
        refused=((("1", "2", "3", "0"), ("2", "4", "6", "0"), ("0", "0", "1", "0")),)),
    Row("boolean", True, (Param("op", OP, "union"), Param("other", SOLID, None)), cost=10),
    Row("chamfer", True, (Param("dist", NUMBER, "1/10"),), cost=100, refused=("2",)),
    Row("chamfer_edges", True, (Param("edges", EDGES, (0, (X, ("1", "1", "0")))), Param("dist", NUMBER, "1/10"),
                                Param("dist2", NUMBER, "1/5", optional=True)), cost=100, refused=((0,), "2")),
    *(Row(name, True) for name in
      ("volume", "volume6_str", "canonical", "watertight_ok", "logical_faces", "bbox", "bbox_exact", "polygons")),
    *(Row(name, True, cost=3) for name in ("merged", "to_mesh", "to_mesh_floats")),
    Row("edges", True, cost=3, refused_on=lambda: receiver().boolean("union", receiver().translate("1", "1", "0"))),
    *(Row(name, True, (Param("other", SOLID, None),), cost=10) for name in ("union", "cut", "intersect")),
    Row("solid_from_polygons", False, (Param("polygons", FACES, TETRAHEDRON),), refused=((("t", (O, X)),),)),
    Row("_solid_from_state", False, (Param("state", STATE, br.make_box("1", "1", "1", "s").__reduce__()[1][0]),)),
)


def as_lists(value, leaf=lambda x: x):
    """Valid values are kept as tuples so that no test can change them; calls get lists."""
    return [as_lists(v, leaf) for v in value] if isinstance(value, tuple) else leaf(value)


def valid_value(param):
    """A fresh valid argument for the parameter (the other solid for a PySolid parameter)."""
    if param.kind == SOLID:
        return other_solid()
    if param.kind == SOLIDS:
        return [receiver(), other_solid()]
    return as_lists(param.valid)


def comparable(result):
    """What two results of one callable must agree in: for a solid its faces with labels and loops."""
    return result.polygons() if isinstance(result, br.PySolid) else result


def outcome(call):
    """What a call gives, comparable between runs: its result, or its failure kind and message."""
    try:
        return comparable(call())
    except (ValueError, br.InternalFailure) as failure:
        return type(failure).__name__, str(failure)


# ----- Abusive arguments -----------------------------------------------------------------------


class Boom(Exception):
    """Raised by the abusive objects below; a call must let it through unchanged."""


def give(value):
    """The value, or a fresh instance of it raised when it is an exception class."""
    if isinstance(value, type) and issubclass(value, BaseException):
        raise value()
    return value


class FakeSequence:
    def __init__(self, length, item):
        self.length, self.item = length, item

    def __len__(self):
        return give(self.length)

    def __getitem__(self, i):
        return give(self.item)


def raising_after(*items):
    """An iterator over the items that then raises Boom."""
    yield from items
    raise Boom()


class IndexOf:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return give(self.value)


Text = type("Text", (str,), {})
Items = type("Items", (list,), {})
IntLike = type("IntLike", (int,), {})


def deeply_nested(depth=100_000):
    nested = []
    for _ in range(depth):
        nested = [nested]
    return nested


def with_first(value, replacement, leaf=True):
    """The value as lists, its first string (or with leaf=False its first item) replaced."""
    result = holder = as_lists(value)
    while leaf and isinstance(holder[0], list):
        holder = holder[0]
    holder[0] = replacement
    return result


def with_item(value, path, replacement):
    """The value as lists, the item at the indices of `path` replaced."""
    result = holder = as_lists(value)
    for index in path[:-1]:
        holder = holder[index]
    holder[path[-1]] = replacement
    return result


def with_state_token(state, index, replacement):
    tokens = state.split(" ")
    tokens[index] = replacement
    return " ".join(tokens)


SUCCEEDS = "succeeds"  # any result
SAME = "same"  # the result of the call with the valid arguments
# The few cases per failure kind that the leak test repeats.
REPRESENTATIVE = {"valid", "refused", "extra-positional", "object", "lone-surrogate", "letters", "capitalised", "getitem-raises",
                  "lying-len", "bad-number-leaf", "index-raises", "minus-one", "two-to-63"}


class Case(namedtuple("Case", "row label make expected representative")):
    """make() gives (callable, args, kwargs); expected is an exception type, SUCCEEDS or SAME."""

    @property
    def id(self):
        return f"{self.row.name}-{self.label}"


def _argument_values(param):
    """(label, value or factory of a fresh one, expected) for every abusive value of the parameter."""
    v, kind = param.valid, param.kind
    values = [("object", lambda: object(), TypeError), ("float", 1.5, TypeError),
              ("pysolid-class", br.PySolid, TypeError)]
    if not param.optional:
        values.append(("None", None, SUCCEEDS if kind == EDGES else TypeError))
    if kind in (NUMBER, LABEL, OP, STATE):
        values += [("int", 7, TypeError), ("huge-int", -(10**100), TypeError), ("bytes", b"1", TypeError),
                   ("list", lambda: [v], TypeError), ("index-object", lambda: IndexOf(1), TypeError),
                   ("solid", receiver, TypeError), ("lone-surrogate", "\ud800", UnicodeEncodeError),
                   ("trailing-surrogate", v + "\udfff", UnicodeEncodeError), ("str-subclass", lambda: Text(v), SAME)]
    if kind == NUMBER:
        values += [("letters", "x", br.InternalFailure), ("nul", "1\x00", br.InternalFailure),
                   ("zero-denominator", "1/0", br.InternalFailure), ("many-digits", "1/1" + "0" * 5000, SUCCEEDS)]
    if kind == OP:
        values += [("capitalised", v.capitalize(), br.InternalFailure), ("trailing-blank", v + " ", br.InternalFailure),
                   ("nul", v + "\x00", br.InternalFailure)]
    if kind == LABEL:
        values += [("empty", "", SUCCEEDS), ("nul", "p\x00q", SUCCEEDS), ("non-ascii", "\u00e9\U0001f600", SUCCEEDS)]
    if kind == STATE:
        values += [("empty", "", ValueError), ("other-version", v.replace("-1 ", "-9 ", 1), ValueError),
                   ("truncated", v.rsplit(" ", 1)[0], ValueError), ("extra-token", v + " 1", ValueError),
                   ("huge-count", with_state_token(v, 1, "9" * 30), ValueError),
                   ("two-vertices", with_state_token(v, 4, "2"), ValueError),
                   ("long-label", with_state_token(v, 2, "99"), ValueError),
                   ("bad-number", with_state_token(v, 5, "x"), ValueError),
                   ("zero-denominator", with_state_token(v, 5, "1/0"), ValueError),
                   ("unreduced-number", with_state_token(v, 5, "0/2"), ValueError),
                   ("plane-off-its-polygon", with_state_token(v, 20, "1/1"), ValueError)]
    if kind == FACES:
        # A face is any sequence of two items: a label and a loop of [x, y, z] points.
        values += [("str-face", lambda: with_item(v, (0,), "ab"), TypeError),
                   ("short-pair", lambda: with_item(v, (0,), ["t"]), TypeError),
                   ("long-pair", lambda: with_item(v, (0,), ["t", [O, X, Y], "extra"]), TypeError),
                   ("str-loop", lambda: with_item(v, (0, 1), "loop"), TypeError),
                   ("two-coordinates", lambda: with_item(v, (0, 1, 0), ["0", "0"]), ValueError),
                   ("collinear-face", lambda: with_item(v, (0,), ["t", [O, X, ["2", "0", "0"]]]), SUCCEEDS)]
    if kind in SEQUENCE_DEPTH:
        values += [
            ("str", "1", TypeError), ("int", 7, TypeError), ("dict", lambda: {"0": "1"}, TypeError),
            ("iterator", lambda: iter(as_lists(v)), TypeError), ("len-raises", lambda: FakeSequence(Boom, "1"), Boom),
            ("getitem-raises", lambda: FakeSequence(len(v), Boom), Boom),
            ("lying-len", lambda: FakeSequence(2**63 - 1, IndexError), IndexError),
            ("deeply-nested", deeply_nested, TypeError), ("tuples", v, SAME),
            ("list-subclass", lambda: Items(as_lists(v)), SAME),
            ("str-subclass-leaves", lambda: as_lists(v, Text), SAME),
            ("int-leaf", lambda: with_first(v, 7), TypeError),
            ("surrogate-leaf", lambda: with_first(v, "\ud800"), UnicodeEncodeError),
            ("bad-number-leaf", lambda: with_item(v, (0, 1, 0, 0), "x") if kind == FACES else with_first(v, "x"),
             br.InternalFailure),
            ("nested-leaf", lambda: with_first(v, deeply_nested(1000)), TypeError),
        ]
        if SEQUENCE_DEPTH[kind] >= 2:
            values += [("str-row", lambda: with_first(v, "1", leaf=False), TypeError),
                       ("len-raises-row", lambda: with_first(v, FakeSequence(Boom, "1"), leaf=False), Boom),
                       ("int-row", lambda: with_first(v, 7, leaf=False), TypeError)]
    if kind in (UINT, INT):
        values += [("str", "1", TypeError), ("bytes", b"\x01", TypeError), ("list", lambda: [v], TypeError),
                   ("index-raises", lambda: IndexOf(Boom), Boom),
                   ("index-returns-float", lambda: IndexOf(1.5), TypeError),
                   ("index-object", lambda: IndexOf(v), SAME), ("int-subclass", lambda: IntLike(v), SAME)]
    if kind == UINT:
        values += [("minus-one", -1, OverflowError), ("huge-negative", -(10**30), OverflowError),
                   ("two-to-64", 2**64, OverflowError), ("huge", 10**100, OverflowError),
                   ("index-minus-one", lambda: IndexOf(-1), OverflowError)] + ([("true", True, SAME)] if v == 1 else [])
    if kind == INT:
        values += [("two-to-63", 2**63, OverflowError), ("below-int64", -(2**63) - 1, OverflowError),
                   ("huge", 10**100, OverflowError), ("index-huge", lambda: IndexOf(-(10**100)), OverflowError)]
    if kind == EDGES:
        # an index, an Edge or any sequence whose first two items are end points
        values += [("str", "1", TypeError), ("int", 7, TypeError), ("dict", lambda: {"0": "1"}, TypeError),
                   ("iterator", lambda: iter([0]), TypeError), ("float-item", lambda: [1.5], TypeError),
                   ("str-item", lambda: ["1"], TypeError), ("short-record", lambda: [[O]], TypeError),
                   ("two-coordinates", lambda: [[["0", "0"], X]], TypeError),
                   ("int-coordinate", lambda: [[[0, 0, 0], X]], TypeError),
                   ("bad-number-leaf", lambda: [[["x", "0", "0"], X]], br.InternalFailure),
                   ("out-of-range", lambda: [99], ValueError), ("negative-index", lambda: [-1], ValueError),
                   ("no-such-edge", lambda: [[O, ("1", "1", "1")]], ValueError),
                   ("huge-index", lambda: [2**64], OverflowError), ("index-raises", lambda: [IndexOf(Boom)], Boom),
                   ("index-object", lambda: [IndexOf(0)], SUCCEEDS), ("edge-records", lambda: receiver().edges()[:2], SUCCEEDS),
                   ("len-raises", lambda: FakeSequence(Boom, 0), Boom), ("getitem-raises", lambda: FakeSequence(1, Boom), Boom),
                   ("lying-len", lambda: FakeSequence(2**63 - 1, IndexError), IndexError),
                   ("deeply-nested", deeply_nested, TypeError), ("tuples", v, SAME),
                   ("list-subclass", lambda: Items(as_lists(v)), SAME), ("empty", (), SUCCEEDS)]
    if kind == SOLID:
        values += [("int", 7, TypeError), ("str", "p", TypeError),
                   ("list-of-solid", lambda: [other_solid()], TypeError)]
    if kind == SOLIDS:
        values += [("int", 7, TypeError), ("str", "p", TypeError), ("int-item", lambda: [receiver(), 7], TypeError),
                   ("iterator", lambda: iter([receiver(), other_solid()]), SAME), ("empty", (), SUCCEEDS),
                   ("next-raises", lambda: raising_after(receiver()), Boom),
                   ("getitem-raises", lambda: FakeSequence(2, Boom), Boom)]
    return values


def _binding_makes(row):
    args, function = row.valid_args, row.callable
    makes = {
        "valid": lambda: (function(), args(), {}),
        "extra-positional": lambda: (function(), args() + ["1"], {}),
        "unexpected-keyword": lambda: (function(), args(), {"nope": "1"}),
        "unencodable-keyword": lambda: (function(), args(), {"\ud800": "1"}),
    }
    required = [p for p in row.params if not p.optional]
    if required:
        makes["nothing-given"] = lambda: (function(), [], {})
        makes["given-twice"] = lambda: (function(), args(), {required[0].name: valid_value(required[0])})
    if row.refused or row.refused_on:
        def refused():
            callable_ = getattr(row.refused_on(), row.name) if row.refused_on else function()
            return callable_, as_lists(row.refused), {}

        makes["refused"] = refused
    if row.is_method:
        makes["self-not-a-solid"] = lambda: (getattr(br.PySolid, row.name), [7] + args(), {})
    return makes


def _substituted(row, index, factory):
    def make():
        args = row.valid_args()
        args[index] = factory() if isinstance(factory, FunctionType) else factory
        return row.callable(), args, {}

    return make


def cases(row):
    """The success case first, then every binding and argument abuse of the row."""
    expected = {"valid": SAME, "refused": ValueError}
    result = [Case(row, label, make, expected.get(label, TypeError), label in REPRESENTATIVE)
              for label, make in _binding_makes(row).items()]
    for index, param in enumerate(row.params):
        result += [Case(row, f"{param.name}-{label}", _substituted(row, index, factory), expected,
                        label in REPRESENTATIVE) for label, factory, expected in _argument_values(param)]
    return result
