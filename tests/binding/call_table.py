"""Every module function and PySolid method with its parameters: the kind of each and a value that
makes the call succeed. The abuse and leak tests derive their cases from these rows. A row whose
callable the module does not have is skipped; a callable of the module without a row fails
test_every_callable_has_a_row, so a new function is covered by adding its row here."""

from dataclasses import dataclass

import brevant_rs as br

# Parameter kinds, as the binder converts them.
NUMBER = "number text"  # str read with parse_r
LABEL = "label text"  # str taken as it is
OP = "op text"  # str naming an operation
TEXTS = "list of number texts"
TEXTS2 = "list of lists of number texts"
TEXTS3 = "three levels of lists of number texts"
UINT = "int >= 0"
INT = "signed int"
SOLID = "PySolid"

SEQUENCE_DEPTH = {TEXTS: 1, TEXTS2: 2, TEXTS3: 3}
STR_KINDS = (NUMBER, LABEL, OP)
INT_KINDS = (UINT, INT)


@dataclass(frozen=True)
class Param:
    name: str
    kind: str
    valid: object
    optional: bool = False


@dataclass(frozen=True)
class Row:
    name: str
    is_method: bool
    params: tuple = ()
    cost: int = 1  # the cost of one successful call relative to a box; leak loops divide by it

    def available(self):
        return hasattr(br.PySolid if self.is_method else br, self.name)

    def callable(self):
        return getattr(receiver(), self.name) if self.is_method else getattr(br, self.name)

    def valid_args(self):
        return [p.valid for p in self.params]


def receiver():
    """The solid every method is called on (a fresh one each time, so no call can reach another's)."""
    return br.make_box("1", "1", "1", "self")


def other_solid():
    return br.make_box("1", "1", "1", "other").translate("1/2", "1/2", "1/2")


SQUARE_LOOP = ("0", "0", "1", "0", "1", "1", "0", "1")
KNOTS = ("0", "0", "1", "1")
CURVE = (("0", "0", "0"), ("4", "2", "0"))
SURFACE = ((("0", "0", "0"), ("0", "2", "0")), (("2", "0", "0"), ("2", "2", "4")))
SQUARE_PATCH = ((("0", "0", "0"), ("0", "1", "0")), (("1", "0", "0"), ("1", "1", "0")))
WALL_PATCH = ((("1/4", "0", "-1"), ("1/4", "0", "1")), (("1/4", "1", "-1"), ("1/4", "1", "1")))
UNIT_BOX = ("0", "1", "0", "1")


def as_lists(value):
    """Valid values are kept as tuples so that no test can change them; calls get lists."""
    return [as_lists(v) for v in value] if isinstance(value, tuple) else value


def no_args(name):
    return Row(name, True)


ROWS = (
    Row("make_box", False, (Param("dx", NUMBER, "1"), Param("dy", NUMBER, "2"), Param("dz", NUMBER, "3"),
                            Param("prefix", LABEL, "p"))),
    Row("make_prism", False, (Param("loop_flat", TEXTS, SQUARE_LOOP), Param("h", NUMBER, "2"),
                              Param("prefix", LABEL, "p"))),
    Row("make_prismatoid", False, (Param("bottom", TEXTS, SQUARE_LOOP), Param("z0", NUMBER, "0"),
                                   Param("top", TEXTS, SQUARE_LOOP), Param("z1", NUMBER, "2"),
                                   Param("prefix", LABEL, "p"))),
    Row("box_boolean", False, tuple(Param(n, NUMBER, v) for n, v in zip(
        ("dx", "dy", "dz", "ex", "ey", "ez", "tx", "ty", "tz"), "222222111")) + (Param("op", OP, "cut"),), cost=10),
    Row("box_form", False, (Param("dx", NUMBER, "1"), Param("dy", NUMBER, "2"), Param("dz", NUMBER, "3"))),
    Row("nurbs_curve_eval", False, (Param("degree", UINT, 1), Param("cps", TEXTS2, CURVE),
                                    Param("knots", TEXTS, KNOTS), Param("t", NUMBER, "1/4"),
                                    Param("weights", TEXTS, ("1", "2"), optional=True))),
    Row("nurbs_surface_eval", False, (Param("pu", UINT, 1), Param("pv", UINT, 1), Param("net", TEXTS3, SURFACE),
                                      Param("ku", TEXTS, KNOTS), Param("kv", TEXTS, KNOTS),
                                      Param("u", NUMBER, "1/2"), Param("v", NUMBER, "1/2"),
                                      Param("weights", TEXTS2, (("1", "1"), ("1", "3")), optional=True))),
    Row("ssi_pairs", False, (Param("net_a", TEXTS3, SQUARE_PATCH), Param("net_b", TEXTS3, WALL_PATCH),
                             Param("depth", UINT, 1), Param("a_box", TEXTS, UNIT_BOX, optional=True),
                             Param("b_box", TEXTS, ("0", "2", "-1", "1"), optional=True))),
    Row("translate", True, (Param("x", NUMBER, "1"), Param("y", NUMBER, "0"), Param("z", NUMBER, "-1/2"))),
    Row("scale", True, (Param("fx", NUMBER, "2"), Param("fy", NUMBER, "-3"), Param("fz", NUMBER, "1/4"))),
    Row("mirror", True, (Param("axis", UINT, 1),)),
    Row("rotate_quarter", True, (Param("axis", UINT, 2), Param("quarters", INT, -1))),
    Row("boolean", True, (Param("op", OP, "union"), Param("other", SOLID, None)), cost=10),
    Row("chamfer", True, (Param("dist", NUMBER, "1/10"),), cost=100),
    no_args("volume"),
    no_args("volume6_str"),
    no_args("canonical"),
    no_args("watertight_ok"),
    no_args("logical_faces"),
    no_args("bbox"),
    no_args("polygons"),
)


def valid_value(param):
    """A fresh valid argument for the parameter (the other solid for a PySolid parameter)."""
    return other_solid() if param.kind == SOLID else as_lists(param.valid)


def comparable(result):
    """What two results of one callable must agree in: for a solid its faces with labels and loops."""
    if isinstance(result, br.PySolid):
        return result.polygons()
    return result


# ----- Abusive arguments -----------------------------------------------------------------------


class Boom(Exception):
    """Raised by the abusive objects below; a call must let it through unchanged."""


class LenRaises:
    def __len__(self):
        raise Boom("__len__")

    def __getitem__(self, i):
        return "1"


class ItemRaises:
    def __init__(self, length):
        self.length = length

    def __len__(self):
        return self.length

    def __getitem__(self, i):
        raise Boom("__getitem__")


class LyingLen:
    """Claims to be enormous and has no items at all."""

    def __len__(self):
        return 2**63 - 1

    def __getitem__(self, i):
        raise IndexError(i)


class IndexOf:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class IndexRaises:
    def __index__(self):
        raise Boom("__index__")


class Text(str):
    pass


class Items(list):
    pass


class IntLike(int):
    pass


def deeply_nested(depth=100_000):
    nested = []
    for _ in range(depth):
        nested = [nested]
    return nested


def map_leaves(value, leaf):
    if isinstance(value, tuple):
        return [map_leaves(v, leaf) for v in value]
    return leaf(value)


def with_first_leaf(value, replacement):
    """The value as lists, its first string replaced."""
    result = as_lists(value)
    holder = result
    while isinstance(holder[0], list):
        holder = holder[0]
    holder[0] = replacement
    return result


def with_first_inner(value, replacement):
    result = as_lists(value)
    result[0] = replacement
    return result


SUCCEEDS = "succeeds"  # any result
SAME = "same"  # the result of the call with the valid arguments


@dataclass(frozen=True)
class Case:
    row: Row
    label: str
    make: object  # () -> (callable, args, kwargs)
    expected: object  # an exception type, SUCCEEDS or SAME
    representative: bool = False  # one of the few cases per failure kind the leak test repeats

    @property
    def id(self):
        return f"{self.row.name}-{self.label}"


def _substituted(row, index, value_factory):
    def make():
        args = [valid_value(p) for p in row.params]
        args[index] = value_factory()
        return row.callable(), args, {}

    return make


def _argument_values(param):
    """(label, factory, expected, representative) for every abusive value of the parameter."""
    v = param.valid
    kind = param.kind
    values = [
        ("object", object, TypeError, True),
        ("float", lambda: 1.5, TypeError, False),
        ("pysolid-class", lambda: br.PySolid, TypeError, False),
    ]
    if not param.optional:
        values.append(("None", lambda: None, TypeError, False))
    if kind in STR_KINDS:
        values += [
            ("int", lambda: 7, TypeError, False),
            ("huge-int", lambda: 10**100, TypeError, False),
            ("negative-int", lambda: -1, TypeError, False),
            ("bytes", lambda: b"1", TypeError, False),
            ("bytearray", lambda: bytearray(b"1"), TypeError, False),
            ("list", lambda: [v], TypeError, False),
            ("index-object", lambda: IndexOf(1), TypeError, False),
            ("solid", receiver, TypeError, False),
            ("lone-surrogate", lambda: "\ud800", UnicodeEncodeError, True),
            ("trailing-surrogate", lambda: v + "\udfff", UnicodeEncodeError, False),
            ("str-subclass", lambda: Text(v), SAME, False),
        ]
    if kind == NUMBER:
        values += [
            ("letters", lambda: "x", br.InternalFailure, True),
            ("empty", lambda: "", br.InternalFailure, False),
            ("nul", lambda: "1\x00", br.InternalFailure, False),
            ("arabic-digit", lambda: "\u0661", br.InternalFailure, False),
            ("zero-denominator", lambda: "1/0", br.InternalFailure, False),
            ("blank", lambda: " 1", br.InternalFailure, False),
            ("many-digits", lambda: "1/1" + "0" * 5000, SUCCEEDS, False),
        ]
    if kind == OP:
        values += [
            ("capitalised", lambda: v.capitalize(), br.InternalFailure, True),
            ("trailing-blank", lambda: v + " ", br.InternalFailure, False),
            ("empty", lambda: "", br.InternalFailure, False),
            ("nul", lambda: v + "\x00", br.InternalFailure, False),
        ]
    if kind == LABEL:
        values += [
            ("empty", lambda: "", SUCCEEDS, False),
            ("nul", lambda: "p\x00q", SUCCEEDS, False),
            ("non-ascii", lambda: "\u00e9\U0001f600", SUCCEEDS, False),
        ]
    if kind in SEQUENCE_DEPTH:
        depth = SEQUENCE_DEPTH[kind]
        values += [
            ("str", lambda: "1", TypeError, False),
            ("int", lambda: 7, TypeError, False),
            ("dict", lambda: {"0": "1"}, TypeError, False),
            ("set", lambda: {"1"}, TypeError, False),
            ("iterator", lambda: iter(as_lists(v)), TypeError, False),
            ("len-raises", LenRaises, Boom, False),
            ("getitem-raises", lambda: ItemRaises(len(v)), Boom, True),
            ("lying-len", LyingLen, IndexError, True),
            ("deeply-nested", deeply_nested, TypeError, False),
            ("tuples", lambda: v, SAME, False),
            ("list-subclass", lambda: Items(as_lists(v)), SAME, False),
            ("str-subclass-leaves", lambda: map_leaves(v, Text), SAME, False),
            ("int-leaf", lambda: with_first_leaf(v, 7), TypeError, False),
            ("surrogate-leaf", lambda: with_first_leaf(v, "\ud800"), UnicodeEncodeError, False),
            ("bad-number-leaf", lambda: with_first_leaf(v, "x"), br.InternalFailure, True),
            ("nested-leaf", lambda: with_first_leaf(v, deeply_nested(1000)), TypeError, False),
        ]
        if depth >= 2:
            values += [
                ("str-row", lambda: with_first_inner(v, "1"), TypeError, False),
                ("len-raises-row", lambda: with_first_inner(v, LenRaises()), Boom, False),
                ("int-row", lambda: with_first_inner(v, 7), TypeError, False),
            ]
    if kind in INT_KINDS:
        values += [
            ("str", lambda: "1", TypeError, False),
            ("bytes", lambda: b"\x01", TypeError, False),
            ("list", lambda: [v], TypeError, False),
            ("index-raises", IndexRaises, Boom, True),
            ("index-returns-float", lambda: IndexOf(1.5), TypeError, False),
            ("index-object", lambda: IndexOf(v), SAME, False),
            ("int-subclass", lambda: IntLike(v), SAME, False),
        ]
    if kind == UINT:
        values += [
            ("minus-one", lambda: -1, OverflowError, True),
            ("huge-negative", lambda: -(10**30), OverflowError, False),
            ("two-to-64", lambda: 2**64, OverflowError, False),
            ("huge", lambda: 10**100, OverflowError, False),
            ("index-minus-one", lambda: IndexOf(-1), OverflowError, False),
        ]
        if v == 1:
            values.append(("true", lambda: True, SAME, False))
    if kind == INT:
        values += [
            ("two-to-63", lambda: 2**63, OverflowError, True),
            ("below-int64", lambda: -(2**63) - 1, OverflowError, False),
            ("huge", lambda: 10**100, OverflowError, False),
            ("index-huge", lambda: IndexOf(-(10**100)), OverflowError, False),
        ]
    if kind == SOLID:
        values += [
            ("int", lambda: 7, TypeError, False),
            ("str", lambda: "p", TypeError, False),
            ("list-of-solid", lambda: [other_solid()], TypeError, False),
        ]
    return values


def _binding_cases(row):
    def extra_positional():
        return row.callable(), [valid_value(p) for p in row.params] + ["1"], {}

    def unexpected_keyword():
        return row.callable(), [valid_value(p) for p in row.params], {"nope": "1"}

    def unencodable_keyword():
        return row.callable(), [valid_value(p) for p in row.params], {"\ud800": "1"}

    cases = [
        Case(row, "extra-positional", extra_positional, TypeError, representative=True),
        Case(row, "unexpected-keyword", unexpected_keyword, TypeError),
        Case(row, "unencodable-keyword", unencodable_keyword, TypeError),
    ]
    required = [p for p in row.params if not p.optional]
    if required:
        cases.append(Case(row, "nothing-given", lambda: (row.callable(), [], {}), TypeError))

        def twice():
            return row.callable(), [valid_value(p) for p in row.params], {required[0].name: valid_value(required[0])}

        cases.append(Case(row, "given-twice", twice, TypeError))
    if row.is_method:

        def foreign_self():
            return getattr(br.PySolid, row.name), [7] + [valid_value(p) for p in row.params], {}

        cases.append(Case(row, "self-not-a-solid", foreign_self, TypeError))
    return cases


def cases(row):
    """The success case first, then every binding and argument abuse of the row."""
    result = [Case(row, "valid", lambda: (row.callable(), [valid_value(p) for p in row.params], {}), SAME,
                   representative=True)]
    result += _binding_cases(row)
    for index, param in enumerate(row.params):
        for label, factory, expected, representative in _argument_values(param):
            result.append(Case(row, f"{param.name}-{label}", _substituted(row, index, factory), expected,
                               representative))
    return result
